// base(), frombase() and isprime() in expressions: their values against
// GMP (mpz_get_str, mpz_set_str, mpz_probab_prime_p) on random numbers of
// many lengths, and texts and answers where numbers are wanted, with the
// columns of the refusals.
#include "expr/expr.h"
#include "support/gmp.h"
#include "support/seed.h"

#include <gtest/gtest.h>
#include <random>

namespace {

using namespace longhand;
using expr::RefusalKind;
using expr::Value;
using test::Z;

// Below this every prime is proven; above it a prime is a probable one.
constexpr const char* kProvenBelow = "3317044064679887385961981";

expr::Evaluation run(const std::string& line, const expr::Environment& env = {}) {
    Progress progress;
    return expr::evaluate(line, env, progress);
}

std::string randomDigits(std::mt19937_64& rng, std::size_t length) {
    std::string digits(1, static_cast<char>('1' + rng() % 9));
    while (digits.size() < length)
        digits += static_cast<char>('0' + rng() % 10);
    return digits;
}

// Lengths in digits across the conversion's pieces: single limbs, the
// schoolbook pieces and the divide and conquer above them.
std::size_t randomLength(std::mt19937_64& rng) {
    static constexpr std::size_t kLengths[] = {1, 2, 9, 10, 19, 20, 40, 100, 360, 400, 800, 3000};
    const auto around = static_cast<long>(kLengths[rng() % std::size(kLengths)]);
    return static_cast<std::size_t>(std::max(1L, around + static_cast<long>(rng() % 5) - 2));
}

std::string gmpInBase(const Z& x, int base) {
    std::string s(mpz_sizeinbase(x.get(), base) + 2, '\0');
    mpz_get_str(s.data(), base, x.get());
    s.resize(std::char_traits<char>::length(s.c_str()));
    return s;
}

TEST(ExprTextFunctions, BaseAndFromBaseAgreeWithGmp) {
    std::mt19937_64 rng = test::seededRng("ExprTextFunctions");
    for (int i = 0; i < 300; ++i) {
        const std::string x = (rng() % 4 == 0 ? "-" : "") + randomDigits(rng, randomLength(rng));
        const int b = 2 + static_cast<int>(rng() % 35);
        const Z gx(x);
        const std::string expected = gmpInBase(gx, b);
        SCOPED_TRACE(x.substr(0, 40) + " base " + std::to_string(b));

        const expr::Evaluation written = run("base(" + x + ", " + std::to_string(b) + ")");
        ASSERT_TRUE(written.hasValue()) << static_cast<int>(written.refusal.kind);
        EXPECT_EQ(written.value.kind, Value::Kind::Text);
        EXPECT_EQ(written.shown.kind, expr::ShownKind::Text);
        EXPECT_EQ(written.shown.text, expected);
        EXPECT_EQ(written.shown.base, b);

        // Read back from GMP's text with its letters in random case.
        std::string typed = expected;
        for (char& c : typed)
            if (c >= 'a' && c <= 'z' && rng() % 2) c = static_cast<char>(c - 'a' + 'A');
        const char quote = rng() % 2 ? '"' : '\'';
        const expr::Evaluation read = run("frombase(" + std::string(1, quote) + typed + quote +
                                          ", " + std::to_string(b) + ")");
        ASSERT_TRUE(read.hasValue()) << static_cast<int>(read.refusal.kind);
        EXPECT_EQ(read.shown.text, gx.str());
        Z back;
        ASSERT_EQ(mpz_set_str(back.get(), typed.c_str(), b), 0);
        EXPECT_EQ(mpz_cmp(back.get(), gx.get()), 0);

        // And the text base() gave, read back inside one expression.
        const expr::Evaluation round = run("frombase(base(" + x + ", " + std::to_string(b) + "), " +
                                           std::to_string(b) + ") - (" + x + ")");
        ASSERT_TRUE(round.hasValue());
        EXPECT_EQ(round.shown.text, "0");
    }
}

TEST(ExprTextFunctions, IsPrimeAgreesWithGmp) {
    std::mt19937_64 rng = test::seededRng("ExprIsPrime");
    const Z bound(kProvenBelow);
    for (int i = 0; i < 400; ++i) {
        Z n(randomDigits(rng, 1 + rng() % (i % 4 == 0 ? 120 : 30)));
        // Half of them primes (as GMP finds them), the rest mostly composite.
        if (i % 2) mpz_nextprime(n.get(), n.get());
        const Answer expected = mpz_cmp_ui(n.get(), 1) <= 0 ? Answer::NeitherPrimeNorComposite
                                : mpz_probab_prime_p(n.get(), 40) == 0 ? Answer::Composite
                                : mpz_cmp(n.get(), bound.get()) < 0    ? Answer::Prime
                                                                       : Answer::ProbablePrime;
        const expr::Evaluation e = run("isprime(" + n.str() + ")");
        EXPECT_EQ(e.value, Value::ofAnswer(expected)) << n.str();
        EXPECT_EQ(e.shown.answer, expected) << n.str();
    }
    // Around the bound of the proof (a strong pseudoprime to the first 13
    // prime bases), and the numbers that are neither.
    const std::pair<const char*, Answer> edges[] = {
        {"3317044064679887385961981", Answer::Composite},
        {"3317044064679887385962123", Answer::ProbablePrime}, // the next prime
        {"3317044064679887385961813", Answer::Prime},         // the one before
        {"0", Answer::NeitherPrimeNorComposite},
        {"-7", Answer::NeitherPrimeNorComposite},
        {"10/5", Answer::Prime},
    };
    for (const auto& [n, answer] : edges)
        EXPECT_EQ(run(std::string("isprime(") + n + ")").value, Value::ofAnswer(answer)) << n;
}

TEST(ExprTextFunctions, TextsAndAnswersWhereNumbersAreWanted) {
    expr::Environment env;
    env.ans = Value::ofText("ff");
    env.entry = [](std::uint64_t k) -> std::optional<Value> {
        if (k == 1) return Value::ofAnswer(Answer::Prime);
        if (k == 2) return Value::ofText("-101");
        return std::nullopt;
    };
    // Values: texts pass through parentheses, ans and #k; frombase reads them.
    const std::pair<const char*, const char*> values[] = {
        {"frombase(ans, 16) * 2", "510"}, {"frombase(#2, 2)", "-5"}, {"(base(7, 2))", "111"},
        {"'a\\'b\"c'", "a'b\"c"},         {"\"\\\\\"", "\\"},        {"frombase(\"0\", 36)", "0"},
        {"frombase(\"-000\", 8)", "0"},
    };
    for (const auto& [line, shown] : values) {
        const expr::Evaluation e = run(line, env);
        ASSERT_TRUE(e.hasValue()) << line << " refused " << static_cast<int>(e.refusal.kind);
        EXPECT_EQ(e.shown.text, shown) << line;
    }
    struct Refusal {
        const char* line;
        RefusalKind kind;
        std::int64_t column;
        const char* data;
    };
    const Refusal refusals[] = {
        {"ans + 1", RefusalKind::NotANumber, 1, "+"},
        {"1 + #1", RefusalKind::NotANumber, 5, "+"},
        {"-ans", RefusalKind::NotANumber, 2, "-"},
        {"ans!", RefusalKind::NotANumber, 1, "!"},
        {"2^base(3, 2)", RefusalKind::NotANumber, 3, "^"},
        {"sqrt(isprime(7))", RefusalKind::NotANumber, 6, "sqrt"},
        {"base(\"ff\", 16)", RefusalKind::NotANumber, 6, "base"},
        {"frombase(\"ff\", ans)", RefusalKind::NotANumber, 16, "frombase"},
        {"isprime(ans)", RefusalKind::NotANumber, 9, "isprime"},
        {"frombase(255, 16)", RefusalKind::NotAText, 10, "frombase"},
        {"frombase(#1, 16)", RefusalKind::NotAText, 10, "frombase"},
        {"frombase(\"fg\", 16)", RefusalKind::EngineRefused, 10, "frombase"},
        {"frombase(\"1 0\", 10)", RefusalKind::EngineRefused, 10, "frombase"},
        {"frombase(\"10\", 37)", RefusalKind::EngineRefused, 16, "frombase"},
        {"base(10, 1)", RefusalKind::EngineRefused, 10, "base"},
        {"base(1/2, 2)", RefusalKind::NotWhole, 6, "base"},
        {"isprime(2.5)", RefusalKind::NotWhole, 9, "isprime"},
        {"1 + \"ab", RefusalKind::UnclosedText, 5, ""},
        {"'ab\"", RefusalKind::UnclosedText, 1, ""},
        {"\"a\xc3\xa9\"", RefusalKind::UnknownCharacter, 3, "\xc3\xa9"},
        {"\"ab\" \"cd\"", RefusalKind::UnexpectedToken, 6, "cd"},
    };
    for (const Refusal& r : refusals) {
        const expr::Evaluation e = run(r.line, env);
        ASSERT_EQ(e.status, expr::Evaluation::Status::Refused) << r.line;
        EXPECT_EQ(e.refusal.kind, r.kind) << r.line;
        EXPECT_EQ(e.refusal.column, r.column) << r.line;
        EXPECT_EQ(e.refusal.data, r.data) << r.line;
    }
    // The engine's refusals name the argument at fault.
    EXPECT_EQ(run("frombase(\"fg\", 16)").refusal.engine.kind, longhand::RefusalKind::NotInBase);
    EXPECT_EQ(run("base(10, 37)").refusal.engine.operand, 1);
}

} // namespace
