// The helpers of number texts that every operation is built from.
#include "engine/fast/digit_chars.h"
#include "engine/numtext.h"
#include "support/gmp_decimal.h"
#include "support/seed.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace longhand {
namespace {

TEST(NumberText, AnOptionalMinusDigitsAndOnePoint) {
    for (const char* text : {"0", "007", "-12.5", ".5", "5.", "-.5", "-", ".", "-.", ""})
        EXPECT_TRUE(isNumberText(text)) << '"' << text << '"';
    for (const char* text :
         {"1,000", "2.5e3", "+0", "abc", " 5", "5 ", "1.2.3", "--5", "5-", "1_0", "\t1", "1\n"})
        EXPECT_FALSE(isNumberText(text)) << '"' << text << '"';
    EXPECT_FALSE(isNumberText(std::string("1\0"
                                          "2",
                                          3))); // a NUL byte is no digit
}

// A long text is scanned in pieces, one per thread or more: the first
// wrong byte is found wherever it falls, at the edge of a piece as well.
TEST(NumberText, LongTextsAreCheckedInPieces) {
    auto rng = test::seededRng("NumberText.LongTextsAreCheckedInPieces");
    const std::size_t n = (std::size_t{3} << 20) + 5;
    std::string text(n, '0');
    for (char& c : text)
        c = static_cast<char>('0' + rng() % 10);
    std::vector<std::size_t> places = {0, 1, n - 2, n - 1};
    for (std::size_t count = 2; count <= 16; ++count)
        for (std::size_t k = 1; k < count; ++k)
            for (const std::size_t at : {n / count * k - 1, n / count * k, n / count * k + 1})
                places.push_back(at);
    EXPECT_TRUE(isNumberText(text));
    EXPECT_EQ(fast::firstNonDigit(text), std::string_view::npos);
    for (const std::size_t at : places) {
        for (const char c : {'x', '.', '-', '/', ':'}) {
            const char kept = text[at];
            text[at] = c;
            EXPECT_EQ(fast::firstNonDigit(text), at) << at << ' ' << c;
            EXPECT_EQ(isNumberText(text), c == '.' || (c == '-' && at == 0)) << at << ' ' << c;
            // A second point anywhere after the first spoils it.
            if (c == '.' && at + 1 < n) {
                const std::size_t second = at + 1 + rng() % (n - at - 1);
                const char other = text[second];
                text[second] = '.';
                EXPECT_FALSE(isNumberText(text)) << at << ' ' << second;
                text[second] = other;
            }
            text[at] = kept;
        }
    }
}

TEST(NumberText, KindsAndOrders) {
    const struct {
        const char* text;
        TextKind kind;
    } kinds[] = {{"", TextKind::Empty},   {"0", TextKind::Digit},  {"-.5", TextKind::Minus},
                 {".5", TextKind::Point}, {"+5", TextKind::Other}, {" 5", TextKind::Other},
                 {"/", TextKind::Other},  {":", TextKind::Other}};
    for (const auto& c : kinds)
        EXPECT_EQ(textKind(c.text), c.kind) << '"' << c.text << '"';

    const struct {
        const char *a, *b;
        TextOrder order;
    } orders[] = {
        {"99", "100", TextOrder::Shorter},  {"100", "99", TextOrder::Longer},
        {"100", "099", TextOrder::Greater}, {"099", "100", TextOrder::Less},
        {"", "", TextOrder::Equal},         {"a", "9", TextOrder::Greater},
        {"\xe9", "a", TextOrder::Greater}, // codes above 127 count as unsigned bytes
    };
    for (const auto& c : orders)
        EXPECT_EQ(compareWholeTexts(c.a, c.b), c.order) << '"' << c.a << "\" vs \"" << c.b << '"';
}

TEST(NumberText, TrailingAndLeadingZeros) {
    const struct {
        const char *in, *out;
        Count count;
    } trailing[] = {{"12.500", "12.5", 2}, {"7.0", "7.", 1}, {"1200", "12", 2},
                    {"000", "000", 3},     {"", "", 0},      {"5", "5", 0}};
    for (const auto& c : trailing) {
        std::string t = c.in;
        EXPECT_EQ(dropTrailingZeros(t), c.count) << c.in;
        EXPECT_EQ(t, c.out) << c.in;
    }
    const struct {
        const char *in, *inPlace, *returned;
    } leading[] = {{"0070", "70", "70"}, {"000", "0", ""}, {"", "", ""}, {"0.5", ".5", ".5"}};
    for (const auto& c : leading) {
        std::string t = c.in;
        EXPECT_EQ(stripLeadingZeros(t), c.returned) << c.in;
        EXPECT_EQ(t, c.inPlace) << c.in;
    }
    const struct {
        const char *in, *out;
    } tidy[] = {{"12.500", "12.5"}, {"3.000", "3"}, {"-0.0", "-0"}, {"100", "100"},
                {".0", ""},         {"-", "-"},     {"0.", "0"},    {"007.50", "007.5"}};
    for (const auto& c : tidy) {
        std::string t = c.in;
        tidyPointZeros(t);
        EXPECT_EQ(t, c.out) << c.in;
    }
}

TEST(NumberText, DigitsAndScaleThereAndBack) {
    const struct {
        const char *in, *digits;
        Count scale;
    } cases[] = {{"12.50", "125", 1}, {".05", "5", 2},      {"5.00", "5", 0},    {"007", "7", 0},
                 {"0", "", 0},        {"0.000", "", 0},     {"1200", "1200", 0}, {".", "", 0},
                 {"100.0", "100", 0}, {"10.01", "1001", 2}, {"000.0100", "1", 2}};
    for (const auto& c : cases) {
        std::string t = c.in;
        EXPECT_EQ(toDigitsAndScale(t), c.scale) << c.in;
        EXPECT_EQ(t, c.digits) << c.in;
    }
}

// Expectations written by Python: format(Decimal(digits).scaleb(-places), "f").
// The other form drops the "0" before the point of a value below one.
TEST(NumberText, PointPlacedAsPythonWritesIt) {
    const struct {
        const char* digits;
        Count places;
        const char* python;
    } cases[] = {{"12345", 2, "123.45"}, {"5", 3, "0.005"},   {"1200", 2, "12.00"}, {"7", 1, "0.7"},
                 {"70", 1, "7.0"},       {"123", 3, "0.123"}, {"123", 0, "123"},    {"", 2, "0.00"},
                 {"1", 5, "0.00001"},    {"999", 2, "9.99"}};
    for (const auto& c : cases) {
        std::string zeroPoint = c.digits, point = c.digits;
        placePoint(zeroPoint, c.places);
        placePoint(point, c.places, BelowOne::Point);
        const std::string python = c.python;
        EXPECT_EQ(zeroPoint, python) << c.digits << " " << c.places;
        EXPECT_EQ(point, python.rfind("0.", 0) == 0 ? python.substr(1) : python)
            << c.digits << " " << c.places;
    }
    std::string unchanged = "123";
    placePoint(unchanged, -2);
    EXPECT_EQ(unchanged, "123");
}

// Random digit strings and places against GMP: the text's value is
// digits / 10^places, with exactly `places` fraction digits.
TEST(NumberText, PointPlacedHasTheValueGmpGives) {
    auto rng = test::seededRng("NumberText.PointPlacedHasTheValueGmpGives");
    for (int i = 0; i < 2000; ++i) {
        std::string digits(rng() % 40, '0');
        for (char& c : digits)
            c = static_cast<char>('0' + rng() % 10);
        const auto places = static_cast<Count>(rng() % 50);
        const BelowOne form = rng() % 2 ? BelowOne::Point : BelowOne::ZeroPoint;
        std::string text = digits;
        placePoint(text, places, form);
        test::Q got(text), want(digits), scale;
        test::qTenPower(scale, -places);
        mpq_mul(want.get(), want.get(), scale.get());
        ASSERT_TRUE(got == want) << digits << " " << places << " -> " << text;
        const std::size_t point = text.find('.');
        ASSERT_EQ(point == std::string::npos ? 0 : static_cast<Count>(text.size() - point - 1),
                  places)
            << text;
    }
}

TEST(NumberText, NumericValueAndDoubleText) {
    const struct {
        const char* in;
        double value;
    } values[] = {{"", 0},        {"abc", 0}, {"-3.5", -3.5}, {"+2", 2},      {"12abc", 12},
                  {"1.5.7", 1.5}, {"2e", 2},  {"2e+2x", 200}, {"1E-2", 0.01}, {"-", 0}};
    for (const auto& c : values)
        EXPECT_DOUBLE_EQ(numericValue(c.in), c.value) << c.in;
    EXPECT_TRUE(std::isinf(numericValue("1e999")));
    EXPECT_EQ(numericValue("1e-999"), 0.0);
    EXPECT_EQ(numericValue(std::string(5000, '0') + "3"), 3.0);

    const struct {
        double value;
        const char* text;
    } texts[] = {{-12, "-12"},
                 {999999999999999.0, "999999999999999"},
                 {1e15, "1E+15"},
                 {1234567890123456789.0, "1.23456789012346E+18"},
                 {0.0001, "0.0001"},
                 {0.00001, "1E-05"},
                 {1.0 / 3.0, "0.333333333333333"}};
    for (const auto& c : texts)
        EXPECT_EQ(doubleText(c.value), c.text) << c.value;
}

} // namespace
} // namespace longhand
