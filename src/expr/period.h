// Where the decimal digits of a fraction start to repeat, and how many
// repeat, by number theory rather than by dividing until a remainder comes
// back: for a denominator 2^a 5^b m with m coprime to 10 the digits repeat
// after max(a, b) places, with a period that is the multiplicative order
// of 10 modulo m.
#pragma once

#include "engine/fast/cancel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace longhand::expr {

struct Expansion {
    std::int64_t prePeriod = 0;         // places before the digits repeat (or end)
    bool ends = false;                  // m = 1: the digits end after prePeriod places
    std::optional<std::int64_t> period; // found only within the limit
};

// The expansion of any fraction with denominator `den` (digits, not "0").
// The period is looked for only where prePeriod + period <= limit.
Expansion decimalExpansion(std::string_view den, std::int64_t limit,
                           const fast::CancelCheck* cancel);

// The multiplicative order of 10 modulo m (m coprime to 10, m > 1): from
// the prime factors of Carmichael's lambda(m) when m fits in 64 bits.
std::uint64_t orderOfTen(std::uint64_t m);

// The same for m of any length, when it is at most maxOrder: a
// baby-step giant-step search over the exponents up to maxOrder (m beyond
// 64 bits cannot be factored quickly), every hit confirmed by a power.
std::optional<std::int64_t> orderOfTen(std::string_view m, std::int64_t maxOrder,
                                       const fast::CancelCheck* cancel);

} // namespace longhand::expr
