#include "partialproduct.h"

#include "addsub.h"
#include "numtext.h"
#include "rangeproduct.h"

namespace longhand {

PartialProductOutcome partialProduct(std::string_view m, std::string_view n, EngineHost& host) {
    PartialProductOutcome outcome;
    if (!isWholeNumberText(m) || !isWholeNumberText(n)) {
        outcome.refusal = kEnterWholeNumbers;
        return outcome;
    }
    const std::string low = wholeNumberValue(m);
    const std::string high = wholeNumberValue(n);
    const int order = strCompare(high, low);
    if (order != CmpGreater && order != CmpLonger) {
        outcome.refusal = kChooseNGreater;
        return outcome;
    }
    // The run starts after M - 1: exact in a double for the short ends, on
    // texts for the long ones.
    const std::string before =
        high.size() <= kBatchedEndDigits ? doubleText(numericValue(low) - 1) : rcSub(low, "1");
    if (productTooLong(high, "1", before)) {
        outcome.refusal = kProductTooLong;
        return outcome;
    }
    outcome.product = rangeProduct(high, "1", before, host);
    if (host.cancelled()) outcome.product.clear();
    return outcome;
}

} // namespace longhand
