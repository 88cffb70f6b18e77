// Quotients of number texts, cut off (never rounded) at a number of places
// that depends on the operand lengths.
#pragma once

#include "host.h"
#include "numtext.h"

#include <string>

namespace longhand {

inline constexpr const char* kAbnormalcy = "Abnormalcy detected.";

// m / n; n must not be zero in value. "0.5" form below 1.
std::string bigdivision(std::string m, std::string n, EngineHost& host = silentHost());

// Long division of digit strings, Len(A) > Len(B), at most desiredDecimal places.
std::string UpperLower(std::string A, const std::string& B, Count desiredDecimal,
                       EngineHost& host = silentHost());

// m / n for digit strings with Len(m) <= Len(n): a quotient below 10.
std::string smallQuotient(std::string m, const std::string& n, Count places,
                          EngineHost& host = silentHost());

// One quotient digit of rem / div; rem becomes rem - digit * div. A rem
// shorter than div makes the host show "Abnormalcy detected." (digit 0).
std::string nextQuotientDigit(std::string& rem, const std::string& div,
                              EngineHost& host = silentHost());

// num * digit for a one-character digit.
std::string multiplyByDigit(const std::string& digit, const std::string& num);

// s / 10^(f1 - f2) by moving the point, f1 > f2.
std::string shiftPointLeft(const std::string& s, Count f1, Count f2);

} // namespace longhand
