// Modular powers: Barrett's reduction (Modulus) and the sliding-window
// power (TAOCP 4.6.3, exercise 18 of the binary method's variants): the
// odd powers a, a^3, ..., a^(2^w - 1) once, then one square per bit and
// one product per window.
#include "div_newton.h"
#include "fast.h"
#include "modular.h"

#include <algorithm>
#include <vector>

namespace longhand::fast {

Modulus::Modulus(const Natural& m, const CancelCheck* cancel) : m_(m), cancel_(cancel) {
    if (m.empty()) throw std::domain_error("modulus zero");
    const Limb scale = kBase / (m.back() + 1);
    big_ = scale == 1 ? m : mulSmall(m, scale);
    inverse_ = reciprocal(big_.data(), big_.size(), cancel);
}

Natural Modulus::reduce(const Natural& u) const {
    const std::size_t n = big_.size();
    if (compare(u, big_) < 0) return u;
    // q = floor(floor(u / B^(n-1)) X / B^(n+1)) is never above u / M and
    // at most a few below it.
    Natural top(u.begin() + static_cast<std::ptrdiff_t>(std::min(u.size(), n - 1)), u.end());
    const Natural t = fast::mul(top, inverse_, cancel_);
    Natural q;
    if (t.size() > n + 1) q.assign(t.begin() + static_cast<std::ptrdiff_t>(n + 1), t.end());
    Natural r = q.empty() ? u : fast::sub(u, fast::mul(q, big_, cancel_));
    while (compare(r, big_) >= 0)
        subInPlace(r, big_);
    return r;
}

Natural Modulus::mul(const Natural& a, const Natural& b) const {
    return reduce(fast::mul(a, b, cancel_));
}
Natural Modulus::sqr(const Natural& a) const {
    return reduce(fast::sqr(a, cancel_));
}
Natural Modulus::add(const Natural& a, const Natural& b) const {
    Natural s = fast::add(a, b);
    if (compare(s, big_) >= 0) subInPlace(s, big_);
    return s;
}
Natural Modulus::sub(const Natural& a, const Natural& b) const {
    if (compare(a, b) >= 0) return fast::sub(a, b);
    Natural s = fast::add(a, big_);
    subInPlace(s, b);
    return s;
}
Natural Modulus::canonical(const Natural& a) const {
    if (compare(a, m_) < 0) return a;
    Natural q, r;
    divMod(a, m_, q, r, cancel_);
    return r;
}

Natural Modulus::power(const Natural& a, const std::string& bits,
                       const CancelCheck* progress) const {
    const std::size_t nbits = bits.size();
    const std::size_t w = nbits < 24      ? 1
                          : nbits < 200   ? 3
                          : nbits < 2000  ? 4
                          : nbits < 20000 ? 5
                                          : 6;
    const Natural base = reduce(a);
    std::vector<Natural> odd(std::size_t{1} << (w - 1)); // a^(2 i + 1)
    odd[0] = base;
    if (w > 1) {
        const Natural a2 = sqr(base);
        for (std::size_t i = 1; i < odd.size(); ++i)
            odd[i] = mul(odd[i - 1], a2);
    }
    Natural r{1};
    bool one = true; // r is still 1: skip its squares
    std::size_t i = 0;
    while (i < nbits) {
        if (bits[i] == '0') {
            if (!one) r = sqr(r);
            ++i;
            continue;
        }
        // The longest window of at most w bits from i that ends in a 1.
        std::size_t j = std::min(nbits, i + w);
        while (bits[j - 1] == '0')
            --j;
        std::size_t value = 0;
        for (std::size_t k = i; k < j; ++k) {
            value = value * 2 + static_cast<std::size_t>(bits[k] - '0');
            if (!one) r = sqr(r);
        }
        r = one ? odd[value / 2] : mul(r, odd[value / 2]);
        one = false;
        advance(progress, static_cast<double>(j - i) / static_cast<double>(nbits));
        i = j;
        poll(cancel_);
    }
    return r;
}

std::string bitsOf(const Natural& e, const CancelCheck* cancel) {
    return toBase(e, 2, cancel);
}

Natural powMod(const Natural& a, const Natural& e, const Natural& m, const CancelCheck* cancel) {
    if (m.empty()) throw std::domain_error("modulus zero");
    if (m == Natural{1}) return {};
    if (e.empty()) return {1};
    const CancelCheck quiet = partOf(cancel, 0);
    const Modulus mod(m, &quiet);
    const std::string bits = bitsOf(e, &quiet);
    const Natural r = mod.canonical(mod.power(mod.canonical(a), bits, cancel));
    finish(cancel);
    return r;
}

std::string powModDigits(std::string_view a, std::string_view e, std::string_view m,
                         const CancelCheck* cancel) {
    const Natural x = fromDigits(a, cancel), y = fromDigits(e, cancel), z = fromDigits(m, cancel);
    const CancelCheck computing = partOf(cancel, 0.99);
    const Natural r = powMod(x, y, z, &computing);
    computing.finish();
    std::string out = toDigits(r, 0, cancel);
    finish(cancel);
    return out;
}

} // namespace longhand::fast
