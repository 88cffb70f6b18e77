// The number-theoretic transforms under the products: every kernel set
// gives the same words, the inverse undoes the forward transform at every
// kind of length (one leaf, column passes above leaves, the radix-3 layer),
// and products through each kernel set match GMP.
#include "engine/fast/fast.h"
#include "engine/fast/kernels.h"
#include "engine/fast/ntt_kernels.h"
#include "engine/fast/ntt_transform.h"
#include "engine/fast/thresholds.h"
#include "support/gmp.h"
#include "support/operands.h"
#include "support/seed.h"

#include <algorithm>
#include <bit>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace fasttest = longhand::test;

namespace {

using namespace longhand::fast;
using ntt::u32;

std::vector<const ntt::Kernels*> kernelSets() {
    std::vector<const ntt::Kernels*> sets{&ntt::portableKernels()};
    if (const ntt::Kernels* k = ntt::avx2Kernels()) sets.push_back(k);
    return sets;
}

// Makes the transforms use k for the scope, then restores the choice.
class KernelsInUse {
  public:
    explicit KernelsInUse(const ntt::Kernels& k) : saved_(&ntt::kernels()) { ntt::useKernels(k); }
    ~KernelsInUse() { ntt::useKernels(*saved_); }
    KernelsInUse(const KernelsInUse&) = delete;
    KernelsInUse& operator=(const KernelsInUse&) = delete;

  private:
    const ntt::Kernels* saved_;
};

// Every power of two from 1 to four leaves (a leaf alone, then one and two
// levels of column passes), and 3, 5 and 15 times each.
std::vector<std::size_t> lengths() {
    std::vector<std::size_t> n;
    for (std::size_t len = 1; len <= 4 * kNttLeafPoints; len *= 2)
        for (std::size_t odd : {1, 3, 5, 15})
            n.push_back(odd * len);
    return n;
}

std::vector<u32> residues(std::mt19937_64& rng, std::size_t n, u32 bound) {
    std::vector<u32> v(n);
    for (auto& x : v)
        x = static_cast<u32>(rng() % bound);
    return v;
}

TEST(FastNtt, KernelSetsGiveTheSameWords) {
    std::mt19937_64 rng(fasttest::testSeed("FastNtt.KernelSets"));
    const auto sets = kernelSets();
    if (sets.size() < 2)
        GTEST_SKIP() << "this processor lacks AVX2: the portable kernel set has no other set to "
                        "be compared with";
    for (std::size_t n : lengths())
        for (int prime = 0; prime < ntt::kPrimeCount; ++prime) {
            const u32 p = ntt::kPrimes[prime].p;
            const std::vector<u32> x = residues(rng, n, 2 * p); // lazy inputs, [0, 2p)
            std::vector<u32> forward0, inverse0;
            for (const ntt::Kernels* k : sets) {
                const KernelsInUse use(*k);
                std::vector<u32> y = x;
                ntt::forward(y.data(), n, prime);
                std::vector<u32> z = y;
                ntt::inverse(z.data(), n, prime);
                if (forward0.empty()) {
                    forward0 = y;
                    inverse0 = z;
                    continue;
                }
                ASSERT_EQ(y, forward0) << k->name << " forward, n " << n << " prime " << prime;
                ASSERT_EQ(z, inverse0) << k->name << " inverse, n " << n << " prime " << prime;
            }
        }
}

TEST(FastNtt, InverseUndoesForward) {
    std::mt19937_64 rng(fasttest::testSeed("FastNtt.RoundTrip"));
    for (std::size_t n : lengths())
        for (int prime = 0; prime < ntt::kPrimeCount; ++prime) {
            const u32 p = ntt::kPrimes[prime].p;
            const std::vector<u32> x = residues(rng, n, p);
            std::vector<u32> y = x;
            ntt::forward(y.data(), n, prime);
            for (u32 v : y)
                ASSERT_LT(v, 2 * p);
            ntt::inverse(y.data(), n, prime);
            const u32 scale = static_cast<u32>(n % p);
            for (std::size_t i = 0; i < n; ++i)
                ASSERT_EQ(y[i] % p, ntt::mulMod(x[i], scale, p)) << "n " << n << " at " << i;
        }
}

// A length the primes allow that holds the points, never more than twice
// the shortest such length, and never shorter for more points.
TEST(FastNtt, LengthsHoldThePointsAndStayShort) {
    // Every length the primes allow, f 2^k with f = 1, 3, 5, 15 and k <=
    // kMaxPow2Log, in order.
    std::vector<std::size_t> allowed;
    for (std::size_t odd : {1, 3, 5, 15})
        for (int k = 0; k <= ntt::kMaxPow2Log; ++k)
            allowed.push_back(odd << k);
    std::sort(allowed.begin(), allowed.end());
    std::size_t previous = 0;
    auto expectGood = [&](std::size_t points) {
        const std::size_t n = ntt::transformLength(points);
        const std::size_t shortest = *std::lower_bound(allowed.begin(), allowed.end(), points);
        ASSERT_TRUE(std::binary_search(allowed.begin(), allowed.end(), n)) << points << " -> " << n;
        ASSERT_GE(n, points);
        ASSERT_LE(n, 2 * shortest) << points;
        ASSERT_GE(n, previous) << points;
        previous = n;
    };
    for (std::size_t points = 1; points < 5000; ++points)
        expectGood(points);
    for (std::size_t n : allowed)
        if (n > 5000 && n <= ntt::kMaxPoints) {
            expectGood(n - 1);
            expectGood(n);
            if (n < ntt::kMaxPoints) expectGood(n + 1);
        }
    EXPECT_EQ(ntt::transformLength(ntt::kMaxPoints), ntt::kMaxPoints);
    EXPECT_THROW(ntt::transformLength(ntt::kMaxPoints + 1), std::length_error);
    EXPECT_EQ(allowed.back(), ntt::kMaxPoints);
    EXPECT_EQ(kern::nttMaxLimbs(), ntt::kMaxPoints + 1);
}

// Whole products through each kernel set, operand lengths that reach
// every kind of transform.
TEST(FastNtt, ProductsThroughEachKernelSetMatchGmp) {
    std::mt19937_64 rng(fasttest::testSeed("FastNtt.Products"));
    for (const ntt::Kernels* k : kernelSets()) {
        const KernelsInUse use(*k);
        for (std::size_t limbs : {kNttLeafPoints / 2 - 1, kNttLeafPoints + 3, 3 * kNttLeafPoints,
                                  5 * kNttLeafPoints + 1}) {
            const std::size_t len = fasttest::digitsAround(limbs, 1);
            const std::string a = fasttest::makeDigits(rng, len, fasttest::Shape::Random);
            const std::string b = fasttest::makeDigits(rng, len - 5, fasttest::Shape::Nines);
            ASSERT_EQ(mulDigits(a, b), fasttest::gmpMul(a, b)) << k->name << " " << len;
            ASSERT_EQ(sqrDigits(a), fasttest::gmpMul(a, a)) << k->name << " " << len;
        }
    }
}

} // namespace

namespace {

// The longest transforms with the largest terms a convolution of limbs can
// have: (10^(9n) - 1)^2 = 10^(18n) - 2 10^(9n) + 1, as a square and as a
// product of two operands.
void squareOfNines(std::size_t n, bool alsoAsProduct);

TEST(FastNttSlow, LongestTransformsWithLargestLimbs) {
    // 2n - 1 terms: all of the longest transform (radix 15 above the
    // longest power of two), as a square; all of the longest power of two,
    // as a square and a product.
    squareOfNines((ntt::kMaxPoints + 1) / 2, false);
    squareOfNines(((std::size_t{1} << ntt::kMaxPow2Log) + 1) / 2, true);
}

void squareOfNines(std::size_t n, bool alsoAsProduct) {
    const std::vector<Limb> nines(n, kBase - 1);
    auto expectSquareOfNines = [&](const std::vector<Limb>& r, const char* what) {
        ASSERT_EQ(r.size(), 2 * n);
        EXPECT_EQ(r[0], 1u) << what;
        EXPECT_EQ(std::count(r.begin() + 1, r.begin() + static_cast<std::ptrdiff_t>(n), Limb{0}),
                  static_cast<std::ptrdiff_t>(n - 1))
            << what;
        EXPECT_EQ(r[n], kBase - 2) << what;
        EXPECT_EQ(std::count(r.begin() + static_cast<std::ptrdiff_t>(n + 1), r.end(), kBase - 1),
                  static_cast<std::ptrdiff_t>(n - 1))
            << what;
    };
    std::vector<Limb> r(2 * n);
    kern::sqrNtt(r.data(), nines.data(), n);
    expectSquareOfNines(r, "square");
    if (!alsoAsProduct) return;
    std::fill(r.begin(), r.end(), Limb{7});
    const std::vector<Limb> copy = nines;
    kern::mulNtt(r.data(), nines.data(), n, copy.data(), n);
    expectSquareOfNines(r, "product");
}

} // namespace
