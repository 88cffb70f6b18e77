// Where the sign, the digits and the point stand in a shown result, found
// once when the result is shown, so that the length line, the digit
// grouping and Go to answer for any caret at once, whatever the length.
#pragma once

#include "engine/numtext.h"

#include <string_view>

namespace longhand {

struct NumberShape {
    Count length = 0; // characters
    Count lead = 0;   // 1 with a leading "-", else 0
    Count point = -1; // index of the ".", -1 without one

    // Index just after the integer digits: the point, or the end.
    Count integerEnd() const { return point >= 0 ? point : length; }
    Count integerDigits() const { return integerEnd() - lead; }
    Count decimals() const { return point >= 0 ? length - point - 1 : 0; }
    Count digits() const { return integerDigits() + decimals(); }

    // Digits left of a caret with `position` characters before it.
    Count digitsBefore(Count position) const;
    // The caret position just after digit `n` (1 to digits()).
    Count positionAfterDigit(Count n) const;
};

// The shape of a number text: a leading "-", then digits and at most one
// "." (every other character counts as a digit).
NumberShape shapeOf(std::string_view text);

} // namespace longhand
