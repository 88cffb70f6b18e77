#include "partialproduct.h"

#include "addition.h"
#include "numtext.h"
#include "rangeproduct.h"

namespace longhand {

Outcome partialProduct(std::string_view m, std::string_view n, Progress& progress) {
    if (!isWholeNumberText(m) || !isWholeNumberText(n)) return Outcome::refused(kEnterWholeNumbers);
    const std::string low = wholeNumberValue(m);
    const std::string high = wholeNumberValue(n);
    if (!isAbove(compareWholeTexts(high, low))) return Outcome::refused(kChooseNGreater);
    // The run starts after M - 1: exact in a double for the short ends, on
    // texts for the long ones.
    const std::string before =
        high.size() <= kBatchedEndDigits ? doubleText(numericValue(low) - 1) : subtract(low, "1");
    if (productTooLong(high, "1", before)) return Outcome::refused(kProductTooLong);
    return rangeProduct(high, "1", before, progress);
}

} // namespace longhand
