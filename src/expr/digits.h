// The digit-string arithmetic the expression room runs on: the fast layer
// (engine/fast/fast.h), except for operands short enough to fit in a
// machine word, which are computed there. Most lines people type hold only
// such numbers, and the fast layer would start its thread pool for them.
#pragma once

#include "engine/fast/fast.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace longhand::expr::digits {

std::string mul(std::string_view a, std::string_view b, const fast::CancelCheck* cancel);
fast::QuotRem divide(std::string_view a, std::string_view b, const fast::CancelCheck* cancel);
// floor(a 10^k / b) and its remainder, k >= 0.
fast::QuotRem divideScaled(std::string_view a, std::string_view b, std::int64_t k,
                           const fast::CancelCheck* cancel);
std::string pow(std::string_view base, std::uint64_t e, const fast::CancelCheck* cancel);
std::string gcd(std::string_view a, std::string_view b, const fast::CancelCheck* cancel);

} // namespace longhand::expr::digits
