// Factorials, with the factorial store that keeps the ones computed
// (factorialstore.h describes the file).
#pragma once

#include "factorialstore.h"
#include "host.h"

#include <string>
#include <string_view>

namespace longhand {

// The save question: the settings text, n, a CR, then the advice.
inline constexpr const char* kFacSaveKey = "facSave";
inline constexpr int kFacSaveLength = 47;
inline constexpr const char* kFacSaveAdvice = "You should save this result.";

// n! of a whole-number text (leading zeros allowed), computed from 1 without
// any file. "" for anything else, and when cancelled.
std::string factorial(std::string_view n, EngineHost& host = silentHost());

// n! through the factorial store at host.facDataPath(): read when stored;
// when missing below the largest stored n, computed from the nearest smaller
// stored factorial and inserted; beyond it, computed from the largest stored
// factorial and, with askFlag 1 and the user's Yes, appended. A store that
// does not exist yet is started with `1,"1"`. Computed results give the
// finished signal. "0" gives "1" without touching the store. With an empty
// facDataPath() no store is used: n! is computed from 1.
//
// The largest stored n follows the store: whenever it disagrees with the
// host's facUpper (missing, "0" or another number) the store's is set.
// A store that cannot be read is neither read nor written, and one that
// cannot be written is left as it is; the user is told which, with its path,
// and n! comes all the same.
//
// nber is a whole number; leading zeros are dropped ("007" is 7). Anything
// else (a sign, a point, a letter, "") gives "" and touches nothing.
//
// Everything factorN does to the store and tells the user once n! is known
// goes through host.afterWork(), so a host that runs it away from the
// windows can hold it back until the work is done, and drop it on Cancel.
std::string factorN(const std::string& nber, int askFlag, EngineHost& host);

// factorN in two halves, for a caller that computes away from the windows.
// factorialWork looks n up in the store and computes n!, writing nothing and
// asking nothing (the host's cancelled() stops it; the result is then "").
// storeFactorial does the rest on what it found, after the work: starts a
// missing store, brings facUpper in line, inserts a factorial computed below
// the largest stored n, or gives the finished signal, asks (askFlag 1) and
// appends one beyond it. Nothing is stored when the result is "".
struct FactorialWork {
    enum class Step { Done, NoStore, Read, Insert, Append };
    Step step = Step::Done; // Done: nothing to store (refused, "0")
    std::string n;          // the argument by value
    std::string result;     // n!, "" when refused or given up
    FactorialStore::State store = FactorialStore::State::Ok;
    std::string largest; // the store's largest key, when the lookup read to its end
    std::string reached; // the largest key the lookup read
};
FactorialWork factorialWork(const std::string& nber, EngineHost& host);
std::string storeFactorial(const FactorialWork& work, int askFlag, EngineHost& host);

// What factorN(nber, 0, host) does to the store and tells the host, for a
// caller that has n! another way: n! is computed only where the store keeps
// it (inserted below the largest stored n). False where factorN would give
// "" (a refused argument, a product too long to hold, a cancelled run).
bool factorEffects(const std::string& nber, EngineHost& host);

} // namespace longhand
