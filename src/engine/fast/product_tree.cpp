// Products of many factors: runs of integers by binary splitting (a
// balanced product tree, so the big multiplications meet operands of equal
// size), and n! and C(n, k) through their prime factorisations.
//
// For n! and C(n, k) the exponent of each prime p comes from Legendre's
// formula, e_p(n!) = sum_i floor(n / p^i), and the number is rebuilt as
//   prod_p p^e_p = ( ... ((P_top)^2 P_(top-1))^2 ... )^2 P_0,
// where P_b is the product of the primes whose exponent has bit b set
// (each P_b a product tree). The work then lies in a few squarings, which
// are cheaper than general products. The factors 2 and 5 that pair into
// trailing zeros are put back as a decimal shift.
#include "parallel.h"
#include "size_limits.h"
#include "thresholds.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace longhand::fast {

namespace {

__extension__ typedef unsigned __int128 u128;

constexpr std::uint64_t kPackLimit = 1000000000000000000ull; // words below 10^18

// Multiplies small factors into words below 10^18 (fewer, larger leaves).
class Packer {
  public:
    explicit Packer(std::vector<std::uint64_t>& out) : out_(out) {}
    void push(std::uint64_t x) {
        if (static_cast<u128>(acc_) * x < kPackLimit) {
            acc_ *= x;
        } else {
            out_.push_back(acc_);
            acc_ = x;
        }
    }
    void flush() {
        if (acc_ != 1) out_.push_back(acc_);
        acc_ = 1;
    }

  private:
    std::vector<std::uint64_t>& out_;
    std::uint64_t acc_ = 1;
};

// x = left(check), y = right(check), computed side by side when their
// product is expected to have at least kParallelProductLimbs limbs; then
// x y. A node of kMeasuredNodeLimbs and more gives each half and the
// product of the halves its part of the check: every level of a balanced
// tree costs about the same, so the top product of a node `levels` deep
// takes 1 / (levels + 1) of its work and each half the rest.
template <class Left, class Right>
Natural productOfHalves(double limbs, double levels, Left left, Right right,
                        const CancelCheck* cancel, Scratch* scratch) {
    const bool parallel = limbs >= static_cast<double>(kParallelProductLimbs);
    Natural x, y;
    if (limbs < kMeasuredNodeLimbs) {
        par::invoke(
            parallel, [&] { x = left(cancel); }, [&] { y = right(cancel); });
        return mul(x, y, cancel, scratch);
    }
    const double top = 1.0 / (std::max(levels, 1.0) + 1.0);
    const CancelCheck leftPart = partOf(cancel, (1.0 - top) / 2);
    const CancelCheck rightPart = partOf(cancel, (1.0 - top) / 2);
    par::invoke(
        parallel,
        [&] {
            x = left(&leftPart);
            leftPart.finish();
        },
        [&] {
            y = right(&rightPart);
            rightPart.finish();
        });
    const CancelCheck topPart = partOf(cancel, top);
    Natural r = mul(x, y, &topPart, scratch);
    topPart.finish();
    return r;
}

// Product of words[lo, hi) by a balanced tree.
Natural productOf(const std::vector<std::uint64_t>& words, std::size_t lo, std::size_t hi,
                  const CancelCheck* cancel, Scratch* scratch) {
    if (hi - lo <= 2) {
        Natural r = lo < hi ? fromU64(words[lo]) : Natural{1};
        for (std::size_t i = lo + 1; i < hi; ++i)
            r = mul(r, fromU64(words[i]));
        return r;
    }
    const std::size_t mid = lo + (hi - lo) / 2;
    return productOfHalves(
        2.0 * static_cast<double>(hi - lo), // words below 10^18: two limbs each at most
        std::log2(static_cast<double>(hi - lo)),
        [&](const CancelCheck* c) { return productOf(words, lo, mid, c, scratch); },
        [&](const CancelCheck* c) { return productOf(words, mid, hi, c, scratch); }, cancel,
        scratch);
}

Natural productOf(const std::vector<std::uint64_t>& words, const CancelCheck* cancel,
                  Scratch* scratch) {
    return productOf(words, 0, words.size(), cancel, scratch);
}

// lo * ... * hi, lo >= 1, lo <= hi.
Natural runProduct(std::uint64_t lo, std::uint64_t hi, const CancelCheck* cancel,
                   Scratch* scratch) {
    if (hi - lo < kProductLeafFactors) {
        std::vector<std::uint64_t> words;
        Packer pack(words);
        for (std::uint64_t x = lo;; ++x) {
            pack.push(x);
            if (x == hi) break;
        }
        pack.flush();
        return productOf(words, cancel, scratch);
    }
    const std::uint64_t mid = lo + (hi - lo) / 2;
    const double limbs = static_cast<double>(hi - lo + 1) * std::log10(static_cast<double>(hi)) /
                         kLimbDigits; // about
    return productOfHalves(
        limbs, std::log2(static_cast<double>(hi - lo + 1)),
        [&](const CancelCheck* c) { return runProduct(lo, mid, c, scratch); },
        [&](const CancelCheck* c) { return runProduct(mid + 1, hi, c, scratch); }, cancel, scratch);
}

// Odd primes up to n: sieve of Eratosthenes over odd numbers.
std::vector<bool> oddComposites(std::uint64_t n, const CancelCheck* cancel) {
    std::vector<bool> composite(n / 2 + 1, false); // index i: 2 i + 1
    for (std::uint64_t p = 3; p * p <= n; p += 2)
        if (!composite[p / 2]) {
            for (std::uint64_t m = p * p; m <= n; m += 2 * p)
                composite[m / 2] = true;
            poll(cancel);
        }
    return composite;
}

// Legendre: the exponent of p in n!.
std::uint64_t legendre(std::uint64_t n, std::uint64_t p) {
    std::uint64_t e = 0;
    while (n) {
        n /= p;
        e += n;
    }
    return e;
}

// prod p^e(p) over the primes p <= n with exponent function e, times
// 10^(shift). e(2) and e(5) are taken as given (the caller has removed the
// pairs that make trailing zeros).
template <class Exponent>
Natural fromPrimeExponents(std::uint64_t n, Exponent exponent, std::uint64_t e2, std::uint64_t e5,
                           std::uint64_t shift, const CancelCheck* cancel) {
    std::vector<std::vector<std::uint64_t>> bits(64);
    std::vector<Packer> packers;
    packers.reserve(64);
    for (auto& b : bits)
        packers.emplace_back(b);
    int top = -1;
    auto add = [&](std::uint64_t p, std::uint64_t e) {
        for (int b = 0; e; ++b, e >>= 1)
            if (e & 1) {
                packers[b].push(p);
                top = std::max(top, b);
            }
    };
    add(2, e2);
    const std::vector<bool> composite = oddComposites(n, cancel);
    for (std::uint64_t p = 3; p <= n; p += 2) {
        if (!composite[p / 2]) add(p, p == 5 ? e5 : exponent(p));
        if (p % kSchoolbookPollWork == 1) poll(cancel);
    }
    Scratch scratch; // shared by every product and square below
    const std::size_t count = static_cast<std::size_t>(top + 1);
    for (std::size_t b = 0; b < count; ++b)
        packers[b].flush();

    // The shares of the work: the sieve (about a unit a number), each P_b
    // (a product tree of its words, two limbs each at most), and each step
    // of the squares, whose operand grows as r = r^2 P_b.
    std::vector<double> treeShare(count), squareShare(count), productShare(count);
    double total = static_cast<double>(n), limbs = 0;
    for (std::size_t b = count; b-- > 0;) {
        const double words = static_cast<double>(bits[b].size()), part = 2 * words;
        treeShare[b] = productWork(part) * std::log2(words + 1) / 2;
        squareShare[b] = b + 1 == count ? 0 : productWork(2 * limbs);
        limbs *= 2;
        productShare[b] = words > 0 ? productWork(limbs + part) : 0;
        limbs += part;
        total += treeShare[b] + squareShare[b] + productShare[b];
    }
    advance(cancel, static_cast<double>(n) / total);

    // The products P_b side by side (they do not depend on each other),
    // then the squares from the top bit down.
    std::vector<Natural> parts(count);
    par::forEachIf(n >= kParallelFactorialN, count, [&](std::size_t b) {
        const CancelCheck building = partOf(cancel, treeShare[b] / total);
        if (!bits[b].empty()) parts[b] = productOf(bits[b], &building, &scratch);
        std::vector<std::uint64_t>().swap(bits[b]);
        building.finish();
    });
    Natural r{1};
    for (std::size_t b = count; b-- > 0;) {
        if (b + 1 != count) {
            const CancelCheck squaring = partOf(cancel, squareShare[b] / total);
            r = sqr(r, &squaring, &scratch);
            squaring.finish();
        }
        Natural& part = parts[b];
        if (!part.empty()) {
            const CancelCheck multiplying = partOf(cancel, productShare[b] / total);
            r = mul(r, part, &multiplying, &scratch);
            multiplying.finish();
        }
        Natural().swap(part);
    }
    return shift ? shiftDecimal(r, shift, cancel) : r;
}

} // namespace

Natural consecutiveProduct(std::uint64_t lo, std::uint64_t hi, const CancelCheck* cancel) {
    if (lo > hi) return {1};
    if (lo == 0) return {};
    checkResultDigits(productDigits(lo, hi));
    Scratch scratch;
    return runProduct(lo, hi, cancel, &scratch);
}

Natural factorial(std::uint64_t n, const CancelCheck* cancel) {
    if (n < kFactorialPrimeThreshold) return n < 2 ? Natural{1} : consecutiveProduct(2, n, cancel);
    checkResultDigits(log10Factorial(n));
    const std::uint64_t e5 = legendre(n, 5);
    return fromPrimeExponents(
        n, [n](std::uint64_t p) { return legendre(n, p); }, legendre(n, 2) - e5, 0, e5, cancel);
}

Natural binomial(std::uint64_t n, std::uint64_t k, const CancelCheck* cancel) {
    if (k > n) return {};
    k = std::min(k, n - k);
    if (k == 0) return {1};
    checkResultDigits(log10Factorial(n) - log10Factorial(k) - log10Factorial(n - k));
    const std::uint64_t j = n - k;
    if (n < kFactorialPrimeThreshold || n > kPrimeSieveLimit || k < n / kBinomialPrimeRatio) {
        // The shares by the lengths of the two products and the quotient.
        const double top = productDigits(j + 1, n) / kLimbDigits;
        const double bottom = log10Factorial(k) / kLimbDigits;
        const double total = treeWork(top) + treeWork(bottom) + divisionWork(top);
        const CancelCheck upper = partOf(cancel, treeWork(top) / total);
        const Natural numerator = consecutiveProduct(j + 1, n, &upper);
        upper.finish();
        const CancelCheck lower = partOf(cancel, treeWork(bottom) / total);
        const Natural denominator = factorial(k, &lower);
        lower.finish();
        const CancelCheck dividing = partOf(cancel, divisionWork(top) / total);
        Natural q, r;
        divMod(numerator, denominator, q, r, &dividing);
        return q;
    }
    auto exponent = [n, k, j](std::uint64_t p) {
        return legendre(n, p) - legendre(k, p) - legendre(j, p);
    };
    const std::uint64_t e2 = exponent(2), e5 = exponent(5);
    const std::uint64_t z = std::min(e2, e5);
    return fromPrimeExponents(n, exponent, e2 - z, e5 - z, z, cancel);
}

} // namespace longhand::fast
