#include "engine/numtext.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

TEST(IsNumberText, AnOptionalMinusDigitsAndOnePoint) {
    for (const char* text : {"0", "007", "-12.5", ".5", "5.", "-.5", "-", ".", "-.", ""})
        EXPECT_TRUE(isNumberText(text)) << '"' << text << '"';
    for (const char* text :
         {"1,000", "2.5e3", "+0", "abc", " 5", "5 ", "1.2.3", "--5", "5-", "1_0", "\t1", "1\n"})
        EXPECT_FALSE(isNumberText(text)) << '"' << text << '"';
    EXPECT_FALSE(isNumberText(std::string("1\0"
                                          "2",
                                          3))); // a NUL byte is no digit
}

TEST(LeadCharKind, ClassifiesByFirstCharacter) {
    const struct {
        const char* text;
        int kind;
    } cases[] = {{"", KindEmpty},   {"5", KindDigit},   {"0", KindDigit},  {"9x", KindDigit},
                 {"-", KindMinus},  {"-.5", KindMinus}, {".5", KindPoint}, {"+5", KindOther},
                 {" 5", KindOther}, {"a", KindOther},   {"/", KindOther},  {":", KindOther}};
    for (const auto& c : cases)
        EXPECT_EQ(leadCharKind(c.text), c.kind) << '"' << c.text << '"';
}

TEST(StrCompare, LengthFirstThenCharacterCodes) {
    const struct {
        const char *l, *r;
        int code;
    } cases[] = {
        {"99", "100", CmpShorter},
        {"100", "99", CmpLonger},
        {"100", "099", CmpGreater},
        {"099", "100", CmpLess},
        {"", "", CmpEqual},
        {"", "5", CmpShorter},
        {"123", "123", CmpEqual},
        {"124", "123", CmpGreater},
        {"a", "9", CmpGreater},
        // Character codes above 127 compare as unsigned bytes.
        {"\xe9", "a", CmpGreater},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strCompare(c.l, c.r), c.code) << '"' << c.l << "\" vs \"" << c.r << '"';
}

TEST(MakePower10, GivesThatManyZeros) {
    EXPECT_EQ(makePower10(0), "");
    EXPECT_EQ(makePower10(3), "000");
    EXPECT_EQ(makePower10(-2), "");
    EXPECT_EQ(makePower10(1000).size(), 1000u);
}

TEST(NoEndingZero, CutsTrailingZerosAndCountsThem) {
    const struct {
        const char *in, *out;
        Count count;
    } cases[] = {{"12.500", "12.5", 2}, {"7.0", "7.", 1}, {"1200", "12", 2}, {"000", "000", 3},
                 {"", "", 0},           {"5", "5", 0},    {"0.0", "0.", 1},  {"10.0", "10.", 1}};
    for (const auto& c : cases) {
        std::string t = c.in;
        EXPECT_EQ(noEndingZero(t), c.count) << c.in;
        EXPECT_EQ(t, c.out) << c.in;
    }
}

TEST(StripLeadingZeros, ReturnsTheRestAndLeavesZeroAsZero) {
    const struct {
        const char *in, *inPlace, *returned;
    } cases[] = {{"0070", "70", "70"}, {"000", "0", ""},    {"", "", ""},
                 {"5", "5", "5"},      {"0.5", ".5", ".5"}, {"0", "0", ""}};
    for (const auto& c : cases) {
        std::string t = c.in;
        EXPECT_EQ(stripLeadingZeros(t), c.returned) << c.in;
        EXPECT_EQ(t, c.inPlace) << c.in;
    }
}

TEST(NormalizeNumber, GivesDigitsAndScale) {
    const struct {
        const char *in, *digits;
        Count scale;
    } cases[] = {{"12.50", "125", 1}, {"0.05", "5", 2},     {".5", "5", 1},      {"5.00", "5", 0},
                 {"5.", "5", 0},      {"007", "7", 0},      {"0", "", 0},        {"00", "", 0},
                 {"0.0", "", 0},      {"000", "", 0},       {"0.000", "", 0},    {".0", "", 0},
                 {"1200", "1200", 0}, {".", "", 0},         {"", "", 0},         {".05", "5", 2},
                 {"100.0", "100", 0}, {"10.01", "1001", 2}, {"000.0100", "1", 2}};
    for (const auto& c : cases) {
        std::string t = c.in;
        EXPECT_EQ(normalizeNumber(t), c.scale) << c.in;
        EXPECT_EQ(t, c.digits) << c.in;
    }
}

TEST(PlacePoint, PutsThePointBackAndTidies) {
    const struct {
        Count s1, s2;
        const char *digits, *out;
    } cases[] = {{2, 0, "12345", "123.45"}, {0, 2, "5", "0.05"},     {2, 1, "50", "0.5"},
                 {2, 2, "1200", "12"},      {1, 0, "10", "1"},       {0, 0, "7", "7"},
                 {1, 0, "0", "0"},          {5, 3, "12", "0.00012"}, {0, 0, "1200", "1200"},
                 {3, 0, "", "0"},           {2, 0, "100", "1"},      {0, 3, "123", "0.123"}};
    for (const auto& c : cases) {
        std::string t = c.digits;
        EXPECT_EQ(placePoint(c.s1, c.s2, t), c.out) << c.digits << " k=" << c.s1 << "," << c.s2;
        EXPECT_EQ(t, c.out);
    }
}

TEST(DropPointZeros, TidiesOnlyTheFraction) {
    const struct {
        const char *in, *out;
    } cases[] = {{"12.500", "12.5"}, {"3.000", "3"}, {"5.", "5"}, {"-0.0", "-0"},
                 {"100", "100"},     {".", ""},      {".0", ""},  {"007.50", "007.5"},
                 {".50", ".5"},      {"", ""},       {"-", "-"},  {"0.", "0"}};
    for (const auto& c : cases) {
        std::string t = c.in;
        EXPECT_EQ(dropPointZeros(t), c.out) << c.in;
        EXPECT_EQ(t, c.out);
    }
}

TEST(NumericValue, ReadsTheLeadingNumber) {
    const struct {
        const char* in;
        double value;
    } cases[] = {{"", 0},        {"abc", 0},    {"12", 12},
                 {"-3.5", -3.5}, {"+2", 2},     {".5", 0.5},
                 {"5.", 5},      {"12abc", 12}, {"1.5.7", 1.5},
                 {"2e3", 2000},  {"2e", 2},     {"2e+2x", 200},
                 {"1E-2", 0.01}, {"-", 0},      {".", 0},
                 {"007", 7},     {"1-2", 1},    {"123456789012345", 123456789012345.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(numericValue(c.in), c.value) << c.in;
    EXPECT_TRUE(std::isinf(numericValue("1e999")));
    EXPECT_EQ(numericValue("1e-999"), 0.0);
    EXPECT_EQ(numericValue(std::string(5000, '0') + "3"), 3.0);
}

TEST(DoubleText, FifteenDigitsPlainBelowTenToTheFifteen) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, "0"},
                 {7, "7"},
                 {-12, "-12"},
                 {355687428096000.0, "355687428096000"},
                 {999999999999999.0, "999999999999999"},
                 {1e15, "1E+15"},
                 {1234567890123456789.0, "1.23456789012346E+18"},
                 {0.5, "0.5"},
                 {2.25, "2.25"},
                 {0.0001, "0.0001"},
                 {0.00001, "1E-05"},
                 {1.0 / 3.0, "0.333333333333333"},
                 {100, "100"}};
    for (const auto& c : cases)
        EXPECT_EQ(doubleText(c.value), c.text) << c.value;
}

} // namespace
} // namespace longhand
