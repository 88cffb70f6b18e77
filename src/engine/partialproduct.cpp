#include "partialproduct.h"

#include "addition.h"
#include "crossovers.h"
#include "numtext.h"
#include "rangeproduct.h"

namespace longhand {

Outcome partialProduct(std::string_view m, std::string_view n, Progress& progress) {
    if (!isWholeNumberText(m)) return Outcome::refused(RefusalKind::NotWholeNumbers, 0);
    if (!isWholeNumberText(n)) return Outcome::refused(RefusalKind::NotWholeNumbers, 1);
    const std::string low = wholeNumberValue(m);
    const std::string high = wholeNumberValue(n);
    if (!isAbove(compareWholeTexts(high, low)))
        return Outcome::refused(RefusalKind::EndsNotAscending, 1);
    // The run starts after M - 1: exact in a double for the short ends, on
    // texts for the long ones.
    const std::string before =
        high.size() <= kBatchedEndDigits ? doubleText(numericValue(low) - 1) : subtract(low, "1");
    if (auto refusal = productTooLong(high, "1", before, 1)) return Outcome::refused(*refusal);
    return rangeProduct(high, "1", before, progress);
}

} // namespace longhand
