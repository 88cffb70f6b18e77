#include "engine/rounding.h"
#include "test_seed.h"

#include <cstdio>
#include <gmp.h>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace longhand {
namespace {

struct RoundCase {
    const char* text;
    Count k;
    const char* expected;
};

class RoundDecimalsTable : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundDecimalsTable, RoundsAtThePointOfTheText) {
    const auto& c = GetParam();
    auto r = roundDecimals(c.text, pointPosition(c.text), c.k);
    ASSERT_TRUE(r.has_value()) << c.text << " k=" << c.k;
    EXPECT_EQ(*r, c.expected) << c.text << " k=" << c.k;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedCases, RoundDecimalsTable,
    ::testing::Values(
        RoundCase{"3.14159", 2, "3.14"}, RoundCase{"3.14159", 3, "3.142"}, RoundCase{"2.5", 0, "3"},
        RoundCase{"-2.5", 0, "-3"}, RoundCase{"9.96", 1, "10"}, RoundCase{"-1.25", 1, "-1.3"},
        RoundCase{"1.2049", 2, "1.2"}, RoundCase{"0.04", 1, "0"}, RoundCase{"-0.04", 1, "0"},
        // a lone half rounds away from zero like every other one
        RoundCase{"0.5", 0, "1"}, RoundCase{"-.5", 0, "-1"}, RoundCase{".5", 0, "1"},
        RoundCase{"-0.5", 0, "-1"}, RoundCase{"123.456", 0, "123"},
        // carries, signs, zeros left by the cut
        RoundCase{"99.95", 1, "100"}, RoundCase{"-0.45", 1, "-0.5"}, RoundCase{"-0.44", 1, "-0.4"},
        RoundCase{"1.2951", 2, "1.3"}, RoundCase{"5.0049", 2, "5"}, RoundCase{"7.49", 0, "7"},
        RoundCase{"-7.49", 0, "-7"}, RoundCase{"-9.5", 0, "-10"}, RoundCase{"-.7", 0, "-1"},
        RoundCase{"-0.04", 0, "0"}, RoundCase{"-0.004", 2, "0"}, RoundCase{"999.9999", 3, "1000"}));

TEST(RoundDecimals, RefusesWhatTheHintNeverOffers) {
    EXPECT_FALSE(roundDecimals("12", 0, 0));      // no point
    EXPECT_FALSE(roundDecimals("12.345", 3, 3));  // caret at the end of the fraction
    EXPECT_FALSE(roundDecimals("12.345", 3, 7));  // beyond it
    EXPECT_FALSE(roundDecimals("12.345", 3, -1)); // negative count
    EXPECT_FALSE(roundDecimals("12.345", 2, 1));  // point recorded elsewhere
    EXPECT_FALSE(roundDecimals("12.345", 0, 1));  // no point recorded
    EXPECT_FALSE(roundDecimals("1a.345", 3, 1));  // not a number text
    EXPECT_FALSE(roundDecimals("1.2.3", 2, 1));   // two points
    EXPECT_FALSE(roundDecimals("", 0, 0));
    EXPECT_FALSE(roundDecimals("5.", 2, 0)); // no fraction digit to drop
    EXPECT_TRUE(roundDecimals("12.345", 3, 2).has_value());
}

// A long number rounds exactly: no digit goes through a double.
TEST(RoundDecimals, LongNumbersRoundOnTheText) {
    std::string nines(400, '9');
    std::string text = "-" + nines + "." + nines;
    auto r = roundDecimals(text, pointPosition(text), 200);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, "-1" + std::string(400, '0'));
}

// Oracle: the magnitude scaled by 10^k, plus one when the next digit is 5 or
// more, compared by value with the result read back at scale k.
std::string oracle(const std::string& text, Count k, bool& negative) {
    negative = text.front() == '-';
    std::string body = negative ? text.substr(1) : text;
    auto q = body.find('.');
    std::string digits = body.substr(0, q) + body.substr(q + 1, static_cast<std::size_t>(k));
    int next = body[q + 1 + static_cast<std::size_t>(k)] - '0';
    mpz_t m;
    mpz_init_set_str(m, digits.empty() ? "0" : digits.c_str(), 10);
    if (next >= 5) mpz_add_ui(m, m, 1);
    char* s = mpz_get_str(nullptr, 10, m);
    std::string out(s);
    free(s);
    mpz_clear(m);
    return out;
}

std::string scaledDigits(const std::string& result, Count k, bool& negative) {
    negative = !result.empty() && result.front() == '-';
    std::string body = negative ? result.substr(1) : result;
    auto q = body.find('.');
    std::string frac = q == std::string::npos ? "" : body.substr(q + 1);
    std::string whole = body.substr(0, q);
    frac.resize(static_cast<std::size_t>(k), '0');
    mpz_t m;
    std::string all = whole + frac;
    mpz_init_set_str(m, all.empty() ? "0" : all.c_str(), 10);
    char* s = mpz_get_str(nullptr, 10, m);
    std::string out(s);
    free(s);
    mpz_clear(m);
    return out;
}

TEST(RoundDecimals, RandomTextsAgreeWithGmp) {
    const auto seed = static_cast<unsigned>(test::testSeed("RoundDecimals"));
    std::mt19937 rng(seed);
    auto digitsOf = [&](int len, const char* pool) {
        std::string s;
        std::uniform_int_distribution<int> pick(
            0, static_cast<int>(std::char_traits<char>::length(pool)) - 1);
        for (int i = 0; i < len; ++i)
            s += pool[pick(rng)];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        // Digit pools that favour carries through nines and long zero runs.
        const char* pool = (round % 3 == 0) ? "9" : (round % 3 == 1) ? "0123456789" : "0459";
        std::string whole = digitsOf(std::uniform_int_distribution<int>(0, 30)(rng), pool);
        std::string frac = digitsOf(std::uniform_int_distribution<int>(1, 40)(rng), pool);
        std::string text = (rng() % 2 ? "-" : "") + whole + "." + frac;
        Count k = std::uniform_int_distribution<Count>(0, static_cast<Count>(frac.size()) - 1)(rng);
        auto r = roundDecimals(text, pointPosition(text), k);
        ASSERT_TRUE(r) << text << " k=" << k << " seed " << seed;

        bool wantNeg = false;
        bool gotNeg = false;
        std::string want = oracle(text, k, wantNeg);
        std::string got = scaledDigits(*r, k, gotNeg);
        EXPECT_EQ(got, want) << text << " k=" << k << " gave " << *r << " seed " << seed;
        EXPECT_EQ(gotNeg, wantNeg && want != "0") << text << " k=" << k << " gave " << *r;
        // Tidy form: no trailing fraction zero, no bare point, at most k decimals.
        EXPECT_LE(fractionLength(*r), k) << *r;
        if (r->find('.') != std::string::npos) {
            EXPECT_NE(r->back(), '0') << *r;
            EXPECT_NE(r->back(), '.') << *r;
        }
    }
}

} // namespace
} // namespace longhand
