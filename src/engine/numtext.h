// Number texts and the small helpers every operation is built from.
//
// A number text is an optional leading "-", digits and at most one ".",
// anywhere (".5", "5." and "007" are all fine). The engine computes on its
// digit string: digits only, no leading zeros (zero is the empty text),
// with a scale, the count of fraction digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace longhand {

// Positions and counts of digits. Texts of billions of digits stay countable.
using Count = std::int64_t;

// The one digit test and digit value of the engine.
constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr int digitOf(char c) {
    return c - '0';
}

// True for a number text: an optional leading "-", then digits and at most
// one "." and nothing else, not even a blank or a "+". "", "-", "." and "-."
// pass too: the shapes an emptied box or a tidied zero may take.
bool isNumberText(std::string_view text);

// True for a number text of value zero: no digit but "0" after the sign
// ("0", "-00", "0.000", and the shapes "", "-", "." and "-.").
bool hasZeroValue(std::string_view text);

// True when every character of text is a digit '0' to '9' (the empty text
// included); eight characters a step, for long texts.
bool allDigitChars(std::string_view text);

// What a text starts with: the sign dispatch of the operations goes by it.
enum class TextKind { Minus, Digit, Point, Empty, Other };
TextKind textKind(std::string_view text);

// True for a text that starts with a digit or a point: a number without sign.
inline bool isUnsignedKind(TextKind kind) {
    return kind == TextKind::Digit || kind == TextKind::Point;
}

// The order of two texts by length first, then by character codes: for
// digit strings without leading zeros, their numeric order.
enum class TextOrder { Shorter, Less, Equal, Greater, Longer };
TextOrder compareWholeTexts(std::string_view a, std::string_view b);

inline bool isBelow(TextOrder order) {
    return order == TextOrder::Shorter || order == TextOrder::Less;
}
inline bool isAbove(TextOrder order) {
    return order == TextOrder::Greater || order == TextOrder::Longer;
}

// `count` zeros (none for a count below 1).
std::string zeros(Count count);

// Removes trailing "0"s (stopping at any other character, the point
// included) and returns how many. An all-zero text is left alone and its
// length returned.
Count dropTrailingZeros(std::string& text);

// Drops leading zeros in place and returns the result; an all-zero text
// becomes "0" in place while "" is returned.
std::string stripLeadingZeros(std::string& text);

// An unsigned number text becomes its digit string in place; returns the
// scale. "12.50" becomes "125" with scale 1, "0.0" the empty text.
Count toDigitsAndScale(std::string& text);

// How a value below one is written: "0.05" or ".05".
enum class BelowOne { ZeroPoint, Point };

// The one placement of the point: a digit string becomes digits / 10^places,
// the point `places` characters from the right, with zeros put in front
// where the string is shorter ("5" and 3 give "0.005", or ".005"). Fraction
// zeros stay (tidyPointZeros drops them); nothing changes for places <= 0.
void placePoint(std::string& digits, Count places, BelowOne belowOne = BelowOne::ZeroPoint);

// Drops trailing fraction zeros and a trailing point: "12.500" -> "12.5",
// "3." -> "3". A text without a point keeps its zeros.
void tidyPointZeros(std::string& text);

// The leading number of a text read as a double: optional sign, digits, one
// point, optional exponent. Empty or non-numeric texts give 0.
double numericValue(std::string_view text);

// A double as text: at most 15 significant digits, no leading blank, plain
// digits below 1e15, exponent notation with "E" from 1e15 on.
std::string doubleText(double value);

} // namespace longhand
