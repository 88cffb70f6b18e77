// Rounding a shown result to a chosen number of decimals.
//
// The windows offer the rounding after a click into a result: the click
// records where the decimal point stands and how many fraction digits lie
// left of the caret (k). Rounding then cuts the text after its k-th
// fraction digit, half away from zero, on the text itself, so numbers of
// any length round exactly.
#pragma once

#include "numtext.h"

#include <optional>
#include <string>
#include <string_view>

namespace longhand {

// 1-based position of the first "." in `text`, 0 when there is none.
Count pointPosition(std::string_view text);

// Count of characters after the first "." (0 when there is none).
Count fractionLength(std::string_view text);

// `text` rounded to `k` decimals, half away from zero, with trailing
// fraction zeros, a bare trailing point and a negative zero tidied away
// ("9.96", k 1 -> "10"; "-0.04", k 1 -> "0"). `pointPos` is the 1-based
// position of the point recorded when the rounding was offered.
//
// ".5" and "-0.5" rounded to no decimals give "1" and "-1", like every
// other half. Nothing is rounded (nullopt) unless `text` is a number text whose
// first point stands at `pointPos` and 0 <= k < fractionLength(text), the
// only cases the windows offer.
std::optional<std::string> roundToDecimals(std::string_view text, Count pointPos, Count k);

} // namespace longhand
