// Exact addition and subtraction of number texts.
#pragma once

#include <string>
#include <string_view>

namespace longhand {

// a + b and a - b. An operand that is exactly "0" gives the other one back
// as it is ("0" + "007" is "007"); every other result is tidy: no leading
// zeros, no trailing fraction zeros, "0.25" for a value below 1.
//
// Long operands are added by the fast layer's text arithmetic, eight digits
// at a time, from kFastAddDigits digits (crossovers.h) on.
std::string add(std::string_view a, std::string_view b);
std::string subtract(std::string_view a, std::string_view b);

// The sum of two digit strings by the carry loop that shorter operands get,
// for any length; characters that are not digits count as 0.
std::string digitSum(std::string_view a, std::string_view b);

} // namespace longhand
