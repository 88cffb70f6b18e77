#include "engine/partialproduct.h"
#include "engine/rangeproduct.h"
#include "test_seed.h"

#include <cstdio>
#include <gmp.h>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace longhand {
namespace {

// m * (m+1) * ... * n by GMP.
std::string gmpRun(const std::string& m, const std::string& n) {
    mpz_t i, end, product;
    mpz_init_set_str(i, m.c_str(), 10);
    mpz_init_set_str(end, n.c_str(), 10);
    mpz_init_set_ui(product, 1);
    for (; mpz_cmp(i, end) <= 0; mpz_add_ui(i, i, 1))
        mpz_mul(product, product, i);
    std::string s(mpz_sizeinbase(product, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, product);
    s.resize(std::char_traits<char>::length(s.c_str()));
    mpz_clears(i, end, product, nullptr);
    return s;
}

TEST(PartialProduct, ProductsOfRuns) {
    const struct {
        const char* m;
        const char* n;
        const char* product;
    } cases[] = {
        {"3", "5", "60"},
        {"1", "20", "2432902008176640000"},
        {"0", "5", "0"},
        {"9", "10", "90"},
        {"003", "0005", "60"},
        {"999999999999998", "999999999999999", "999999999999997000000000000002"},
        {"1000000000000000", "1000000000000001", "1000000000000001000000000000000"},
        {"0", "10000000000000000", "0"}, // through zero: never walked
    };
    for (const auto& c : cases) {
        const PartialProductOutcome out = partialProduct(c.m, c.n);
        EXPECT_EQ(out.refusal, "") << c.m << ".." << c.n;
        EXPECT_EQ(out.product, c.product) << c.m << ".." << c.n;
    }
}

TEST(PartialProduct, Refusals) {
    const struct {
        const char* m;
        const char* n;
        const char* refusal;
    } cases[] = {
        {"5", "5", kChooseNGreater},
        {"10", "9", kChooseNGreater},
        {"010", "9", kChooseNGreater}, // 10 > 9 by value
        {"9999999999999999", "1000000000000000", kChooseNGreater},
        {"5", "0005", kChooseNGreater},
        {"-3", "5", kEnterWholeNumbers},
        {"3", "-5", kEnterWholeNumbers},
        {"1.5", "5", kEnterWholeNumbers},
        {"3", "5.", kEnterWholeNumbers},
        {"", "5", kEnterWholeNumbers},
        {"3", "", kEnterWholeNumbers},
        {"a", "b", kEnterWholeNumbers},
        {"+3", "5", kEnterWholeNumbers},
        {"1", "100000000", kProductTooLong},
    };
    for (const auto& c : cases) {
        const PartialProductOutcome out = partialProduct(c.m, c.n);
        EXPECT_EQ(out.refusal, c.refusal) << c.m << ".." << c.n;
        EXPECT_EQ(out.product, "") << c.m << ".." << c.n;
    }
    EXPECT_STREQ(kChooseNGreater, "Wrong Input: Choose N > M");
}

TEST(PartialProduct, RandomRunsMatchGmp) {
    const auto seed = static_cast<unsigned>(test::testSeed("PartialProduct.RandomRunsMatchGmp"));
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 rng(seed);
    for (int round = 0; round < 200; ++round) {
        // M from 1 to 25 digits, so that N falls on both sides of 15 digits.
        const int digits = 1 + static_cast<int>(rng() % 25);
        std::string m(1, static_cast<char>('1' + rng() % 9));
        for (int i = 1; i < digits; ++i)
            m.push_back(static_cast<char>('0' + rng() % 10));
        mpz_t nv;
        mpz_init_set_str(nv, m.c_str(), 10);
        mpz_add_ui(nv, nv, 1 + rng() % 30);
        std::string n(mpz_sizeinbase(nv, 10) + 2, '\0');
        mpz_get_str(n.data(), 10, nv);
        n.resize(std::char_traits<char>::length(n.c_str()));
        mpz_clear(nv);
        const PartialProductOutcome out = partialProduct(m, n);
        ASSERT_EQ(out.refusal, "") << m << ".." << n;
        ASSERT_EQ(out.product, gmpRun(m, n)) << m << ".." << n;
    }
}

} // namespace
} // namespace longhand
