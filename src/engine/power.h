// Powers of number texts to whole, non-negative exponents.
#pragma once

#include "numtext.h"
#include "outcome.h"
#include "progress.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace longhand {

// The longest power that is built (characters), far beyond what repeated
// multiplication finishes in reasonable time, but still a size that fits in
// memory: "10" ^ "1000000000000" would otherwise ask for a terabyte of zeros.
inline constexpr Count kMaxPowerDigits = 200'000'000;

// base ^ exponent as the function dialog shows it. Refuses a base that is
// not a number text (MalformedOperand, operand 0), an exponent that is not
// whole (ExponentNotWhole, operand 1, see exponentIsWhole) and a power
// longer than kMaxPowerDigits (PowerTooLong, with its length). Zero to the
// power zero is "0" however either zero is written; any other base to the
// power zero is "1"; a zero power is shown "0".
Outcome power(std::string_view base, std::string_view exponent, Progress& progress);

// True when p is a whole, non-negative exponent: digits only, or digits
// with a point and zeros ("3", "3.", "3.00"); the empty text counts as 0.
bool exponentIsWhole(std::string_view p);

// log10 of the length in characters of base ^ p, for a number text base
// and a whole exponent (exponentIsWhole): counted from the value, so that
// "-1", "1.0" and "0" give a power of one or two characters whatever p is
// and "10" ^ p has p + 1. The count of the digits of the base's digit
// string to the power p comes from a logarithm with a proven margin and is
// exact unless p log10 of it lies within about 10^-9 of a whole number,
// where one character more is counted. Exponents of more than 15 digits
// give a bound from logarithms, as only the length's size matters then.
double powerLength(std::string_view base, std::string_view p);

// True when base ^ p would have more than kMaxPowerDigits characters.
bool powerTooLong(std::string_view base, std::string_view p);

// digits ^ times for a digit string without leading zeros. The power grows
// by one multiplication per unit of the exponent below kFastPowerDigits
// digits (crossovers.h) and by repeated squaring on the fast layer from
// there on; each can be called for any size. Both report their progress
// and give up, with a meaningless text, once cancelled.
std::string powerByRepeatedMultiplication(std::string_view digits, std::uint64_t times,
                                          Progress& progress);
std::string powerBySquaring(std::string_view digits, std::uint64_t times, Progress& progress);

} // namespace longhand
