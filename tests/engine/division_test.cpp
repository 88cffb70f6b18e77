#include "engine/division.h"
#include "engine/recording_host.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

using test::RecordingHost;

struct Case {
    const char *m, *n, *expected;
};

TEST(Bigdivision, CutOffQuotientsAndTheirPlaces) {
    const Case cases[] = {
        {"1", "3", "0.33333333333333333333"}, // 20 places
        {"2", "3", "0.66666666666666666666"}, // cut off, not rounded
        {"1", "7", "0.14285714285714285714"},
        {"10", "3", "3.333"}, // Len(M) + 1 places
        {"22", "7", "3.142"},
        {"100", "7", "14.2857"},
        {"1", "30", "0.03333333333333333333"},
        {"1", "0.3", "3.3333333333333333333"}, // 20 computed, one moved left of the point
        {"123456789012345678901234567890", "3", "41152263004115226300411522630"},
        // Len(N) >= 16: Len(N) + 10 places.
        {"1", "1000000000000001", "0.00000000000000099999999999"},
        {"1", "3333333333333333", "0.0000000000000003"},
        {"2", "3000000000000000", "0.00000000000000066666666666"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bigdivision(c.m, c.n), c.expected) << c.m << " / " << c.n;
}

TEST(Bigdivision, EndingQuotientsScalesAndForms) {
    const Case cases[] = {
        {"7", "5", "1.4"},    {"6", "3", "2"},      {"125", "5", "25"},       {"105", "10", "10.5"},
        {"1000", "8", "125"}, {"1", "8", "0.125"},  {"3", "1000", "0.003"},   {"0.1", "0.25", ".4"},
        {"5", "0.1", "50"},   {"2", "0.5", "4"},    {"0.003", "0.3", "0.01"}, {"1.5", "15", "0.1"},
        {"-6", "3", "-2"},    {"6", "-3", "-2"},    {"-6", "-3", "2"},        {"-1", "2", "-0.5"},
        {"5", "5", "1"},      {"-5", "5", "-1"},    {"00", "5", ""},          {"-00", "5", "-0"},
        {"5", "1", "5"},      {"5.5", "5.5", "1"},  {"1", "0.5", "2"},        {"9", "4.5", "2"},
        {"-.5", ".25", "-2"}, {".5", "-.25", "-2"}, {"12.5", "2.5", "5"},     {"1", "10", "0.1"},
        {"8", "4", "2"},      {"007", "7", "1"},    {"0.5", "2", "0.25"},     {"250", "0.5", "500"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bigdivision(c.m, c.n), c.expected) << c.m << " / " << c.n;
}

// A dividend of the divisor's length that is larger: when the remainder
// comes back to the dividend, the expansion repeats from the integer digit.
TEST(Bigdivision, RepeatAfterTheIntegerDigit) {
    const Case cases[] = {
        {"20", "13", "1.53846153846153846153"}, {"20", "18", "1.11111111111111111111"},
        {"70", "63", "1.11111111111111111111"}, {"200", "180", "1.11111111111111111111"},
        {"95", "13", "7.3076923076923076923"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bigdivision(c.m, c.n), c.expected) << c.m << " / " << c.n;
}

// The point moves right by more places than the table gives: the driver
// computes those places too, so no digit left of the point is made up.
TEST(Bigdivision, ScaleShiftBeyondTheTablePlaces) {
    EXPECT_EQ(bigdivision("40", ".000000007963737938896"), "5022766985");
    EXPECT_EQ(bigdivision("1", "0.000000000000000000000003"), "333333333333333333333333");
    EXPECT_EQ(bigdivision("2", "0.0000000000000000000000007"), "2857142857142857142857142");
}

TEST(Bigdivision, StopsTheSoundOnlyWhenItIsOn) {
    RecordingHost on;
    on.sound = true;
    bigdivision("1", "3", on);
    EXPECT_EQ(on.stopSoundCalls, 1);
    RecordingHost off;
    bigdivision("1", "3", off);
    EXPECT_EQ(off.stopSoundCalls, 0);
    EXPECT_TRUE(on.messages.empty());
}

TEST(Bigdivision, ZeroDivisorAndMalformedOperandsGiveSomeText) {
    EXPECT_EQ(bigdivision("5", "0"), "");
    EXPECT_EQ(bigdivision("5", "-0.00"), "");
    const char* odd[] = {"-", ".", "1.2.3", "1-2", "abc", "--5", "", "9a9", "-.-", "0x10"};
    for (const char* x : odd)
        for (const char* y : odd) {
            RecordingHost host;
            (void)bigdivision(x, y, host);
            (void)bigdivision("123456789012345678901234567890", y, host);
            (void)bigdivision(x, "7", host);
        }
}

TEST(SmallQuotient, PlacesExtraZerosAndPeriodCopying) {
    EXPECT_EQ(smallQuotient("10", "123456789", 20), "0.00000008100000073710000");
    EXPECT_EQ(smallQuotient("1", "3", 20), "0.33333333333333333333");
    EXPECT_EQ(smallQuotient("1", "3", 5), "0.33333");
    EXPECT_EQ(smallQuotient("1", "11", 7), "0.0909090");
    EXPECT_EQ(smallQuotient("1", "7", 20), "0.14285714285714285714");
    EXPECT_EQ(smallQuotient("1", "30", 20), "0.03333333333333333333");
    EXPECT_EQ(smallQuotient("5", "1", 20), "5");
    EXPECT_EQ(smallQuotient("7", "7", 20), "1");
    EXPECT_EQ(smallQuotient("1", "10", 20), "0.1");
    EXPECT_EQ(smallQuotient("8", "4", 20), "2.");
    EXPECT_EQ(smallQuotient("9", "8", 20), "1.125");
    EXPECT_EQ(smallQuotient("20", "13", 20), "1.53846153846153846153");
    EXPECT_EQ(smallQuotient("20", "18", 6), "1.111111");
    EXPECT_EQ(smallQuotient("", "5", 20), "0.");
}

TEST(UpperLower, LongDivisionUpToTheDesiredPlaces) {
    const struct {
        const char *a, *b;
        Count places;
        const char* expected;
    } cases[] = {
        {"10", "3", 3, "3.333"},
        {"100", "7", 4, "14.2857"},
        {"125", "5", 4, "25"},
        {"105", "10", 4, "10.5"},
        {"1000", "8", 5, "125"},
        {"22", "7", 0, ""},
        {"101", "2", 4, "50.5"},
        {"1001", "1000", 5, "1.001"},
        {"1000001", "1000", 2, "1000.00"},
        {"91", "9", 3, "10.111"},
        {"10000000000000000000", "3", 21, "3333333333333333333.333333333333333333333"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UpperLower(c.a, c.b, c.places), c.expected) << c.a;
}

TEST(NextQuotientDigit, GuessesAndCorrects) {
    const struct {
        const char *rem, *div, *digit, *left;
    } cases[] = {
        {"10", "3", "3", "1"},
        {"99", "11", "9", "0"},
        {"5", "5", "1", "0"},
        {"99", "9", "9", "18"}, // more than nine times: nine at most
        {"1000000000000000", "100000000000001", "9", "99999999999991"},
        {"9999999999999999", "1000000000000000", "9", "999999999999999"},
        {"99999999999999999", "9999999999999999", "9", "10000000000000008"},
        {"4", "7", "0", "4"},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        std::string rem = c.rem;
        EXPECT_EQ(nextQuotientDigit(rem, c.div, host), c.digit) << c.rem << " / " << c.div;
        EXPECT_EQ(rem, c.left) << c.rem << " / " << c.div;
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST(NextQuotientDigit, ShorterRemainderIsAnAbnormalcy) {
    RecordingHost host;
    std::string rem = "12";
    EXPECT_EQ(nextQuotientDigit(rem, "345", host), "0");
    EXPECT_EQ(rem, "12");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Abnormalcy detected.");
}

TEST(MultiplyByDigit, KeepsTheTopProductWhole) {
    const struct {
        const char *d, *num, *expected;
    } cases[] = {{"9", "99", "891"}, {"2", "45", "90"}, {"0", "123", "000"}, {"1", "007", "007"},
                 {"5", "2", "10"},   {"3", "", ""},     {"7", "0", "0"}};
    for (const auto& c : cases)
        EXPECT_EQ(multiplyByDigit(c.d, c.num), c.expected);
}

TEST(ShiftPointLeft, MovesThePointWithoutTidying) {
    const struct {
        const char* s;
        Count f1, f2;
        const char* expected;
    } cases[] = {{"125", 2, 0, "1.25"},   {"5", 3, 0, "0.005"},   {"0.5", 2, 0, "0.005"},
                 {"12.5", 2, 0, "0.125"}, {"12.5", 1, 0, "1.25"}, {"125", 3, 0, "0.125"},
                 {"2.", 1, 0, "0.2"},     {"2.", 3, 1, "0.02"},   {"1.50", 1, 0, "0.150"}};
    for (const auto& c : cases)
        EXPECT_EQ(shiftPointLeft(c.s, c.f1, c.f2), c.expected) << c.s;
}

TEST(Bigdivision, CancelledWorkEndsEarly) {
    RecordingHost host;
    host.cancelAfterPolls = 5;
    const std::string q = bigdivision(std::string(6000, '9'), std::string(3000, '7'), host);
    EXPECT_LT(q.size(), 100u);
}

} // namespace
} // namespace longhand
