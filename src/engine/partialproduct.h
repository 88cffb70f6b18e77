// The partial product M * (M+1) * ... * N of two whole numbers M < N.
#pragma once

#include "outcome.h"
#include "progress.h"

#include <string_view>

namespace longhand {

// Refusals, shown to the user before the numbers are asked for again.
inline constexpr const char* kChooseNGreater = "Wrong Input: Choose N > M";
inline constexpr const char* kEnterWholeNumbers = "Enter whole numbers: M and then N > M.";

// Upper ends of at most this many digits are batched in double precision;
// longer ones are stepped factor by factor on texts.
inline constexpr std::size_t kBatchedEndDigits = 15;

// M * (M+1) * ... * N. M and N must be whole numbers without sign (leading
// zeros allowed and dropped) with N > M by value, else kEnterWholeNumbers
// or kChooseNGreater; a product longer than kMaxProductDigits
// (rangeproduct.h) is refused with kProductTooLong. The result gives no
// finished signal.
Outcome partialProduct(std::string_view m, std::string_view n, Progress& progress);

} // namespace longhand
