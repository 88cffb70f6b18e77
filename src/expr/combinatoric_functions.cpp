// n!, P(n, r[, f]), C(n, r[, f]) and prod(m, n): the function dialog's
// counts, computed by the engine with its own size checks. No factorial
// store takes part: an expression reads and writes no files of its own.
#include "engine/combinatorics.h"
#include "engine/factorial.h"
#include "engine/fast/cancel.h"
#include "engine/partialproduct.h"
#include "functions.h"
#include "refusal.h"

namespace longhand::expr {

namespace {

// The integer an engine outcome holds, or its refusal.
Fraction integerOf(Outcome outcome, std::string_view what) {
    switch (outcome.status) {
    case Outcome::Status::Result:
        break;
    case Outcome::Status::Cancelled:
        throw fast::Cancelled();
    case Outcome::Status::Refused:
        throw Refused(outcome.refusal, std::string(what));
    case Outcome::Status::Nothing:
        throw Refused(RefusalKind::NotWhole, std::string(what));
    }
    std::string& text = outcome.text;
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.erase(0, 1);
    text.erase(0, std::min(text.find_first_not_of('0'), text.size()));
    if (text.empty()) text = "0";
    return Fraction::integer(std::move(text), negative);
}

// The repetition flag f of P(n, r, f) and C(n, r, f): one digit, 1 for
// repetition.
int repetitionFlag(std::span<const Fraction> arguments, std::string_view what) {
    if (arguments.size() < 3) return 0;
    const std::string f = wholeArgument(arguments[2], what);
    if (f.size() != 1) throw Refused(RefusalKind::NotDigit, std::string(what));
    return f[0] - '0';
}

Fraction permutationsOf(std::span<const Fraction> a, const CallContext& context) {
    const std::string n = wholeArgument(a[0], "P"), r = wholeArgument(a[1], "P");
    return integerOf(permutations(n, r, repetitionFlag(a, "P"), nullptr, context.progress), "P");
}

Fraction combinationsOf(std::span<const Fraction> a, const CallContext& context) {
    const std::string n = wholeArgument(a[0], "C"), r = wholeArgument(a[1], "C");
    return integerOf(combinations(n, r, repetitionFlag(a, "C"), nullptr, context.progress), "C");
}

Fraction rangeProductOf(std::span<const Fraction> a, const CallContext& context) {
    const std::string m = wholeArgument(a[0], "prod"), n = wholeArgument(a[1], "prod");
    // A run of one factor is that factor; the engine's own product wants
    // two ends apart.
    if (m == n) return a[0];
    return integerOf(partialProduct(m, n, context.progress), "prod");
}

} // namespace

Fraction factorial(const Fraction& n, const CallContext& context) {
    const std::string whole = wholeArgument(n, "!");
    return integerOf(longhand::factorial(whole, nullptr, context.progress, FactorialUse::Value),
                     "!");
}

void addCombinatoricFunctions(FunctionRegistry& registry) {
    registry.add({"P", 2, 3, "P(n, r[, f])", permutationsOf});
    registry.add({"C", 2, 3, "C(n, r[, f])", combinationsOf});
    registry.add({"prod", 2, 2, "prod(m, n)", rangeProductOf});
}

} // namespace longhand::expr
