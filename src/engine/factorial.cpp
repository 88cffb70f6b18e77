#include "factorial.h"

#include "rangeproduct.h"

#include <utility>

namespace longhand {

namespace {

// n! from x = m! (both empty: from 1), for a factorial the caller uses;
// for one that only the keeper needs and no keeper takes, just whether it
// could be computed: the refusal of a product too long to hold, else an
// empty result in its place.
Outcome continued(std::string_view n, std::string_view x, std::string_view m, bool compute,
                  Progress& progress) {
    if (auto refusal = productTooLong(n, x, m, 0)) return Outcome::refused(*refusal);
    if (compute) return rangeProduct(n, x, m, progress);
    return Outcome::result({}, false);
}

} // namespace

Outcome factorial(std::string_view nText, FactorialKeeper* keeper, Progress& progress,
                  FactorialUse use) {
    if (!isWholeNumberText(nText)) return {};
    const std::string n = wholeNumberValue(nText);
    if (n == "0") return Outcome::result("1", false); // 0! = 1, from no keeper
    const bool computeUnkept = use != FactorialUse::StoreOnly;
    if (!keeper) {
        Outcome outcome = continued(n, "", "", computeUnkept, progress);
        outcome.calculated = outcome.isResult();
        return outcome;
    }

    FactorialKeeper::Start start = keeper->largestAtMost(n, progress);
    if (progress.cancelled()) return Outcome::cancelled();
    if (start.from.n == n) return Outcome::result(std::move(start.from.value), false);
    // A gap below a larger kept factorial is filled; one beyond them all
    // only where the factorial was asked for by itself.
    const bool handBack = !start.beyond || use == FactorialUse::Offer;
    const bool compute = computeUnkept || !start.beyond;
    Outcome outcome = continued(n, start.from.value, start.from.n, compute, progress);
    if (progress.cancelled()) return Outcome::cancelled();
    if (!outcome.isResult()) return outcome;
    outcome.calculated = compute;
    if (handBack && compute) keeper->keep({n, outcome.text});
    return outcome;
}

} // namespace longhand
