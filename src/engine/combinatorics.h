// Permutation and combination counts of whole numbers of any length.
#pragma once

#include "host.h"

#include <string>

namespace longhand {

// The repetition flag's value that allows repetition; any other means none.
inline constexpr int kWithRepetition = 1;

// Ordered selections of r out of n: n^r with repeatFlag 1, otherwise
// n!/(n-r)! (n! through the factorial data file when r = n, "0" when r > n).
// Arguments are whole-number texts, leading zeros allowed ("007" is 7);
// anything else gives "". A count of zero is "0". A count too long to hold
// is refused (the host is told) with ""; "" also when cancelled.
std::string perMutation(std::string nInput, std::string rInput, int repeatFlag = 0,
                        EngineHost& host = silentHost());

// Unordered selections of r out of n: C(n, r), or with rFlag 1 (repetition)
// C(n + r - 1, r); r! comes through the factorial data file. Arguments and
// results as for perMutation.
//
// Counts of at least kFastProductFactors (crossovers.h) with n below
// kBatchLimit come straight from the fast layer, with the same text, the
// same work on the factorial data file for r! and the same signals as the
// quotient of the two products, which combinationReference always computes.
std::string combination(std::string cn, std::string rn, int rFlag = 0,
                        EngineHost& host = silentHost());
std::string combinationReference(std::string cn, std::string rn, int rFlag = 0,
                                 EngineHost& host = silentHost());

} // namespace longhand
