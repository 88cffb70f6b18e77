// Number texts and the small helpers every operation is built from.
//
// A number text is an optional leading "-", digits and at most one ".",
// anywhere (".5", "5." and "007" are all fine). The engine computes on the
// normalized form: digits only, no leading zeros (zero is the empty text),
// plus a scale = the count of fraction digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace longhand {

// Positions and counts of digits. Texts of billions of digits stay countable.
using Count = std::int64_t;

// True for a number text: an optional leading "-", then digits and at most
// one "." and nothing else, not even a blank or a "+". "", "-", "." and "-."
// pass too: the shapes an emptied box or a tidied zero may take.
bool isNumberText(std::string_view text);

// Kind of a text by its first character.
enum : int { KindMinus = 0, KindDigit = 2, KindPoint = 3, KindEmpty = 4, KindOther = 5 };
int leadCharKind(std::string_view text);

// Comparison codes: 1 same length and smaller, 2 same length and larger,
// 3 identical, 4 shorter, 5 longer. A numeric order for digit strings
// without leading zeros.
enum : int { CmpLess = 1, CmpGreater = 2, CmpEqual = 3, CmpShorter = 4, CmpLonger = 5 };
int strCompare(std::string_view L, std::string_view R);

// `count` zeros.
std::string makePower10(Count count);

// Removes trailing "0"s (stopping at any other character, the point
// included) and returns how many. An all-zero text is left alone and its
// length returned.
Count noEndingZero(std::string& text);

// Drops leading zeros in place and returns the result; an all-zero text
// becomes "0" in place while "" is returned.
std::string stripLeadingZeros(std::string& text);

// Unsigned number text -> digit string in place; returns the scale.
Count normalizeNumber(std::string& text);

// Puts the point back max(scale1, scale2) places from the right and tidies
// trailing fraction zeros and a trailing point. Changes `digits`, returns it.
std::string placePoint(Count scale1, Count scale2, std::string& digits);

// Drops trailing fraction zeros and a trailing point. Changes `text`, returns it.
std::string dropPointZeros(std::string& text);

// The leading number of a text read as a double: optional sign, digits, one
// point, optional exponent. Empty or non-numeric texts give 0.
double numericValue(std::string_view text);

// A double as text: at most 15 significant digits, no leading blank, plain
// digits below 1e15, exponent notation with "E" from 1e15 on.
std::string doubleText(double value);

} // namespace longhand
