// Rounding a shown result to k decimals, half away from zero, on the text.
#include "engine/rounding.h"
#include "support/gmp.h"
#include "support/seed.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

std::optional<std::string> rounded(const std::string& text, Count k) {
    return roundToDecimals(text, pointPosition(text), k);
}

TEST(RoundToDecimals, Examples) {
    const struct {
        const char* text;
        Count k;
        const char* expected;
    } cases[] = {
        {"3.14159", 3, "3.142"}, {"2.5", 0, "3"},      {"-2.5", 0, "-3"},
        {"9.96", 1, "10"},       {"-1.25", 1, "-1.3"}, {"1.2049", 2, "1.2"},
        {"-0.04", 1, "0"},       {".5", 0, "1"},       {"-.5", 0, "-1"},
        {"99.95", 1, "100"},     {"-0.45", 1, "-0.5"}, {"5.0049", 2, "5"},
        {"-7.49", 0, "-7"},      {"-.7", 0, "-1"},     {"-0.004", 2, "0"},
        {"999.9999", 3, "1000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rounded(c.text, c.k), c.expected) << c.text << " k=" << c.k;
    // A long number rounds exactly: no digit goes through a double.
    const std::string nines(400, '9');
    EXPECT_EQ(rounded("-" + nines + "." + nines, 200), "-1" + std::string(400, '0'));
}

TEST(RoundToDecimals, RefusesWhatTheHintNeverOffers) {
    EXPECT_FALSE(roundToDecimals("12", 0, 0));      // no point
    EXPECT_FALSE(roundToDecimals("12.345", 3, 3));  // the caret at the end of the fraction
    EXPECT_FALSE(roundToDecimals("12.345", 3, -1)); // a negative count
    EXPECT_FALSE(roundToDecimals("12.345", 2, 1));  // the point recorded elsewhere
    EXPECT_FALSE(roundToDecimals("1a.345", 3, 1));  // not a number text
    EXPECT_FALSE(roundToDecimals("1.2.3", 2, 1));   // two points
    EXPECT_FALSE(roundToDecimals("5.", 2, 0));      // no fraction digit to drop
    EXPECT_TRUE(roundToDecimals("12.345", 3, 2));
}

// Oracle: the magnitude's digits up to the k-th decimal, plus one when the
// next digit is 5 or more, against the result read back at scale k.
TEST(RoundToDecimals, RandomTextsAgreeWithGmp) {
    auto rng = test::seededRng("RoundToDecimals.RandomTextsAgreeWithGmp");
    for (int round = 0; round < 3000; ++round) {
        // Digit pools that favour carries through nines and long zero runs.
        const std::string pool = round % 3 == 0 ? "9" : round % 3 == 1 ? "0123456789" : "0459";
        auto digits = [&](std::size_t len) {
            std::string s;
            for (std::size_t i = 0; i < len; ++i)
                s += pool[rng() % pool.size()];
            return s;
        };
        const std::string whole = digits(rng() % 31), fraction = digits(1 + rng() % 40);
        const bool negative = rng() % 2 != 0;
        const std::string text = (negative ? "-" : "") + whole + "." + fraction;
        const Count k = static_cast<Count>(rng() % fraction.size());
        const std::optional<std::string> r = rounded(text, k);
        ASSERT_TRUE(r) << text << " k=" << k;
        SCOPED_TRACE(text + " k=" + std::to_string(k) + " gave " + *r);

        test::Z want(whole + fraction.substr(0, static_cast<std::size_t>(k)));
        if (fraction[static_cast<std::size_t>(k)] >= '5') mpz_add_ui(want.get(), want.get(), 1);
        std::string got = *r;
        const bool gotNegative = !got.empty() && got.front() == '-';
        if (gotNegative) got.erase(0, 1);
        const std::size_t point = got.find('.');
        std::string gotFraction = point == std::string::npos ? "" : got.substr(point + 1);
        EXPECT_LE(gotFraction.size(), static_cast<std::size_t>(k));
        if (point != std::string::npos) {
            EXPECT_NE(got.back(), '0');
            EXPECT_NE(got.back(), '.');
        }
        gotFraction.resize(static_cast<std::size_t>(k), '0');
        EXPECT_EQ(test::Z(got.substr(0, point) + gotFraction).str(), want.str());
        EXPECT_EQ(gotNegative, negative && want.str() != "0");
    }
}

} // namespace
} // namespace longhand
