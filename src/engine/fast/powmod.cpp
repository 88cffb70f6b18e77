// Modular powers: Barrett's reduction (Modulus) and the sliding-window
// power (TAOCP 4.6.3, exercise 18 of the binary method's variants): the
// odd powers a, a^3, ..., a^(2^w - 1) once, then one square per bit and
// one product per window.
//
// With a long modulus M of n limbs every product goes through transforms,
// and Barrett's step costs two more products: the quotient's, q = the top
// of u times the reciprocal X, and u - q M. X's transforms are kept, so
// the first costs one forward and one inverse transform; the second is
// known to be below 10^(9 (n + 1)), so it is computed modulo
// 10^(9 L) - 1 for a transform length L of n + 2 points, a cyclic
// product half as long as the full one, with M's transforms kept. The
// window's odd powers keep their transforms too.
#include "div_newton.h"
#include "fast.h"
#include "kernels.h"
#include "modular.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace longhand::fast {

namespace {

// Window tables of a modular power keep at most this many bytes of
// transforms: a bound of memory, not of speed.
constexpr std::size_t kWindowTableBytes = std::size_t{64} << 20;

// u mod (10^(9 L) - 1) in r[0..L), below that modulus: the sum of u's
// pieces of L limbs, each carry out of the top coming back at the bottom.
void foldWrapped(const Natural& u, Limb* r, std::size_t L) {
    std::fill(r, r + L, Limb{0});
    Limb carry = 0;
    for (std::size_t at = 0; at < u.size(); at += L) {
        const std::size_t len = std::min(L, u.size() - at);
        carry += kern::addTo(r, L, u.data() + at, len);
    }
    while (carry)
        carry = kern::addLimb(r, L, carry);
    if (std::all_of(r, r + L, [](Limb x) { return x == kBase - 1; })) std::fill(r, r + L, Limb{0});
}

} // namespace

Modulus::Modulus(const Natural& m, const CancelCheck* cancel) : m_(m), cancel_(cancel) {
    if (m.empty()) throw std::domain_error("modulus zero");
    scale_ = kBase / (m.back() + 1);
    big_ = scale_ == 1 ? m : mulSmall(m, scale_);
    inverse_ = reciprocal(big_.data(), big_.size(), cancel);
    const std::size_t n = big_.size();
    // X = floor(B^(2n) / M) exactly (the reciprocal may be up to two
    // below): each unit of X's shortfall costs a correction of the
    // quotient in about every other step.
    const Natural whole = pow10(std::uint64_t{18} * n);
    Natural covered = fast::mul(big_, inverse_, cancel);
    for (int i = 0; i < 2; ++i) {
        addInPlace(covered, big_);
        if (compare(covered, whole) > 0) break;
        addInPlace(inverse_, Natural{1});
    }
    if (n >= kMulNttThreshold && 2 * n + 2 <= kern::nttMaxLimbs()) {
        // Quotient products: the top n + 1 limbs of a product of two
        // residues by the reciprocal's n + 1.
        inverseKept_ =
            std::make_unique<kern::NttFactor>(inverse_.data(), inverse_.size(), n + 1, cancel);
        // The remainder u - q M is below 5 M < 10^(9 (n + 1)): products q M
        // wrap around at n + 2 limbs or more and lose nothing of it.
        bigWrapped_ = std::make_unique<kern::NttFactor>(big_.data(), n,
                                                        kern::NttFactor::Wrapping{n + 2}, cancel);
    }
}

Modulus::~Modulus() = default;

Natural Modulus::remainder(const Natural& u, const Natural& q) const {
    if (q.empty()) return u;
    if (!bigWrapped_ || q.size() < kMulNttThreshold)
        return fast::sub(u, fast::mul(q, big_, cancel_));
    // Modulo W = 10^(9 L) - 1: u - q M is known to lie in [0, W), so its
    // residue is the number itself.
    const std::size_t L = bigWrapped_->length();
    Natural w(L), r(L);
    bigWrapped_->multiplyWrapped(w.data(), q.data(), q.size(), nullptr, cancel_);
    foldWrapped(u, r.data(), L);
    // r - w + W when r < w: the borrow takes the 10^(9 L), one more the 1.
    if (kern::subN(r.data(), r.data(), w.data(), L))
        kern::subFrom(r.data(), L, Natural{1}.data(), 1);
    trim(r);
    return r;
}

Natural Modulus::barrett(const Natural& u, Natural* quotient) const {
    const std::size_t n = big_.size();
    if (compare(u, big_) < 0) {
        if (quotient) quotient->clear();
        return u;
    }
    // q = floor(floor(u / B^(n-1)) X / B^(n+1)) is never above u / M and
    // at most two below it.
    Natural top(u.begin() + static_cast<std::ptrdiff_t>(std::min(u.size(), n - 1)), u.end());
    Natural t;
    if (inverseKept_ && inverseKept_->fits(top.size())) {
        t.resize(top.size() + inverse_.size());
        inverseKept_->multiply(t.data(), top.data(), top.size(), nullptr, cancel_);
        trim(t);
    } else {
        t = fast::mul(top, inverse_, cancel_);
    }
    Natural q;
    if (t.size() > n + 1) q.assign(t.begin() + static_cast<std::ptrdiff_t>(n + 1), t.end());
    Natural r = remainder(u, q);
    while (compare(r, big_) >= 0) {
        subInPlace(r, big_);
        if (quotient) addInPlace(q, Natural{1});
    }
    if (quotient) *quotient = std::move(q);
    return r;
}

Natural Modulus::reduce(const Natural& u) const {
    return barrett(u, nullptr);
}

void Modulus::divide(const Natural& u, Natural& q, Natural& r) const {
    // floor(u s / (s m)) = floor(u / m), and u s < M^2.
    if (scale_ == 1) {
        r = barrett(u, &q);
        return;
    }
    r = barrett(mulSmall(u, scale_, cancel_), &q);
    divSmallInPlace(r, scale_);
}

Modulus::Factor Modulus::prepare(const Natural& a) const {
    Factor f{a, nullptr};
    if (inverseKept_ && a.size() >= kMulNttThreshold)
        f.kept = std::make_unique<kern::NttFactor>(a.data(), a.size(), big_.size(), cancel_);
    return f;
}

Natural Modulus::mul(const Natural& a, const Natural& b) const {
    return reduce(fast::mul(a, b, cancel_));
}
Natural Modulus::mul(const Natural& a, const Factor& b) const {
    if (!b.kept || !b.kept->fits(a.size())) return mul(a, b.value);
    poll(cancel_);
    Natural r(a.size() + b.value.size());
    b.kept->multiply(r.data(), a.data(), a.size(), nullptr, cancel_);
    trim(r);
    return reduce(r);
}
Natural Modulus::sqr(const Natural& a) const {
    return reduce(fast::sqr(a, cancel_));
}
void Modulus::mulAndSqr(const Natural& a, const Natural& b, Natural& ab, Natural& aa) const {
    if (!inverseKept_ || a.size() < kMulNttThreshold) {
        ab = mul(a, b);
        aa = sqr(a);
        return;
    }
    const Factor f = prepare(a);
    ab = mul(b, f);
    poll(cancel_);
    Natural s(2 * a.size());
    f.kept->square(s.data(), nullptr, cancel_);
    trim(s);
    aa = reduce(s);
}
Natural Modulus::mulSigned(const Natural& a, std::int64_t s) const {
    const Natural p = reduce(mulSmall(a, static_cast<Limb>(s < 0 ? -s : s)));
    return s < 0 ? sub(Natural{}, p) : p;
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
    const Natural base = reduce(a);
    Natural r{1};
    bool one = true; // r is still 1: skip its squares
    if (base.size() == 1 && big_.size() >= 2) {
        // A one-limb base (Miller's test to base 2, say): the binary
        // method, each product by the base a short one.
        for (std::size_t i = 0; i < nbits; ++i) {
            if (!one) r = sqr(r);
            if (bits[i] == '1') {
                r = one ? base : reduce(mulSmall(r, base[0]));
                one = false;
            }
            advance(progress, 1.0 / static_cast<double>(nbits));
            poll(cancel_);
        }
        return r;
    }
    // The window: 2^(w-1) products for the table and about one per w + 1
    // bits, the fewest in all, within the table's bound of memory.
    const std::size_t entryBytes =
        inverseKept_ ? 4 * 3 * inverseKept_->length() : sizeof(Limb) * big_.size();
    std::size_t w = 1;
    for (std::size_t v = 2; v <= 12; ++v) {
        const auto cost = [nbits](std::size_t x) {
            return static_cast<double>(std::size_t{1} << (x - 1)) +
                   static_cast<double>(nbits) / static_cast<double>(x + 1);
        };
        if ((std::size_t{1} << (v - 1)) * entryBytes <= kWindowTableBytes && cost(v) < cost(w))
            w = v;
    }
    std::vector<Factor> odd; // a^(2 i + 1)
    odd.reserve(std::size_t{1} << (w - 1));
    odd.push_back(prepare(base));
    if (w > 1) {
        const Factor a2 = prepare(sqr(base));
        for (std::size_t i = 1; i < (std::size_t{1} << (w - 1)); ++i)
            odd.push_back(prepare(mul(odd[i - 1].value, a2)));
    }
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
        r = one ? odd[value / 2].value : mul(r, odd[value / 2]);
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
