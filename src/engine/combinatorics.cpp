#include "combinatorics.h"

#include "addition.h"
#include "crossovers.h"
#include "division.h"
#include "factorial.h"
#include "fast/fast.h"
#include "power.h"
#include "rangeproduct.h"

#include <cmath>
#include <string>

namespace longhand {

namespace {

// Shares of the progress bar of C(n, r) by n! / (n - r)! / r!: the
// arrangements up to the first, r! up to the second, then the quotient.
constexpr double kArrangementsShare = 0.4;
constexpr double kOrdersShareEnd = 0.6;
// Of C(n, r) from the fast layer: its product up to this, then r!'s
// keeping (a gap to fill, at most).
constexpr double kBinomialShare = 0.95;

// True for whole-number texts without leading zeros with r < n, n below
// kBatchLimit and at least kFastProductFactors factors in r!.
bool fastCombinationFits(std::string_view n, std::string_view r) {
    if (r.size() > n.size() || (r.size() == n.size() && r >= n)) return false;
    if (static_cast<double>(n.size()) > std::log10(kBatchLimit)) return false;
    return std::stoull(std::string(r)) >= kFastProductFactors;
}

// C(n, r) where fastCombinationFits, straight from the fast layer, with what
// the quotient of the products would give: the refusal of n!/(n-r)! when too
// long to hold, r! for the keeper, and the division's stop of the
// sound. The quotient is whole, and the division writes a whole quotient as
// its digits; so does this.
Outcome fastCombination(const std::string& n, const std::string& r, FactorialKeeper* keeper,
                        Progress& progress) {
    if (auto refusal = productTooLong(n, "1", subtract(n, r), 0)) return Outcome::refused(*refusal);
    std::string count;
    {
        const Progress::Stage step(progress, 0.0, kBinomialShare);
        const fast::CancelCheck cancel = progress.cancelCheck();
        try {
            count = fast::binomialDigits(std::stoull(n), std::stoull(r), &cancel);
        } catch (const fast::Cancelled&) {
            return Outcome::cancelled();
        }
    }
    const Progress::Stage step(progress, kBinomialShare, 1.0);
    Outcome orders = factorial(r, keeper, progress, FactorialUse::StoreOnly);
    if (!orders.isResult()) return orders;
    Outcome outcome = Outcome::result(std::move(count));
    outcome.divided = true;
    return outcome;
}

} // namespace

Outcome permutations(std::string_view nText, std::string_view rText, int repetition,
                     FactorialKeeper* keeper, Progress& progress) {
    if (!isWholeNumberText(nText) || !isWholeNumberText(rText)) return {};
    const std::string n = wholeNumberValue(nText);
    const std::string r = wholeNumberValue(rText);
    Outcome outcome;
    if (repetition == kWithRepetition) {
        // One way to choose nothing, even from nothing (the power says 0^0 = 0).
        if (r == "0") return Outcome::result("1");
        outcome = power(n, r, progress);
    } else if (r == n) {
        outcome = factorial(n, keeper, progress, FactorialUse::Value);
    } else if (r == "0") {
        return Outcome::result("1");
    } else {
        // (n-r+1) * ... * n; a run from below zero (r > n) passes zero: "0".
        const std::string rest = subtract(n, r);
        if (auto refusal = productTooLong(n, "1", rest, 0)) return Outcome::refused(*refusal);
        outcome = rangeProduct(n, "1", rest, progress);
    }
    outcome.calculated = outcome.isResult();
    return outcome;
}

Outcome combinations(std::string_view nText, std::string_view rText, int repetition,
                     FactorialKeeper* keeper, Progress& progress) {
    if (!isWholeNumberText(nText) || !isWholeNumberText(rText)) return {};
    std::string n = wholeNumberValue(nText);
    std::string r = wholeNumberValue(rText);
    if (r == n && repetition == 0) return Outcome::result("1");
    if (r == "0") return Outcome::result("1");
    if (r == "1") return Outcome::result(n);
    if (repetition == kWithRepetition) n = subtract(add(n, r), "1");
    // C(n, r) = C(n, n - r): the fewer factors are multiplied and divided,
    // and their factorial is the one the keeper sees.
    if (isBelow(compareWholeTexts(r, n))) {
        std::string rest = subtract(n, r);
        if (isBelow(compareWholeTexts(rest, r))) r = std::move(rest);
    }
    if (fastCombinationFits(n, r)) return fastCombination(n, r, keeper, progress);

    // The steps' shares of the progress bar: the arrangements and the
    // quotient about as long as each other, the orders shorter.
    Outcome arrangements;
    {
        const Progress::Stage step(progress, 0.0, kArrangementsShare);
        arrangements = permutations(n, r, 0, keeper, progress);
    }
    if (!arrangements.isResult() || arrangements.text == "0") return arrangements;
    Outcome orders;
    {
        const Progress::Stage step(progress, kArrangementsShare, kOrdersShareEnd);
        orders = factorial(r, keeper, progress, FactorialUse::Value);
    }
    if (!orders.isResult()) return orders;
    const Progress::Stage step(progress, kOrdersShareEnd, 1.0);
    std::string count = divide(arrangements.text, orders.text, progress);
    if (progress.cancelled()) return Outcome::cancelled();
    Outcome outcome = Outcome::result(count.empty() ? "0" : std::move(count));
    outcome.divided = true;
    return outcome;
}

} // namespace longhand
