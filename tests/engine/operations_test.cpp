#include "engine/operations.h"
#include "engine/recording_host.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace longhand {
namespace {

using test::RecordingHost;

struct FlowCase {
    int code;
    const char *a, *b;
    bool shown;
    const char* text; // result, or the refusal message
};

TEST(RunFourOperation, ShowsResultsAndRefusals) {
    const FlowCase cases[] = {
        {OpAdd, "12.5", "-3", true, "9.5"},
        {OpAdd, "0", "007", true, "007"}, // the engine's early exit, untouched
        {OpSubtract, "0", "2.50", true, "-2.5"},
        {OpMultiply, "0.5", "0.5", true, ".25"},
        {OpMultiply, "00", "5", true, "0"}, // the engine's empty zero is shown as "0"
        {OpMultiply, "-00", "5", true, "-0"},
        {OpDivide, "00", "5", true, "0"},
        {OpDivide, "0", "5", true, "0"},
        {OpDivide, "0", "-0", true, "0"},
        {OpDivide, "0", "00", true, "0"},
        {OpDivide, "0", "0", false, "Division by zero."},
        {OpDivide, "5", "00", false, "Division by zero."},
        {OpDivide, "5", "000", false, "Division by zero."},
        {OpDivide, "5", "-0.0", false, "Division by zero."},
        {OpDivide, "5", "-.", false, "Division by zero."}, // tidied to a lone "-"
        {OpDivide, "7.50", "1", true, "7.5"},
        {OpDivide, "-3", "1.0", true, "-3"},
        {OpDivide, "01", "01", true, "1"},
        {OpDivide, "1", "3", true, "0.33333333333333333333"},
        {OpAdd, "", "5", false, "1 or 2 boxes are Empty."},
        {OpDivide, "5", "", false, "1 or 2 boxes are Empty."},
        {OpAdd, ".000", "5", false, "Weird Input."},
        {OpMultiply, "5", ".", false, "Weird Input."},
        // The zeros the window's tidying leaves are valid.
        {OpAdd, "0.", "5", true, "5"},
        {OpAdd, "-", "5", true, "5"},
        {OpSubtract, "-.", "5", true, "-5"},
        // Anything else that is not a number text is refused, by every
        // operation, before any digit work: blanks are not empty boxes.
        {OpAdd, " ", "5", false, "Turn on input-checking. Reenter data."},
        {OpAdd, "1,000", "1", false, "Turn on input-checking. Reenter data."},
        {OpSubtract, "2.5e3", "1", false, "Turn on input-checking. Reenter data."},
        {OpDivide, "1", "+0", false, "Turn on input-checking. Reenter data."},
        {OpDivide, "1", "abc", false, "Turn on input-checking. Reenter data."},
        {OpMultiply, "1.2.3", "4", false, "Turn on input-checking. Reenter data."},
        {OpMultiply, "5", "1-2", false, "Turn on input-checking. Reenter data."},
        {OpAdd, "12 ", "1", false, "Turn on input-checking. Reenter data."},
        {OpDivide, "1", "--2", false, "Turn on input-checking. Reenter data."},
        // The empty box is named first, the point-only one after the check.
        {OpAdd, "", "x", false, "1 or 2 boxes are Empty."},
        {OpAdd, "x", ".", false, "Turn on input-checking. Reenter data."},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        const OperationOutcome out = runFourOperation(c.code, c.a, c.b, host);
        SCOPED_TRACE(std::to_string(c.code) + " \"" + c.a + "\" \"" + c.b + "\"");
        EXPECT_EQ(out.shown, c.shown);
        EXPECT_EQ(out.computed, c.shown);
        EXPECT_EQ(out.text, c.text);
        // Refusals come back to the caller; nothing is shown twice.
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST(RunFourOperation, UnknownCodeComputesNothing) {
    RecordingHost host;
    const OperationOutcome out = runFourOperation(9, "1", "2", host);
    EXPECT_TRUE(out.shown);
    EXPECT_FALSE(out.computed);
}

TEST(RunFourOperation, DivisionStopsTheSoundThroughTheHost) {
    RecordingHost host;
    host.sound = true;
    runFourOperation(OpDivide, "1", "7", host);
    EXPECT_EQ(host.stopSoundCalls, 1);
}

TEST(RunPower, AsTheDialogShowsIt) {
    const struct {
        const char *base, *exponent;
        bool shown;
        const char* text;
    } cases[] = {
        {"2", "10", true, "1024"},
        {"0", "5", true, "0"},
        {"0", "0", true, "0"},
        {"-0.5", "3", true, "-.125"},
        {"2", "", true, "1"},
        {"2", "3.0", true, "8"},
        {"2", "-1", false, "The exponent must be a whole number."},
        {"2", "2.5", false, "The exponent must be a whole number."},
        {"2", "x", false, "The exponent must be a whole number."},
        {"10", "99999999999999", false, "The power would be too long to hold."},
        {"1.2.3", "2", false, "Turn on input-checking. Reenter data."},
        {"1.2.3", "0", false, "Turn on input-checking. Reenter data."},
        {"+2", "2", false, "Turn on input-checking. Reenter data."},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        const OperationOutcome out = runPower(c.base, c.exponent, host);
        SCOPED_TRACE(std::string(c.base) + " ^ " + c.exponent);
        EXPECT_EQ(out.shown, c.shown);
        EXPECT_EQ(out.text, c.text);
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST(ShownResult, ZeroIsNeverAnEmptyText) {
    EXPECT_EQ(shownResult(""), "0");
    EXPECT_EQ(shownResult("-"), "-0");
    EXPECT_EQ(shownResult(".25"), ".25");
    EXPECT_EQ(shownResult("-0"), "-0");
}

} // namespace
} // namespace longhand
