// The four arithmetic operations on number texts, by example: early exits,
// signs, zeros written every way, points and trailing zeros, the short
// machine-integer paths at their edges, and the division's places. The same
// examples run once more with tiny crossovers, through the fast paths.
#include "engine/addition.h"
#include "engine/division.h"
#include "engine/multiply.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace longhand {
namespace {

struct Case {
    char op; // '+', '-', '*' or '/'
    const char *a, *b, *expected;
};

std::string run(char op, const std::string& a, const std::string& b) {
    Progress progress;
    switch (op) {
    case '+':
        return add(a, b);
    case '-':
        return subtract(a, b);
    case '*':
        return multiply(a, b, progress);
    default:
        return divide(a, b, progress);
    }
}

TEST(Arithmetic, Examples) {
    const Case cases[] = {
        // An exact "0" gives the other operand back untouched; "-0" marks
        // the sum negative whatever its digits.
        {'+', "0", "007", "007"},
        {'+', "12.50", "0", "12.50"},
        {'-', "0", "007", "-007"},
        {'-', "0", ".5", "-.5"},
        {'+', "-0", "-0", "-0"},
        {'+', "-00", "-0.0", "-0"},
        // Signs over every pair of kinds: "-", digit, point.
        {'+', "2.5", "-.5", "2"},
        {'+', "-2.5", ".5", "-2"},
        {'+', "-.5", "-.5", "-1"},
        {'+', "-.5", ".25", "-0.25"},
        {'-', "-3", "5", "-8"},
        {'-', ".5", "-.25", "0.75"},
        // Points and trailing zeros.
        {'+', "0.000000000000000001", "1", "1.000000000000000001"},
        {'-', "0.1", "0.10", "0"},
        {'-', "10", "0.001", "9.999"},
        // Zero operands padded on the general path keep their value.
        {'-', "000", "0.0000031782", "-0.0000031782"},
        {'-', "00", "0.00000000000000000001", "-0.00000000000000000001"},
        {'+', "00.0000009", "-00", "0.0000009"},
        // The machine-integer paths end at 14 (sums) and 15 (differences)
        // digits after alignment.
        {'+', "99999999999999", "1", "100000000000000"},
        {'+', "999999999999999", "1", "1000000000000000"},
        {'+', "99999999.9999999", "0.0000001", "100000000"},
        {'-', "1000000000000000", "1", "999999999999999"},
        {'-', "1.0000000000000001", "1", "0.0000000000000001"},
        {'-', "123456789012345678901234567890", "123456789012345678901234567890", "0"},
        // Products: zeros, ".25" below 1, integer zeros put back.
        {'*', "0", "-12.5", "0"},
        {'*', "00", "5", ""},
        {'*', "-0", "5", "-0"},
        {'*', "-00", "5", "-"},
        {'*', "-.5", "-.5", ".25"},
        {'*', ".5", "-2", "-1"},
        {'*', "1.10", "3", "3.3"},
        {'*', "000.0100", "20", ".2"},
        {'*', "1000", "0.0005", ".5"},
        {'*', "0.001", "0.001", ".000001"},
        {'*', "100", "1.2345", "123.45"},
        // Machine products up to 7 digits each, the digit kernel beyond.
        {'*', "9999999", "9999999", "99999980000001"},
        {'*', "99999999", "99999999", "9999999800000001"},
        {'*', "10000000", "3", "30000000"},
        {'*', "0.00000001", "3", ".00000003"},
        {'*', "123456789012345678901234567890", "987654321098765432109876543210",
         "121932631137021795226185032733622923332237463801111263526900"},
        // Quotients cut off, never rounded: 20 places, the dividend's
        // length plus one, or the divisor's plus 10 from 16 digits.
        {'/', "2", "3", "0.66666666666666666666"},
        {'/', "22", "7", "3.142"},
        {'/', "100", "7", "14.2857"},
        {'/', "1", "0.3", "3.3333333333333333333"},
        {'/', "1", "1000000000000001", "0.00000000000000099999999999"},
        {'/', "1", "3333333333333333", "0.0000000000000003"},
        {'/', "123456789012345678901234567890", "3", "41152263004115226300411522630"},
        // Quotients that end, scales, signs, forms.
        {'/', "0.1", "0.25", ".4"},
        {'/', "0.003", "0.3", "0.01"},
        {'/', "-1", "2", "-0.5"},
        {'/', "-5", "5", "-1"},
        {'/', "00", "5", ""},
        {'/', "-00", "5", "-0"},
        {'/', "5.5", "5.5", "1"},
        {'/', "007", "7", "1"},
        // The remainder back at the dividend: the digits repeat from the
        // integer digit.
        {'/', "20", "13", "1.53846153846153846153"},
        {'/', "200", "180", "1.11111111111111111111"},
        {'/', "95", "13", "7.3076923076923076923"},
        // The point moves right past the places of the rule: those places
        // are computed too, so no digit left of the point is made up.
        {'/', "40", ".000000007963737938896", "5022766985"},
        {'/', "2", "0.0000000000000000000000007", "2857142857142857142857142"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.op, c.a, c.b), c.expected) << c.a << ' ' << c.op << ' ' << c.b;
}

// The long division of a longer dividend stops at its places or where it
// ends; the digit-by-digit driver gives the same text.
TEST(Arithmetic, LongerDividendsUpToTheirPlaces) {
    const struct {
        const char *a, *b;
        Count places;
        const char* expected;
    } cases[] = {
        {"10", "3", 3, "3.333"},
        {"125", "5", 4, "25"},
        {"105", "10", 4, "10.5"},
        {"22", "7", 0, ""},
        {"1001", "1000", 5, "1.001"},
        {"1000001", "1000", 2, "1000.00"},
        {"91", "9", 3, "10.111"},
        {"10000000000000000000", "3", 21, "3333333333333333333.333333333333333333333"},
    };
    Progress progress;
    for (const auto& c : cases) {
        EXPECT_EQ(divideLonger(c.a, c.b, c.places, progress), c.expected) << c.a;
        EXPECT_EQ(divideLongerByDigits(c.a, c.b, c.places, progress), c.expected) << c.a;
    }
}

// The digit product has exactly the sum of the lengths; 10^k - 1 squared
// crosses every cell boundary.
TEST(Arithmetic, DigitProductsKeepTheirLength) {
    Progress progress;
    EXPECT_EQ(multiplyDigits("1", "1", progress), "01");
    EXPECT_EQ(multiplyDigits("", "123", progress), "000");
    EXPECT_EQ(multiplyDigits("2", "12345678", progress), "024691356");
    for (std::size_t k = 1; k <= 40; ++k) {
        const std::string nines(k, '9');
        const std::string square = std::string(k - 1, '9') + "8" + std::string(k - 1, '0') + "1";
        EXPECT_EQ(multiplyDigits(nines, nines, progress), square) << k;
        EXPECT_EQ(schoolbookProduct(nines, nines, progress), square) << k;
    }
}

// A product refuses a text that is not a number (the operations check their
// operands first); signs are taken off one at a time, in a loop.
TEST(Arithmetic, SignsAndMalformedProducts) {
    Progress progress;
    for (const char* x : {"1.2.3", "abc", "123456789.1.2", "2-3"})
        EXPECT_THROW(multiply(x, "4", progress), std::invalid_argument) << x;
    EXPECT_EQ(multiply("--5", "5", progress), "--25");
    const std::string minus(300000, '-');
    EXPECT_EQ(multiply("2", minus + "3", progress), minus + "6");
    EXPECT_EQ(subtract("5", minus + "3"), "2"); // an even count of signs
}

// No way through the digit work reads a stray character as a 0, short or
// long, fast or digit by digit: each throws.
TEST(Arithmetic, DigitWorkThrowsOnAStrayCharacter) {
    const std::string longDigits(200, '7');
    const std::string longStray = longDigits + "x" + longDigits;
    const struct {
        const char* what;
        std::function<void(Progress&)> run;
    } cases[] = {
        {"multiplyDigits long", [&](Progress& p) { multiplyDigits(longStray, longDigits, p); }},
        {"multiplyDigits short", [&](Progress& p) { multiplyDigits("1x3", "45", p); }},
        {"schoolbookProduct", [&](Progress& p) { schoolbookProduct(longDigits, longStray, p); }},
        {"divideLonger long", [&](Progress& p) { divideLonger(longStray, longDigits, 5, p); }},
        {"divideLonger short", [&](Progress& p) { divideLonger("12x4", "7", 5, p); }},
        {"divideLongerByDigits", [&](Progress& p) { divideLongerByDigits("9", "1.", 5, p); }},
    };
    for (const auto& c : cases) {
        Progress progress;
        EXPECT_THROW(c.run(progress), std::invalid_argument) << c.what;
    }
}

} // namespace
} // namespace longhand
