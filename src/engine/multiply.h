// Exact multiplication of number texts.
#pragma once

#include "host.h"

#include <string>

namespace longhand {

// The product of two number texts. "0" when either is exactly "0"; a value
// below 1 comes out as ".25". On a malformed operand the host is told
// "Turn on input-checking. Reenter data." and the empty text is returned.
std::string bigMultifly(std::string row, std::string col, EngineHost& host = silentHost());

// Product of two digit strings as exactly Len(A) + Len(B) digits.
std::string multiplyDigits(const std::string& A, const std::string& B);

} // namespace longhand
