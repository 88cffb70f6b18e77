// The number-theoretic transforms under the products: every kernel set
// gives the same words, the inverse undoes the forward transform at every
// kind of length (one leaf, column passes above leaves, the radix-3 layer),
// and products through each kernel set match GMP.
#include "engine/fast/fast.h"
#include "engine/fast/kernels.h"
#include "engine/fast/ntt_kernels.h"
#include "engine/fast/ntt_transform.h"
#include "engine/fast/thresholds.h"
#include "fast_test_support.h"

#include <algorithm>
#include <bit>
#include <gtest/gtest.h>
#include <vector>

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
// levels of column passes), and three times each.
std::vector<std::size_t> lengths() {
    std::vector<std::size_t> n;
    for (std::size_t len = 1; len <= 4 * kNttLeafPoints; len *= 2) {
        n.push_back(len);
        n.push_back(3 * len);
    }
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

TEST(FastNtt, LengthsAreTheShortestThatHoldThePoints) {
    // The lengths the primes allow: 2^k and 3 * 2^k, k <= kMaxPow2Log.
    auto allowed = [](std::size_t n) {
        const std::size_t pow2 = n % 3 == 0 ? n / 3 : n;
        return std::has_single_bit(pow2) && pow2 <= (std::size_t{1} << ntt::kMaxPow2Log);
    };
    auto check = [&](std::size_t points) {
        const std::size_t n = ntt::transformLength(points);
        ASSERT_TRUE(allowed(n)) << points << " -> " << n;
        ASSERT_GE(n, points);
        for (std::size_t shorter = points; shorter < n && shorter < points + 100000; ++shorter)
            ASSERT_FALSE(allowed(shorter)) << points << " fits in " << shorter;
    };
    for (std::size_t points = 1; points < 5000; ++points)
        check(points);
    const std::size_t top = std::size_t{1} << ntt::kMaxPow2Log;
    for (std::size_t points : {top - 1, top, top + 1, 3 * top / 2, 3 * top / 2 + 1, 2 * top,
                               2 * top + 1, ntt::kMaxPoints - 1, ntt::kMaxPoints})
        check(points);
    EXPECT_EQ(ntt::transformLength(3 * top / 2 + 1), ntt::kMaxPoints);
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
void squareOfNines(std::size_t n);

TEST(FastNttSlow, LongestTransformsWithLargestLimbs) {
    // 2n - 1 terms: all of the longest transform, and just past 3 * 2^(K-1)
    // where the next length is the longest one too.
    for (std::size_t n :
         {(ntt::kMaxPoints + 1) / 2, (std::size_t{3} << (ntt::kMaxPow2Log - 1)) / 2 + 1})
        squareOfNines(n);
}

void squareOfNines(std::size_t n) {
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
    std::fill(r.begin(), r.end(), Limb{7});
    const std::vector<Limb> copy = nines;
    kern::mulNtt(r.data(), nines.data(), n, copy.data(), n);
    expectSquareOfNines(r, "product");
}

} // namespace
