// The quiet line under a result view: how long the number is, whether a
// quotient was cut, and which digit the caret stands after.
#pragma once

#include "numbershape.h"

#include <string>

namespace longhand {

// Follows the length when the quotient was cut.
inline constexpr const char* kCutNote = " (cut, not rounded)";
// Between the length and the caret's place.
inline constexpr const char* kPlaceSeparator = "  \xc2\xb7  ";

// A length given as its log10, as a refusal says it: "5.6 × 10^12" for
// 5.6e12, plain digits below 10^6 ("52000"), "0" for kNoLength.
std::string aboutLength(double log10Length);

// `n` with a comma between groups of three digits: 5565709 -> "5,565,709".
std::string withThousands(Count n);

// The line for a result of `shape` with `caret` characters before the caret
// (UTF-8): "5,565,709 digits", "12 digits, 20 decimals", "3 decimals" when
// no digit stands before the point; then kCutNote for a cut quotient; and,
// once the caret stands after a digit, kPlaceSeparator and "digit 1,234,567
// of 5,565,709". An empty result gives "".
std::string lengthLineText(const NumberShape& shape, bool cut, Count caret);

} // namespace longhand
