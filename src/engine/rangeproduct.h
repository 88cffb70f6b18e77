// Products of runs of consecutive numbers: factorials, continued factorials,
// permutation counts and the partial product all come down to one run.
#pragma once

#include "host.h"
#include "power.h"

#include <string>
#include <string_view>

namespace longhand {

// Small factors are multiplied in a double while the running batch stays
// below this bound, so every batch is a whole number a double holds exactly
// and its text has no exponent; only full batches go to the long product.
inline constexpr double kBatchLimit = 1e15;

// The longest product that is built (characters), the same bound as for
// powers: longer ones would not fit in memory.
inline constexpr Count kMaxProductDigits = kMaxPowerDigits;
inline constexpr const char* kProductTooLong = "The product would be too long to hold.";

// x * (m+1) * (m+2) * ... * n, or 1 * 2 * ... * n when x is empty (m is then
// ignored).
//
// n is read by its leading number (empty or non-numeric: 0); m must be a
// number text when x is given. An empty run leaves x as the long
// multiplication returns it ("1" when x is empty too); a run through zero
// gives "0".
//
// Runs whose ends lie below kBatchLimit in magnitude are batched in double
// precision. Runs reaching past it are stepped exactly on texts, one long
// multiplication per factor, so bounds of any length are exact. Runs of at
// least kFastProductFactors whole factors from 1 on (crossovers.h) are
// multiplied by the fast layer's product tree instead, with the same text
// as result; rangeProductReference always batches.
//
// A product longer than kMaxProductDigits (a run without end included) is
// not built: the host is told kProductTooLong and "" comes back. Also gives
// up and returns "" once host.cancelled() says so.
std::string rangeProduct(std::string_view n, std::string_view x, std::string_view m,
                         EngineHost& host = silentHost());
std::string rangeProductReference(std::string_view n, std::string_view x, std::string_view m,
                                  EngineHost& host = silentHost());

// True when rangeProduct(n, x, m) would be longer than kMaxProductDigits.
bool productTooLong(std::string_view n, std::string_view x, std::string_view m);

// True for a text of digits only, at least one (leading zeros allowed): the
// arguments that factorials, permutations, combinations and the partial
// product take.
bool isWholeNumberText(std::string_view text);

// A whole-number text by value: leading zeros dropped, "0" for zero.
std::string wholeNumberValue(std::string_view text);

} // namespace longhand
