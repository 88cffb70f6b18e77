// What a click into a result offers, and which box a Move answer picks.
#include "core/move.h"
#include "core/roundhint.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace longhand {
namespace {

TEST(RoundHintFor, TheCaptionAndTheLabelForACaret) {
    struct Case {
        const char* text;
        Count caret;
        Count pointPos;    // 0: the caption stays
        const char* label; // null: the label is hidden
    } const cases[] = {
        {"12.345", 4, 3, "1: Click To Round."},
        {"12.345", 3, 3, "0: Click To Round."},
        {"12.345", 6, 3, nullptr}, // the end of the fraction
        {"12.345", 2, 0, nullptr}, // left of the point
        {"-7.25", 4, 3, "1: Click To Round."},
        {".5", 1, 1, "0: Click To Round."},
        {"5.", 2, 2, nullptr}, // nothing after the point
        {"123", 2, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.caret));
        const RoundHint hint = roundHintFor(c.text, c.caret);
        EXPECT_TRUE(hint.touches);
        EXPECT_EQ(hint.setsCaption, c.pointPos != 0);
        EXPECT_EQ(hint.pointPos, c.pointPos);
        EXPECT_EQ(hint.showsLabel, c.label != nullptr);
        if (c.label) {
            EXPECT_EQ(hint.label, c.label);
        }
    }
    EXPECT_FALSE(roundHintFor("", 0).touches);
}

TEST(Move, ThePromptAndTheBoxAnAnswerPicks) {
    EXPECT_EQ(moveTarget(std::string("1")), MoveTarget::FirstOperand);
    EXPECT_EQ(moveTarget(std::string("12")), MoveTarget::FirstOperand);
    EXPECT_EQ(moveTarget(std::string("2")), MoveTarget::SecondOperand);
    for (const auto& answer : {std::optional<std::string>("3"), std::optional<std::string>(" 2"),
                               std::optional<std::string>(""), std::optional<std::string>()})
        EXPECT_EQ(moveTarget(answer), MoveTarget::None);
}

} // namespace
} // namespace longhand
