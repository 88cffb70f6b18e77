// Every kind of refusal has words in both programs: the windows' message
// texts (byte for byte what they always showed) and longhand-calc's own
// sentences, which name the operand and never speak of the windows.
#include "cli/answerwords.h"
#include "cli/refusalwords.h"
#include "engine/power.h"
#include "ui/common/answerwords.h"
#include "ui/common/presenter.h"
#include "ui/common/refusalwords.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

TEST(RefusalWords, EveryKindHasWordsInBothPrograms) {
    const std::vector<std::string> names{"M", "N"};
    for (int k = 0; k < kRefusalKinds; ++k) {
        const Refusal refusal{static_cast<RefusalKind>(k), 1, std::log10(3.1e8), kMaxPowerDigits};
        SCOPED_TRACE(k);
        EXPECT_FALSE(refusalText(refusal).empty());
        const std::string said = cli::refusalWords(refusal, names);
        EXPECT_FALSE(said.empty());
        for (const char* windowWord : {"box", "Box", "input-checking", "Weird", "Input"})
            EXPECT_EQ(said.find(windowWord), std::string::npos) << said;
        // Refusals about the whole calculation name no operand.
        const bool ofTheWhole = refusal.kind == RefusalKind::ResultTooLarge ||
                                refusal.kind == RefusalKind::WorkTooLarge ||
                                refusal.kind == RefusalKind::ResultTooLong ||
                                refusal.kind == RefusalKind::TooFewArguments;
        if (!ofTheWhole) {
            EXPECT_EQ(said.rfind("N ", 0), 0u) << said;
        }
    }
}

TEST(RefusalWords, TheWindowsSayWhatTheyAlwaysSaid) {
    const struct {
        RefusalKind kind;
        const char* text;
        MsgIcon icon = MsgIcon::None;
    } cases[] = {
        {RefusalKind::EmptyOperand, "1 or 2 boxes are Empty.", MsgIcon::Information},
        {RefusalKind::MalformedOperand, "Turn on input-checking. Reenter data."},
        {RefusalKind::OnlyPoint, "Weird Input."},
        {RefusalKind::DivisionByZero, "Division by zero."},
        {RefusalKind::ExponentNotWhole, "The exponent must be a whole number."},
        {RefusalKind::NotWholeNumbers, "Enter whole numbers: M and then N > M."},
        {RefusalKind::EndsNotAscending, "Wrong Input: Choose N > M"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(refusalText({c.kind, 0}), c.text);
        EXPECT_EQ(refusalIcon({c.kind, 0}), c.icon);
    }
    // Lengths are said, and the limit that refused them.
    const Refusal power{RefusalKind::PowerTooLong, 1, std::log10(3.01e11), kMaxPowerDigits};
    EXPECT_EQ(refusalText(power), "The power would be too long to hold: about 3.0 \xC3\x97 10^11 "
                                  "digits, more than 200,000,000.");
    const Refusal memory{RefusalKind::ResultTooLarge, Refusal::kNoOperand, std::log10(1.2e13)};
    EXPECT_EQ(refusalText(memory),
              "The result would have about 1.2 \xC3\x97 10^13 digits: more than this computer can "
              "hold.");
}

TEST(AnswerWords, BothProgramsSayEveryAnswerAsTheyAlwaysDid) {
    const std::string expected[kAnswers] = {"", "prime", "probable prime (BPSW)", "composite",
                                            "neither prime nor composite"};
    for (int a = 0; a < kAnswers; ++a) {
        const auto answer = static_cast<Answer>(a);
        EXPECT_EQ(answerText(answer), expected[a]) << a;
        EXPECT_EQ(cli::answerWords(answer), expected[a]) << a;
    }
}

} // namespace
} // namespace longhand
