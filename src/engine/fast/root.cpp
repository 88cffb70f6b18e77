// Integer k-th roots: floor(M^(1/k)) by Newton's iteration on the
// reciprocal root y = M^(-1/k),
//     y' = y + y (1 - M y^k) / k,
// which needs products only (and a division by the small k), with the
// working precision doubling from step to step; then r = M y^(k-1) and an
// exact check r^k <= M < (r + 1)^k settles the last unit.
//
// The numbers of the iteration are floating in limbs: a mantissa and an
// exponent, value m 10^(9 e), cut to the working precision after each
// product.
#include "fast.h"
#include "natural.h"
#include "size_limits.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace longhand::fast {

namespace {

__extension__ typedef unsigned __int128 Wide2; // GCC and Clang

struct Float {
    Natural m;
    std::int64_t e = 0;
};

// a cut to its top `limbs` limbs (towards zero).
Float cut(Float a, std::size_t limbs) {
    if (a.m.size() > limbs) {
        const std::size_t drop = a.m.size() - limbs;
        a.m.erase(a.m.begin(), a.m.begin() + static_cast<std::ptrdiff_t>(drop));
        a.e += static_cast<std::int64_t>(drop);
        trim(a.m);
    }
    return a;
}

Float times(const Float& a, const Float& b, std::size_t limbs, const CancelCheck* cancel,
            Scratch* scratch) {
    return cut({&a == &b ? sqr(a.m, cancel, scratch) : mul(a.m, b.m, cancel, scratch), a.e + b.e},
               limbs);
}

// a^k, each product cut to `limbs` limbs.
Float powerCut(const Float& a, std::uint64_t k, std::size_t limbs, const CancelCheck* cancel,
               Scratch* scratch) {
    Float r = cut(a, limbs);
    const Float base = r;
    for (int bit = std::bit_width(k) - 2; bit >= 0; --bit) {
        r = times(r, r, limbs, cancel, scratch);
        if ((k >> bit) & 1) r = times(r, base, limbs, cancel, scratch);
    }
    return r;
}

// The mantissa of a with exponent lowered to e <= a.e.
Natural lowered(const Float& a, std::int64_t e) {
    if (a.m.empty()) return {};
    const auto shift = static_cast<std::size_t>(a.e - e);
    Natural r(shift + a.m.size(), 0);
    std::copy(a.m.begin(), a.m.end(), r.begin() + static_cast<std::ptrdiff_t>(shift));
    return r;
}

// About M^(-1/k) to some 15 digits, from M's top limbs.
Float firstGuess(const Natural& M, std::uint64_t k) {
    // log10 M = 9 (n - 2) + log10(top two limbs); the whole part is divided
    // exactly, so only the small rest goes through a double.
    const std::size_t n = M.size();
    const std::uint64_t whole = n >= 2 ? kLimbDigits * (n - 2) : 0;
    double top = M[n - 1];
    if (n >= 2) top = top * kBase + M[n - 2];
    const std::uint64_t q = whole / k;
    const double w = (static_cast<double>(whole % k) + std::log10(top)) / static_cast<double>(k);
    // y = 10^-q 10^-w, with q = 9 qa + qb and qb + w = 9 j + u, 0 <= u < 9.
    const double v = static_cast<double>(q % kLimbDigits) + w;
    const auto j = static_cast<std::uint64_t>(std::floor(v / kLimbDigits));
    const double u = v - static_cast<double>(j * kLimbDigits);
    const auto mantissa = static_cast<std::uint64_t>(std::pow(10.0, 18.0 - u));
    return {fromU64(mantissa), -static_cast<std::int64_t>(q / kLimbDigits + j) - 2};
}

// Sum of powers r^k for the check, with (r + 1)^2 from r^2 when k = 2.
Natural nextPower(const Natural& r, const Natural& rk, std::uint64_t k, const CancelCheck* cancel) {
    Natural r1 = add(r, Natural{1});
    if (k != 2) return power(r1, k, cancel);
    Natural p = add(rk, r);
    addInPlace(p, r1);
    return p;
}

std::uint64_t smallRoot(std::uint64_t m, std::uint64_t k) {
    auto fits = [&](std::uint64_t r) { // r^k <= m
        Wide2 p = 1;
        for (std::uint64_t i = 0; i < k; ++i) {
            p *= r;
            if (p > m) return false;
        }
        return true;
    };
    auto r =
        static_cast<std::uint64_t>(std::pow(static_cast<double>(m), 1.0 / static_cast<double>(k)));
    while (r > 0 && !fits(r))
        --r;
    while (fits(r + 1))
        ++r;
    return r;
}

} // namespace

Natural root(const Natural& M, std::uint64_t k, bool* exact, const CancelCheck* cancel) {
    if (k == 0) throw std::domain_error("root of degree 0");
    if (k >= kBase) throw std::length_error("root degree too large");
    if (exact) *exact = true;
    if (k == 1 || M.empty()) return M;
    const double bits = log10Of(M) * 3.3219280948873623;
    if (bits + 1 < static_cast<double>(k)) { // 1 <= M < 2^k: the root is 1
        if (exact) *exact = M == Natural{1};
        return {1};
    }
    if (M.size() <= 2) {
        std::uint64_t m = M[0] + (M.size() > 1 ? std::uint64_t{M[1]} * kBase : 0);
        const std::uint64_t r = smallRoot(m, k);
        if (exact) {
            std::uint64_t p = 1;
            for (std::uint64_t i = 0; i < k; ++i)
                p *= r;
            *exact = p == m;
        }
        return fromU64(r);
    }
    const CancelCheck quiet = partOf(cancel, 0);
    Scratch scratch;
    constexpr std::size_t guard = 2;
    // The root has about n / k limbs; y is wanted to a limb more.
    const std::size_t target = M.size() / k + 3;
    std::vector<std::size_t> precisions;
    for (std::size_t p = target;; p = p / 2 + 1) {
        precisions.push_back(p);
        if (p <= 2) break;
    }
    std::reverse(precisions.begin(), precisions.end());
    double total = 0;
    for (std::size_t p : precisions)
        total += static_cast<double>(p);
    total *= 2; // the last products and the check take about as much again

    Float y = firstGuess(M, k);
    for (std::size_t p : precisions) {
        const std::size_t limbs = p + guard;
        const Float mTop = cut({M, 0}, limbs);
        const Float t =
            times(mTop, powerCut(y, k, limbs, &quiet, &scratch), limbs, &quiet, &scratch);
        // e = 1 - t, about 10^(-9 p / 2) in size.
        Natural one = lowered({Natural{1}, 0}, std::min<std::int64_t>(t.e, 0));
        const Natural tm = lowered(t, std::min<std::int64_t>(t.e, 0));
        const bool below = compare(tm, one) < 0;
        const Natural e = below ? sub(one, tm) : sub(tm, one);
        Float delta =
            times(cut(y, limbs), {e, std::min<std::int64_t>(t.e, 0)}, limbs, &quiet, &scratch);
        divSmallInPlace(delta.m, static_cast<Limb>(k));
        const std::int64_t low = std::min(y.e, delta.e);
        Natural ym = lowered(y, low);
        const Natural dm = lowered(delta, low);
        if (below)
            addInPlace(ym, dm);
        else if (compare(ym, dm) > 0)
            subInPlace(ym, dm);
        y = cut({std::move(ym), low}, limbs);
        advance(cancel, static_cast<double>(p) / total);
        poll(cancel);
    }
    // r = M y^(k-1), to a few units.
    const std::size_t limbs = target + guard;
    const Float approx = times(cut({M, 0}, limbs), powerCut(y, k - 1, limbs, &quiet, &scratch),
                               limbs, &quiet, &scratch);
    Natural r;
    if (approx.e >= 0)
        r = lowered(approx, 0);
    else if (static_cast<std::size_t>(-approx.e) < approx.m.size())
        r = Natural(approx.m.begin() + static_cast<std::ptrdiff_t>(-approx.e), approx.m.end());
    trim(r);
    // The exact check: r^k <= M < (r + 1)^k.
    Natural rk = power(r, k, &quiet);
    while (compare(rk, M) > 0) {
        subInPlace(r, Natural{1});
        rk = power(r, k, &quiet);
    }
    for (;;) {
        Natural next = nextPower(r, rk, k, &quiet);
        if (compare(next, M) > 0) break;
        addInPlace(r, Natural{1});
        rk = std::move(next);
    }
    if (exact) *exact = compare(rk, M) == 0;
    finish(cancel);
    return r;
}

RootDigits rootDigits(std::string_view m, std::uint64_t k, const CancelCheck* cancel) {
    const double limbs = static_cast<double>(m.size()) / kLimbDigits;
    const double read = conversionWork(limbs), work = 12 * productWork(limbs);
    const double total = read + work + conversionWork(limbs / static_cast<double>(k ? k : 1));
    const Natural x = fromDigits(m, cancel);
    advance(cancel, read / total);
    RootDigits out;
    Natural r;
    {
        const CancelCheck computing = partOf(cancel, work / total);
        r = root(x, k, &out.exact, &computing);
    }
    out.root = toDigits(r, 0, cancel);
    finish(cancel);
    return out;
}

} // namespace longhand::fast
