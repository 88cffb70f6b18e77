// Exact addition and subtraction of number texts.
#pragma once

#include <string>

namespace longhand {

// Long operands are added and subtracted by the fast layer's text
// arithmetic, eight digits at a time (from kFastAddDigits, crossovers.h);
// the *Reference functions always go digit by digit. Same results.
std::string rcAdd(std::string a, std::string b);
std::string rcSub(std::string a, std::string b);
std::string rcAddReference(std::string a, std::string b);
std::string rcSubReference(std::string a, std::string b);

} // namespace longhand
