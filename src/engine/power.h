// Powers of number texts to whole, non-negative exponents.
#pragma once

#include "host.h"
#include "numtext.h"

#include <string>
#include <string_view>

namespace longhand {

// B to the power p. Works on B in place (callers pass a working copy).
// A power longer than kMaxPowerDigits is not built: the host is told
// kPowerTooLong and the empty text comes back.
//
// The digits' power is computed by repeated squaring on the fast layer once
// it reaches kFastPowerDigits (crossovers.h); raisePowerReference always
// multiplies once per unit of the exponent, as short powers do. Both give
// the same text.
std::string raisePower(std::string& B, const std::string& p, EngineHost& host = silentHost());
std::string raisePowerReference(std::string& B, const std::string& p,
                                EngineHost& host = silentHost());

// True when p is a whole, non-negative exponent that raisePower can take:
// digits only, or digits with a point and zeros ("3", "3.", "3.00"); the
// empty text counts as 0.
bool exponentIsWhole(std::string_view p);

// True when B to the power p would have more than kMaxPowerDigits characters.
bool powerTooLong(std::string_view B, std::string_view p);

inline constexpr const char* kExponentNotWhole = "The exponent must be a whole number.";
inline constexpr const char* kPowerTooLong = "The power would be too long to hold.";

// The longest power that is built (characters), far beyond what repeated
// multiplication finishes in reasonable time, but still a size that fits in
// memory: "10" ^ "1000000000000" would otherwise ask for a terabyte of zeros.
inline constexpr Count kMaxPowerDigits = 200'000'000;

} // namespace longhand
