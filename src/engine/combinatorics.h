// Permutation and combination counts of whole numbers of any length.
#pragma once

#include "factorial.h"
#include "outcome.h"
#include "progress.h"

#include <string_view>

namespace longhand {

// The repetition digit f of the function dialog's p(n,r,f) and c(n,r,f):
// kWithRepetition allows repetition; 0 and every other digit do not.
inline constexpr int kWithRepetition = 1;

// Ordered selections of r out of n: n^r with repetition, otherwise
// n!/(n-r)! (n! through the factorial keeper when r = n, "0" when r > n).
// Arguments are whole-number texts, leading zeros allowed ("007" is 7);
// anything else gives Nothing. A count too long to hold is refused
// (PowerTooLong or ProductTooLong, naming n as operand 0 or r as operand
// 1). What the keeper takes of n! is its own to follow up.
Outcome permutations(std::string_view n, std::string_view r, int repetition, FactorialKeeper* store,
                     Progress& progress);

// Unordered selections of r out of n: C(n, r), or with repetition
// C(n + r - 1, r), as the quotient of the ordered selections by k!, where k
// is the smaller of r and n - r (C(n, r) = C(n, n - r)); k! goes through
// the factorial keeper, as above, and the result is `divided`. Arguments
// and refusals as for permutations. C(n, n) is "1" at once for the digit
// 0; the digits 2 to 9 take the way through the quotient, and with it
// through the keeper.
//
// Counts of at least kFastProductFactors (crossovers.h) with n below
// kBatchLimit come straight from the fast layer, with the same text and the
// same keeping: r! is then computed only where the keeper takes it.
Outcome combinations(std::string_view n, std::string_view r, int repetition, FactorialKeeper* store,
                     Progress& progress);

} // namespace longhand
