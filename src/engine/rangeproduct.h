// Products of runs of consecutive numbers: factorials, continued factorials,
// permutation counts and the partial product all come down to one run.
#pragma once

#include "outcome.h"
#include "power.h"
#include "progress.h"

#include <optional>
#include <string>
#include <string_view>

namespace longhand {

// The longest product that is built (characters), the same bound as for
// powers: longer ones would not fit in memory.
inline constexpr Count kMaxProductDigits = kMaxPowerDigits;

// x * (m+1) * (m+2) * ... * n, or 1 * 2 * ... * n when x is empty (m is then
// ignored), as a result that gives no finished signal of its own: the
// operations built on it decide that.
//
// n is read by its leading number (empty or non-numeric: 0); m and x must
// be number texts when x is given. An empty run leaves x as the
// multiplication returns it ("1" when x is empty too); a run through zero
// gives "0".
//
// Runs of whole factors whose ends lie below kBatchLimit (crossovers.h) in
// magnitude are batched in double precision (batchedProduct); factors with a
// fraction (a lower end m that is not whole) are stepped on texts like long
// runs. Runs reaching past it are stepped exactly on texts, one
// multiplication per factor, so bounds of any length are exact. Runs of at
// least kFastProductFactors whole factors from 1 on are multiplied by the
// fast layer's product tree instead, with the same text as result.
//
// A product longer than kMaxProductDigits (a run without end included) is
// refused before any work (ProductTooLong, with its length; the caller
// names the operand).
Outcome rangeProduct(std::string_view n, std::string_view x, std::string_view m,
                     Progress& progress);

// first (first + 1) ... last, first <= last, both below kBatchLimit in
// magnitude and the run not through zero: the factors multiplied into
// batches of doubles while those stay exact, each full batch into the long
// product. What rangeProduct does for short runs, callable for any.
std::string batchedProduct(double first, double last, Progress& progress);

// log10 of an upper bound of the length of rangeProduct(n, x, m).
double productLength(std::string_view n, std::string_view x, std::string_view m);

// The refusal of rangeProduct(n, x, m), naming `operand`, when it would be
// longer than kMaxProductDigits; nothing when it fits.
std::optional<Refusal> productTooLong(std::string_view n, std::string_view x, std::string_view m,
                                      int operand);

// True for a text of digits only, at least one (leading zeros allowed): the
// arguments that factorials, permutations, combinations and the partial
// product take.
bool isWholeNumberText(std::string_view text);

// A whole-number text by value: leading zeros dropped, "0" for zero.
std::string wholeNumberValue(std::string_view text);

} // namespace longhand
