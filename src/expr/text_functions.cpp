// base(x, b), frombase("text", b) and isprime(n): the functions whose
// values, or arguments, are not numbers. base() writes a whole number in
// base b as a text, frombase() reads one back, and isprime() answers with
// a kind that the caller puts in words.
#include "engine/fast/fast.h"
#include "engine/mathfunctions.h"
#include "functions.h"
#include "refusal.h"

#include <stdexcept>

namespace longhand::expr {

namespace {

// The number among the arguments at `index`, or the refusal of what is
// there instead, pointing at it.
const Fraction& numberArgument(std::span<const Value> a, std::span<const std::int64_t> columns,
                               std::size_t index, std::string_view function) {
    if (!a[index].isNumber())
        throw Refused(RefusalKind::NotANumber, std::string(function), columns[index]);
    return a[index].number;
}

// The engine's refusal of `kind` for the argument at `index`, pointing at
// it.
Refused engineRefusal(longhand::RefusalKind kind, std::size_t index,
                      std::span<const std::int64_t> columns, std::string_view function) {
    Refused refused({kind, static_cast<int>(index)}, std::string(function));
    refused.refusal.column = columns[index];
    return refused;
}

// A base from 2 to 36, else the engine's refusal of it as the argument at
// `index`.
unsigned baseArgument(std::span<const Value> a, std::span<const std::int64_t> columns,
                      std::size_t index, std::string_view function) {
    const std::optional<std::uint64_t> b = smallWhole(numberArgument(a, columns, index, function));
    if (!b || *b < 2 || *b > 36)
        throw engineRefusal(longhand::RefusalKind::BaseOutOfRange, index, columns, function);
    return static_cast<unsigned>(*b);
}

Value toBase(std::span<const Value> a, std::span<const std::int64_t> columns,
             const CallContext& context) {
    const Fraction& x = numberArgument(a, columns, 0, "base");
    const unsigned b = baseArgument(a, columns, 1, "base");
    if (!x.isInteger()) throw Refused(RefusalKind::NotWhole, "base", columns[0]);
    std::string text = fast::toBaseDigits(x.num, b, context.cancel);
    if (x.negative) text.insert(0, 1, '-');
    return Value::ofText(std::move(text), static_cast<int>(b));
}

Value fromBase(std::span<const Value> a, std::span<const std::int64_t> columns,
               const CallContext& context) {
    if (a[0].kind != Value::Kind::Text)
        throw Refused(RefusalKind::NotAText, "frombase", columns[0]);
    const unsigned b = baseArgument(a, columns, 1, "frombase");
    // An optional "-", then digits of the base in either case.
    std::string_view text = a[0].text;
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    const Refused notInBase =
        engineRefusal(longhand::RefusalKind::NotInBase, 0, columns, "frombase");
    if (text.empty()) throw notInBase;
    std::string digits;
    try {
        digits = fast::fromBaseDigits(text, b, context.cancel);
    } catch (const std::invalid_argument&) {
        throw notInBase;
    }
    return Fraction::integer(std::move(digits), negative);
}

Value isPrime(std::span<const Value> a, std::span<const std::int64_t> columns,
              const CallContext& context) {
    const Fraction& n = numberArgument(a, columns, 0, "isprime");
    if (!n.isInteger()) throw Refused(RefusalKind::NotWhole, "isprime", columns[0]);
    if (n.negative) return Value::ofAnswer(Answer::NeitherPrimeNorComposite);
    return Value::ofAnswer(primalityOfWhole(n.num, context.cancel));
}

} // namespace

void addTextFunctions(FunctionRegistry& registry) {
    registry.add({"base", 2, 2, "base(x, b)", {}, toBase});
    registry.add({"frombase", 2, 2, "frombase(\"text\", b)", {}, fromBase});
    registry.add({"isprime", 1, 1, "isprime(n)", {}, isPrime});
}

} // namespace longhand::expr
