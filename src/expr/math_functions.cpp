// sqrt(x[, d]), root(x, k[, d]), gcd(a, b, ...), lcm(a, b, ...),
// powmod(a, e, m) and nextprime(n): the engine's functions of the same
// names on exact values. A root that does not end within its places is
// cut (never rounded) and the evaluation says so.
#include "display.h"
#include "engine/fast/fast.h"
#include "engine/fast/size_limits.h"
#include "engine/mathfunctions.h"
#include "functions.h"
#include "refusal.h"

namespace longhand::expr {

namespace {

std::uint64_t countArgument(const Fraction& value, std::string_view what) {
    wholeArgument(value, what);
    const std::optional<std::uint64_t> n = smallWhole(value);
    if (!n || *n > 4'000'000'000u) throw Refused(RefusalKind::TooLong);
    return *n;
}

// The places root() takes without a count: for a value that ends, the
// division's rule for its decimal text as dividend; 20 for one that
// repeats.
std::uint64_t defaultPlaces(const Fraction& x, const fast::CancelCheck* cancel) {
    std::string den = x.den;
    const std::int64_t twos = stripFactor(den, 2, INT64_MAX, cancel);
    const std::int64_t fives = stripFactor(den, 5, INT64_MAX, cancel);
    if (den != "1") return 20;
    return defaultRootPlaces(placesText(x, std::max(twos, fives), cancel));
}

Fraction rootOf(const Fraction& x, std::uint64_t k, std::optional<std::uint64_t> places,
                const CallContext& context) {
    if (x.negative && k % 2 == 0)
        throw Refused({longhand::RefusalKind::EvenRootOfNegative, 0}, "root");
    if (x.isZero()) return x;
    const std::uint64_t d = places ? *places : defaultPlaces(x, context.cancel);
    const double digits =
        static_cast<double>(k) * static_cast<double>(d) + static_cast<double>(x.num.size());
    if (k >= 1'000'000'000u || digits > fast::kMaxResultDigits) throw Refused(RefusalKind::TooLong);
    // floor(root(num 10^(k d) / den)) / 10^d.
    const fast::QuotRem q =
        fast::divScaled(x.num, x.den, static_cast<std::int64_t>(k * d), context.cancel);
    const fast::RootDigits r = fast::rootDigits(q.q, k, context.cancel);
    if (!r.exact || q.r != "0") *context.cut = true;
    Fraction scale = Fraction::integer("1" + std::string(d, '0'));
    Fraction value = divide(Fraction::integer(r.root), scale, context.cancel);
    return x.negative ? negate(value) : value;
}

Fraction sqrtOf(std::span<const Fraction> a, const CallContext& context) {
    std::optional<std::uint64_t> places;
    if (a.size() > 1) places = countArgument(a[1], "sqrt");
    return rootOf(a[0], 2, places, context);
}

Fraction nthRootOf(std::span<const Fraction> a, const CallContext& context) {
    const std::uint64_t k = countArgument(a[1], "root");
    if (k < 2) throw Refused({longhand::RefusalKind::RootDegreeTooSmall, 1}, "root");
    std::optional<std::uint64_t> places;
    if (a.size() > 2) places = countArgument(a[2], "root");
    return rootOf(a[0], k, places, context);
}

// A whole argument of either sign, as its digits.
std::string magnitude(const Fraction& value, std::string_view what) {
    if (!value.isInteger()) throw Refused(RefusalKind::NotWhole, std::string(what));
    return value.num;
}

Fraction gcdOfAll(std::span<const Fraction> a, const CallContext& context) {
    std::string g = magnitude(a[0], "gcd");
    for (std::size_t i = 1; i < a.size(); ++i)
        g = gcdOf(g, magnitude(a[i], "gcd"), context.cancel);
    return Fraction::integer(g);
}

Fraction lcmOfAll(std::span<const Fraction> a, const CallContext& context) {
    Fraction l = Fraction::integer(magnitude(a[0], "lcm"));
    for (std::size_t i = 1; i < a.size() && !l.isZero(); ++i) {
        const std::string v = magnitude(a[i], "lcm");
        if (v == "0") return Fraction::integer("0");
        const std::string g = gcdOf(l.num, v, context.cancel);
        l = multiply(divide(l, Fraction::integer(g), context.cancel), Fraction::integer(v),
                     context.cancel);
    }
    return l;
}

Fraction powModOf(std::span<const Fraction> a, const CallContext& context) {
    const std::string base = magnitude(a[0], "powmod");
    const std::string e = wholeArgument(a[1], "powmod");
    const std::string m = wholeArgument(a[2], "powmod");
    if (m == "0") throw Refused({longhand::RefusalKind::ModulusBelowOne, 2}, "powmod");
    std::string r = fast::powModDigits(base, e, m, context.cancel);
    if (a[0].negative && ((e.back() - '0') & 1) && r != "0") r = fast::subDigits(m, r);
    return Fraction::integer(r);
}

Fraction nextPrimeOf(std::span<const Fraction> a, const CallContext& context) {
    const std::string n = magnitude(a[0], "nextprime");
    if (a[0].negative) return Fraction::integer("2");
    return Fraction::integer(fast::nextPrimeDigits(n, context.cancel));
}

} // namespace

void addMathFunctions(FunctionRegistry& registry) {
    registry.add({"sqrt", 1, 2, "sqrt(x[, d])", sqrtOf});
    registry.add({"root", 2, 3, "root(x, k[, d])", nthRootOf});
    registry.add({"gcd", 2, SIZE_MAX, "gcd(a, b, ...)", gcdOfAll});
    registry.add({"lcm", 2, SIZE_MAX, "lcm(a, b, ...)", lcmOfAll});
    registry.add({"powmod", 3, 3, "powmod(a, e, m)", powModOf});
    registry.add({"nextprime", 1, 1, "nextprime(n)", nextPrimeOf});
}

} // namespace longhand::expr
