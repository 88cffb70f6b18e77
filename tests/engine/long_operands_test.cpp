// Operands of up to a million digits against GMP (the suite named Slow,
// labelled `slow`), and every long operation giving up when cancelled.
#include "engine/addition.h"
#include "engine/combinatorics.h"
#include "engine/division.h"
#include "engine/factorial.h"
#include "engine/multiply.h"
#include "engine/power.h"
#include "engine/rangeproduct.h"
#include "support/gmp.h"
#include "support/operands.h"
#include "support/seed.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

using test::anyShape;
using test::brief;
using test::makeDigits;
using test::uniform;

TEST(LongOperandsSlow, SumsAndProductsMatchGmp) {
    auto rng = test::seededRng("LongOperandsSlow.SumsAndProductsMatchGmp");
    Progress progress;
    for (std::size_t len : {1000u, 100000u, 1000000u}) {
        const std::string a = makeDigits(rng, len, anyShape(rng));
        const std::string b = makeDigits(rng, uniform(rng, len / 2, len), anyShape(rng));
        EXPECT_EQ(add(a, b), test::gmpAdd(a, b)) << len;
        EXPECT_EQ(subtract(b, a), test::gmpSub(b, a)) << len;
    }
    const std::size_t sizes[][2] = {{100000, 100000}, {250000, 30}, {70000, 180000}, {400000, 0}};
    for (const auto& size : sizes) {
        const std::string a = makeDigits(rng, size[0], anyShape(rng));
        const std::string b = size[1] ? makeDigits(rng, size[1], anyShape(rng)) : a;
        EXPECT_EQ(multiply(a, b, progress), test::gmpMul(a, b)) << size[0] << " x " << size[1];
    }
}

// The quotient text of integers by the division's rules: the digits of
// floor(M 10^k / N) with the point k places from the right, trailing
// fraction zeros and a bare point dropped, "0." kept below 1.
std::string expectedQuotient(const std::string& m, const std::string& n) {
    const std::size_t k = m.size() > n.size() ? m.size() + 1 : n.size() + 10;
    test::Z scaled(m + std::string(k, '0'));
    mpz_tdiv_q(scaled.get(), scaled.get(), test::Z(n).get());
    std::string q = scaled.str();
    if (q.size() <= k) q.insert(0, k + 1 - q.size(), '0');
    q.insert(q.size() - k, 1, '.');
    while (q.back() == '0')
        q.pop_back();
    if (q.back() == '.') q.pop_back();
    return q;
}

TEST(LongOperandsSlow, QuotientsMatchGmp) {
    auto rng = test::seededRng("LongOperandsSlow.QuotientsMatchGmp");
    Progress progress;
    for (std::size_t size : {500u, 3000u, 30000u}) {
        for (int i = 0; i < 4; ++i) {
            const std::string n = makeDigits(rng, uniform(rng, size / 2, size), anyShape(rng));
            const std::string m = i % 2 ? makeDigits(rng, n.size() + uniform(rng, 1, size))
                                        : makeDigits(rng, uniform(rng, 1, n.size()));
            ASSERT_EQ(divide(m, n, progress), expectedQuotient(m, n))
                << brief(m) << " / " << brief(n);
        }
    }
}

TEST(LongOperandsSlow, PowersRunsAndCountsMatchGmp) {
    auto rng = test::seededRng("LongOperandsSlow.PowersRunsAndCountsMatchGmp");
    for (int i = 0; i < 3; ++i) {
        const std::string base = i == 0 ? "3" : makeDigits(rng, uniform(rng, 2, 60), anyShape(rng));
        const unsigned long e = i == 0 ? 200000 : uniform(rng, 500, 5000);
        Progress progress;
        ASSERT_EQ(power(base, std::to_string(e), progress).text, test::gmpPow(base, e));
        if (i == 0) {
            EXPECT_DOUBLE_EQ(progress.fraction(), 1.0); // the share reaches the whole
        }
    }
    Progress progress;
    for (int i = 0; i < 4; ++i) {
        const unsigned long lo = uniform(rng, 1, 5000000);
        const unsigned long hi = lo + uniform(rng, 100, 20000);
        EXPECT_EQ(rangeProduct(std::to_string(hi), "1", std::to_string(lo), progress).text,
                  test::gmpRun(std::to_string(lo + 1), std::to_string(hi)));
    }
    EXPECT_EQ(factorial("120000", nullptr, progress).text, test::gmpFactorial(120000));
    for (const auto& [n, r] : {std::pair{100000ul, 50000ul}, {1000000ul, 500000ul}}) {
        test::Z c;
        mpz_bin_uiui(c.get(), n, r);
        EXPECT_EQ(combinations(std::to_string(n), std::to_string(r), 0, nullptr, progress).text,
                  c.str());
    }
}

// A long operation polls its token and gives up at once: the outcome says
// so, a product or quotient comes back without its digits.
TEST(LongOperands, EveryLongOperationStopsWhenCancelled) {
    Progress progress;
    progress.cancel();
    const std::string a(300000, '7'), b(200000, '3');
    EXPECT_EQ(multiplyDigits(a, b, progress), "");
    EXPECT_LT(divide(a, b, progress).size(), 1000u);
    EXPECT_LT(divideLongerByDigits(a, b, 1000, progress).size(), 10u);
    using Status = Outcome::Status;
    EXPECT_EQ(power("7", "3000000", progress).status, Status::Cancelled);
    EXPECT_EQ(rangeProduct("2000000", "", "", progress).status, Status::Cancelled);
    EXPECT_EQ(rangeProduct("3000000", "1", "1000000", progress).status, Status::Cancelled);
    EXPECT_EQ(factorial("300", nullptr, progress).status, Status::Cancelled);
    EXPECT_EQ(combinations("4000000", "2000000", 0, nullptr, progress).status, Status::Cancelled);
    EXPECT_EQ(permutations("5", "3", 0, nullptr, progress).status, Status::Cancelled);
}

} // namespace
} // namespace longhand
