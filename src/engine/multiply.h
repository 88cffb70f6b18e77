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
// The same with the schoolbook digit product for operands of any length.
std::string bigMultiflyReference(std::string row, std::string col, EngineHost& host = silentHost());

// Product of two digit strings as exactly Len(A) + Len(B) digits, leading
// zeros included. Characters other than digits count as 0. With a host, a
// long product polls host->cancelled() and gives up early (its digits are
// then meaningless; the caller throws them away).
//
// From kFastMultiplyDigits digits (crossovers.h) of the shorter operand the
// product comes from the fast layer; multiplyDigitsReference is the
// schoolbook product that shorter operands get, callable for any length.
std::string multiplyDigits(const std::string& A, const std::string& B,
                           const EngineHost* host = nullptr);
std::string multiplyDigitsReference(const std::string& A, const std::string& B,
                                    const EngineHost* host = nullptr);

} // namespace longhand
