// The half-gcd: Euclid's first half on n-limb numbers in time of a few
// products times log n, by recursion on the top limbs (Schönhage's scheme
// in the form of Möller, "On Schönhage's algorithm and subquadratic integer
// gcd computation", Math. Comp. 77, 2008).
//
// The steps of Euclid's algorithm on the top n - p limbs of a and b are
// also its steps on the whole numbers as long as the remainders stay longer
// than half of those top limbs: the matrix gathered on the top limbs then
// has entries shorter than the remainders, so the low limbs cannot change
// a sign. The recursion reduces the top half first (n to about 3n/4
// limbs), then the top of what is left (to about n/2), then Lehmer's
// steps finish the last limbs.
#include "gcd_steps.h"
#include "kernels.h"
#include "thresholds.h"

#include <algorithm>
#include <utility>

namespace longhand::fast::gcdstep {

namespace {

Natural shiftLimbs(const Natural& a, std::size_t limbs) {
    if (a.empty()) return {};
    Natural r(limbs + a.size(), 0);
    std::copy(a.begin(), a.end(), r.begin() + static_cast<std::ptrdiff_t>(limbs));
    return r;
}

// hi + plus - minus, or false when negative.
bool signedSum(Natural& out, Natural hi, const Natural& plus, const Natural& minus) {
    addInPlace(hi, plus);
    if (compare(hi, minus) < 0) return false;
    subInPlace(hi, minus);
    out = std::move(hi);
    return true;
}

// Reduces the limbs from p on of a and b by a half-gcd and applies its
// matrix to the whole numbers and to m.
void reduceTop(Natural& a, Natural& b, std::size_t p, std::size_t s, Matrix& m,
               const CancelCheck* cancel) {
    Natural alpha = limbSlice(a, p), beta = limbSlice(b, p);
    const Matrix top = halfGcd(alpha, beta, cancel);
    if (top.identity()) return;
    if (applyToLow(top, alpha, beta, a, b, p, s, cancel)) multiplyRight(m, top, cancel);
}

} // namespace

namespace {

// m p through transforms: each of the eight entries transformed once, and
// each entry of the product, a sum of two products, transformed back
// once, when all entries are long and of like lengths.
bool multiplyRightByTransforms(Matrix& m, const Matrix& p, const CancelCheck* cancel) {
    const std::size_t mLong = std::max({m.m00.size(), m.m01.size(), m.m10.size(), m.m11.size()});
    const std::size_t mShort = std::min({m.m00.size(), m.m01.size(), m.m10.size(), m.m11.size()});
    const std::size_t pLong = std::max({p.m00.size(), p.m01.size(), p.m10.size(), p.m11.size()});
    const std::size_t pShort = std::min({p.m00.size(), p.m01.size(), p.m10.size(), p.m11.size()});
    if (std::min(mShort, pShort) < kMulNttThreshold ||
        std::max(mLong, pLong) > 2 * std::min(mShort, pShort) ||
        mLong + pLong + 1 > kern::nttMaxLimbs())
        return false;
    const kern::NttFactor::Wrapping length{mLong + pLong - 1};
    auto kept = [&](const Natural& v) {
        return kern::NttFactor(v.data(), v.size(), length, cancel);
    };
    const kern::NttFactor m00 = kept(m.m00), m01 = kept(m.m01), m10 = kept(m.m10),
                          m11 = kept(m.m11);
    const kern::NttFactor p00 = kept(p.m00), p01 = kept(p.m01), p10 = kept(p.m10),
                          p11 = kept(p.m11);
    auto sum = [&](const kern::NttFactor& a, const kern::NttFactor& b, const kern::NttFactor& c,
                   const kern::NttFactor& d) {
        Natural r(mLong + pLong + 1);
        kern::NttFactor::sumOfProducts(r.data(), r.size(), a, b, c, d, nullptr, cancel);
        trim(r);
        return r;
    };
    Natural n00 = sum(m00, p00, m01, p10), n01 = sum(m00, p01, m01, p11);
    Natural n10 = sum(m10, p00, m11, p10), n11 = sum(m10, p01, m11, p11);
    m.m00 = std::move(n00);
    m.m01 = std::move(n01);
    m.m10 = std::move(n10);
    m.m11 = std::move(n11);
    m.det *= p.det;
    return true;
}

} // namespace

void multiplyRight(Matrix& m, const Matrix& p, const CancelCheck* cancel) {
    if (multiplyRightByTransforms(m, p, cancel)) return;
    Natural m00 = add(mul(m.m00, p.m00, cancel), mul(m.m01, p.m10, cancel));
    Natural m01 = add(mul(m.m00, p.m01, cancel), mul(m.m01, p.m11, cancel));
    Natural m10 = add(mul(m.m10, p.m00, cancel), mul(m.m11, p.m10, cancel));
    Natural m11 = add(mul(m.m10, p.m01, cancel), mul(m.m11, p.m11, cancel));
    m.m00 = std::move(m00);
    m.m01 = std::move(m01);
    m.m10 = std::move(m10);
    m.m11 = std::move(m11);
    m.det *= p.det;
}

bool applyToLow(const Matrix& p, const Natural& alpha, const Natural& beta, Natural& a, Natural& b,
                std::size_t low, std::size_t s, const CancelCheck* cancel) {
    const Natural aLow = limbSlice(a, 0, low), bLow = limbSlice(b, 0, low);
    // a' = det (p11 a - p01 b), b' = det (p00 b - p10 a); their top parts
    // are alpha and beta.
    const Natural x = mul(p.m11, aLow, cancel), y = mul(p.m01, bLow, cancel);
    const Natural z = mul(p.m00, bLow, cancel), w = mul(p.m10, aLow, cancel);
    Natural na, nb;
    const bool positive = p.det > 0;
    if (!signedSum(na, shiftLimbs(alpha, low), positive ? x : y, positive ? y : x)) return false;
    if (!signedSum(nb, shiftLimbs(beta, low), positive ? z : w, positive ? w : z)) return false;
    if (na.size() <= s || nb.size() <= s) return false;
    a = std::move(na);
    b = std::move(nb);
    return true;
}

Matrix halfGcd(Natural& a, Natural& b, const CancelCheck* cancel) {
    Matrix m;
    const std::size_t n = std::max(a.size(), b.size());
    const std::size_t s = n / 2 + 1;
    if (n <= s) return m;
    if (n >= kHalfGcdThreshold) {
        reduceTop(a, b, n / 2, s, m, cancel);
        const std::size_t threeQuarters = 3 * n / 4 + 1;
        while (std::max(a.size(), b.size()) > threeQuarters)
            if (!reduceStep(a, b, s, &m, cancel)) return m;
        const std::size_t n1 = std::max(a.size(), b.size());
        if (n1 > s + 2) reduceTop(a, b, 2 * s - n1 + 1, s, m, cancel);
    }
    while (reduceStep(a, b, s, &m, cancel)) {
    }
    return m;
}

} // namespace longhand::fast::gcdstep
