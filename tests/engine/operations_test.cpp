// The operations as the windows and longhand-calc run them: what they
// refuse and for which operand, the text they show, and what happened on
// the way (a calculation run to its end, a long division).
#include "engine/operations.h"
#include "engine/power.h"
#include "support/seed.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace longhand {
namespace {

using Status = Outcome::Status;
using Kind = RefusalKind;

// What an operation should give: a result text, or a refusal of a kind
// naming an operand.
struct Want {
    Status status;
    const char* text = "";
    Kind kind = Kind::Count;
    int operand = Refusal::kNoOperand;
};
Want shows(const char* text) {
    return {Status::Result, text};
}
Want refuses(Kind kind, int operand) {
    return {Status::Refused, "", kind, operand};
}

void expectGives(const Outcome& out, const Want& want) {
    EXPECT_EQ(out.status, want.status);
    EXPECT_EQ(out.text, want.text);
    if (want.status != Status::Refused) return;
    EXPECT_EQ(out.refusal.kind, want.kind);
    EXPECT_EQ(out.refusal.operand, want.operand);
}

TEST(Calculate, ResultsRefusalsAndTheSound) {
    constexpr auto Add = Operation::Add, Sub = Operation::Subtract, Mul = Operation::Multiply,
                   Div = Operation::Divide;
    const struct {
        Operation operation;
        const char *a, *b;
        Want want;
        bool divided = false;
        bool cut = false;
    } cases[] = {
        {Add, "12.5", "-3", shows("9.5")},
        {Add, "0", "007", shows("007")}, // the early exit, untouched
        {Sub, "0", "2.50", shows("-2.5")},
        {Mul, "00", "5", shows("0")}, // the empty zero is shown as "0"
        {Mul, "-00", "5", shows("-0")},
        {Div, "1", "3", shows("0.33333333333333333333"), true, true},
        {Div, "1", "4", shows("0.25"), true},
        {Div, "00", "5", shows("0"), true},
        {Div, "0", "5", shows("0")}, // "0" divided: no division at all
        {Div, "7.50", "1", shows("7.5")},
        {Div, "-.", "1.0", shows("-0")},
        {Div, "01", "01", shows("1"), true},
        // A divisor of value zero, however written and whatever it divides.
        {Div, "0", "0", refuses(Kind::DivisionByZero, 1)},
        {Div, "0", "-0", refuses(Kind::DivisionByZero, 1)},
        {Div, "0", "00", refuses(Kind::DivisionByZero, 1)},
        {Div, "0", "-", refuses(Kind::DivisionByZero, 1)},
        {Div, "0.0", "-0.00", refuses(Kind::DivisionByZero, 1)},
        {Div, "-.", "000", refuses(Kind::DivisionByZero, 1)},
        {Div, "5", "-0.0", refuses(Kind::DivisionByZero, 1)},
        {Div, "5", "-.", refuses(Kind::DivisionByZero, 1)}, // tidied to a lone "-"
        {Add, "", "5", refuses(Kind::EmptyOperand, 0)},
        {Add, "", "x", refuses(Kind::EmptyOperand, 0)}, // named first
        {Add, "5", "", refuses(Kind::EmptyOperand, 1)},
        {Add, ".000", "5", refuses(Kind::OnlyPoint, 0)},
        {Mul, "5", ".", refuses(Kind::OnlyPoint, 1)},
        {Add, "0.", "5", shows("5")}, // what the window's tidying leaves
        {Sub, "-.", "5", shows("-5")},
        // Anything else that is not a number text is refused before any
        // digit work: blanks are not empty boxes.
        {Add, " ", "5", refuses(Kind::MalformedOperand, 0)},
        {Sub, "2.5e3", "1", refuses(Kind::MalformedOperand, 0)},
        {Div, "1", "+0", refuses(Kind::MalformedOperand, 1)},
        {Mul, "1.2.3", "4", refuses(Kind::MalformedOperand, 0)},
        {Div, "1", "--2", refuses(Kind::MalformedOperand, 1)},
        {Add, "x", ".", refuses(Kind::MalformedOperand, 0)},
    };
    for (const auto& c : cases) {
        Progress progress;
        const Outcome out = calculate(c.operation, c.a, c.b, progress);
        SCOPED_TRACE(std::string("\"") + c.a + "\" \"" + c.b + "\"");
        expectGives(out, c.want);
        expectGives(calculateOwned(c.operation, c.a, c.b, progress), c.want);
        EXPECT_EQ(out.calculated, c.want.status == Status::Result);
        EXPECT_EQ(out.divided, c.divided);
        EXPECT_EQ(out.cut, c.cut);
    }
}

// Texts handed over give what the same texts lent give, also where a long
// product frees them (and its tidied copies) halfway: signs, points, point
// zeros and trailing zeros put back after the digit work.
TEST(Calculate, HandedOverTextsGiveTheSameResults) {
    std::mt19937_64 rng(test::testSeed("Calculate.HandedOver"));
    auto digits = [&rng](std::size_t n) {
        std::string d(n, '0');
        for (char& c : d)
            c = static_cast<char>('0' + rng() % 10);
        d.front() = '7';
        return d;
    };
    const std::string x = digits(3000), y = digits(2500);
    const std::string cases[][2] = {
        {x, y},
        {"-" + x, y},
        {"-" + x, "-" + y},
        {x.substr(0, 1200) + "." + x.substr(1200), "0.00" + y},
        {x + "000", y + ".5000"},
        {"." + x, "-" + y + "0000"},
        {x, x},
    };
    for (const Operation op : {Operation::Multiply, Operation::Add, Operation::Divide})
        for (const auto& [a, b] : cases) {
            Progress lent, handed;
            const Outcome want = calculate(op, a, b, lent);
            const Outcome got = calculateOwned(op, a, b, handed);
            ASSERT_EQ(want.status, Status::Result);
            EXPECT_EQ(got.status, want.status);
            EXPECT_EQ(got.text, want.text) << a.size() << " and " << b.size() << " characters";
            EXPECT_EQ(got.cut, want.cut);
        }
}

TEST(Power, ResultsAndRefusals) {
    const struct {
        const char *base, *exponent;
        Want want;
    } cases[] = {
        {"-2", "3", shows("-8")},
        {"5", "", shows("1")},
        {"2", "3.0", shows("8")},
        {"0.0", "2", shows("0")},
        {"-0.5", "3", shows("-.125")},
        {"0.10", "2", shows(".01")},
        {"120", "2", shows("14400")},
        {"1.0", "9", shows("1")},
        {"-0.01", "2", shows(".0001")},
        {"0.003", "3", shows(".000000027")},
        {"2", "-1", refuses(Kind::ExponentNotWhole, 1)},
        {"2", "2.5", refuses(Kind::ExponentNotWhole, 1)},
        {"10", "99999999999999", refuses(Kind::PowerTooLong, 1)},
        {"-2", "99999999999", refuses(Kind::PowerTooLong, 1)},
        {"1.2.3", "0", refuses(Kind::MalformedOperand, 0)},
        {"+2", "2", refuses(Kind::MalformedOperand, 0)},
        // Bases whose powers are short however large the exponent: the
        // length comes from the value, not from the digits written.
        {"1", "99999999999999", shows("1")},
        {"0", "99999999999999", shows("0")},
        {"-1", "300000000", shows("1")},
        {"-1", "300000001", shows("-1")},
        {"1.0", "300000000", shows("1")},
        {"-1.000", "12345678901234567890", shows("1")},
        {"-0.0", "300000001", shows("0")},
    };
    for (const auto& c : cases) {
        Progress progress;
        const Outcome out = power(c.base, c.exponent, progress);
        SCOPED_TRACE(std::string(c.base) + " ^ " + c.exponent);
        expectGives(out, c.want);
        EXPECT_EQ(out.calculated, c.want.status == Status::Result);
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

// The length a power is refused or let through by is that of its text:
// compared with the powers themselves (checked against GMP where the
// power lives), and at the cap by counts that need no power at all.
TEST(Power, LengthsComeFromTheValue) {
    std::mt19937_64 random = test::seededRng("Power.LengthsComeFromTheValue");
    const char* bases[] = {"2",
                           "-3",
                           "10",
                           "-100",
                           "0.5",
                           "1.5",
                           "-0.07",
                           "99",
                           "12.25",
                           "7000",
                           "98765432109876543210123",
                           "0.001"};
    for (const char* base : bases)
        for (int i = 0; i < 8; ++i) {
            const std::string p = std::to_string(random() % 400);
            Progress progress;
            const std::string text = power(base, p, progress).text;
            EXPECT_DOUBLE_EQ(powerLength(base, p), std::log10(static_cast<double>(text.size())))
                << base << " ^ " << p;
        }
    // A base a hair below 10^25.5: its even powers lie a hair below a power
    // of ten, inside the margin, and are counted at most one too long.
    for (int p = 2; p <= 40; p += 2) {
        Progress progress;
        const auto text = power("31622776601683793319988935", std::to_string(p), progress).text;
        const double counted =
            std::pow(10.0, powerLength("31622776601683793319988935", std::to_string(p)));
        EXPECT_GE(counted, static_cast<double>(text.size()) - 1e-6) << p;
        EXPECT_LE(counted, static_cast<double>(text.size()) + 1 + 1e-6) << p;
    }
    const struct {
        const char *base, *exponent;
        double characters; // of the power's text
    } atTheCap[] = {
        {"10", "199999990", 199999991},  // 1 and the zeros
        {"-10", "199999999", 200000001}, // a sign more: past the cap
        {"0.1", "199999998", 199999999}, // the point and the digits
        // floor(p log10 2) + 1, worked out with 50-digit logarithms.
        {"2", "664385615", 199999999},
        {"2", "664385616", 200000000},
        {"2", "664385618", 200000000},
        {"2", "664385619", 200000001},
    };
    for (const auto& c : atTheCap) {
        EXPECT_DOUBLE_EQ(powerLength(c.base, c.exponent), std::log10(c.characters))
            << c.base << " ^ " << c.exponent;
        EXPECT_EQ(powerTooLong(c.base, c.exponent), c.characters > kMaxPowerDigits);
    }
    // About 190.8 million digits: under the cap.
    EXPECT_FALSE(powerTooLong("3", "400000000"));
}

TEST(Power, WholeExponents) {
    for (const char* p : {"3", "", "00", "3.", "3.00", ".", "12345678901234567890"})
        EXPECT_TRUE(exponentIsWhole(p)) << '"' << p << '"';
    for (const char* p : {"-3", "2.5", "-0", "3.01", "+3", " 3", "3 ", ".."})
        EXPECT_FALSE(exponentIsWhole(p)) << '"' << p << '"';
}

} // namespace
} // namespace longhand
