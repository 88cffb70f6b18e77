#include "engine/addsub.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

struct Case {
    const char *a, *b, *expected;
};

TEST(RcAdd, ExamplesAndEarlyExits) {
    const Case cases[] = {
        {"0", "007", "007"}, // the early exits do not tidy
        {"12.50", "0", "12.50"},
        {"5", ".5", "5.5"},
        {".25", ".75", "1"},
        {"-3", "5", "2"},
        {"3", "-5", "-2"},
        {"-3", "-5", "-8"},
        {"-.5", ".25", "-0.25"},
        {"12.5", "-3", "9.5"},
        {"0.000000000000000001", "1", "1.000000000000000001"},
        {"007", "003", "10"},
        {"1.5", "1.5", "3"},
        {"-0", "-0", "-0"}, // the negative flag marks whatever the digits are
        {"-00", "-0.0", "-0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rcAdd(c.a, c.b), c.expected) << c.a << " + " << c.b;
}

TEST(RcAdd, SignDispatchOverOperandKinds) {
    // Every pair of kinds "-", digit and "." (value 2.5 or 0.5 with signs).
    const Case cases[] = {
        {"2.5", "0.5", "3"},  {"2.5", ".5", "3"},    {"2.5", "-.5", "2"},  {"2.5", "-0.5", "2"},
        {".5", "2.5", "3"},   {".5", ".5", "1"},     {".5", "-2.5", "-2"}, {"-2.5", "0.5", "-2"},
        {"-2.5", ".5", "-2"}, {"-2.5", "-.5", "-3"}, {"-.5", "-.5", "-1"}, {"-.5", "2.5", "2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rcAdd(c.a, c.b), c.expected) << c.a << " + " << c.b;
}

TEST(RcAdd, ShortPathUpToFourteenDigits) {
    EXPECT_EQ(rcAdd("99999999999999", "1"), "100000000000000");     // 14 digits
    EXPECT_EQ(rcAdd("999999999999999", "1"), "1000000000000000");   // 15 digits: digit loop
    EXPECT_EQ(rcAdd("9999999.9999999", "0.0000001"), "10000000");   // 14 after alignment
    EXPECT_EQ(rcAdd("99999999.9999999", "0.0000001"), "100000000"); // 15 after alignment
    EXPECT_EQ(rcAdd("123456789012345678901234567890", "987654321098765432109876543210"),
              "1111111110111111111011111111100");
}

TEST(RcSub, ExamplesAndEarlyExits) {
    const Case cases[] = {
        {"0", "5", "-5"},      {"0", "-5", "5"},         {"0", ".5", "-.5"},
        {"5", "5.0", "0"},     {"0.1", "0.10", "0"},     {"1.5", "0.5", "1"},
        {"2", "3", "-1"},      {"-3", "-5", "2"},        {"-5", "-0", "-5"},
        {"12.5", "0", "12.5"}, {"0", "007", "-007"},     {"-3", "5", "-8"},
        {"3", "-5", "8"},      {"-.5", ".25", "-0.75"},  {".5", "-.25", "0.75"},
        {"-5", "-3", "-2"},    {"10", "0.001", "9.999"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rcSub(c.a, c.b), c.expected) << c.a << " - " << c.b;
}

TEST(RcSub, LongPathAndThresholds) {
    EXPECT_EQ(rcSub("1000000000000000", "1"), "999999999999999"); // 16 digits
    EXPECT_EQ(rcSub("100000000000000", "1"), "99999999999999");   // 15 digits: short
    EXPECT_EQ(rcSub("1", "1000000000000000"), "-999999999999999");
    EXPECT_EQ(rcSub("10000000000000000000", "9999999999999999999"), "1");
    EXPECT_EQ(rcSub("1.0000000000000001", "1"), "0.0000000000000001");
    EXPECT_EQ(rcSub("123456789012345678901234567890", "123456789012345678901234567890"), "0");
}

// Zero-valued operands other than exactly "0" reach the general path padded
// with zeros; the result must still be ordered by value.
TEST(RcSub, ZeroOperandOnTheGeneralPathKeepsTheValue) {
    const Case cases[] = {
        {"-0", "-0.05", "0.05"},
        {"000", "0.0000031782", "-0.0000031782"},
        {"0.0000031782", "000", "0.0000031782"},
        {"00", "0.00000000000000000001", "-0.00000000000000000001"},
        {"00", "00", "0"},
        {"00", "5", "-5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rcSub(c.a, c.b), c.expected) << c.a << " - " << c.b;
    EXPECT_EQ(rcAdd("00", "-0.05"), "-0.05");
    EXPECT_EQ(rcAdd("00.0000009", "-00"), "0.0000009");
    EXPECT_EQ(rcAdd("-0", "-0.05"), "-0.05");
}

TEST(AddSub, OperandsAreNotChanged) {
    std::string a = "-12.50", b = "0.25";
    rcAdd(a, b);
    rcSub(a, b);
    EXPECT_EQ(a, "-12.50");
    EXPECT_EQ(b, "0.25");
}

// Malformed texts only arrive with input checking off: whatever comes out,
// it must come out, without a crash or a runaway.
TEST(AddSub, MalformedOperandsGiveSomeText) {
    const char* odd[] = {"-",   ".",  "1.2.3", "1-2", "abc", "--5",
                         "-.-", "+5", "",      "5e3", "..",  "-0-"};
    for (const char* x : odd)
        for (const char* y : odd) {
            (void)rcAdd(x, y);
            (void)rcSub(x, y);
            (void)rcAdd(x, "12345678901234567890");
            (void)rcSub("12345678901234567890", y);
        }
    const std::string manyMinus(200000, '-');
    EXPECT_EQ(rcSub("5", manyMinus + "3").size() > 0, true);
    EXPECT_NO_THROW(rcAdd(manyMinus, manyMinus));
}

} // namespace
} // namespace longhand
