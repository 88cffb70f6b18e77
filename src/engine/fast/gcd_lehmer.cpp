// The gcd's single steps: Lehmer's step on the top words (TAOCP 4.5.2,
// Algorithm L, with the bound of the half-gcd below instead of a second
// quotient), and one division step where Lehmer's cannot go on.
//
// The top words are the numbers' top 62 bits, cut at the same place. A
// Euclid step on them is also the step of the whole numbers as long as
// both remainders stay above 2^32: the cofactors then stay below the
// remainders, so the lost low parts cannot change a sign.
#include "gcd_steps.h"
#include "kernels.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace longhand::fast::gcdstep {

namespace {

__extension__ typedef unsigned __int128 Wide2; // GCC and Clang

constexpr std::uint64_t kSure = std::uint64_t{1} << 32;

Limb limbAt(const Natural& a, std::size_t i) {
    return i < a.size() ? a[i] : 0;
}

// plus - minus over n limbs, where plus and minus are x a and y b
// (Positive) or y b and x a, for x, y < 2^31 and a >= b. Each limb's sum
// is kept non-negative by a bias of 2^32 (10^9 - 1), so that the carry
// comes out of one unsigned division by the constant base, without a
// branch on the sign: the carry is kept plus 2^32. Returns the carry out.
template <bool Positive>
std::int64_t combineLimbs(Limb* out, const Natural& a, const Natural& b, std::uint64_t x,
                          std::uint64_t y) {
    constexpr std::uint64_t kLift = std::uint64_t{1} << 32;
    constexpr std::uint64_t kBias = kLift * (kBase - 1);
    const std::size_t n = a.size(), nb = std::min(b.size(), n);
    std::uint64_t carry = kLift;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t xa = x * a[i], yb = i < nb ? y * b[i] : 0;
        const std::uint64_t u = Positive ? xa + carry + kBias - yb : yb + carry + kBias - xa;
        carry = u / kBase;
        out[i] = static_cast<Limb>(u - carry * kBase);
    }
    return static_cast<std::int64_t>(carry) - static_cast<std::int64_t>(kLift);
}

// det (x a - y b) over the limbs of a (a >= b), for x, y < 2^31; false when
// it is negative.
bool combineSigned(Natural& out, const Natural& a, const Natural& b, std::uint64_t x,
                   std::uint64_t y, int det) {
    const std::size_t n = a.size();
    out.resize(n + 2);
    const std::int64_t carry = det > 0 ? combineLimbs<true>(out.data(), a, b, x, y)
                                       : combineLimbs<false>(out.data(), a, b, x, y);
    if (carry < 0) return false;
    out[n] = static_cast<Limb>(carry % kBase);
    out[n + 1] = static_cast<Limb>(carry / kBase);
    trim(out);
    return true;
}

// x p + y q for p, q < 2^31.
Natural combine(const Natural& x, std::uint64_t p, const Natural& y, std::uint64_t q) {
    const std::size_t n = std::max(x.size(), y.size());
    Natural r(n + 2);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t t = limbAt(x, i) * p + limbAt(y, i) * q + carry;
        r[i] = static_cast<Limb>(t % kBase);
        carry = t / kBase;
    }
    r[n] = static_cast<Limb>(carry % kBase);
    r[n + 1] = static_cast<Limb>(carry / kBase);
    trim(r);
    return r;
}

void swapColumns(Matrix& m) {
    std::swap(m.m00, m.m01);
    std::swap(m.m10, m.m11);
    m.det = -m.det;
}

// (a, b) = P^-1 (a, b) for a Lehmer matrix, both staying longer than s
// limbs; false and nothing changed otherwise.
bool applySmall(const SmallMatrix& p, Natural& a, Natural& b, std::size_t s, Matrix* m) {
    Natural na, nb;
    if (!combineSigned(na, a, b, p.p11, p.p01, p.det)) return false;
    if (!combineSigned(nb, a, b, p.p10, p.p00, -p.det)) return false;
    if (na.size() <= s || nb.size() <= s) return false;
    a = std::move(na);
    b = std::move(nb);
    if (m) {
        Natural m00 = combine(m->m00, p.p00, m->m01, p.p10);
        Natural m01 = combine(m->m00, p.p01, m->m01, p.p11);
        Natural m10 = combine(m->m10, p.p00, m->m11, p.p10);
        Natural m11 = combine(m->m10, p.p01, m->m11, p.p11);
        m->m00 = std::move(m00);
        m->m01 = std::move(m01);
        m->m10 = std::move(m10);
        m->m11 = std::move(m11);
        m->det *= p.det;
    }
    return true;
}

} // namespace

Natural limbSlice(const Natural& a, std::size_t from, std::size_t to) {
    to = std::min(to, a.size());
    if (from >= to) return {};
    Natural r(a.begin() + static_cast<std::ptrdiff_t>(from),
              a.begin() + static_cast<std::ptrdiff_t>(to));
    trim(r);
    return r;
}

SmallMatrix lehmerMatrix(const Natural& a, const Natural& b) {
    SmallMatrix p;
    const std::size_t n = a.size();
    const std::size_t t = n >= 3 ? n - 3 : 0;
    auto top = [&](const Natural& v) {
        return (static_cast<Wide2>(limbAt(v, t + 2)) * kBase + limbAt(v, t + 1)) * kBase +
               limbAt(v, t);
    };
    const Wide2 at = top(a), bt = top(b);
    const int bits = 128 - (static_cast<std::uint64_t>(at >> 64)
                                ? std::countl_zero(static_cast<std::uint64_t>(at >> 64))
                                : 64 + std::countl_zero(static_cast<std::uint64_t>(at)));
    const int shift = bits > 62 ? bits - 62 : 0;
    std::uint64_t x = static_cast<std::uint64_t>(at >> shift);
    std::uint64_t y = static_cast<std::uint64_t>(bt >> shift);
    while (y >= kSure) {
        const std::uint64_t q = x / y, r = x - q * y;
        if (r < kSure) break;
        if (p.p00 * q + p.p01 >= kSure / 2 || p.p10 * q + p.p11 >= kSure / 2) break;
        // (x, y) = [[q, 1], [1, 0]] (y, r): P takes that factor on the right.
        p = {p.p00 * q + p.p01, p.p00, p.p10 * q + p.p11, p.p10, -p.det};
        x = y;
        y = r;
    }
    return p;
}

bool reduceStep(Natural& a, Natural& b, std::size_t s, Matrix* m, const CancelCheck* cancel) {
    poll(cancel);
    if (compare(a, b) < 0) {
        std::swap(a, b);
        if (m) swapColumns(*m);
    }
    if (b.size() <= s || b.empty()) return false;
    const SmallMatrix p = lehmerMatrix(a, b);
    if (p.det == -1 || p.p01 != 0) {
        if (applySmall(p, a, b, s, m)) return true;
    }
    // One division step: a = q b + r.
    Natural q, r;
    divMod(a, b, q, r, cancel);
    if (r.size() <= s || r.empty()) return false;
    a = std::move(r);
    if (m) {
        addInPlace(m->m01, mul(q, m->m00, cancel));
        addInPlace(m->m11, mul(q, m->m10, cancel));
    }
    std::swap(a, b);
    if (m) swapColumns(*m);
    return true;
}

} // namespace longhand::fast::gcdstep
