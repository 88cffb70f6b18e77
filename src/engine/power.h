// Powers of number texts to whole, non-negative exponents.
#pragma once

#include "host.h"

#include <string>
#include <string_view>

namespace longhand {

// B to the power p. Works on B in place (callers pass a working copy).
std::string raisePower(std::string& B, const std::string& p, EngineHost& host = silentHost());

// True when p is a whole, non-negative exponent that raisePower can take.
bool exponentIsWhole(std::string_view p);

inline constexpr const char* kExponentNotWhole = "The exponent must be a whole number.";

} // namespace longhand
