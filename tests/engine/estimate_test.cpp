// Result-length estimates against the real lengths (GMP computes them) and
// the memory guard's refusal.
#include "engine/estimate.h"
#include "support/gmp.h"
#include "support/seed.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

// Rounded: an exact count comes back from its logarithm a hair off.
double lengthOf(const LengthEstimate& e) {
    return std::round(std::pow(10.0, e.result));
}

// Characters of a GMP integer's decimal text.
double gmpLength(const test::Z& x) {
    return static_cast<double>(x.str().size());
}

// An estimate must not fall short, and may exceed by a few per cent.
void expectCovers(const LengthEstimate& e, double actual, const std::string& what) {
    const double estimated = lengthOf(e);
    EXPECT_GE(estimated, actual) << what;
    EXPECT_LE(estimated, actual * 1.05 + 8) << what;
    EXPECT_GE(e.work, e.result) << what;
}

TEST(Estimate, FactorialsMatchTheirLengths) {
    for (unsigned long n : {1ul, 2ul, 10ul, 25ul, 100ul, 1000ul, 12345ul, 100000ul}) {
        expectCovers(estimateFactorial(std::to_string(n)),
                     static_cast<double>(test::gmpFactorial(n).size()), std::to_string(n) + "!");
    }
    EXPECT_EQ(lengthOf(estimateFactorial("0")), 1);
    EXPECT_EQ(estimateFactorial("-5").result, kNoLength);
    EXPECT_EQ(estimateFactorial("5.5").result, kNoLength);
}

TEST(Estimate, HugeFactorialsStayFinite) {
    // 10^12! has 11565705518103 digits (n log10 n - n log10 e + ...).
    const LengthEstimate e = estimateFactorial("1000000000000");
    EXPECT_NEAR(lengthOf(e), 1.1565705518103e13, 1e10);
    // A 400-digit n: n! has about 10^402.6 digits, still a finite logarithm.
    const LengthEstimate big = estimateFactorial("1" + std::string(400, '0'));
    EXPECT_NEAR(big.result, 400 + std::log10(400 - 0.4342944819), 1e-9);
    // The same n with leading zeros.
    EXPECT_DOUBLE_EQ(estimateFactorial("00" + std::string("1") + std::string(400, '0')).result,
                     big.result);
}

TEST(Estimate, RandomPowersPermutationsCombinationsAndRuns) {
    auto rng = test::seededRng("Estimate.RandomPowersPermutationsCombinationsAndRuns");
    test::Z x, y;
    for (int round = 0; round < 40; ++round) {
        const unsigned long a = std::uniform_int_distribution<unsigned long>(2, 99999)(rng);
        const unsigned long b = std::uniform_int_distribution<unsigned long>(1, 3000)(rng);
        const std::string as = std::to_string(a), bs = std::to_string(b);

        mpz_ui_pow_ui(x.get(), a, b);
        expectCovers(estimatePower(as, bs), gmpLength(x), as + "^" + bs);
        expectCovers(estimatePermutation(as, bs, 1), gmpLength(x), "p(" + as + "," + bs + ",1)");

        const unsigned long n = a, r = std::min(a, b);
        const std::string ns = std::to_string(n), rs = std::to_string(r);
        mpz_fac_ui(x.get(), n);
        mpz_fac_ui(y.get(), n - r);
        mpz_divexact(x.get(), x.get(), y.get());
        expectCovers(estimatePermutation(ns, rs, 0), gmpLength(x), "p(" + ns + "," + rs + ")");
        // m (m+1) ... n with m = n - r + 1 is the same number.
        expectCovers(estimateRangeProduct(std::to_string(n - r + 1), ns), gmpLength(x),
                     "run to " + ns);

        mpz_bin_uiui(x.get(), n, r);
        const LengthEstimate c = estimateCombination(ns, rs, 0);
        expectCovers(c, gmpLength(x), "c(" + ns + "," + rs + ")");
        mpz_bin_uiui(x.get(), n + r - 1, r);
        expectCovers(estimateCombination(ns, rs, 1), gmpLength(x), "c(" + ns + "," + rs + ",1)");
    }
}

TEST(Estimate, PowersOfFractionsAndNegativeBases) {
    // 0.5^10 = .0009765625 (11 characters), -1.5^3 = -3.375.
    EXPECT_GE(lengthOf(estimatePower("0.5", "10")), 11);
    EXPECT_LE(lengthOf(estimatePower("0.5", "10")), 16);
    EXPECT_GE(lengthOf(estimatePower("-1.5", "3")), 6);
    EXPECT_EQ(lengthOf(estimatePower("1", "1000000000000")), 1);
    EXPECT_EQ(lengthOf(estimatePower("7", "0")), 1);
    EXPECT_EQ(estimatePower("2", "2.5").result, kNoLength);
    // 10^(10^12) has 10^12 + 1 digits.
    EXPECT_NEAR(lengthOf(estimatePower("10", "1000000000000")), 1e12, 1e9);
}

TEST(Estimate, RunsBetweenLongNeighboursAreShort) {
    // Six factors of 21 digits: about 126 digits, not a count of 10^20.
    const std::string m = "100000000000000000000";
    const std::string n = "100000000000000000005";
    EXPECT_LE(lengthOf(estimateRangeProduct(m, n)), 140);
    EXPECT_GE(lengthOf(estimateRangeProduct(m, n)), 121);
    EXPECT_EQ(lengthOf(estimateRangeProduct("5", "4")), 1);
}

TEST(Estimate, CombinationsCountTheIntermediate) {
    // C(10^6, 5*10^5) has about 301,027 digits, but n!/(n-r)! on the way
    // has about 2.9 million.
    const LengthEstimate e = estimateCombination("1000000", "500000", 0);
    EXPECT_NEAR(lengthOf(e), 301027, 10);
    EXPECT_GT(std::pow(10.0, e.work), 2.8e6);
    EXPECT_LT(std::pow(10.0, e.work), 3.1e6);
    EXPECT_EQ(lengthOf(estimateCombination("3", "5", 0)), 1); // "0"
}

TEST(Estimate, MemoryGuardRefusesWhatDoesNotFit) {
    constexpr std::uint64_t kGiB = 1ull << 30;
    // 10^12! needs terabytes.
    const auto refusal = memoryRefusal(estimateFactorial("1000000000000"), 16 * kGiB);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->kind, RefusalKind::ResultTooLarge);
    EXPECT_NEAR(refusal->length, std::log10(1.1565705518103e13), 1e-3);
    // 100000! (456,574 digits) fits in a gigabyte, not in a megabyte.
    EXPECT_FALSE(memoryRefusal(estimateFactorial("100000"), kGiB));
    EXPECT_TRUE(memoryRefusal(estimateFactorial("100000"), 1 << 20));
    // A combination whose way goes through a longer intermediate: C(10^6,
    // 5 10^5) has about 3.0 10^5 digits, 10^6! / (5 10^5)! about 2.9 10^6.
    const auto work = memoryRefusal(estimateCombination("1000000", "500000", 0), 16 << 20);
    ASSERT_TRUE(work);
    EXPECT_EQ(work->kind, RefusalKind::WorkTooLarge);
    EXPECT_NEAR(work->length, std::log10(2.93e6), 0.01);
    // Nothing to count, nothing refused.
    EXPECT_FALSE(memoryRefusal(LengthEstimate{}, 0));
}

} // namespace
} // namespace longhand
