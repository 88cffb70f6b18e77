// The quiet line under a result view: how long the number is, how many of
// its digits stand before and after the point, whether a quotient was cut,
// and which digit the caret stands after.
#pragma once

#include "numbershape.h"

#include <string>

namespace longhand {

// Follows the length when the quotient was cut.
inline constexpr const char* kCutNote = ", cut, not rounded";
// Between the length and the caret's place.
inline constexpr const char* kPlaceSeparator = "  \xc2\xb7  ";

// A length given as its log10, as a refusal says it: "5.6 × 10^12" for
// 5.6e12, plain digits below 10^6 ("52000"), "0" for kNoLength.
std::string aboutLength(double log10Length);

// `n` with a comma between groups of three digits: 5565709 -> "5,565,709".
std::string withThousands(Count n);

// How long a result of `shape` is: "5,565,709 digits", "5 digits (2 before
// the point, 3 after)", then kCutNote for a cut quotient. Leading zeros are
// no digits of the number: "0.25" has 2 digits, 0 before the point. An
// empty result gives "".
std::string lengthText(const NumberShape& shape, bool cut);

// Where a caret with `caret` characters before it stands: "digit 1,234,567
// of 5,565,709", or "" while no digit of the number stands before it.
std::string placeText(const NumberShape& shape, Count caret);

// How long a text is: "2 digits in base 16" for a number written in base
// `base` (the sign not counted), "5 characters" for any other (base 0).
std::string textLengthText(const std::string& text, int base);

// The whole line (UTF-8): lengthText, and once the caret stands after a
// digit, kPlaceSeparator and placeText.
std::string lengthLineText(const NumberShape& shape, bool cut, Count caret);

} // namespace longhand
