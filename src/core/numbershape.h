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
    // Zeros after the sign that are no digits of the number: those before
    // the point ("0.25" has no digit before its point), and those before
    // the first other digit of a whole number ("0" keeps its one digit).
    Count zeros = 0;

    // Index just after the integer digits: the point, or the end.
    Count integerEnd() const { return point >= 0 ? point : length; }
    // Characters between the sign and the point, leading zeros included.
    Count integerDigits() const { return integerEnd() - lead; }
    // Digits of the number before the point: without the leading zeros.
    Count wholeDigits() const { return integerDigits() - zeros; }
    Count decimals() const { return point >= 0 ? length - point - 1 : 0; }
    // Digits of the number, the leading zeros left out.
    Count digits() const { return wholeDigits() + decimals(); }

    // Digits of the number left of a caret with `position` characters
    // before it.
    Count digitsBefore(Count position) const;
    // The caret position just after digit `n` (1 to digits()).
    Count positionAfterDigit(Count n) const;
};

// The shape of a number text: a leading "-", then digits and at most one
// "." (every other character counts as a digit). It reads the text up to
// its first digit that is not a zero, and finds the point.
NumberShape shapeOf(std::string_view text);

} // namespace longhand
