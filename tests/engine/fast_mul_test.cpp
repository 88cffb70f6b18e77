// Multiplication of the fast arithmetic: every kernel against the schoolbook
// one and the front end against GMP, on every threshold +-1.
#include "engine/fast/fast.h"
#include "engine/fast/kernels.h"
#include "engine/fast/thresholds.h"
#include "support/gmp.h"
#include "support/operands.h"
#include "support/seed.h"

#include <gtest/gtest.h>
#include <vector>

namespace fasttest = longhand::test;

namespace {

using namespace longhand::fast;
using fasttest::digitsAround;
using fasttest::makeDigits;
using fasttest::Shape;
using fasttest::shapeOf;

std::vector<Limb> randomLimbs(std::mt19937_64& rng, std::size_t n, bool maximal = false) {
    std::vector<Limb> v(n);
    for (auto& x : v)
        x = maximal ? kBase - 1 : static_cast<Limb>(rng() % kBase);
    return v;
}

std::vector<Limb> reference(const std::vector<Limb>& a, const std::vector<Limb>& b) {
    std::vector<Limb> r(a.size() + b.size());
    kern::mulBasecase(r.data(), a.data(), a.size(), b.data(), b.size());
    return r;
}

TEST(FastMul, FrontEndMatchesGmpAroundEveryThreshold) {
    std::mt19937_64 rng(fasttest::testSeed("FastMul.FrontEnd"));
    const std::size_t thresholds[] = {kMulKaratsubaThreshold, kMulNttThreshold,
                                      kSqrKaratsubaThreshold, kSqrNttThreshold};
    std::size_t shape = 0;
    for (std::size_t t : thresholds)
        for (std::size_t limbs : {t - 1, t, t + 1})
            for (int delta : {-1, 0, 1}) {
                const std::size_t len = digitsAround(limbs, delta);
                const std::string a = makeDigits(rng, len, shapeOf(shape++));
                for (std::size_t lenB : {len, len / 3 + 1, 2 * len + 7, 5 * len}) {
                    const std::string b = makeDigits(rng, lenB, shapeOf(shape++));
                    ASSERT_EQ(mulDigits(a, b), fasttest::gmpMul(a, b))
                        << "len " << len << " x " << lenB;
                }
                ASSERT_EQ(sqrDigits(a), fasttest::gmpMul(a, a)) << "square of len " << len;
                ASSERT_EQ(mulDigits(a, a), fasttest::gmpMul(a, a));
            }
}

// Unbalanced products around the ratio from which the transforms run on
// pieces of the longer operand, with a last piece of every kind (full,
// one limb, the odd rest).
TEST(FastMul, SlicedTransformsAroundTheRatio) {
    std::mt19937_64 rng(fasttest::testSeed("FastMul.Sliced"));
    for (std::size_t nb : {kMulNttThreshold, kMulNttThreshold + 1, 3 * kMulNttThreshold + 2}) {
        const std::size_t piece = kNttSlicePieces * nb;
        for (std::size_t na :
             {kNttSliceRatio * nb - 1, kNttSliceRatio * nb, kNttSliceRatio * nb + 1, 3 * piece,
              3 * piece + 1, 4 * piece + nb / 2}) {
            const auto a = randomLimbs(rng, na, na % 2 == 0), b = randomLimbs(rng, nb, na % 3 == 0);
            std::vector<Limb> r(na + nb);
            kern::mulLimbs(r.data(), a.data(), na, b.data(), nb);
            const std::string want = fasttest::gmpMul(toDigits(Natural(a.begin(), a.end())),
                                                      toDigits(Natural(b.begin(), b.end())));
            ASSERT_EQ(toDigits(Natural(r.begin(), r.end())), want) << na << " x " << nb;
        }
    }
}

TEST(FastMul, ShapesAndZeros) {
    std::mt19937_64 rng(fasttest::testSeed("FastMul.Shapes"));
    EXPECT_EQ(mulDigits("", "123"), "0");
    EXPECT_EQ(mulDigits("000", "0"), "0");
    EXPECT_EQ(mulDigits("0007", "006"), "42");
    EXPECT_EQ(sqrDigits(""), "0");
    for (std::size_t len : {1, 8, 9, 10, 17, 18, 19, 100, 1000, 3000})
        for (std::size_t s = 0; s < static_cast<std::size_t>(Shape::Count); ++s)
            for (std::size_t t = 0; t < static_cast<std::size_t>(Shape::Count); ++t) {
                const std::string a = makeDigits(rng, len, shapeOf(s));
                const std::string b = makeDigits(rng, len + t * 7, shapeOf(t));
                ASSERT_EQ(mulDigits(a, b), fasttest::gmpMul(a, b))
                    << "shapes " << s << "," << t << " len " << len;
            }
}

TEST(FastMul, KernelsAgreeWithSchoolbook) {
    std::mt19937_64 rng(fasttest::testSeed("FastMul.Kernels"));
    for (std::size_t na = 1; na <= 70; ++na)
        for (std::size_t nb : {std::size_t{1}, na / 2 + 1, na}) {
            if (nb > na) continue;
            const bool maximal = (na + nb) % 3 == 0;
            const auto a = randomLimbs(rng, na, maximal), b = randomLimbs(rng, nb, maximal);
            const auto want = reference(a, b);
            std::vector<Limb> r(na + nb);
            kern::mulNtt(r.data(), a.data(), na, b.data(), nb);
            ASSERT_EQ(r, want) << "ntt " << na << "x" << nb;
            if (2 * nb > na + 1) {
                kern::mulKaratsuba(r.data(), a.data(), na, b.data(), nb);
                ASSERT_EQ(r, want) << "karatsuba " << na << "x" << nb;
            }
            if (na == nb) {
                std::vector<Limb> s(2 * na);
                const auto sq = reference(a, a);
                kern::sqrBasecase(s.data(), a.data(), na);
                ASSERT_EQ(s, sq) << "sqr basecase " << na;
                kern::sqrNtt(s.data(), a.data(), na);
                ASSERT_EQ(s, sq) << "sqr ntt " << na;
                if (na >= 2) {
                    kern::sqrKaratsuba(s.data(), a.data(), na);
                    ASSERT_EQ(s, sq) << "sqr karatsuba " << na;
                }
            }
        }
}

// Convolutions of exactly 2^k and 3 * 2^k terms and one more (past the
// length), with the largest limbs, where a wrong bound on the terms or a
// wrong radix-3 twiddle would show: na + nb - 1 terms.
TEST(FastMul, TransformBoundariesWithLargestLimbs) {
    std::mt19937_64 rng(fasttest::testSeed("FastMul.Transform"));
    for (std::size_t base : {std::size_t{64}, std::size_t{96}, std::size_t{1024}, std::size_t{3072},
                             std::size_t{16384}, std::size_t{24576}})
        for (std::size_t terms : {base, base + 1}) {
            const std::size_t na = terms / 2 + 1, nb = terms + 1 - na;
            for (bool maximal : {true, false}) {
                const auto a = randomLimbs(rng, na, maximal), b = randomLimbs(rng, nb, maximal);
                std::vector<Limb> r(na + nb), k(na + nb);
                kern::mulNtt(r.data(), a.data(), na, b.data(), nb);
                kern::mulKaratsuba(k.data(), a.data(), na, b.data(), nb);
                ASSERT_EQ(r, k) << terms << " terms";
            }
        }
}

// Products a little past a transform length of every kind, where the
// shorter length wraps the top terms around and a short transform of the
// operands' top parts takes them off again: past by one term to an eighth
// of the length, balanced, lopsided and squared, largest limbs and random.
TEST(FastMul, TermsPastATransformLength) {
    std::mt19937_64 rng(fasttest::testSeed("FastMul.PastLength"));
    for (std::size_t length : {std::size_t{1} << 10, std::size_t{3} << 9, std::size_t{5} << 8,
                               std::size_t{15} << 7, std::size_t{1} << 14})
        for (std::size_t past : {std::size_t{1}, std::size_t{9}, length / 16, length / 8}) {
            const std::size_t terms = length + past;
            const bool maximal = past % 2 == 1;
            for (std::size_t na : {terms / 2 + 1, length - 3}) {
                const std::size_t nb = terms + 1 - na;
                const auto a = randomLimbs(rng, na, maximal), b = randomLimbs(rng, nb, maximal);
                std::vector<Limb> r(na + nb), k(na + nb);
                kern::mulNtt(r.data(), a.data(), na, b.data(), nb);
                if (2 * nb > na + 1)
                    kern::mulKaratsuba(k.data(), a.data(), na, b.data(), nb);
                else
                    kern::mulBasecase(k.data(), a.data(), na, b.data(), nb);
                ASSERT_EQ(r, k) << terms << " terms, " << na << " x " << nb;
            }
            const std::size_t n = (terms + 1) / 2;
            const auto a = randomLimbs(rng, n, maximal);
            std::vector<Limb> r(2 * n), k(2 * n);
            kern::sqrNtt(r.data(), a.data(), n);
            kern::mulKaratsuba(k.data(), a.data(), n, a.data(), n);
            ASSERT_EQ(r, k) << "square of " << n;
        }
}

// A kept factor gives the same products as a fresh transform, for every
// operand length that uses its transform length.
TEST(FastMul, KeptFactorMatchesFreshProducts) {
    std::mt19937_64 rng(fasttest::testSeed("FastMul.KeptFactor"));
    for (std::size_t nb : {1, 7, 40, 300}) {
        const auto b = randomLimbs(rng, nb, nb == 40);
        const kern::NttFactor kept(b.data(), nb, 2 * nb + 5);
        std::size_t used = 0;
        for (std::size_t na = 1; na <= 2 * nb + 5; ++na) {
            if (!kept.fits(na)) continue;
            ++used;
            const auto a = randomLimbs(rng, na, na % 2 == 0);
            std::vector<Limb> r(na + nb);
            kept.multiply(r.data(), a.data(), na);
            ASSERT_EQ(r, reference(a, b)) << na << " x kept " << nb;
        }
        EXPECT_GT(used, 0u);
        EXPECT_TRUE(kept.fits(2 * nb + 5));
    }
}

TEST(FastMulSlow, LongOperandsMatchGmp) {
    std::mt19937_64 rng(fasttest::testSeed("FastMul.Long"));
    for (auto [la, lb] :
         {std::pair<std::size_t, std::size_t>{100000, 100000}, {250000, 1001}, {40000, 170000}}) {
        const std::string a = makeDigits(rng, la, Shape::Random);
        const std::string b = makeDigits(rng, lb, Shape::ZeroAndNineRuns);
        ASSERT_EQ(mulDigits(a, b), fasttest::gmpMul(a, b)) << la << " x " << lb;
    }
    const std::string nines(200000, '9');
    ASSERT_EQ(sqrDigits(nines), fasttest::gmpMul(nines, nines));
    // The largest transforms of the suite: 2^17 and 3 * 2^15 points.
    const std::string big = makeDigits(rng, 1000000, Shape::Random);
    const std::string big2 = makeDigits(rng, 999999, Shape::ZeroAndNineRuns);
    ASSERT_EQ(mulDigits(big, big2), fasttest::gmpMul(big, big2));
    const std::string mid = makeDigits(rng, 700000, Shape::Random);
    ASSERT_EQ(sqrDigits(mid), fasttest::gmpMul(mid, mid));
}

TEST(FastMul, RejectsNonDigits) {
    EXPECT_THROW(mulDigits("12a", "3"), std::invalid_argument);
    EXPECT_THROW(mulDigits("1234567890123x5678", "3"), std::invalid_argument);
    EXPECT_THROW(sqrDigits("-5"), std::invalid_argument);
}

} // namespace
