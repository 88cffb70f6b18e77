// The factorial over a keeper of earlier factorials: where it starts, what
// it hands back, and its results against GMP.
#include "engine/factorial.h"
#include "engine/rangeproduct.h"
#include "support/gmp.h"
#include "support/keeper_double.h"
#include "support/seed.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace longhand {
namespace {

using test::gmpFactorial;
using test::MemoryKeeper;

// Over a keeper of 1!, 5! and 9!: taken when kept, computed from the
// nearest smaller one otherwise; a gap is handed back always, a factorial
// beyond 9! only when asked for by itself; StoreOnly computes only a gap.
TEST(Factorial, TakesFillsAndHandsBack) {
    using Use = FactorialUse;
    const struct {
        const char* n;
        Use use;
        bool computed;
        bool handedBack;
    } cases[] = {
        {"5", Use::Offer, false, false},      {"9", Use::Value, false, false},
        {"1", Use::Offer, false, false},      {"3", Use::Offer, true, true},
        {"7", Use::Value, true, true},        {"8", Use::StoreOnly, true, true},
        {"12", Use::Offer, true, true},       {"12", Use::Value, true, false},
        {"12", Use::StoreOnly, false, false}, {"5", Use::StoreOnly, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.n) + " " + std::to_string(static_cast<int>(c.use)));
        MemoryKeeper keeper{1, 5, 9};
        Progress progress;
        const Outcome outcome = factorial(c.n, &keeper, progress, c.use);
        ASSERT_TRUE(outcome.isResult());
        // Only a factorial beyond the keeper is left uncomputed by StoreOnly.
        const bool text = c.use != Use::StoreOnly || std::stoul(c.n) < 9;
        EXPECT_EQ(outcome.text, text ? gmpFactorial(std::stoul(c.n)) : "");
        EXPECT_EQ(outcome.calculated, c.computed);
        ASSERT_EQ(keeper.handedBack.size(), c.handedBack ? 1u : 0u);
        if (c.handedBack) {
            EXPECT_EQ(keeper.handedBack[0].n, c.n);
            EXPECT_EQ(keeper.handedBack[0].value, gmpFactorial(std::stoul(c.n)));
        }
    }
}

TEST(Factorial, WholeNumbersByValueOnly) {
    MemoryKeeper keeper{1, 5};
    Progress progress;
    for (const char* bad : {"", "-5", "5.5", "5.", ".5", "+5", " 5", "5a", "1e2", "-0"})
        EXPECT_EQ(factorial(bad, &keeper, progress).status, Outcome::Status::Nothing) << bad;
    EXPECT_EQ(factorial("000", &keeper, progress).text, "1");
    EXPECT_EQ(factorial("005", &keeper, progress).text, "120");
    EXPECT_EQ(factorial("003", &keeper, progress).text, "6");
    ASSERT_EQ(keeper.handedBack.size(), 1u);
    EXPECT_EQ(keeper.handedBack[0].n, "3");
}

TEST(Factorial, ACancelledWorkHandsNothingBack) {
    MemoryKeeper keeper{1, 5};
    Progress progress;
    progress.cancel();
    for (const char* n : {"3", "300"})
        EXPECT_EQ(factorial(n, &keeper, progress).status, Outcome::Status::Cancelled) << n;
    EXPECT_TRUE(keeper.handedBack.empty());
}

TEST(Factorial, WithoutAKeeper) {
    Progress progress;
    const Outcome outcome = factorial("25", nullptr, progress);
    EXPECT_EQ(outcome.text, gmpFactorial(25));
    EXPECT_TRUE(outcome.calculated);
    const Outcome tooLong = factorial("30000000", nullptr, progress);
    EXPECT_EQ(tooLong.status, Outcome::Status::Refused);
    EXPECT_EQ(tooLong.refusal.kind, RefusalKind::ProductTooLong);
    EXPECT_EQ(tooLong.refusal.operand, 0);
}

// Random n over random kept factorials, against GMP.
TEST(Factorial, RandomStartsMatchGmp) {
    auto rng = test::seededRng("Factorial.RandomStartsMatchGmp");
    for (int round = 0; round < 100; ++round) {
        MemoryKeeper keeper{1, rng() % 300 + 1, rng() % 300 + 1};
        const unsigned long n = rng() % 400;
        Progress progress;
        ASSERT_EQ(factorial(std::to_string(n), &keeper, progress).text, gmpFactorial(n)) << n;
    }
}

} // namespace
} // namespace longhand
