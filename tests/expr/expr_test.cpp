// The expression language: precedence, refusals with their columns, and
// exact values against GMP's rationals on random expressions.
#include "expr/expr.h"
#include "support/gmp.h"
#include "support/seed.h"
#include "support/tempdir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

using namespace longhand;
using expr::RefusalKind;

expr::Evaluation run(const std::string& line, const expr::Environment& env = {}) {
    Progress progress;
    return expr::evaluate(line, env, progress);
}

// The value as "a/b" (or "a"): GMP's own spelling of a rational.
std::string valueOf(const std::string& line, const expr::Environment& env = {}) {
    const expr::Evaluation e = run(line, env);
    if (!e.hasValue()) return "refused at column " + std::to_string(e.refusal.column);
    return expr::fractionText(e.value.number);
}

TEST(ExprPrecedence, BindsAsTheTableSays) {
    struct Case {
        const char* line;
        const char* value;
    };
    const Case cases[] = {
        {"-3^2", "-9"},
        {"2^3^2", "512"},
        {"2^3!", "64"},
        {"-2^-2^2", "-1/16"},
        {"2*3+4*5", "26"},
        {"2+3*4^2", "50"},
        {"10-4-3", "3"},
        {"2/4/5", "1/10"},
        {"-3!", "-6"},
        {"(-3)^2", "9"},
        {"2^-3", "1/8"},
        {"1/3*3", "1"},
        {"3!!", "720"},
        {"--2", "2"},
        {"2--2", "4"},
        {"6/2*3", "9"},
        {"2×3÷4·2", "3"},
        {"2−5", "-3"},
        {"0^0", "1"},
        {"(1/2)^-2", "4"},
        {"(-2/3)^3", "-8/27"},
        {"1.50 + .5", "2"},
        {"0.1+0.2", "3/10"},
        {"P(5, 2)", "20"},
        {"p(5,2,1)", "25"},
        {"C(5,2)", "10"},
        {"c(5,2,1)", "15"},
        {"prod(3,5)", "60"},
        {"prod(7,7)", "7"},
        {"round(2/3,3)", "667/1000"},
        {"round(-0.045,2)", "-1/20"},
        {"round(1/8, 0)", "0"},
        {"30!/(10!*20!)", "30045015"},
        {" 1 +\t2 ", "3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(valueOf(c.line), c.value) << c.line;
}

TEST(ExprRefusals, NameTheKindAndTheColumn) {
    struct Case {
        const char* line;
        RefusalKind kind;
        std::int64_t column;
        const char* data;
    };
    const Case cases[] = {
        {"(1+2))", RefusalKind::UnexpectedToken, 6, ")"},
        {"1 + (2 * 3))", RefusalKind::UnexpectedToken, 12, ")"},
        {"2(3)", RefusalKind::UnexpectedToken, 2, "("},
        {"2 3", RefusalKind::UnexpectedToken, 3, "3"},
        {"(2)(3)", RefusalKind::UnexpectedToken, 4, "("},
        {"", RefusalKind::UnexpectedEnd, 1, ""},
        {"1+", RefusalKind::UnexpectedEnd, 3, ""},
        {"(1", RefusalKind::UnexpectedEnd, 3, ""},
        {"×2", RefusalKind::UnexpectedToken, 1, "×"},
        {"2×3 $", RefusalKind::UnknownCharacter, 5, "$"},
        {"1.2.3", RefusalKind::MalformedNumber, 1, "1.2.3"},
        {"1 + .", RefusalKind::MalformedNumber, 5, "."},
        {"@\"open", RefusalKind::UnclosedQuote, 1, ""},
        {"1 + # 2", RefusalKind::UnexpectedToken, 5, "#"},
        {"sin(1)", RefusalKind::UnknownName, 1, "sin"},
        {"x", RefusalKind::UnknownName, 1, "x"},
        {"1+P(1)", RefusalKind::WrongArgumentCount, 3, "P(n, r[, f])"},
        {"round", RefusalKind::WrongArgumentCount, 1, "round(x, k)"},
        {"2 * ans", RefusalKind::NoAnswer, 5, ""},
        {"#3", RefusalKind::NoEntry, 1, "3"},
        {"1/(2-2)", RefusalKind::DivisionByZero, 2, ""},
        {"0^-1", RefusalKind::DivisionByZero, 2, ""},
        {"2^(1/2)", RefusalKind::ExponentNotWhole, 2, ""},
        {"2.5!", RefusalKind::NotWhole, 4, "!"},
        {"(-3)!", RefusalKind::Negative, 5, "!"},
        {"P(5, 1/2)", RefusalKind::NotWhole, 1, "P"},
        {"C(5, 2, 10)", RefusalKind::NotDigit, 1, "C"},
        {"round(1, -1)", RefusalKind::Negative, 1, "round"},
        {"prod(5, 3)", RefusalKind::EngineRefused, 1, "prod"},
        {"10^10^10", RefusalKind::TooLong, 3, ""},
        {"(1/3)^100000000000", RefusalKind::TooLong, 6, ""},
    };
    for (const Case& c : cases) {
        const expr::Evaluation e = run(c.line);
        ASSERT_EQ(e.status, expr::Evaluation::Status::Refused) << c.line;
        EXPECT_EQ(e.refusal.kind, c.kind) << c.line;
        EXPECT_EQ(e.refusal.column, c.column) << c.line;
        EXPECT_EQ(e.refusal.data, c.data) << c.line;
    }
}

TEST(ExprRefusals, DeepOrLongLinesEndInARefusalOrAValue) {
    EXPECT_EQ(run(std::string(100000, '(') + "1").refusal.kind, RefusalKind::TooDeep);
    EXPECT_EQ(run("3" + std::string(1000, '!')).refusal.kind, RefusalKind::TooDeep);
    EXPECT_EQ(run(std::string(100000, '-') + "1").refusal.kind, RefusalKind::TooDeep);
    std::string powers = "1";
    for (int i = 0; i < 1000; ++i)
        powers += "^1";
    EXPECT_EQ(run(powers).refusal.kind, RefusalKind::TooDeep);
    // Runs of one precedence level are flat: any length evaluates.
    std::string sum = "0";
    for (int i = 0; i < 100000; ++i)
        sum += "+1/2";
    EXPECT_EQ(valueOf(sum), "50000");
}

TEST(ExprEnvironment, AnsEntriesFilesAndCancel) {
    expr::Environment env;
    env.ans = expr::Fraction::integer("6");
    env.entry = [](std::uint64_t k) -> std::optional<expr::Fraction> {
        if (k != 2) return std::nullopt;
        return expr::parseFractionText("1/7");
    };
    EXPECT_EQ(valueOf("ans/4 + #2*7", env), "5/2");
    EXPECT_EQ(run("#1", env).refusal.kind, RefusalKind::NoEntry);

    test::TempDir dir;
    test::writeBytes(dir.file("n"), "12_345\n.5\n");
    test::writeBytes(dir.file("with blank"), "-2");
    test::writeBytes(dir.file("bad"), "12x");
    test::writeBytes(dir.file("empty"), "\n");
    EXPECT_EQ(valueOf("@" + dir.file("n") + " * @\"" + dir.file("with blank") + "\""), "-24691");
    const expr::Evaluation bad = run("1 + @" + dir.file("bad"));
    EXPECT_EQ(bad.refusal.kind, RefusalKind::FileRefused);
    EXPECT_EQ(bad.refusal.column, 5);
    EXPECT_EQ(run("@" + dir.file("missing")).refusal.kind, RefusalKind::FileRefused);
    EXPECT_EQ(run("@" + dir.file("empty")).refusal.kind, RefusalKind::EmptyFile);

    Progress cancelled;
    cancelled.cancel();
    EXPECT_EQ(expr::evaluate("7^3000000", {}, cancelled).status,
              expr::Evaluation::Status::Cancelled);
}

// Random lines of the language's pieces, well formed or not: each ends in
// a value or a refusal whose column lies on the line or just after it.
TEST(ExprRefusals, RandomLinesEndInAValueOrARefusalOnTheLine) {
    std::mt19937_64 rng = test::seededRng("ExprRandomLines");
    const char* pieces[] = {"1",         "2",        "3",      "0",   ".",  "5.", "+", "-",
                            "*",         "/",        "^",      "!",   "(",  ")",  ",", " ",
                            "P(",        "C(",       "round(", "ans", "#1", "x",  "×", "base(",
                            "frombase(", "isprime(", "\"f",    "'",   "\""};
    expr::Environment env;
    env.ans = expr::Fraction::integer("2");
    for (int i = 0; i < 3000; ++i) {
        std::string line;
        std::int64_t characters = 0;
        for (int n = 1 + static_cast<int>(rng() % 10); n > 0; --n) {
            const std::string piece = pieces[rng() % std::size(pieces)];
            line += piece;
            characters += piece == "×" ? 1 : static_cast<std::int64_t>(piece.size());
        }
        const expr::Evaluation e = run(line, env);
        if (e.status == expr::Evaluation::Status::Refused && e.refusal.column != 0) {
            EXPECT_GE(e.refusal.column, 1) << line;
            EXPECT_LE(e.refusal.column, characters + 1) << line;
        }
    }
}

// The bar: the value fills the first half, its text the second; a long
// search for a period moves it step by step.
TEST(ExprProgress, ValueThenTextAndTheSearchStepByStep) {
    class Recording : public Progress {
      public:
        std::vector<double> heardShares;

      protected:
        void heard(double overall) override { heardShares.push_back(overall); }
    } progress;
    const expr::Evaluation e = expr::evaluate("1/(10^3000+7)", {}, progress);
    ASSERT_TRUE(e.hasValue());
    EXPECT_EQ(e.shown.kind, expr::ShownKind::Cut);
    const auto inSearch = std::count_if(progress.heardShares.begin(), progress.heardShares.end(),
                                        [](double s) { return s > 0.5 && s < 1; });
    EXPECT_GT(inSearch, 100);
    EXPECT_TRUE(std::is_sorted(progress.heardShares.begin(), progress.heardShares.end()));
    EXPECT_EQ(progress.fraction(), 1.0);
}

// A random expression and its value by GMP: numbers with and without
// points and signs, the four operations, whole powers of either sign.
class RandomExpression {
  public:
    explicit RandomExpression(std::mt19937_64& rng) : rng_(rng) {}

    // Fills `value`; false when a division by zero happened on the way.
    bool make(std::string& text, mpq_ptr value, int depth) {
        const int pick = static_cast<int>(rng_() % (depth <= 0 ? 1 : 7));
        if (pick == 0) {
            text = number();
            test::Q q(text);
            mpq_set(value, q.get());
            if (text.front() == '-') text = "(" + text + ")";
            return true;
        }
        test::Q a, b;
        std::string left, right;
        bool ok = make(left, a.get(), depth - 1);
        if (pick == 5) { // whole power
            const long e = static_cast<long>(rng_() % 9) - 4;
            text = "(" + left + ")^" + std::to_string(e);
            if (mpq_sgn(a.get()) == 0 && e < 0) return false;
            Z num, den;
            mpz_pow_ui(num.get(), mpq_numref(a.get()), static_cast<unsigned long>(std::labs(e)));
            mpz_pow_ui(den.get(), mpq_denref(a.get()), static_cast<unsigned long>(std::labs(e)));
            if (e < 0) mpz_swap(num.get(), den.get());
            if (mpz_sgn(den.get()) < 0) {
                mpz_neg(den.get(), den.get());
                mpz_neg(num.get(), num.get());
            }
            mpq_set_num(value, num.get());
            mpq_set_den(value, den.get());
            mpq_canonicalize(value);
            return ok;
        }
        if (pick == 6) {
            text = "-(" + left + ")";
            mpq_neg(value, a.get());
            return ok;
        }
        ok = make(right, b.get(), depth - 1) && ok;
        static constexpr const char* kOps[] = {"+", "-", "*", "/", "*"};
        text = "(" + left + ")" + kOps[pick - 1] + "(" + right + ")";
        switch (pick) {
        case 1:
            mpq_add(value, a.get(), b.get());
            break;
        case 2:
            mpq_sub(value, a.get(), b.get());
            break;
        case 3:
        case 5:
            mpq_mul(value, a.get(), b.get());
            break;
        case 4:
            if (mpq_sgn(b.get()) == 0) return false;
            mpq_div(value, a.get(), b.get());
            break;
        }
        return ok;
    }

  private:
    using Z = test::Z;

    std::string number() {
        std::string digits;
        const int length = 1 + static_cast<int>(rng_() % (rng_() % 4 == 0 ? 60 : 6));
        for (int i = 0; i < length; ++i)
            digits += static_cast<char>('0' + rng_() % 10);
        if (rng_() % 2) digits.insert(rng_() % (digits.size() + 1), ".");
        if (rng_() % 4 == 0) digits.insert(0, "-");
        return digits;
    }

    std::mt19937_64& rng_;
};

TEST(ExprRandom, ValuesAgreeWithGmpRationals) {
    std::mt19937_64 rng = test::seededRng("ExprRandom");
    RandomExpression generator(rng);
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        test::Q expected;
        const bool defined = generator.make(text, expected.get(), 1 + static_cast<int>(rng() % 5));
        Progress progress;
        const expr::Evaluation e = expr::evaluateValue(text, {}, progress);
        if (!defined) {
            ASSERT_EQ(e.refusal.kind, RefusalKind::DivisionByZero) << text;
            continue;
        }
        ASSERT_TRUE(e.hasValue()) << text;
        ASSERT_EQ(expr::fractionText(e.value.number), expected.str()) << text;
    }
}

} // namespace
