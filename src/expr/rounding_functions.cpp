// round(x, k): x rounded to k decimals, half away from zero, as a result
// box rounds its text; here on the exact value, so that a repeating
// decimal rounds as its infinite digits say.
#include "functions.h"
#include "refusal.h"

namespace longhand::expr {

namespace {

Fraction roundOf(std::span<const Fraction> a, const CallContext& context) {
    wholeArgument(a[1], "round");
    const std::optional<std::uint64_t> k = smallWhole(a[1]);
    if (!k || *k > static_cast<std::uint64_t>(INT64_MAX)) throw Refused(RefusalKind::TooLong);
    return roundTo(a[0], static_cast<std::int64_t>(*k), context.cancel);
}

} // namespace

void addRoundingFunctions(FunctionRegistry& registry) {
    registry.add({"round", 2, 2, "round(x, k)", roundOf});
}

} // namespace longhand::expr
