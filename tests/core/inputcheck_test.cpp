// The cleaning pass of keystroke input checking, on texts alone.
#include "core/inputcheck.h"
#include "support/seed.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace longhand {
namespace {

using enum FunctionMode;
using Mode = std::optional<FunctionMode>;
constexpr InputField kOperand = InputField::Operand;
constexpr InputField kArgument = InputField::Argument;

TEST(SettleInputText, LeavesTheCleanText) {
    struct Case {
        InputField field;
        Mode mode;
        const char* typed;
        const char* settled;
    } const cases[] = {
        // Refused characters disappear; one point, one sign at the front.
        {kOperand, {}, "12a3", "123"},
        {kOperand, {}, "\t1 2,0+\xc2\xbd", "120"},
        {kOperand, {}, "5.5.5", "5.55"},
        {kOperand, {}, "5^2", "52"},
        // Leading zeros and the sign.
        {kOperand, {}, "007", "7"},
        {kOperand, {}, "0.5", ".5"},
        {kOperand, {}, "-.5", "-0.5"},
        {kOperand, {}, "-00.25", "-0.25"},
        {kOperand, {}, "-0070.10", "-70.10"},
        {kOperand, {}, "-000", "-0"},
        {kOperand, {}, "-.", "-0."},
        {kOperand, {}, "abc", ""},
        // The mode matters only for the argument line.
        {kOperand, Power, "2^3", "23"},
        {kArgument, Factorial, "-5.5^2", "552"},
        {kArgument, Power, "2^3^4", "2^34"},
        {kArgument, Power, "2.5^3.5", "2.5^35"},
        {kArgument, Power, "0^3", "3"},
        {kArgument, Power, "-02^3", "-02^3"},
        {kArgument, Power, "-.5^2", "-0.5^2"},
        {kArgument, Permutation, "2^3^4", "2^3^4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settleInputText(c.typed, c.field, c.mode), c.settled) << "'" << c.typed << "'";
}

TEST(InputCheckPass, OneStepAtATime) {
    // A pass may leave work for the next one; the write-back repeats it.
    EXPECT_EQ(inputCheckPass("0^3", kArgument, Power), "^3");
    EXPECT_EQ(inputCheckPass("^3", kArgument, Power), "3");
}

// Any text settles into a text that a further pass leaves alone and that
// holds only what the field accepts.
TEST(SettleInputText, SettledTextsAreStableAndClean) {
    const auto seed =
        static_cast<unsigned>(test::testSeed("SettleInputText.SettledTextsAreStableAndClean"));
    std::mt19937 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::string alphabet = "0123456789-.^+ a0-0.";
    const Mode modes[] = {std::nullopt, Factorial, Power, Permutation};
    for (int round = 0; round < 5000; ++round) {
        std::string typed(rng() % 12, ' ');
        for (char& c : typed)
            c = alphabet[rng() % alphabet.size()];
        const InputField field = rng() % 2 ? kOperand : kArgument;
        const Mode mode = modes[rng() % 4];
        const std::string clean = settleInputText(typed, field, mode);
        ASSERT_EQ(inputCheckPass(clean, field, mode), clean) << "'" << typed << "'";
        ASSERT_LE(std::count(clean.begin(), clean.end(), '.'), 1) << typed;
        ASSERT_EQ(clean.find_first_not_of("0123456789-.^"), std::string::npos) << typed;
        ASSERT_TRUE(clean.find('-') == std::string::npos || clean.find('-') == 0) << typed;
        if (field == kOperand) {
            ASSERT_EQ(clean.find('^'), std::string::npos) << typed;
        }
    }
}

// A number being typed (sign, digits, one point) keeps every character
// without a look at each in turn; the argument line, which reads each, is
// the reference: without a caret both fields accept the same characters.
TEST(InputCheckPass, AnOperandReadWholeMatchesOneReadCharacterByCharacter) {
    const auto seed = static_cast<unsigned>(
        test::testSeed("InputCheckPass.AnOperandReadWholeMatchesOneReadCharacterByCharacter"));
    std::mt19937 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::size_t longest = std::size_t{3} << 20; // past the length scanned on every thread
    const std::string strays[] = {"", ".", "-", "a", "\xc2\xbd", "^", "0"};
    for (int round = 0; round < 60; ++round) {
        const std::size_t length = round < 50 ? rng() % 40 : longest - rng() % 1000;
        std::string typed(length, '0');
        for (char& c : typed)
            c = static_cast<char>('0' + rng() % 10);
        if (!typed.empty() && rng() % 2) typed[0] = '-';
        if (!typed.empty() && rng() % 2) typed[rng() % typed.size()] = '.';
        const std::string& stray = strays[rng() % std::size(strays)];
        typed.insert(typed.empty() ? 0 : rng() % typed.size(), stray);
        if (stray == "^") continue;
        ASSERT_EQ(inputCheckPass(typed, kOperand), inputCheckPass(typed, kArgument, Permutation))
            << (typed.size() < 60 ? typed : std::to_string(typed.size()) + " characters");
    }
}

// The quick look never calls a text settled that settling would change, and
// it knows the texts of digits that are being typed.
TEST(OperandIsSettled, OnlyForTextsSettlingLeavesAlone) {
    struct Case {
        const char* text;
        bool settled;
    } const cases[] = {
        {"", true},    {"0", true},   {"123", true},  {"1.5", true}, {".5", true},
        {"12.", true}, {"05", false}, {"0.5", false}, {"1a", false}, {"1.2.3", false},
        {"-5", false}, {"1-", false}, {"00", false},  {".", true},   {"9^2", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(operandIsSettled(c.text), c.settled) << "'" << c.text << "'";
        if (c.settled) {
            EXPECT_EQ(settleInputText(c.text, kOperand), c.text) << c.text;
        }
    }
    const auto seed =
        static_cast<unsigned>(test::testSeed("OperandIsSettled.OnlyForTextsSettlingLeavesAlone"));
    std::mt19937 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::string alphabet = "0123456789-.a0";
    for (int round = 0; round < 5000; ++round) {
        std::string text(rng() % 8, ' ');
        for (char& c : text)
            c = alphabet[rng() % alphabet.size()];
        if (operandIsSettled(text)) {
            ASSERT_EQ(settleInputText(text, kOperand), text) << text;
        }
    }
    std::string digits(std::size_t{3} << 20, '7');
    digits[digits.size() / 2] = '.';
    EXPECT_TRUE(operandIsSettled(digits));
    digits[digits.size() - 5] = 'x';
    EXPECT_FALSE(operandIsSettled(digits));
}

} // namespace
} // namespace longhand
