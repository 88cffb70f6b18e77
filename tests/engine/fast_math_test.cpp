// Roots, other bases, modular powers and primality of the fast arithmetic
// against GMP (mpz_root, mpz_get_str, mpz_powm, mpz_probab_prime_p), around
// the thresholds of their algorithms, and the primality tests against the
// published lists of pseudoprimes.
#include "engine/fast/fast.h"
#include "engine/fast/modular.h"
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

std::string gmpText(const Z& z, int base = 10) {
    char* s = mpz_get_str(nullptr, base, z.get());
    std::string out(s);
    void (*release)(void*, std::size_t) = nullptr;
    mp_get_memory_functions(nullptr, nullptr, &release);
    release(s, out.size() + 1);
    return out;
}

void expectRoot(const std::string& x, std::uint64_t k) {
    Z m(x), r;
    const bool exact = mpz_root(r.get(), m.get(), k) != 0;
    const RootDigits got = rootDigits(x, k);
    ASSERT_EQ(got.root, gmpText(r)) << fasttest::brief(x) << " k " << k;
    ASSERT_EQ(got.exact, exact) << fasttest::brief(x) << " k " << k;
}

TEST(FastMath, RootsAgainstGmp) {
    std::mt19937_64 rng(fasttest::testSeed("FastMath.Roots"));
    for (const char* x : {"0", "1", "2", "3", "4", "8", "9", "15", "16", "999999999999999999",
                          "1000000000000000000", "18446744073709551616"})
        for (std::uint64_t k : {2, 3, 5, 64, 65})
            expectRoot(x, k);
    // Perfect powers, their neighbours and random numbers, the root from one
    // limb to past the product thresholds.
    for (std::size_t rootLimbs : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{9},
                                  kMulKaratsubaThreshold + 1, kMulNttThreshold + 3})
        for (std::uint64_t k : {2, 3, 7, 30}) {
            Z r(makeDigits(rng, rootLimbs * kLimbDigits - rng() % 5)), p;
            mpz_pow_ui(p.get(), r.get(), k);
            expectRoot(gmpText(p), k);
            mpz_sub_ui(p.get(), p.get(), 1);
            expectRoot(gmpText(p), k);
            mpz_add_ui(p.get(), p.get(), 2);
            expectRoot(gmpText(p), k);
            expectRoot(makeDigits(rng, rootLimbs * k * kLimbDigits + rng() % 9), k);
        }
}

TEST(FastMath, BasesAgainstGmp) {
    std::mt19937_64 rng(fasttest::testSeed("FastMath.Bases"));
    EXPECT_EQ(toBaseDigits("0", 2), "0");
    EXPECT_EQ(fromBaseDigits("", 16), "0");
    EXPECT_EQ(fromBaseDigits("FfZ", 36), fromBaseDigits("ffz", 36));
    EXPECT_THROW(fromBaseDigits("12", 2), std::invalid_argument);
    EXPECT_THROW(fromBaseDigits("1 2", 10), std::invalid_argument);
    const std::size_t t = kRadixBasecaseLimbs;
    for (std::size_t limbs :
         {std::size_t{1}, t - 1, t, t + 1, 2 * t + 1, 4 * t, 9 * t + 5, 40 * t + 7})
        for (unsigned base : {2u, 3u, 10u, 16u, 35u, 36u}) {
            const std::string x =
                makeDigits(rng, limbs * kLimbDigits - rng() % 3, fasttest::anyShape(rng));
            const Z z(x);
            const std::string want = gmpText(z, static_cast<int>(base));
            ASSERT_EQ(toBaseDigits(x, base), want) << limbs << " limbs, base " << base;
            ASSERT_EQ(fromBaseDigits(want, base), x) << limbs << " limbs, base " << base;
        }
}

TEST(FastMath, ModularPowersAgainstGmp) {
    std::mt19937_64 rng(fasttest::testSeed("FastMath.PowMod"));
    EXPECT_EQ(powModDigits("5", "0", "1"), "0");
    EXPECT_EQ(powModDigits("0", "0", "7"), "1");
    EXPECT_EQ(powModDigits("0", "5", "7"), "0");
    EXPECT_THROW(powModDigits("2", "3", "0"), std::domain_error);
    for (std::size_t mLimbs : {std::size_t{1}, std::size_t{2}, std::size_t{5}, kDivNewtonThreshold,
                               kMulNttThreshold + 7})
        for (int i = 0; i < 4; ++i) {
            const std::string a = makeDigits(rng, 1 + rng() % (3 * mLimbs * kLimbDigits));
            const std::string e = makeDigits(rng, 1 + rng() % 60);
            const std::string m =
                makeDigits(rng, mLimbs * kLimbDigits - rng() % 4, fasttest::anyShape(rng));
            Z za(a), ze(e), zm(m), r;
            mpz_powm(r.get(), za.get(), ze.get(), zm.get());
            ASSERT_EQ(powModDigits(a, e, m), gmpText(r)) << a << " " << e << " " << m;
        }
}

// Long moduli: the kept transforms, the wrapped products q M and the
// window tables, with the bases that take other paths (short, zero, a
// multiple of m, m - 1) and exponents long enough for wide windows.
TEST(FastMath, ModularPowersWithLongModuliAgainstGmp) {
    std::mt19937_64 rng(fasttest::testSeed("FastMath.PowModLong"));
    for (std::size_t mLimbs : {kMulNttThreshold, kMulNttThreshold + 1, 2 * kMulNttThreshold + 3})
        for (int i = 0; i < 6; ++i) {
            const std::string m =
                makeDigits(rng, mLimbs * kLimbDigits - rng() % 9, fasttest::anyShape(rng));
            Z zm(m), za;
            switch (i) {
            case 0:
                mpz_set_ui(za.get(), 2);
                break;
            case 1:
                mpz_set_ui(za.get(), rng() % 1000000000);
                break;
            case 2:
                mpz_sub_ui(za.get(), zm.get(), 1);
                break;
            case 3:
                mpz_mul_ui(za.get(), zm.get(), 3);
                break;
            default:
                mpz_set_str(za.get(), makeDigits(rng, 1 + rng() % (2 * m.size())).c_str(), 10);
                break;
            }
            const std::string e = makeDigits(rng, i == 5 ? 700 : 1 + rng() % 200);
            Z ze(e), r;
            mpz_powm(r.get(), za.get(), ze.get(), zm.get());
            ASSERT_EQ(powModDigits(gmpText(za), e, m), gmpText(r))
                << fasttest::brief(m) << " case " << i;
        }
}

// Primality with a modulus long enough for the kept transforms: a
// probable prime, the next odd numbers, and a product of two primes.
TEST(FastMath, LongPrimalityAgainstGmp) {
    std::mt19937_64 rng(fasttest::testSeed("FastMath.LongPrimes"));
    Z n(makeDigits(rng, (kMulNttThreshold + 2) * kLimbDigits)), p, q, pq;
    mpz_nextprime(p.get(), n.get());
    EXPECT_EQ(primalityOfDigits(gmpText(p)), Primality::ProbablePrime);
    for (unsigned long add = 2; add <= 8; add += 2) {
        Z odd;
        mpz_add_ui(odd.get(), p.get(), add);
        EXPECT_EQ(primalityOfDigits(gmpText(odd)) == Primality::Composite,
                  mpz_probab_prime_p(odd.get(), 30) == 0)
            << add;
    }
    Z half(makeDigits(rng, (kMulNttThreshold / 2 + 1) * kLimbDigits));
    mpz_nextprime(q.get(), half.get());
    mpz_nextprime(pq.get(), q.get());
    mpz_mul(pq.get(), pq.get(), q.get());
    EXPECT_EQ(primalityOfDigits(gmpText(pq)), Primality::Composite);
}

Natural natural(const char* digits) {
    return fromDigits(digits);
}

TEST(FastMath, PublishedPseudoprimes) {
    // Strong pseudoprimes to base 2 (OEIS A001262, the first terms): each
    // passes Miller's test to base 2 and is composite.
    for (const char* n : {"2047", "3277", "4033", "4681", "8321", "15841", "29341", "42799",
                          "49141", "52633", "65281", "74665", "80581", "85489", "88357", "90751"}) {
        EXPECT_TRUE(millerTest(natural(n), 2)) << n;
        EXPECT_EQ(primality(natural(n)), Primality::Composite) << n;
    }
    // The least strong pseudoprimes to all of the first j prime bases
    // (OEIS A014233, j = 1 to 13): the last one is the bound of the
    // proven answers, and it is composite.
    for (const char* n : {"2047", "1373653", "25326001", "3215031751", "2152302898747",
                          "3474749660383", "341550071728321", "3825123056546413051",
                          "318665857834031151167461", "3317044064679887385961981"})
        EXPECT_EQ(primality(natural(n)), Primality::Composite) << n;
    for (Limb base : {2u, 3u, 5u, 7u, 11u, 13u, 17u, 19u, 23u, 29u, 31u, 37u, 41u})
        EXPECT_TRUE(millerTest(natural("3317044064679887385961981"), base));
    // Strong Lucas pseudoprimes with Selfridge's parameters (OEIS A217255,
    // the first terms): each passes the strong Lucas test, fails Miller's
    // to base 2, and is composite.
    for (const char* n : {"5459", "5777", "10877", "16109", "18971", "22499", "24569", "25199",
                          "40309", "58519", "75077", "97439"}) {
        EXPECT_TRUE(strongLucasTest(natural(n))) << n;
        EXPECT_FALSE(millerTest(natural(n), 2)) << n;
        EXPECT_EQ(primality(natural(n)), Primality::Composite) << n;
    }
    // Just above the bound: the Baillie-PSW answer.
    EXPECT_EQ(primality(natural("3317044064679887385961981")), Primality::Composite);
    EXPECT_EQ(primality(natural("3317044064679887385962123")), Primality::ProbablePrime);
    EXPECT_EQ(primality(natural("0")), Primality::Neither);
    EXPECT_EQ(primality(natural("1")), Primality::Neither);
}

TEST(FastMath, PrimalityAndNextPrimeAgainstGmp) {
    std::mt19937_64 rng(fasttest::testSeed("FastMath.Primes"));
    for (std::size_t digits : {1, 2, 4, 9, 17, 24, 25, 26, 40, 120}) {
        for (int i = 0; i < 3; ++i) {
            Z n(makeDigits(rng, digits)), p;
            mpz_nextprime(p.get(), n.get());
            ASSERT_EQ(nextPrimeDigits(gmpText(n)), gmpText(p)) << gmpText(n);
            // Primes, their products and odd neighbours.
            Z q, pq;
            mpz_nextprime(q.get(), p.get());
            mpz_mul(pq.get(), p.get(), q.get());
            for (const Z* z : {&p, &pq}) {
                const Primality got = primalityOfDigits(gmpText(*z));
                const int want = mpz_probab_prime_p(z->get(), 30);
                ASSERT_EQ(got != Primality::Composite && got != Primality::Neither, want != 0)
                    << gmpText(*z);
                if (want == 2) {
                    ASSERT_EQ(got, Primality::Prime) << gmpText(*z);
                }
            }
        }
    }
}

} // namespace
