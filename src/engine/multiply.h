// Exact multiplication of number texts.
#pragma once

#include "host.h"

#include <string>

namespace longhand {

inline constexpr const char* kMultiplyFailed = "Turn on input-checking. Reenter data.";

// The product of two number texts. "0" when either is exactly "0"; a value
// below 1 comes out as ".25". On a malformed operand the host is told
// "Turn on input-checking. Reenter data." and the empty text is returned.
std::string bigMultifly(std::string row, std::string col, EngineHost& host = silentHost());

// Product of two digit strings as exactly Len(A) + Len(B) digits, leading
// zeros included. Characters other than digits count as 0.
std::string multiplyDigits(const std::string& A, const std::string& B);

} // namespace longhand
