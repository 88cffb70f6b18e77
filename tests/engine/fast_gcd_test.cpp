// The greatest common divisor of the fast arithmetic against GMP's: Lehmer's
// steps, the half-gcd and the driver around each of their thresholds, on
// numbers with common factors of every length and on the pairs that are
// hardest for Euclid (consecutive Fibonacci numbers, all quotients 1).
#include "engine/fast/fast.h"
#include "engine/fast/natural.h"
#include "engine/fast/thresholds.h"
#include "support/gmp.h"
#include "support/operands.h"
#include "support/seed.h"

#include <gtest/gtest.h>

namespace fasttest = longhand::test;

namespace {

using namespace longhand::fast;
using fasttest::makeDigits;
using fasttest::Z;

std::string gmpGcd(std::string_view a, std::string_view b) {
    Z x(a), y(b), g;
    mpz_gcd(g.get(), x.get(), y.get());
    return g.str();
}

std::string product(std::string_view a, std::string_view b) {
    Z x(a), y(b), p;
    mpz_mul(p.get(), x.get(), y.get());
    return p.str();
}

void expectGcd(std::string_view a, std::string_view b) {
    ASSERT_EQ(gcdDigits(a, b), gmpGcd(a, b)) << fasttest::brief(a) << " and " << fasttest::brief(b);
    ASSERT_EQ(gcdDigits(b, a), gmpGcd(a, b));
}

TEST(FastGcd, SmallAndDegenerateCases) {
    const char* const pairs[][2] = {
        {"0", "0"},
        {"", "5"},
        {"12", "0"},
        {"1", "1"},
        {"12", "18"},
        {"0012", "018"},
        {"17", "5"},
        {"1000000000", "999999999"},
        {"999999999999999999", "333333333333333333"},
        {"123456789012345678901234567890", "9"},
    };
    for (const auto& p : pairs)
        expectGcd(p[0], p[1]);
    EXPECT_THROW(gcdDigits("12a", "3"), std::invalid_argument);
}

TEST(FastGcd, CommonFactorsAroundTheThresholds) {
    std::mt19937_64 rng(fasttest::testSeed("FastGcd.Thresholds"));
    const std::size_t h = kHalfGcdThreshold, g = kGcdHalfThreshold;
    for (std::size_t limbs : {std::size_t{1}, std::size_t{2}, std::size_t{3}, h - 1, h, h + 1,
                              g - 1, g, g + 1, 2 * h + 1, 3 * g, 5 * h + 7})
        for (std::size_t factor : {std::size_t{0}, std::size_t{1}, limbs / 3, limbs / 2 + 1}) {
            const std::size_t digits = limbs * kLimbDigits, common = factor * kLimbDigits + 1;
            const std::string f = makeDigits(rng, common);
            auto cofactor = [&](std::size_t less) {
                return makeDigits(rng, digits > common / 2 + less ? digits - common / 2 - less : 1);
            };
            const std::string a = product(f, cofactor(0));
            const std::string b = product(f, cofactor(rng() % 12));
            expectGcd(a, b);
            // One a multiple of the other, and a quotient of many limbs.
            expectGcd(product(a, makeDigits(rng, 1 + rng() % 30)), a);
            expectGcd(product(a, makeDigits(rng, digits)), b);
        }
}

TEST(FastGcd, ConsecutiveFibonacciNumbers) {
    // Every quotient of Euclid's algorithm is 1: Lehmer's steps and the
    // half-gcd run the longest matrices there are.
    const std::size_t h = kHalfGcdThreshold, g = kGcdHalfThreshold;
    for (std::size_t limbs : {std::size_t{3}, h, g + 1, 4 * g}) {
        const unsigned long index = static_cast<unsigned long>(limbs * kLimbDigits * 4.785);
        Z f, f1;
        mpz_fib2_ui(f.get(), f1.get(), index);
        expectGcd(f.str(), f1.str());
        mpz_mul_ui(f.get(), f.get(), 6);
        mpz_mul_ui(f1.get(), f1.get(), 15);
        expectGcd(f.str(), f1.str());
    }
}

TEST(FastGcd, ShapesOfManyLengths) {
    std::mt19937_64 rng(fasttest::testSeed("FastGcd.Shapes"));
    for (int i = 0; i < 60; ++i) {
        const std::size_t la = 1 + rng() % (kLimbDigits * 3 * kGcdHalfThreshold);
        const std::size_t lb = 1 + rng() % (kLimbDigits * 3 * kGcdHalfThreshold);
        const std::string f = makeDigits(rng, 1 + rng() % 50, fasttest::anyShape(rng));
        expectGcd(product(f, makeDigits(rng, la, fasttest::anyShape(rng))),
                  product(f, makeDigits(rng, lb, fasttest::anyShape(rng))));
    }
}

} // namespace
