// Division of the fast arithmetic against GMP: the schoolbook and Newton
// paths around their thresholds, the reciprocal's bounds, the scaled
// quotient of the long-division drivers.
#include "engine/fast/div_newton.h"
#include "engine/fast/fast.h"
#include "engine/fast/thresholds.h"
#include "support/gmp.h"
#include "support/operands.h"
#include "support/seed.h"

#include <gtest/gtest.h>

namespace fasttest = longhand::test;

namespace {

using namespace longhand::fast;
using fasttest::digitsAround;
using fasttest::makeDigits;
using fasttest::Shape;
using fasttest::shapeOf;

void expectDivision(std::string_view a, std::string_view b) {
    const QuotRem got = divDigits(a, b);
    const fasttest::GmpQR want = fasttest::gmpDiv(a, b);
    ASSERT_EQ(got.q, want.q) << "a " << a.size() << " digits, b " << b.size();
    ASSERT_EQ(got.r, want.r) << "a " << a.size() << " digits, b " << b.size();
}

TEST(FastDiv, AroundTheNewtonThreshold) {
    std::mt19937_64 rng(fasttest::testSeed("FastDiv.Threshold"));
    const std::size_t t = kDivNewtonThreshold;
    std::size_t shape = 0;
    for (std::size_t divisorLimbs : {t - 1, t, t + 1, 2 * t + 3})
        for (std::size_t quotientLimbs : {t - 1, t, t + 1, 3 * t, divisorLimbs * 2 + 5})
            for (int delta : {-1, 0, 1}) {
                const std::size_t lb = digitsAround(divisorLimbs, delta);
                const std::size_t la = lb + digitsAround(quotientLimbs, -delta);
                expectDivision(makeDigits(rng, la, shapeOf(shape)),
                               makeDigits(rng, lb, shapeOf(shape / 3)));
                ++shape;
            }
}

TEST(FastDiv, ShapesAndSmallCases) {
    std::mt19937_64 rng(fasttest::testSeed("FastDiv.Shapes"));
    EXPECT_THROW(divDigits("5", ""), std::domain_error);
    EXPECT_THROW(divDigits("5", "000"), std::domain_error);
    EXPECT_EQ(divDigits("", "7").q, "0");
    EXPECT_EQ(divDigits("6", "7").r, "6");
    EXPECT_EQ(divDigits("0049", "07").q, "7");
    for (std::size_t lb : {1, 2, 9, 10, 18, 19, 30, 200, 1500})
        for (std::size_t extra : {0, 1, 8, 9, 10, 100, 2000})
            for (std::size_t s = 0; s < static_cast<std::size_t>(Shape::Count); ++s)
                expectDivision(makeDigits(rng, lb + extra, shapeOf(s + 1)),
                               makeDigits(rng, lb, shapeOf(s)));
}

// Quotient limbs that hit the divisor's top limbs exactly: a = q b + r with
// r = b - 1 and r = 0, the cases where an estimate off by one shows.
TEST(FastDiv, ExactAndExtremeRemainders) {
    std::mt19937_64 rng(fasttest::testSeed("FastDiv.Remainders"));
    for (std::size_t lb : {20, 1100, 4000})
        for (std::size_t lq : {15, 1200, 5000}) {
            const std::string b = makeDigits(rng, lb, Shape::Random);
            const std::string q = makeDigits(rng, lq, shapeOf(lq));
            const std::string qb = mulDigits(q, b);
            expectDivision(qb, b);
            expectDivision(addDigits(qb, subDigits(b, "1")), b);
            expectDivision(subDigits(qb, "1"), b);
        }
}

TEST(FastDivSlow, LongOperands) {
    std::mt19937_64 rng(fasttest::testSeed("FastDiv.Long"));
    expectDivision(makeDigits(rng, 200000, Shape::Random), makeDigits(rng, 100000, Shape::Random));
    expectDivision(makeDigits(rng, 150000, Shape::ZeroAndNineRuns),
                   makeDigits(rng, 3000, Shape::Random));
    expectDivision(makeDigits(rng, 120000, Shape::Random),
                   makeDigits(rng, 100000, Shape::PowerPlusOne));
}

// A X < 10^(18 n) <= A (X + 2) for the reciprocal of a normalised A.
TEST(FastDiv, ReciprocalBounds) {
    std::mt19937_64 rng(fasttest::testSeed("FastDiv.Reciprocal"));
    for (std::size_t n : {1, 2, 3, 5, 8, 13, 59, 60, 61, 130, 400, 1000}) {
        for (int kind = 0; kind < 3; ++kind) {
            Natural a(n);
            for (auto& x : a)
                x = kind == 1 ? kBase - 1 : static_cast<Limb>(rng() % kBase);
            if (kind == 2) std::fill(a.begin(), a.end() - 1, Limb{0});
            a.back() = kind == 2 ? kBase / 2 : std::max<Limb>(a.back(), kBase / 2);
            const Natural x = reciprocal(a.data(), n);
            const std::string as = toDigits(a), xs = toDigits(x);
            fasttest::Z big, ax, ax2;
            mpz_ui_pow_ui(big.get(), 10, 18 * n);
            fasttest::Z za(as), zx(xs);
            mpz_mul(ax.get(), za.get(), zx.get());
            mpz_add_ui(zx.get(), zx.get(), 2);
            mpz_mul(ax2.get(), za.get(), zx.get());
            EXPECT_LT(mpz_cmp(ax.get(), big.get()), 0) << "n " << n << " kind " << kind;
            EXPECT_LE(mpz_cmp(big.get(), ax2.get()), 0) << "n " << n << " kind " << kind;
        }
    }
}

TEST(FastDiv, ScaledQuotient) {
    std::mt19937_64 rng(fasttest::testSeed("FastDiv.Scaled"));
    QuotRem qr = divScaled("1", "3", 5);
    EXPECT_EQ(qr.q, "33333");
    EXPECT_EQ(qr.r, "1");
    qr = divScaled("22", "7", 0);
    EXPECT_EQ(qr.q, "3");
    EXPECT_EQ(qr.r, "1");
    qr = divScaled("123456", "7", -2); // floor(123456 / 700) = 176, 123456 - 123200
    EXPECT_EQ(qr.q, "176");
    EXPECT_EQ(qr.r, "256");
    EXPECT_THROW(divScaled("1", "0", 3), std::domain_error);
    for (std::int64_t k : {1, 9, 10, 17, 1000, 4001}) {
        const std::string a = makeDigits(rng, 50 + static_cast<std::size_t>(k) % 7, Shape::Random);
        const std::string b = makeDigits(rng, 1200, Shape::Random);
        const QuotRem got = divScaled(a, b, k);
        const fasttest::GmpQR want = fasttest::gmpDiv(a + std::string(k, '0'), b);
        ASSERT_EQ(got.q, want.q) << "k " << k;
        ASSERT_EQ(got.r, want.r) << "k " << k;
    }
}

} // namespace
