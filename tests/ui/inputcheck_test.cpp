// The cleaning pass of keystroke input checking, on texts alone.
#include "support/seed.h"
#include "ui/main/inputcheck.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace longhand {
namespace {

using enum FunctionMode;
using Mode = std::optional<FunctionMode>;
// Fields other than the argument line have no mode.
constexpr Mode kNoMode = std::nullopt;

std::string modeName(Mode mode) {
    return mode ? std::string(captionKey(*mode)) : std::string("none");
}

struct Case {
    int id;
    Mode mode;
    const char* typed;
    const char* settled;
};

class Settle : public ::testing::TestWithParam<Case> {};

TEST_P(Settle, LeavesTheCleanText) {
    const Case& c = GetParam();
    EXPECT_EQ(settleInputText(c.typed, c.id, c.mode), c.settled)
        << "id " << c.id << " mode " << modeName(c.mode) << " typed '" << c.typed << "'";
}

INSTANTIATE_TEST_SUITE_P(OperandBoxes, Settle,
                         ::testing::Values(
                             // Refused characters disappear.
                             Case{1, kNoMode, "12a3", "123"}, Case{1, kNoMode, "1+2", "12"},
                             Case{1, kNoMode, "1 2", "12"}, Case{2, kNoMode, "+5", "5"},
                             Case{1, kNoMode, "\t1\n2\r", "12"}, Case{1, kNoMode, "1,000", "1000"},
                             Case{1, kNoMode, "(7)", "7"},
                             Case{1, kNoMode,
                                  "\xc2\xbd"
                                  "5",
                                  "5"},
                             // One point, one sign at the front, no caret.
                             Case{1, kNoMode, "5.5.5", "5.55"}, Case{1, kNoMode, "-5-5", "-55"},
                             Case{1, kNoMode, "5^2", "52"}, Case{2, kNoMode, "--5", "-5"},
                             Case{2, kNoMode, "5-", "5"}, Case{1, kNoMode, "..5", ".5"},
                             // Leading zeros and the sign.
                             Case{1, kNoMode, "007", "7"}, Case{1, kNoMode, "0.5", ".5"},
                             Case{1, kNoMode, "-0.5", "-0.5"}, Case{1, kNoMode, "-.5", "-0.5"},
                             Case{1, kNoMode, "-00.25", "-0.25"}, Case{1, kNoMode, "-007", "-7"},
                             Case{1, kNoMode, "-0070.10", "-70.10"}, Case{2, kNoMode, "0", "0"},
                             Case{2, kNoMode, "000", "0"}, Case{2, kNoMode, "-0", "-0"},
                             Case{2, kNoMode, "-000", "-0"}, Case{1, kNoMode, "00.", "."},
                             Case{1, kNoMode, "-", "-"}, Case{1, kNoMode, ".", "."},
                             Case{1, kNoMode, "-.", "-0."}, Case{1, kNoMode, "", ""},
                             Case{1, kNoMode, "abc", ""}, Case{1, kNoMode, "5.", "5."},
                             // The mode matters only for the argument line.
                             Case{1, Power, "2^3", "23"}, Case{2, Factorial, "-5.5", "-5.5"}));

INSTANTIATE_TEST_SUITE_P(
    ArgumentLine, Settle,
    ::testing::Values(Case{3, Factorial, "-5", "5"}, Case{3, Factorial, "5.5", "55"},
                      Case{3, Factorial, "5^2", "52"}, Case{3, Factorial, "007", "7"},
                      Case{3, Factorial, "x12", "12"}, Case{3, Power, "2^3", "2^3"},
                      Case{3, Power, "2^3^4", "2^34"}, Case{3, Power, "^3", "3"},
                      Case{3, Power, "2.5^3", "2.5^3"}, Case{3, Power, "2^3.5", "2^35"},
                      Case{3, Power, "0^3", "3"}, Case{3, Power, "-2^3", "-2^3"},
                      Case{3, Power, "-02^3", "-02^3"}, Case{3, Power, "-.5^2", "-0.5^2"},
                      Case{3, Power, "^^2", "2"}, Case{3, Permutation, "2^3^4", "2^3^4"},
                      Case{3, Combination, "-1.2.3", "-1.23"}, Case{3, kNoMode, "^", "^"}));

TEST(InputCheckPass, OneStepAtATime) {
    // A pass may leave work for the next one; the write-back repeats it.
    EXPECT_EQ(inputCheckPass("0^3", ArgumentField, Power), "^3");
    EXPECT_EQ(inputCheckPass("^3", ArgumentField, Power), "3");
    EXPECT_EQ(inputCheckPass("-.5", OperandField1), "-0.5");
    EXPECT_EQ(inputCheckPass("-0.5", OperandField1), "-0.5");
}

TEST(InputCheckPass, AnUnknownFieldGivesNothing) {
    EXPECT_EQ(inputCheckPass("123", 0), "");
    EXPECT_EQ(inputCheckPass("123", 4), "");
    EXPECT_EQ(settleInputText("123", 7), "");
}

// Any text settles into a text that a further pass leaves alone and that
// holds only what the field accepts.
TEST(SettleInputText, SettledTextsAreStableAndClean) {
    const auto seed = static_cast<unsigned>(
        longhand::test::testSeed("SettleInputText.SettledTextsAreStableAndClean"));
    std::mt19937 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::string alphabet = "0123456789-.^+ a0-0.";
    const Mode modes[] = {kNoMode, Factorial, Power, Permutation};
    for (int round = 0; round < 5000; ++round) {
        std::string typed(rng() % 12, ' ');
        for (char& c : typed)
            c = alphabet[rng() % alphabet.size()];
        const int id = 1 + static_cast<int>(rng() % 3);
        const Mode mode = modes[rng() % 4];
        const std::string clean = settleInputText(typed, id, mode);
        ASSERT_EQ(inputCheckPass(clean, id, mode), clean)
            << "'" << typed << "' " << id << modeName(mode);
        ASSERT_LE(std::count(clean.begin(), clean.end(), '.'), 1) << typed;
        ASSERT_EQ(clean.find_first_not_of("0123456789-.^"), std::string::npos) << typed;
        ASSERT_TRUE(clean.find('-') == std::string::npos || clean.find('-') == 0) << typed;
        if (id != ArgumentField) {
            ASSERT_EQ(clean.find('^'), std::string::npos) << typed;
        }
    }
}

} // namespace
} // namespace longhand
