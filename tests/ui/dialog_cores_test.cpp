// The argument line's rules, the round hint and the Move question, without
// any window.
#include "ui/dialog/arguments.h"
#include "ui/main/move.h"
#include "ui/main/roundhint.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace longhand {
namespace {

// ---- splitArguments -----------------------------------------------------------

struct SplitCase {
    const char* line;
    bool ok;
    const char* n;
    const char* r;
    const char* flag;
};

class SplitArguments : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitArguments, CutsTheTemplate) {
    const SplitCase& c = GetParam();
    const Arguments a = splitArguments(c.line);
    EXPECT_EQ(a.ok, c.ok) << c.line;
    if (c.ok) {
        EXPECT_EQ(a.n, c.n) << c.line;
        EXPECT_EQ(a.r, c.r) << c.line;
        EXPECT_EQ(a.flag, c.flag) << c.line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitArguments,
    ::testing::Values(SplitCase{"p(5,3,)", true, "5", "3", "0"},
                      SplitCase{"p(5,3,1)", true, "5", "3", "1"},
                      SplitCase{"p(5,3,12)", true, "5", "3", "1"}, // first character only
                      SplitCase{"c(5,5,)", true, "5", "5", "0"},
                      SplitCase{"c(10,9,)", true, "10", "9", "0"}, // longer is larger
                      SplitCase{"c(5,3,", true, "5", "3", ""},     // nothing after the comma
                      SplitCase{"p(3,5,)", false, "", "", ""},     // n < r
                      SplitCase{"p(9,10,)", false, "", "", ""},
                      SplitCase{"p(,3,)", false, "", "", ""}, // empty slots
                      SplitCase{"p(5,,)", false, "", "", ""}, SplitCase{"p(,,)", false, "", "", ""},
                      SplitCase{"p(5)", false, "", "", ""}, // the template's form lost
                      SplitCase{"p(5,3)", false, "", "", ""},
                      SplitCase{"p5,3,)", false, "", "", ""},
                      SplitCase{",5,3,)", false, "", "", ""}, SplitCase{"", false, "", "", ""},
                      SplitCase{"p(a,1,)", false, "", "", ""}, // pasted non-digits
                      SplitCase{"p(5,3,1,2)", false, "", "", ""}));

TEST(KeepsTemplate, OnlyTheLetterParenthesesCommasAndDigitsInTheSlots) {
    struct {
        int mode;
        const char* line;
        bool kept;
    } cases[] = {
        {PermutationTemplate, "p(,,)", true},
        {PermutationTemplate, "p(5,3,)", true},
        {PermutationTemplate, "p(120,30,1)", true},
        {CombinationTemplate, "c(5,3,12)", true},
        {CombinationTemplate, "p(5,3,)", false},
        {PermutationTemplate, "c(5,3,)", false},
        {PermutationTemplate, "p(5,3)", false},
        {PermutationTemplate, "p(5,3,1,)", false},
        {PermutationTemplate, "p(5,3,", false},
        {PermutationTemplate, "p5,3,)", false},
        {PermutationTemplate, "p(5,a,)", false},
        {PermutationTemplate, "p( 5,3,)", false},
        {PermutationTemplate, "p(5,3,))", false},
        {PermutationTemplate, "7", false},
        {PermutationTemplate, "p)", false},
        {PermutationTemplate, "", false},
        {0, "p(,,)", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keepsTemplate(c.mode, c.line), c.kept) << c.mode << " " << c.line;
}

TEST(FlagValue, DigitOrZero) {
    EXPECT_EQ(flagValue(""), 0);
    EXPECT_EQ(flagValue("0"), 0);
    EXPECT_EQ(flagValue("1"), 1);
    EXPECT_EQ(flagValue("9"), 9);
    EXPECT_EQ(flagValue("x"), 0);
    EXPECT_EQ(flagValue(")"), 0);
}

// ---- filterTemplateKey --------------------------------------------------------

TEST(FilterTemplateKey, BackspaceKeepsTheTemplate) {
    for (int mode : {PermutationTemplate, CombinationTemplate}) {
        for (char before : {',', '(', ')', 'p', 'c', '\0'})
            EXPECT_EQ(filterTemplateKey(mode, kKeyBackspace, before), 0) << before;
        EXPECT_EQ(filterTemplateKey(mode, kKeyBackspace, '7'), kKeyBackspace);
    }
}

TEST(FilterTemplateKey, OnlyDigitsAreTyped) {
    for (int mode : {PermutationTemplate, CombinationTemplate}) {
        for (char key : {'0', '5', '9'})
            EXPECT_EQ(filterTemplateKey(mode, key, ','), key);
        for (char key : {'a', 'p', ',', '(', '-', '.', ' ', '^', '\x16'})
            EXPECT_EQ(filterTemplateKey(mode, key, '5'), 0) << key;
    }
    // Other modes let every key through; the Backspace rule still holds.
    EXPECT_EQ(filterTemplateKey(0, 'a', '5'), 'a');
    EXPECT_EQ(filterTemplateKey(0, kKeyBackspace, ','), 0);
}

// ---- roundHintFor -------------------------------------------------------------

struct HintCase {
    const char* text;
    Count caret;
    bool setsCaption;
    Count pointPos;
    const char* label; // null: the label is hidden
};

class RoundHintFor : public ::testing::TestWithParam<HintCase> {};

TEST_P(RoundHintFor, CaptionAndLabel) {
    const HintCase& c = GetParam();
    const RoundHint hint = roundHintFor(c.text, c.caret);
    EXPECT_TRUE(hint.touches);
    EXPECT_EQ(hint.setsCaption, c.setsCaption);
    if (c.setsCaption) {
        EXPECT_EQ(hint.pointPos, c.pointPos);
    }
    EXPECT_EQ(hint.showsLabel, c.label != nullptr);
    if (c.label) {
        EXPECT_EQ(hint.label, c.label);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, RoundHintFor,
    ::testing::Values(HintCase{"12.345", 4, true, 3, "1: Click To Round."},
                      HintCase{"12.345", 3, true, 3, "0: Click To Round."},
                      HintCase{"12.345", 5, true, 3, "2: Click To Round."},
                      HintCase{"12.345", 6, true, 3, nullptr},  // end of the fraction
                      HintCase{"12.345", 2, false, 0, nullptr}, // left of the point
                      HintCase{"12.345", 0, false, 0, nullptr},
                      HintCase{"-7.25", 4, true, 3, "1: Click To Round."},
                      HintCase{".5", 1, true, 1, "0: Click To Round."},
                      HintCase{"5.", 2, true, 2, nullptr}, // nothing after the point
                      HintCase{"123", 2, false, 0, nullptr},
                      HintCase{"123", 3, false, 0, nullptr}));

TEST(RoundHintFor, EmptyResultChangesNothing) {
    EXPECT_FALSE(roundHintFor("", 0).touches);
}

// ---- Move ------------------------------------------------------------------------

TEST(Move, PromptJoinsTheLinesWithTwoCarriageReturns) {
    EXPECT_EQ(movePrompt("a", "b", "c"), "a\r\rb\r\rc");
    EXPECT_EQ(movePrompt("", "", ""), "\r\r\r\r");
}

TEST(Move, ChoiceIsTheFirstCharacter) {
    EXPECT_EQ(moveChoice(std::string("1")), 1);
    EXPECT_EQ(moveChoice(std::string("12")), 1);
    EXPECT_EQ(moveChoice(std::string("2")), 2);
    EXPECT_EQ(moveChoice(std::string("3")), 3);
    EXPECT_EQ(moveChoice(std::string(" 2")), 0);
    EXPECT_EQ(moveChoice(std::string("x1")), 0);
    EXPECT_EQ(moveChoice(std::string()), 0);
    EXPECT_EQ(moveChoice(std::nullopt), 0);
}

} // namespace
} // namespace longhand
