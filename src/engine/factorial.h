// Factorials, with the factorial data file that keeps the ones computed.
//
// The file "facDat.vok" holds records `n,"n!"` separated by CR LF, with no
// line end after the last one. The first record is `1,"1"`; keys are whole
// numbers without leading zeros in strictly ascending order (shorter key
// first, equal lengths by character); the last key is the largest stored n,
// which the host keeps as facUpper. A file that breaks any of this is
// replaced by the single record `1,"1"`.
//
// Every change writes a whole new file and renames it over the old one, so
// a failed or interrupted write leaves the old file as it was.
#pragma once

#include "host.h"
#include "numtext.h"

#include <string>
#include <string_view>

namespace longhand {

inline constexpr const char* kFacDataFileName = "facDat.vok";

// The content of a new or reset data file.
inline constexpr std::string_view kFirstFacRecord = "1,\"1\"";

// The save question: the settings text, n, a CR, then the advice.
inline constexpr const char* kFacSaveKey = "facSave";
inline constexpr int kFacSaveLength = 47;
inline constexpr const char* kFacSaveAdvice = "You should save this result.";

// Shown (followed by the file's path) when the data file cannot be written.
inline constexpr const char* kFacStoreUnwritable = "The factorial store cannot be written: ";

// n! of a whole-number text (leading zeros allowed), computed from 1 without
// any file. "" for anything else, and when cancelled.
std::string factorial(std::string_view n, EngineHost& host = silentHost());

// n! through the data file at host.facDataPath(): read when stored; when
// missing below the largest stored n, computed from the nearest smaller
// stored factorial and inserted; beyond it, computed from the largest stored
// factorial and, with askFlag 1 and the user's Yes, appended. Computed
// results give the finished signal. "0" gives "1" without touching the file.
// With an empty facDataPath() no file is used: n! is computed from 1.
//
// nber is a whole number; leading zeros are dropped ("007" is 7). Anything
// else (a sign, a point, a letter, "") gives "" and touches nothing.
std::string factorN(const std::string& nber, int askFlag, EngineHost& host);

// factorN in two halves, for a caller that computes away from the windows.
// factorialWork reads the data file and computes n!, writing nothing and
// asking nothing (the host's cancelled() stops it; the result is then "").
// storeFactorial does the rest on what it found: resets a missing or broken
// file, inserts a factorial computed below the largest stored n, or gives the
// finished signal, asks (askFlag 1) and appends one beyond it. factorN is
// storeFactorial(factorialWork(nber)) unless cancelled in between.
struct FactorialWork {
    enum class Step { Done, NoStore, Read, Insert, Append };
    Step step = Step::Done;   // Done: nothing to store (refused, "0")
    std::string n;            // the argument by value
    std::string result;       // n!, "" when refused or given up
    bool resetFile = false;   // the file was missing or broken: reset it first
    std::string upper;        // the largest key of the file (of the reset file)
    std::string bytes;        // the file (Insert)
    std::size_t insertAt = 0; // offset of the first record with a larger key (Insert)
};
FactorialWork factorialWork(const std::string& nber, EngineHost& host);
std::string storeFactorial(FactorialWork work, int askFlag, EngineHost& host);

// What factorN(nber, 0, host) does to the data file and tells the host, for
// a caller that has n! another way: n! is computed only where the file keeps
// it (inserted below the largest stored n). False where factorN would give
// "" (a refused argument, a product too long to hold, a cancelled run).
bool factorEffects(const std::string& nber, EngineHost& host);

// Inserts n! (n = writtenFac) into the data file before the first record with
// a larger key, which begins at 1-based byte position oldIn: computes
// n! = iIn! * (iIn+1) * ... * n from finalResult = iIn!, and writes it
// followed by CR LF, theRest (the file from oldIn on without its final byte)
// and the closing double quote over the file from oldIn on. Returns n!.
// A write that fails, or would break the file's order, leaves the file as it
// was; a failed write is reported to the user.
std::string commonInsert(const std::string& iIn, const std::string& writtenFac, Count oldIn,
                         const std::string& finalResult, const std::string& theRest,
                         EngineHost& host);

// Appends the record savedFac, facResult to the data file and records
// savedFac as the largest stored n. savedFac must be larger than every
// stored key; otherwise, or when the file cannot be read or written, nothing
// changes (a failed write is reported to the user).
void saveBiggerFacUpper(const std::string& savedFac, const std::string& facResult,
                        EngineHost& host);

} // namespace longhand
