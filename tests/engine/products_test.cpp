// Products of runs of consecutive numbers, and the partial product built
// on them: examples in every regime (batches of doubles, factors stepped on
// texts, the product tree), GMP on random runs, and the refusals.
#include "engine/partialproduct.h"
#include "engine/rangeproduct.h"
#include "support/gmp.h"
#include "support/refused.h"
#include "support/seed.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

std::string product(std::string_view n, std::string_view x, std::string_view m) {
    Progress progress;
    const Outcome o = rangeProduct(n, x, m, progress);
    EXPECT_FALSE(o.calculated);
    return test::said(o);
}

TEST(RangeProduct, Examples) {
    const struct {
        const char *n, *x, *m, *expected;
    } cases[] = {
        {"0", "", "", "1"},
        {"abc", "", "", "1"}, // n is read by its leading number
        {"5abc", "", "", "120"},
        {"17", "", "", "355687428096000"},  // one batch
        {"18", "", "", "6402373705728000"}, // 18 starts the next batch
        {"5", "24", "4", "120"},            // 4! continued to 5!
        {"4", "1", "4", "1"},               // an empty run leaves x
        {"3", "6", "5", "6"},
        {"40000002", "1", "39999999", "64000004800000080000000"},
        {"7", "1", "-2", "0"},     // -1 * 0 * 1 ... passes zero
        {"-2", "1", "-5", "-24"},  // (-4)(-3)(-2)
        {"4", "1", "1.5", "8.75"}, // a fractional lower end: 2.5 * 3.5
        // Ends past the batches are stepped exactly.
        {"1000000000000001", "1", "999999999999998",
         "999999999999999999999999999999000000000000000"},
        {"5", "1", "-100000000000000000000", "0"}, // through zero, never walked
        {"-99999999999999999998", "1", "-100000000000000000000",
         "9999999999999999999700000000000000000002"},
        {"99999999999999999999", "1", "100000000000000000000", "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(product(c.n, c.x, c.m), c.expected)
            << "n=" << c.n << " x=" << c.x << " m=" << c.m;
}

// Runs in every regime against GMP: small factors batched by a dozen,
// factors past 3.2e7 folded one by one, runs across 1e15 and 2^53, long
// bounds, and factorials.
TEST(RangeProduct, RandomRunsMatchGmp) {
    auto rng = test::seededRng("RangeProduct.RandomRunsMatchGmp");
    const char* starts[] = {"0",
                            "1",
                            "1000",
                            "31622770",
                            "100000000",
                            "999999999999990",
                            "9007199254740985",
                            "123456789012345678901234567890"};
    for (int round = 0; round < 120; ++round) {
        test::Z m(starts[rng() % std::size(starts)]);
        mpz_add_ui(m.get(), m.get(), rng() % 50);
        test::Z n(m.str());
        mpz_add_ui(n.get(), n.get(), rng() % 40);
        test::Z first(m.str());
        mpz_add_ui(first.get(), first.get(), 1);
        const std::string expected = test::gmpRun(first.str(), n.str());
        ASSERT_EQ(product(n.str(), "1", m.str()), expected) << "m=" << m.str() << " n=" << n.str();
        ASSERT_EQ(product(n.str(), "7777", m.str()), test::gmpMul(expected, "7777"));
    }
    for (int round = 0; round < 20; ++round) {
        const unsigned long n = rng() % 600;
        ASSERT_EQ(product(std::to_string(n), "", ""), test::gmpFactorial(n)) << n;
    }
}

// A lower end with a fraction makes factors with a fraction: every digit of
// their product is exact (GMP's rationals), however many there are.
TEST(RangeProduct, FractionalFactorsAreExact) {
    const struct {
        const char *n, *x, *m;
    } cases[] = {
        {"20", "1", "0.5"},   {"30.5", "3", "1.25"},   {"4", "1", "-3.75"},
        {"60", "7", "7.125"}, {"20", "1", "0.000001"},
    };
    for (const auto& c : cases) {
        test::Q want(c.x), factor(c.m), one("1"), last(c.n);
        for (mpq_add(factor.get(), factor.get(), one.get()); mpq_cmp(factor.get(), last.get()) <= 0;
             mpq_add(factor.get(), factor.get(), one.get()))
            mpq_mul(want.get(), want.get(), factor.get());
        EXPECT_TRUE(test::Q(product(c.n, c.x, c.m)) == want)
            << c.n << " " << c.x << " " << c.m << ": " << product(c.n, c.x, c.m);
    }
}

// Products beyond kMaxProductDigits are refused up front, without a walk.
TEST(RangeProduct, TooLongProductsAreRefused) {
    EXPECT_FALSE(productTooLong("20000000", "", "", 0));        // 1.4e8 digits
    EXPECT_TRUE(productTooLong("30000000", "", "", 0));         // 2.1e8 digits
    EXPECT_FALSE(productTooLong("5", "1", "-100000000000", 0)); // through zero
    EXPECT_FALSE(productTooLong("3", "1", "100000000000", 0));  // empty
    EXPECT_FALSE(productTooLong("100000000000000000000", "1", "99999999999999000000", 0));
    EXPECT_TRUE(productTooLong("100000000000000000000", "1", "99999999999990000000", 0));
    EXPECT_TRUE(productTooLong("-5", "1", "-100000000000", 0));
    for (const std::string& n :
         {std::string("100000000"), std::string("1e999"), "1" + std::string(500, '0')})
        EXPECT_EQ(product(n, "", ""), test::refused(RefusalKind::ProductTooLong)) << n;
    // The refusal carries the length it would have, for the words to say.
    const std::optional<Refusal> refusal = productTooLong("30000000", "", "", 0);
    ASSERT_TRUE(refusal);
    EXPECT_NEAR(refusal->length, std::log10(2.1e8), 0.01);
    EXPECT_EQ(refusal->limit, kMaxProductDigits);
}

TEST(PartialProduct, ProductsAndRefusals) {
    const std::string notAbove = test::refused(RefusalKind::EndsNotAscending, 1);
    const std::string mNotWhole = test::refused(RefusalKind::NotWholeNumbers, 0);
    const std::string nNotWhole = test::refused(RefusalKind::NotWholeNumbers, 1);
    const std::string tooLong = test::refused(RefusalKind::ProductTooLong, 1);
    const struct {
        const char *m, *n;
        std::string text;
        Outcome::Status status = Outcome::Status::Result;
    } cases[] = {
        {"3", "5", "60"},
        {"0", "5", "0"},
        {"003", "0005", "60"},
        {"999999999999998", "999999999999999", "999999999999997000000000000002"},
        {"1000000000000000", "1000000000000001", "1000000000000001000000000000000"},
        {"0", "10000000000000000", "0"}, // through zero: never walked
        {"5", "5", notAbove, Outcome::Status::Refused},
        {"010", "9", notAbove, Outcome::Status::Refused}, // 10 > 9 by value
        {"9999999999999999", "1000000000000000", notAbove, Outcome::Status::Refused},
        {"-3", "5", mNotWhole, Outcome::Status::Refused},
        {"3", "5.", nNotWhole, Outcome::Status::Refused},
        {"", "5", mNotWhole, Outcome::Status::Refused},
        {"+3", "5", mNotWhole, Outcome::Status::Refused},
        {"1", "100000000", tooLong, Outcome::Status::Refused},
    };
    for (const auto& c : cases) {
        Progress progress;
        const Outcome out = partialProduct(c.m, c.n, progress);
        EXPECT_EQ(out.status, c.status) << c.m << ".." << c.n;
        EXPECT_EQ(test::said(out), c.text) << c.m << ".." << c.n;
        EXPECT_FALSE(out.calculated);
    }
    // Upper ends on both sides of the 15 digits that are batched in doubles.
    auto rng = test::seededRng("PartialProduct.ProductsAndRefusals");
    for (int round = 0; round < 100; ++round) {
        const std::string m = std::to_string(1 + rng() % 999) + std::string(rng() % 23, '7');
        test::Z n(m);
        mpz_add_ui(n.get(), n.get(), 1 + rng() % 30);
        Progress progress;
        ASSERT_EQ(partialProduct(m, n.str(), progress).text, test::gmpRun(m, n.str())) << m;
    }
}

} // namespace
} // namespace longhand
