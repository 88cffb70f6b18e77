// The mathematical functions of the expression language: their values on
// exact fractions, the cut mark, the literals in other bases, and their
// refusals. The digits are checked against GMP in the engine's tests.
#include "expr/expr.h"

#include <gtest/gtest.h>

namespace {

using namespace longhand;
using expr::RefusalKind;
using expr::ShownKind;

TEST(ExprMathFunctions, ValuesKindsAndRefusals) {
    struct Case {
        const char* line;
        const char* shown;
        ShownKind kind;
    };
    const Case cases[] = {
        {"sqrt(152.2756)", "12.34", ShownKind::Ends},
        {"sqrt(2)", "1.4142135623730950488", ShownKind::Cut}, // its 20th decimal is 0
        {"sqrt(2, 5)", "1.41421", ShownKind::Cut},
        {"sqrt(1/4)", "0.5", ShownKind::Ends},
        {"sqrt(1/3, 4)", "0.5773", ShownKind::Cut},
        {"root(-27, 3)", "-3", ShownKind::Ends},
        {"root(10, 3)", "2.154", ShownKind::Cut},
        {"sqrt(2, 3)^2", "1.999396", ShownKind::Cut},
        {"gcd(12, -18, 30)", "6", ShownKind::Ends},
        {"lcm(4, 6, 10)", "60", ShownKind::Ends},
        {"lcm(4, 0)", "0", ShownKind::Ends},
        {"powmod(2, 100, 1000007)", "698635", ShownKind::Ends},
        {"powmod(-2, 3, 5)", "2", ShownKind::Ends},
        {"nextprime(2047)", "2053", ShownKind::Ends},
        {"0xff + 0b101", "260", ShownKind::Ends},
        {"0XfF * 2", "510", ShownKind::Ends},
    };
    for (const Case& c : cases) {
        Progress progress;
        const expr::Evaluation e = expr::evaluate(c.line, {}, progress);
        ASSERT_TRUE(e.hasValue()) << c.line << " refused " << e.refusal.data;
        EXPECT_EQ(e.shown.text, c.shown) << c.line;
        EXPECT_EQ(e.shown.kind, c.kind) << c.line;
    }
    struct Refusal {
        const char* line;
        RefusalKind kind;
    };
    const Refusal refusals[] = {
        {"sqrt(-4)", RefusalKind::EngineRefused},
        {"root(8, 1)", RefusalKind::EngineRefused},
        {"root(8, 1/2)", RefusalKind::NotWhole},
        {"gcd(4)", RefusalKind::WrongArgumentCount},
        {"gcd(4, 1/2)", RefusalKind::NotWhole},
        {"powmod(2, -1, 5)", RefusalKind::Negative},
        {"powmod(2, 1, 0)", RefusalKind::EngineRefused},
        {"0x", RefusalKind::MalformedNumber},
        {"0b102", RefusalKind::MalformedNumber},
        {"0xfg", RefusalKind::MalformedNumber},
    };
    for (const Refusal& r : refusals) {
        Progress progress;
        const expr::Evaluation e = expr::evaluate(r.line, {}, progress);
        EXPECT_FALSE(e.hasValue()) << r.line;
        EXPECT_EQ(e.refusal.kind, r.kind) << r.line;
    }
}

} // namespace
