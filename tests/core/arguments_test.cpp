// The function dialog's argument template, without any window.
#include "core/arguments.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

TEST(SplitArguments, CutsTheTemplate) {
    struct Case {
        const char* line;
        const char* parts; // n, r and the flag; null: not computable
    } const cases[] = {
        {"p(5,3,)", "5 3 0"},    {"p(5,3,12)", "5 3 1"}, // the first character only
        {"c(5,5,)", "5 5 0"},    {"c(10,9,)", "10 9 0"}, // longer is larger
        {"c(5,3,", "5 3 "},                              // nothing after the comma
        {"p(3,5,)", nullptr},                            // n < r
        {"p(9,10,)", nullptr},   {"p(,3,)", nullptr},    // empty slots
        {"p(5,,)", nullptr},     {"p(5,3)", nullptr},    // the template's form lost
        {",5,3,)", nullptr},     {"p(a,1,)", nullptr},   // pasted non-digits
        {"p(5,3,1,2)", nullptr},
    };
    for (const Case& c : cases) {
        const Arguments a = splitArguments(c.line);
        EXPECT_EQ(a.ok, c.parts != nullptr) << c.line;
        if (c.parts) {
            EXPECT_EQ(a.n + " " + a.r + " " + a.flag, c.parts) << c.line;
        }
    }
}

TEST(KeepsTemplate, OnlyItsLetterParenthesesCommasAndDigits) {
    using enum FunctionMode;
    struct Case {
        FunctionMode mode;
        const char* line;
        bool kept;
    } const cases[] = {
        {Permutation, "p(,,)", true},     {Permutation, "p(120,30,1)", true},
        {Combination, "c(5,3,12)", true}, {Combination, "p(5,3,)", false},
        {Permutation, "p(5,3)", false},   {Permutation, "p(5,3,1,)", false},
        {Permutation, "p(5,3,", false},   {Permutation, "p( 5,3,)", false},
        {Permutation, "p)", false},       {Permutation, "", false},
        {Factorial, "p(,,)", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keepsTemplate(c.mode, c.line), c.kept) << c.line;
}

TEST(FlagValue, TheDigitOrZero) {
    EXPECT_EQ(flagValue("7"), 7);
    EXPECT_EQ(flagValue(""), 0);
    EXPECT_EQ(flagValue(")"), 0);
}

TEST(BackspaceKeepsTemplate, OnlyADigitGoes) {
    for (char before : {',', '(', ')', 'p', 'c', '\0'})
        EXPECT_FALSE(backspaceKeepsTemplate(before)) << before;
    EXPECT_TRUE(backspaceKeepsTemplate('7'));
}

} // namespace
} // namespace longhand
