// Quotients of number texts, cut off (never rounded) at a number of places
// that depends on the operand lengths.
#pragma once

#include "host.h"
#include "numtext.h"

#include <string>

namespace longhand {

inline constexpr const char* kAbnormalcy = "Abnormalcy detected.";

// m / n; n must not be zero in value. "0.5" form below 1.
//
// Long operands go through the fast arithmetic (engine/fast): the drivers'
// digits are the quotient cut to their count of places, computed in one go,
// with the count settled from the exact remainder. The results are the same
// as those of the digit-by-digit drivers, which run below the crossover
// sizes of crossovers.h and stay callable as the *Reference functions.
std::string bigdivision(std::string m, std::string n, EngineHost& host = silentHost());
std::string bigdivisionReference(std::string m, std::string n, EngineHost& host = silentHost());

// Long division of digit strings, Len(A) > Len(B), at most desiredDecimal places.
std::string UpperLower(std::string A, const std::string& B, Count desiredDecimal,
                       EngineHost& host = silentHost());
std::string UpperLowerReference(std::string A, const std::string& B, Count desiredDecimal,
                                EngineHost& host = silentHost());

// m / n for digit strings with Len(m) <= Len(n): a quotient below 10.
std::string smallQuotient(std::string m, const std::string& n, Count places,
                          EngineHost& host = silentHost());
std::string smallQuotientReference(std::string m, const std::string& n, Count places,
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
