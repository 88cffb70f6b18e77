#include "digits.h"

#include <numeric>

namespace longhand::expr::digits {

namespace {

// 19 digits always fit in 64 bits; a product or power stays below 10^19.
constexpr std::size_t kWordDigits = 19;

bool fits(std::string_view d) {
    return d.size() < kWordDigits;
}

std::uint64_t word(std::string_view d) {
    std::uint64_t v = 0;
    for (char c : d)
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    return v;
}

} // namespace

std::string mul(std::string_view a, std::string_view b, const fast::CancelCheck* cancel) {
    if (a.size() + b.size() <= kWordDigits) return std::to_string(word(a) * word(b));
    return fast::mulDigits(a, b, cancel);
}

fast::QuotRem divide(std::string_view a, std::string_view b, const fast::CancelCheck* cancel) {
    if (fits(a) && fits(b) && word(b) != 0) {
        const std::uint64_t x = word(a), y = word(b);
        return {std::to_string(x / y), std::to_string(x % y)};
    }
    return fast::divDigits(a, b, cancel);
}

fast::QuotRem divideScaled(std::string_view a, std::string_view b, std::int64_t k,
                           const fast::CancelCheck* cancel) {
    if (a.size() + static_cast<std::size_t>(k) < kWordDigits && fits(b) && word(b) != 0) {
        std::uint64_t x = word(a);
        for (std::int64_t i = 0; i < k; ++i)
            x *= 10;
        const std::uint64_t y = word(b);
        return {std::to_string(x / y), std::to_string(x % y)};
    }
    return fast::divScaled(a, b, k, cancel);
}

std::string pow(std::string_view base, std::uint64_t e, const fast::CancelCheck* cancel) {
    if (fits(base) && e < 64) {
        const std::uint64_t b = word(base);
        std::uint64_t r = 1;
        bool small = true;
        for (std::uint64_t i = 0; i < e && small; ++i) {
            small = b == 0 || r <= UINT64_MAX / 10 / b;
            r *= b;
        }
        if (small) return std::to_string(r);
    }
    return fast::powDigits(base, e, cancel);
}

std::string gcd(std::string_view a, std::string_view b, const fast::CancelCheck* cancel) {
    if (fits(a) && fits(b)) return std::to_string(std::gcd(word(a), word(b)));
    return fast::gcdDigits(a, b, cancel);
}

} // namespace longhand::expr::digits
