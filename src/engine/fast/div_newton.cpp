// Division with remainder: the front end, and the Newton-reciprocal path for
// long divisors and long quotients.
//
// The reciprocal is Brent & Zimmermann's ApproximateReciprocal ("Modern
// Computer Arithmetic", Algorithm 3.5): for a normalised n-limb A it gives
// X with A X < 10^(18 n) <= A (X + 2), by recursion on the top half and
// one Newton step. A quotient limb block then comes from one product with
// X; it is off by at most one and the exact remainder settles it.
#include "div_newton.h"

#include "kernels.h"
#include "thresholds.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace longhand::fast {

namespace {

// Limbs [from, to) of a (clipped to its size), canonical.
Natural slice(const Natural& a, std::size_t from, std::size_t to = SIZE_MAX) {
    to = std::min(to, a.size());
    if (from >= to) return {};
    Natural r(a.begin() + static_cast<std::ptrdiff_t>(from),
              a.begin() + static_cast<std::ptrdiff_t>(to));
    trim(r);
    return r;
}

Natural shiftUp(const Natural& a, std::size_t limbs) {
    if (a.empty()) return {};
    Natural r(limbs + a.size(), 0);
    std::copy(a.begin(), a.end(), r.begin() + static_cast<std::ptrdiff_t>(limbs));
    return r;
}

// 10^(9 n) - t for t <= 10^(9 n).
Natural complement(const Natural& t, std::size_t n) {
    if (t.empty()) {
        Natural r(n + 1, 0);
        r[n] = 1;
        return r;
    }
    Natural r(n, kBase - 1);
    kern::subFrom(r.data(), n, t.data(), t.size());
    kern::addLimb(r.data(), n, 1);
    trim(r);
    return r;
}

void decrement(Natural& a) {
    kern::subFrom(a.data(), a.size(), Natural{1}.data(), 1);
    trim(a);
}

// Products with one fixed factor v. When the factor is long and meets many
// operands of one size, its transforms are computed once (NttFactor), as
// a part of the work measured by `cancel`.
class FixedFactor {
  public:
    FixedFactor(const Natural& v, std::size_t otherMax, const CancelCheck* cancel, Scratch* scratch)
        : v_(v), scratch_(scratch) {
        if (v.size() >= kMulNttThreshold && otherMax >= kMulNttThreshold &&
            v.size() + otherMax <= kern::nttMaxLimbs())
            kept_ =
                std::make_unique<kern::NttFactor>(v.data(), v.size(), otherMax, cancel, scratch);
        finish(cancel);
    }
    Natural times(const Natural& a, const CancelCheck* cancel) const {
        if (!kept_ || a.size() < kMulNttThreshold || !kept_->fits(a.size()))
            return mul(a, v_, cancel, scratch_);
        poll(cancel);
        Natural r(a.size() + v_.size());
        kept_->multiply(r.data(), a.data(), a.size(), scratch_, cancel);
        trim(r);
        return r;
    }

  private:
    const Natural& v_;
    Scratch* scratch_;
    std::unique_ptr<kern::NttFactor> kept_;
};

// One block of the Newton division: d < b 10^(9 k) with k <= t - 1, x the
// reciprocal of the top t limbs of b. Gives q = floor(d / b), r = d - q b;
// its two products take half the work each.
void divBlock(const Natural& d, const Natural& b, const FixedFactor& x, const FixedFactor& bx,
              std::size_t t, Natural& q, Natural& r, const CancelCheck* cancel) {
    const std::size_t n = b.size();
    {
        const CancelCheck estimating = partOf(cancel, 0.5);
        q = slice(x.times(slice(d, n - 1), &estimating), t + 1);
    }
    const CancelCheck checking = partOf(cancel, 0.5);
    Natural p = bx.times(q, &checking);
    while (compare(p, d) > 0) { // at most once
        decrement(q);
        subInPlace(p, b);
    }
    r = sub(d, p);
    while (compare(r, b) >= 0) { // at most once
        subInPlace(r, b);
        addInPlace(q, Natural{1});
    }
    finish(cancel);
}

// The work of a reciprocal of n limbs (its top level's two products and
// about as much again below), of a division block and of a factor's three
// transforms (a third of a product), in productWork units.
double reciprocalWork(std::size_t n) {
    return 2 * productWork(2.0 * static_cast<double>(n));
}
double blockWork(std::size_t n, std::size_t t) {
    return 2 * productWork(static_cast<double>(n + t));
}
double keptWork(std::size_t n) {
    return productWork(2.0 * static_cast<double>(n)) / 3;
}

// a / b for normalised b (top limb >= 10^9 / 2), both long.
void divNewton(const Natural& a, const Natural& b, Natural& q, Natural& r,
               const CancelCheck* cancel) {
    Scratch scratch; // shared by every product of this division
    const std::size_t n = b.size(), m = a.size();
    const std::size_t k = m - n + 1; // quotient limbs at most
    if (k + 1 <= n) {
        const std::size_t t = k + 1;
        const double total = reciprocalWork(t) + blockWork(n, t);
        const CancelCheck inverting = partOf(cancel, reciprocalWork(t) / total);
        const Natural x = reciprocal(b.data() + (n - t), t, &inverting, &scratch);
        inverting.finish();
        const CancelCheck dividing = partOf(cancel, blockWork(n, t) / total);
        divBlock(a, b, FixedFactor(x, 0, nullptr, &scratch), FixedFactor(b, 0, nullptr, &scratch),
                 t, q, r, &dividing);
        return;
    }
    // Quotient blocks of n - 1 limbs, the top block taking the odd rest.
    const std::size_t kb = n - 1;
    const std::size_t blocks = (k + kb - 1) / kb;
    const double total =
        reciprocalWork(n) + keptWork(n) + static_cast<double>(blocks) * blockWork(n, n);
    const CancelCheck inverting = partOf(cancel, reciprocalWork(n) / total);
    const Natural x = reciprocal(b.data(), n, &inverting, &scratch);
    inverting.finish();
    // The reciprocal's transforms are kept for the blocks; the divisor's
    // are not: a second kept factor would cost more memory (three
    // transform-long arrays) than its saved transforms are worth.
    const CancelCheck keeping = partOf(cancel, keptWork(n) / total);
    const FixedFactor xTimes(x, n, &keeping, &scratch), bTimes(b, 0, nullptr, &scratch);
    std::size_t c = k - (blocks - 1) * kb;
    std::size_t pos = m - (n - 1 + c);
    r = slice(a, pos);
    // The quotient's limbs start at zero; laid out in pieces, polling
    // between them (the first touch of a long quotient takes a while).
    q.clear();
    q.reserve(k);
    for (std::size_t at = 0; at < k; at += kConvertPollLimbs) {
        q.resize(std::min(k, at + kConvertPollLimbs), 0);
        poll(cancel);
    }
    Natural qb;
    for (;;) {
        Natural d = std::move(r);
        {
            const CancelCheck block = partOf(cancel, blockWork(n, n) / total);
            divBlock(d, b, xTimes, bTimes, n, qb, r, &block);
        }
        std::copy(qb.begin(), qb.end(), q.begin() + static_cast<std::ptrdiff_t>(pos));
        if (pos == 0) break;
        c = kb;
        pos -= c;
        // d = r 10^(9 c) + the next c limbs of a.
        Natural next(c + r.size());
        std::copy(a.begin() + static_cast<std::ptrdiff_t>(pos),
                  a.begin() + static_cast<std::ptrdiff_t>(pos + c), next.begin());
        std::copy(r.begin(), r.end(), next.begin() + static_cast<std::ptrdiff_t>(c));
        trim(next);
        r = std::move(next);
    }
    trim(q);
}

} // namespace

Natural reciprocal(const Limb* a, std::size_t n, const CancelCheck* cancel, Scratch* scratch) {
    if (n == 1) {
        const Wide v = (Wide{kBase} * kBase - 1) / a[0];
        return fromU64(v);
    }
    if (n == 2 || n < kReciprocalBasecase) {
        // floor((10^(18 n) - 1) / A) exactly.
        std::vector<Limb> u(2 * n + 1, kBase - 1);
        u[2 * n] = 0;
        Natural x(n + 1);
        kern::divBasecase(x.data(), u.data(), u.size(), a, n, cancel);
        trim(x);
        return x;
    }
    // The half-size reciprocal below takes about half the work, the two
    // products here a quarter each.
    const std::size_t l = (n - 1) / 2, h = n - l;
    const CancelCheck below = partOf(cancel, 0.5);
    Natural xh = reciprocal(a + l, h, &below, scratch);
    below.finish();
    const Natural big(a, a + n);
    const CancelCheck first = partOf(cancel, 0.25);
    Natural t = mul(big, xh, &first, scratch);
    first.finish();
    while (t.size() > n + h) { // t >= 10^(9 (n + h))
        decrement(xh);
        subInPlace(t, big);
    }
    const CancelCheck second = partOf(cancel, 0.25);
    const Natural u = mul(slice(complement(t, n + h), l), xh, &second, scratch);
    Natural x = shiftUp(xh, l);
    addInPlace(x, slice(u, 2 * h - l));
    return x;
}

void divMod(const Natural& a, const Natural& b, Natural& q, Natural& r, const CancelCheck* cancel) {
    if (b.empty()) throw std::domain_error("division by zero");
    if (compare(a, b) < 0) {
        q.clear();
        r = a;
        return;
    }
    if (b.size() == 1) {
        // Short division from the top in pieces, polling between them (a
        // step costs a hardware division, about 16 limb products).
        q = a;
        const std::size_t piece = kSchoolbookPollWork / 16;
        Limb rem = 0;
        for (std::size_t top = q.size(); top > 0;) {
            const std::size_t from = top > piece ? top - piece : 0;
            rem = kern::divSmallN(q.data() + from, top - from, b[0], rem);
            advance(cancel, static_cast<double>(top - from) / static_cast<double>(q.size()));
            top = from;
            poll(cancel);
        }
        trim(q);
        r = fromU64(rem);
        return;
    }
    // Normalise (Knuth's D1): scale both so that the divisor's top limb is
    // at least 10^9 / 2; the quotient is unchanged, the remainder scaled.
    const Limb scale = kBase / (b.back() + 1);
    const Natural bn = scale == 1 ? b : mulSmall(b, scale, cancel);
    Natural an = scale == 1 ? a : mulSmall(a, scale, cancel);
    const std::size_t n = bn.size();
    const std::size_t k = an.size() - n + 1;
    if (n >= kDivNewtonThreshold && k >= kDivNewtonThreshold) {
        divNewton(an, bn, q, r, cancel);
    } else {
        an.push_back(0);
        q.assign(an.size() - n, 0);
        kern::divBasecase(q.data(), an.data(), an.size(), bn.data(), n, cancel);
        an.resize(n);
        trim(an);
        trim(q);
        r = std::move(an);
    }
    if (scale != 1) divSmallInPlace(r, scale);
}

} // namespace longhand::fast
