#include "combinatorics.h"

#include "addsub.h"
#include "division.h"
#include "factorial.h"
#include "power.h"
#include "rangeproduct.h"

namespace longhand {

namespace {

// The engine's empty text for a zero value becomes "0", so that "" only
// ever means "no result" (a refused argument or a cancelled run).
std::string countText(std::string value, const EngineHost& host) {
    if (host.cancelled()) return {};
    if (value.empty()) return "0";
    return value;
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
    if (!isWholeNumberText(cn) || !isWholeNumberText(rn)) return {};
    std::string n = wholeNumberValue(cn);
    const std::string r = wholeNumberValue(rn);
    if (r == n && rFlag == 0) return "1";
    if (r == "0") return "1";
    if (r == "1") return n;
    // With repetition: C(n + r - 1, r).
    if (rFlag == kWithRepetition) n = rcSub(rcAdd(n, r), "1");

    std::string arrangements = perMutation(n, r, 0, host);
    if (arrangements.empty() || arrangements == "0") return arrangements;
    std::string orders = factorN(r, 0, host);
    if (orders.empty()) return {};
    return countText(bigdivision(std::move(arrangements), std::move(orders), host), host);
}

} // namespace longhand
