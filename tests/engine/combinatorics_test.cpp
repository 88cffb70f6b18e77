// Permutations and combinations against GMP, with arguments of any length,
// their refusals, and what they leave for the factorial store. They run
// once more with tiny crossovers, where combinations come from the fast
// layer: the counts and the store's follow-ups must not change.
#include "engine/combinatorics.h"
#include "engine/factorial.h"
#include "engine/power.h"
#include "engine/rangeproduct.h"
#include "support/gmp.h"
#include "support/keeper_double.h"
#include "support/refused.h"
#include "support/seed.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace longhand {
namespace {

using test::Z;

// The counts by GMP for n given as text and a small r.
struct Oracle {
    std::string permutations, withRepetition, combinations, multisets;
};

Oracle oracle(const std::string& n, unsigned long r) {
    const Z nv(n);
    Z a(1), b;
    Oracle o;
    for (unsigned long i = 0; i < r; ++i) { // zero once a factor is zero
        mpz_sub_ui(b.get(), nv.get(), i);
        if (mpz_sgn(b.get()) <= 0) {
            mpz_set_ui(a.get(), 0);
            break;
        }
        mpz_mul(a.get(), a.get(), b.get());
    }
    o.permutations = a.str();
    o.withRepetition = test::gmpPow(n, r);
    mpz_bin_ui(a.get(), nv.get(), r);
    o.combinations = a.str();
    mpz_add_ui(b.get(), nv.get(), r == 0 ? 0 : r - 1); // C(n + r - 1, r)
    mpz_bin_ui(a.get(), b.get(), r);
    o.multisets = r == 0 ? "1" : a.str();
    return o;
}

std::string count(bool combination, const std::string& n, const std::string& r, int digit,
                  FactorialKeeper* store = nullptr) {
    Progress progress;
    const Outcome o = combination ? combinations(n, r, digit, store, progress)
                                  : permutations(n, r, digit, store, progress);
    EXPECT_TRUE(o.isResult() || o.status == Outcome::Status::Refused) << n << " " << r;
    EXPECT_EQ(o.calculated, o.isResult());
    return test::said(o);
}

TEST(Combinatorics, ExamplesAndEdges) {
    const struct {
        const char *n, *r;
        int digit;
        const char *permutations, *combinations;
    } cases[] = {
        {"5", "3", 1, "125", "35"},  {"5", "5", 0, "120", "1"},  {"5", "5", 2, "120", "1"},
        {"5", "3", 9, "60", "10"}, // digits 2 to 9: no repetition
        {"007", "2", 0, "42", "21"}, {"7", "9", 0, "0", "0"},    {"0", "0", 0, "1", "1"},
        {"0", "3", 1, "0", "0"},     {"000", "00", 0, "1", "1"}, {"0", "0", 1, "1", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.n) + "," + c.r + "," + std::to_string(c.digit));
        EXPECT_EQ(count(false, c.n, c.r, c.digit), c.permutations);
        EXPECT_EQ(count(true, c.n, c.r, c.digit), c.combinations);
    }
    const std::string big = "100000000000000000000";
    const std::string huge = "1" + std::string(400, '0') + "7"; // longer than any double
    EXPECT_EQ(count(false, "000" + big, "3", 0), oracle(big, 3).permutations);
    EXPECT_EQ(count(true, big, "4", 1), oracle(big, 4).multisets);
    EXPECT_EQ(count(false, huge, "3", 0), oracle(huge, 3).permutations);
    EXPECT_EQ(count(true, huge, "3", 0), oracle(huge, 3).combinations);
    EXPECT_EQ(count(false, "7", big, 0), "0"); // r beyond n by far: no walk through the run
    EXPECT_EQ(count(true, "7", big, 0), "0");
}

// C(n, r) = C(n, n - r): a count with few factors either way fits, and
// comes out as GMP has it.
TEST(Combinatorics, FewFactorsEitherWayFit) {
    for (const char* n : {"100000000", "123456789012345678901234567890", "40"})
        for (unsigned long k : {2ul, 10ul, 17ul}) {
            Z rest(n);
            mpz_sub_ui(rest.get(), rest.get(), k);
            const std::string r = rest.str();
            SCOPED_TRACE(std::string(n) + " " + r);
            EXPECT_EQ(count(true, n, r, 0), oracle(n, k).combinations);
        }
}

TEST(Combinatorics, RefusalsAndArgumentsNotTaken) {
    const std::string big = "100000000000000000000";
    const std::string productTooLong = test::refused(RefusalKind::ProductTooLong, 0);
    EXPECT_EQ(count(false, big, "10000000", 0), productTooLong);
    EXPECT_EQ(count(true, big, "10000000", 0), productTooLong);
    EXPECT_EQ(count(false, "10", "1000000000", 1), test::refused(RefusalKind::PowerTooLong, 1));
    EXPECT_EQ(count(false, "40000000", "40000000", 0), productTooLong);
    Progress progress;
    for (const char* bad : {"", "-5", "5.5", "5.", "+5", "1e3", " 5"}) {
        EXPECT_EQ(permutations(bad, "2", 0, nullptr, progress).status, Outcome::Status::Nothing);
        EXPECT_EQ(combinations("5", bad, 1, nullptr, progress).status, Outcome::Status::Nothing);
    }
}

TEST(Combinatorics, RandomCountsMatchGmp) {
    auto rng = test::seededRng("Combinatorics.RandomCountsMatchGmp");
    for (int round = 0; round < 300; ++round) {
        std::string n = std::to_string(rng() % 200);
        if (round % 3 == 0) { // a long n, up to 40 digits
            n = std::string(1, static_cast<char>('1' + rng() % 9));
            for (std::size_t i = 1 + rng() % 40; i > 1; --i)
                n.push_back(static_cast<char>('0' + rng() % 10));
        }
        const unsigned long r = rng() % (round % 3 == 0 ? 25 : 220);
        const std::string rt = std::to_string(r);
        const Oracle o = oracle(n, r);
        SCOPED_TRACE(n + "," + rt);
        ASSERT_EQ(count(false, n, rt, 0), o.permutations);
        ASSERT_EQ(count(false, n, rt, 1), o.withRepetition);
        ASSERT_EQ(count(true, n, rt, 0), o.combinations);
        ASSERT_EQ(count(true, n, rt, 1), o.multisets);
    }
}

// The keeper is handed r! (and n! of a permutation of all) where it has a
// gap, never beyond its largest n; the counts stay right.
TEST(Combinatorics, CountsThroughTheFactorialKeeper) {
    const struct {
        bool combination;
        const char *n, *r;
        int digit;
        const char* handedBack; // "": nothing
    } cases[] = {
        {false, "30", "30", 0, "30"}, // 30! fills a gap
        {false, "60", "60", 0, ""},   // beyond 50!: not handed back
        {true, "40", "12", 0, "12"},   {true, "9", "4", 1, "4"},
        {true, "1", "20", 1, "20"},   // C(20, 20) through the quotient
        {true, "45", "45", 3, "45"},  // the digit 3 takes the same way
        {true, "80", "70", 0, "10"},  // C(80, 10): 10! fills a gap
        {true, "80", "79", 0, ""},    // C(80, 1): 1! at once
        {true, "400", "40", 0, "40"}, // from the fast layer where the crossovers are tiny
        {true, "400", "360", 0, "40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.n) + "," + c.r);
        test::MemoryKeeper keeper{1, 50};
        Progress progress;
        Outcome o = c.combination ? combinations(c.n, c.r, c.digit, &keeper, progress)
                                  : permutations(c.n, c.r, c.digit, &keeper, progress);
        const Oracle want = oracle(c.n, std::stoul(c.r));
        EXPECT_EQ(o.text, c.combination ? (c.digit == 1 ? want.multisets : want.combinations)
                                        : want.permutations);
        EXPECT_EQ(o.divided, c.combination);
        std::set<std::string> handed; // n! and r! of C(n, n) are one
        for (const KeptFactorial& k : keeper.handedBack) {
            EXPECT_EQ(k.value, test::gmpFactorial(std::stoul(k.n)));
            handed.insert(k.n);
        }
        EXPECT_EQ(handed,
                  *c.handedBack ? std::set<std::string>{c.handedBack} : std::set<std::string>{});
    }
}

} // namespace
} // namespace longhand
