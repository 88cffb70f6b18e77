// The partial product M * (M+1) * ... * N of two whole numbers M < N.
#pragma once

#include "outcome.h"
#include "progress.h"

#include <string_view>

namespace longhand {

// M * (M+1) * ... * N, M operand 0 and N operand 1. M and N must be whole
// numbers without sign (leading zeros allowed and dropped) with N > M by
// value, else NotWholeNumbers (naming the first that is not) or
// EndsNotAscending; a product longer than kMaxProductDigits
// (rangeproduct.h) is refused with ProductTooLong. The result is not
// `calculated`: the window gives no finished signal for it.
Outcome partialProduct(std::string_view m, std::string_view n, Progress& progress);

} // namespace longhand
