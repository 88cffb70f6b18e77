// The greatest common divisor: Euclid's algorithm, its long stretches
// taken by the half-gcd (gcd_half.cpp) on the top two thirds of the
// numbers, shorter ones by Lehmer's steps (gcd_lehmer.cpp), the last two
// limbs in machine words.
#include "fast.h"
#include "gcd_steps.h"
#include "natural.h"
#include "thresholds.h"

#include <cmath>
#include <numeric>
#include <utility>

namespace longhand::fast {

namespace {

std::uint64_t valueOf(const Natural& a) {
    std::uint64_t v = 0;
    for (std::size_t i = a.size(); i-- > 0;)
        v = v * kBase + a[i];
    return v;
}

// The work left in a gcd of n-limb numbers, about a product's times log n.
double gcdWork(double n) {
    return n < 2 ? 0 : productWork(n) * std::log2(n);
}

} // namespace

Natural gcd(const Natural& x, const Natural& y, const CancelCheck* cancel) {
    Natural a = x, b = y;
    // Products and divisions poll a part that measures nothing: the gcd
    // measures its own work by how far the numbers have shrunk.
    const CancelCheck quiet = partOf(cancel, 0);
    const double total = gcdWork(static_cast<double>(std::max(a.size(), b.size())));
    double told = 0;
    for (;;) {
        if (compare(a, b) < 0) std::swap(a, b);
        if (b.empty()) break;
        if (a.size() <= 2) {
            a = fromU64(std::gcd(valueOf(a), valueOf(b)));
            break;
        }
        if (total > 0) {
            const double done = 1 - gcdWork(static_cast<double>(a.size())) / total;
            if (done > told) {
                advance(cancel, done - told);
                told = done;
            }
        }
        if (a.size() > b.size()) {
            Natural q, r;
            divMod(a, b, q, r, &quiet);
            a = std::move(r);
            continue;
        }
        const std::size_t n = a.size();
        if (n >= kGcdHalfThreshold) {
            const std::size_t p = n / 3;
            Natural alpha = gcdstep::limbSlice(a, p), beta = gcdstep::limbSlice(b, p);
            const gcdstep::Matrix m = gcdstep::halfGcd(alpha, beta, &quiet);
            if (!m.identity() && gcdstep::applyToLow(m, alpha, beta, a, b, p, 0, &quiet)) continue;
        }
        if (!gcdstep::reduceStep(a, b, 0, nullptr, &quiet)) { // b divides a
            a = std::move(b);
            break;
        }
    }
    finish(cancel);
    return a;
}

std::string gcdDigits(std::string_view a, std::string_view b, const CancelCheck* cancel) {
    const double limbs = static_cast<double>(std::max(a.size(), b.size())) / kLimbDigits;
    const double read = conversionWork(limbs), work = gcdWork(limbs);
    const double total = read + work + conversionWork(limbs / 2);
    const Natural x = fromDigits(a, cancel), y = fromDigits(b, cancel);
    advance(cancel, read / total);
    Natural g;
    {
        const CancelCheck computing = partOf(cancel, work / total);
        g = gcd(x, y, &computing);
    }
    std::string text = toDigits(g, 0, cancel);
    finish(cancel);
    return text;
}

} // namespace longhand::fast
