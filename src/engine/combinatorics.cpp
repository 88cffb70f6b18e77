#include "combinatorics.h"

#include "addsub.h"
#include "crossovers.h"
#include "division.h"
#include "factorial.h"
#include "fast/fast.h"
#include "power.h"
#include "rangeproduct.h"

#include <cmath>
#include <string_view>

namespace longhand {

namespace {

// The engine's empty text for a zero value becomes "0", so that "" only
// ever means "no result" (a refused argument or a cancelled run).
std::string countText(std::string value, const EngineHost& host) {
    if (host.cancelled()) return {};
    if (value.empty()) return "0";
    return value;
}

// True for whole-number texts without leading zeros with r < n, n below
// kBatchLimit (so that rangeProduct batches the run n!/(n-r)! in doubles)
// and at least kFastProductFactors factors in r!.
bool fastCombinationFits(std::string_view n, std::string_view r) {
    if (r.size() > n.size() || (r.size() == n.size() && r >= n)) return false;
    if (static_cast<double>(n.size()) > std::log10(kBatchLimit)) return false;
    return std::stoull(std::string(r)) >= kFastProductFactors;
}

// C(n, r) where fastCombinationFits, straight from the fast layer, with the
// effects of bigdivision(perMutation(n, r, 0), factorN(r, 0)) in their
// order: the refusal of n!/(n-r)! when too long to hold, the data file's
// work for r! (computed only where the file keeps it) with its finished
// signal, then the division's stop of the sound. The quotient is whole, and
// bigdivision writes a whole quotient as its digits; so does this.
std::string fastCombination(const std::string& n, const std::string& r, EngineHost& host) {
    if (productTooLong(n, "1", rcSub(n, r))) {
        host.showMessage(kProductTooLong);
        return {};
    }
    const fast::CancelCheck cancel = [&host] { return host.cancelled(); };
    std::string count;
    try {
        count = fast::binomialDigits(std::stoull(n), std::stoull(r), &cancel);
    } catch (const fast::Cancelled&) {
        return {};
    }
    if (!factorEffects(r, host)) return {};
    if (host.soundOn()) host.stopSound();
    return countText(std::move(count), host);
}

std::string choose(std::string cn, std::string rn, int rFlag, bool reference, EngineHost& host) {
    if (!isWholeNumberText(cn) || !isWholeNumberText(rn)) return {};
    std::string n = wholeNumberValue(cn);
    const std::string r = wholeNumberValue(rn);
    if (r == n && rFlag == 0) return "1";
    if (r == "0") return "1";
    if (r == "1") return n;
    // With repetition: C(n + r - 1, r).
    if (rFlag == kWithRepetition) n = rcSub(rcAdd(n, r), "1");
    if (!reference && fastCombinationFits(n, r)) return fastCombination(n, r, host);

    std::string arrangements = perMutation(n, r, 0, host);
    if (arrangements.empty() || arrangements == "0") return arrangements;
    std::string orders = factorN(r, 0, host);
    if (orders.empty()) return {};
    return countText(bigdivision(std::move(arrangements), std::move(orders), host), host);
}

} // namespace

std::string perMutation(std::string nInput, std::string rInput, int repeatFlag, EngineHost& host) {
    if (!isWholeNumberText(nInput) || !isWholeNumberText(rInput)) return {};
    std::string n = wholeNumberValue(nInput);
    const std::string r = wholeNumberValue(rInput);
    if (repeatFlag == kWithRepetition) {
        // One way to choose nothing, even from nothing (the power says 0^0 = 0).
        if (r == "0") return "1";
        const bool tooLong = powerTooLong(n, r);
        std::string power = raisePower(n, r, host); // tells the user when too long
        return tooLong ? std::string() : countText(std::move(power), host);
    }
    if (r == n) return factorN(n, 0, host);
    if (r == "0") return "1";
    // (n-r+1) * ... * n; a run from below zero (r > n) passes zero: "0".
    std::string result = rangeProduct(n, "1", rcSub(n, r), host);
    return host.cancelled() ? std::string() : result;
}

std::string combination(std::string cn, std::string rn, int rFlag, EngineHost& host) {
    return choose(std::move(cn), std::move(rn), rFlag, false, host);
}

std::string combinationReference(std::string cn, std::string rn, int rFlag, EngineHost& host) {
    return choose(std::move(cn), std::move(rn), rFlag, true, host);
}

} // namespace longhand
