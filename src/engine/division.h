// Quotients of number texts, cut off (never rounded) after a number of
// places that depends on the operand lengths.
#pragma once

#include "numtext.h"
#include "progress.h"

#include <string>
#include <string_view>

namespace longhand {

// Fraction digits of the digit strings' quotient when the dividend's is not
// the longer: kShortQuotientPlaces, or the divisor's length plus
// kLongDivisorExtraPlaces once the divisor has kLongDivisorDigits digits.
inline constexpr Count kShortQuotientPlaces = 20;
inline constexpr Count kLongDivisorDigits = 16;
inline constexpr Count kLongDivisorExtraPlaces = 10;

// m / n for number texts, n not zero in value (the empty text for a zero
// divisor; the operations refuse it before). The quotient of the digit
// strings is cut off after the dividend's length plus one fraction digits
// when the dividend's is the longer, else as above; the point then moves by
// the operands' scales, and trailing fraction zeros go. A
// value below 1 is written "0.5", or ".5" when the point moved right.
//
// From the crossover sizes of crossovers.h on, the quotient comes from the
// fast arithmetic in one go, with the count of places settled from the
// exact remainder; below them the long division runs digit by digit. Both
// give the same text. A cancelled division gives up early; its text is then
// meaningless.
//
// `cut`, when given, says whether the quotient was cut off: whether a
// remainder was left after its last place, so that more digits would follow.
std::string divide(std::string_view m, std::string_view n, Progress& progress, bool* cut = nullptr);

// The long division of a digit string A by a shorter one B (a character
// that is not a digit throws std::invalid_argument, leading zeros are
// dropped): the integer digits
// of A / B and, unless the division ends with them, the point and at most
// `places` fraction digits, fewer when the division ends before.
std::string divideLonger(std::string_view A, std::string_view B, Count places, Progress& progress);
// The same, one digit at a time, for any length: what divideLonger does
// below the crossover.
std::string divideLongerByDigits(std::string_view A, std::string_view B, Count places,
                                 Progress& progress);

} // namespace longhand
