// Exact addition and subtraction of number texts.
#pragma once

#include <string>

namespace longhand {

std::string rcAdd(std::string a, std::string b);
std::string rcSub(std::string a, std::string b);

} // namespace longhand
