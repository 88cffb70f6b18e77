#include "engine/multiply.h"
#include "engine/recording_host.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

using test::RecordingHost;

struct Case {
    const char *a, *b, *expected;
};

TEST(BigMultifly, ExamplesZerosAndSigns) {
    const Case cases[] = {
        {"0", "-12.5", "0"}, {"12", "0", "0"},      {"00", "5", ""},    {"-0", "5", "-0"},
        {"-3", "4", "-12"},  {"3", "-4", "-12"},    {"-3", "-4", "12"}, {"-.5", "2", "-1"},
        {".5", "-2", "-1"},  {"-.5", "-.5", ".25"}, {"-0", "-0", ""},   {"0.0", "7", ""},
        {"-00", "5", "-"},   {"5", "-00", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bigMultifly(c.a, c.b), c.expected) << c.a << " * " << c.b;
}

TEST(BigMultifly, PointAndTrailingZeros) {
    const Case cases[] = {
        {"0.5", "0.5", ".25"},
        {"100", "0.001", ".1"},
        {"10", "0.25", "2.5"},
        {"2.5", "4", "10"},
        {"1.5", "2", "3"},
        {"5.", "2", "10"},
        {"1.10", "3", "3.3"},
        {"0.2", "0.5", ".1"},
        {"1000", "0.0005", ".5"},
        {"120", "0.5", "60"},
        {"0.001", "0.001", ".000001"},
        {"1000000000000", "3", "3000000000000"},
        {"12.5", "80", "1000"},
        {"000.0100", "20", ".2"},
        {"25", "0.04", "1"},
        {"1000", "1.25", "1250"},
        {"100", "1.2345", "123.45"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bigMultifly(c.a, c.b), c.expected) << c.a << " * " << c.b;
}

TEST(BigMultifly, ShortPathUpToSevenDigits) {
    const Case cases[] = {
        {"1234567", "7654321", "9449772114007"}, // both 7 digits: machine product
        {"9999999", "9999999", "99999980000001"},
        {"12345678", "2", "24691356"}, // 8 digits: digit kernel, leading zero dropped
        {"99999999", "99999999", "9999999800000001"},
        {"10000000", "3", "30000000"}, // 7 zeros come off before the test
        {"12345678", "0.5", "6172839"},
        {"0.00000001", "3", ".00000003"},
        {"123456789012345678901234567890", "987654321098765432109876543210",
         "121932631137021795226185032733622923332237463801111263526900"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bigMultifly(c.a, c.b), c.expected) << c.a << " * " << c.b;
}

TEST(MultiplyDigits, GivesExactlyTheSumOfTheLengths) {
    const Case cases[] = {
        {"5", "2", "10"},
        {"1", "1", "01"},
        {"0", "0", "00"},
        {"2", "12345678", "024691356"},
        {"999999999", "999999999", "999999998000000001"},
        {"1000000000", "1000000000", "01000000000000000000"},
        {"", "123", "000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(multiplyDigits(c.a, c.b), c.expected);
    // Across the nine-digit cells: 10^k - 1 squared is 9..98 0..01.
    for (int k = 1; k <= 40; ++k) {
        const std::string nines(static_cast<std::size_t>(k), '9');
        const std::string expected = std::string(static_cast<std::size_t>(k - 1), '9') + "8" +
                                     std::string(static_cast<std::size_t>(k - 1), '0') + "1";
        EXPECT_EQ(multiplyDigits(nines, nines), expected) << k;
    }
}

TEST(BigMultifly, MalformedOperandsReportTheFailure) {
    const Case cases[] = {
        {"1.2.3", "4", ""},
        {"12", "3-4", ""},
        {"abc", "5", ""},
        {"1.2.3", "-4", "-"}, // the sign was taken off before the failure
        {"123456789.1.2", "123456789", ""},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        EXPECT_EQ(bigMultifly(c.a, c.b, host), c.expected) << c.a << " * " << c.b;
        ASSERT_EQ(host.messages.size(), 1u) << c.a << " * " << c.b;
        EXPECT_EQ(host.messages[0], "Turn on input-checking. Reenter data.");
    }
    // Texts that normalize to digits (or to nothing) are multiplied as they come.
    const Case quietCases[] = {
        {"-2.5", "-4", "10"}, {"-", "5", "-"}, {".", "-", "-"}, {"--5", "5", "--25"}, {"", "", ""},
    };
    for (const auto& c : quietCases) {
        RecordingHost quiet;
        EXPECT_EQ(bigMultifly(c.a, c.b, quiet), c.expected) << c.a << " * " << c.b;
        EXPECT_TRUE(quiet.messages.empty());
    }
}

TEST(BigMultifly, ManySignsCostNoStack) {
    RecordingHost host;
    const std::string minus(300000, '-');
    EXPECT_EQ(bigMultifly("2", minus + "3", host), minus + "6");
    EXPECT_TRUE(host.messages.empty());
}

TEST(BigMultifly, OperandsAreNotChanged) {
    std::string a = "-12.50", b = "100";
    bigMultifly(a, b);
    EXPECT_EQ(a, "-12.50");
    EXPECT_EQ(b, "100");
}

} // namespace
} // namespace longhand
