// The operations as the windows and longhand-calc run them: what they
// refuse and with which message, the text they show, and what they ask of
// the caller (the finished signal, the stop of the sound).
#include "engine/operations.h"
#include "engine/power.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

using Status = Outcome::Status;

constexpr const char* kMalformed = "Turn on input-checking. Reenter data.";

TEST(Calculate, ResultsRefusalsAndTheSound) {
    constexpr auto Add = Operation::Add, Sub = Operation::Subtract, Mul = Operation::Multiply,
                   Div = Operation::Divide;
    const struct {
        Operation operation;
        const char *a, *b;
        Status status;
        const char* text; // the result, or the refusal's message
        bool stopSound = false;
        bool cut = false;
    } cases[] = {
        {Add, "12.5", "-3", Status::Result, "9.5"},
        {Add, "0", "007", Status::Result, "007"}, // the early exit, untouched
        {Sub, "0", "2.50", Status::Result, "-2.5"},
        {Mul, "00", "5", Status::Result, "0"}, // the empty zero is shown as "0"
        {Mul, "-00", "5", Status::Result, "-0"},
        {Div, "1", "3", Status::Result, "0.33333333333333333333", true, true},
        {Div, "1", "4", Status::Result, "0.25", true},
        {Div, "00", "5", Status::Result, "0", true},
        // A zero divisor is refused however either zero is written.
        {Div, "0", "-0", Status::Refused, "Division by zero."},
        {Div, "0", "00", Status::Refused, "Division by zero."},
        {Div, "0", "-", Status::Refused, "Division by zero."},
        {Div, "0", "0.0", Status::Refused, "Division by zero."},
        {Div, "0", "7", Status::Result, "0"}, // "0" divided: no division at all
        {Div, "7.50", "1", Status::Result, "7.5"},
        {Div, "-.", "1.0", Status::Result, "-0"},
        {Div, "01", "01", Status::Result, "1", true},
        {Div, "0", "0", Status::Refused, "Division by zero."},
        {Div, "5", "-0.0", Status::Refused, "Division by zero."},
        {Div, "5", "-.", Status::Refused, "Division by zero."}, // tidied to a lone "-"
        {Add, "", "5", Status::Refused, "1 or 2 boxes are Empty."},
        {Add, "", "x", Status::Refused, "1 or 2 boxes are Empty."}, // named first
        {Add, ".000", "5", Status::Refused, "Weird Input."},
        {Mul, "5", ".", Status::Refused, "Weird Input."},
        {Add, "0.", "5", Status::Result, "5"}, // what the window's tidying leaves
        {Sub, "-.", "5", Status::Result, "-5"},
        // Anything else that is not a number text is refused before any
        // digit work: blanks are not empty boxes.
        {Add, " ", "5", Status::Refused, kMalformed},
        {Sub, "2.5e3", "1", Status::Refused, kMalformed},
        {Div, "1", "+0", Status::Refused, kMalformed},
        {Mul, "1.2.3", "4", Status::Refused, kMalformed},
        {Div, "1", "--2", Status::Refused, kMalformed},
        {Add, "x", ".", Status::Refused, kMalformed},
    };
    for (const auto& c : cases) {
        Progress progress;
        const Outcome out = calculate(c.operation, c.a, c.b, progress);
        SCOPED_TRACE(std::string("\"") + c.a + "\" \"" + c.b + "\"");
        EXPECT_EQ(out.status, c.status);
        EXPECT_EQ(out.text, c.text);
        EXPECT_EQ(out.finished, c.status == Status::Result);
        EXPECT_EQ(out.stopSound, c.stopSound);
        EXPECT_EQ(out.cut, c.cut);
    }
}

TEST(Power, ResultsAndRefusals) {
    const struct {
        const char *base, *exponent;
        Status status;
        const char* text;
    } cases[] = {
        {"-2", "3", Status::Result, "-8"},
        {"5", "", Status::Result, "1"},
        {"2", "3.0", Status::Result, "8"},
        {"0.0", "2", Status::Result, "0"},
        {"-0.5", "3", Status::Result, "-.125"},
        {"0.10", "2", Status::Result, ".01"},
        {"120", "2", Status::Result, "14400"},
        {"1.0", "9", Status::Result, "1"},
        {"-0.01", "2", Status::Result, ".0001"},
        {"0.003", "3", Status::Result, ".000000027"},
        {"2", "-1", Status::Refused, "The exponent must be a whole number."},
        {"2", "2.5", Status::Refused, "The exponent must be a whole number."},
        {"10", "99999999999999", Status::Refused, "The power would be too long to hold."},
        {"-2", "99999999999", Status::Refused, "The power would be too long to hold."},
        {"1.2.3", "0", Status::Refused, kMalformed},
        {"+2", "2", Status::Refused, kMalformed},
        // Bases whose powers are short however large the exponent.
        {"1", "99999999999999", Status::Result, "1"},
        {"0", "99999999999999", Status::Result, "0"},
    };
    for (const auto& c : cases) {
        Progress progress;
        const Outcome out = power(c.base, c.exponent, progress);
        SCOPED_TRACE(std::string(c.base) + " ^ " + c.exponent);
        EXPECT_EQ(out.status, c.status);
        EXPECT_EQ(out.text, c.text);
        EXPECT_EQ(out.finished, c.status == Status::Result);
    }
    // Zero to the power zero is "0" however either zero is written.
    for (const char* base : {"0", "00", "0.0", "-0", ".0", "0.", "-0.00", "-", "-."})
        for (const char* exponent : {"0", "00", "0.0", ""}) {
            Progress progress;
            EXPECT_EQ(power(base, exponent, progress).text, "0") << base << " ^ " << exponent;
        }
    Progress progress;
    EXPECT_EQ(power("10", "100000", progress).text.size(), 100001u);
}

TEST(Power, WholeExponents) {
    for (const char* p : {"3", "", "00", "3.", "3.00", ".", "12345678901234567890"})
        EXPECT_TRUE(exponentIsWhole(p)) << '"' << p << '"';
    for (const char* p : {"-3", "2.5", "-0", "3.01", "+3", " 3", "3 ", ".."})
        EXPECT_FALSE(exponentIsWhole(p)) << '"' << p << '"';
}

} // namespace
} // namespace longhand
