#include "engine/power.h"
#include "engine/recording_host.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

using test::RecordingHost;

std::string power(std::string base, const std::string& exponent, EngineHost& host = silentHost()) {
    return raisePower(base, exponent, host);
}

TEST(RaisePower, ExamplesZerosAndSigns) {
    const struct {
        const char *base, *exponent, *expected;
    } cases[] = {
        {"2", "10", "1024"},   {"7", "1", "7"},    {"1", "99", "1"},  {"0", "0", "0"},
        {"5", "0", "1"},       {"0", "5", ""},     {"-2", "3", "-8"}, {"-2", "2", "4"},
        {"-10", "3", "-1000"}, {"-1", "3", "-1"},  {"-1", "4", "1"},  {"00", "3", ""},
        {"0.0", "2", ""},      {"5", "00", "1"},   {"5", "", "1"},    {"2", "2.0", "4"},
        {"-3", "1", "-3"},     {"3", "7", "2187"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(power(c.base, c.exponent), c.expected) << c.base << " ^ " << c.exponent;
}

// Zero to the power zero is "0" however either zero is written.
TEST(RaisePower, EverySpellingOfZeroToTheZeroIsZero) {
    const std::string zero = power("0", "0");
    EXPECT_EQ(zero, "0");
    for (const char* base : {"0", "00", "0.0", "-0", ".0", "0.", "-0.00", "-", "-."})
        for (const char* exponent : {"0", "00", "0.0", ""})
            EXPECT_EQ(power(base, exponent), zero) << base << " ^ " << exponent;
}

TEST(RaisePower, PointAndZeroCounts) {
    const struct {
        const char *base, *exponent, *expected;
    } cases[] = {
        {"0.5", "2", ".25"},
        {"0.2", "2", ".04"},
        {"0.1", "3", ".001"},
        {"1.5", "2", "2.25"},
        {"2.5", "3", "15.625"},
        {"-0.5", "3", "-.125"},
        {"100", "3", "1000000"},
        {"120", "2", "14400"},
        {"10", "5", "100000"},
        {"0.10", "2", ".01"},
        {"1.0", "9", "1"},
        {"-0.01", "2", ".0001"},
        {"12345678", "3", "1881675960266558605752"},
        {"0.003", "3", ".000000027"},
        {"25.5", "2", "650.25"},
        {"007", "2", "49"},
        {"2", "64", "18446744073709551616"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(power(c.base, c.exponent), c.expected) << c.base << " ^ " << c.exponent;
}

TEST(RaisePower, WorksOnTheBaseInPlace) {
    std::string base = "-0.50";
    EXPECT_EQ(raisePower(base, "2"), ".25");
    EXPECT_EQ(base, "5");
    std::string integer = "1200";
    EXPECT_EQ(raisePower(integer, "2"), "1440000");
    EXPECT_EQ(integer, "12");
}

TEST(RaisePower, MalformedBaseReportsTheFailureOnce) {
    for (const char* base : {"1.2.3", "--5", "2-3", "7a", "-.5.5"}) {
        RecordingHost host;
        EXPECT_EQ(power(base, "5", host), "") << base;
        ASSERT_EQ(host.messages.size(), 1u) << base;
        EXPECT_EQ(host.messages[0], "Turn on input-checking. Reenter data.");
    }
    // The exponent 0 and the base "1" need no multiplication at all.
    RecordingHost quiet;
    EXPECT_EQ(power("1.2.3", "0", quiet), "1");
    EXPECT_TRUE(quiet.messages.empty());
}

TEST(RaisePower, RefusesAPowerTooLongToHold) {
    RecordingHost host;
    EXPECT_EQ(power("10", "1000000000000", host), "");
    EXPECT_EQ(power("0.5", "1e300", host), "");
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0], kPowerTooLong);
    EXPECT_TRUE(powerTooLong("10", "1000000000000"));
    EXPECT_TRUE(powerTooLong("-2", "99999999999"));
    EXPECT_FALSE(powerTooLong("2", "1000"));
    EXPECT_FALSE(powerTooLong("1", "99999999999999"));
    EXPECT_FALSE(powerTooLong("0", "99999999999999"));
    EXPECT_FALSE(powerTooLong("5", "0"));
    // 10^k is zeros only: fast, and fine while it fits.
    EXPECT_EQ(power("10", "100000").size(), 100001u);
}

TEST(RaisePower, CancelledWorkEndsEarly) {
    RecordingHost host;
    host.cancelAfterPolls = 3;
    std::string base = "7"; // the multiplication loop stops at its fourth poll
    const std::string r = raisePowerReference(base, "1000000", host);
    EXPECT_LE(host.polls, 4);
    EXPECT_EQ(r, "343");
}

TEST(ExponentIsWhole, DigitsWithAnOptionalPointAndZeros) {
    const struct {
        const char* p;
        bool whole;
    } cases[] = {{"3", true},     {"", true},     {"00", true},
                 {"3.", true},    {"3.00", true}, {"12345678901234567890", true},
                 {"-3", false},   {"2.5", false}, {"-0", false},
                 {"3.01", false}, {"1e3", false}, {"abc", false},
                 {"+3", false},   {" 3", false},  {"3 ", false},
                 {".", true},     {"..", false}};
    for (const auto& c : cases)
        EXPECT_EQ(exponentIsWhole(c.p), c.whole) << '"' << c.p << '"';
}

} // namespace
} // namespace longhand
