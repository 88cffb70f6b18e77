// Exact multiplication of number texts.
#pragma once

#include "progress.h"

#include <functional>
#include <string>
#include <string_view>

namespace longhand {

// The product of two number texts (numtext.h): "0" when either is exactly
// "0", ".25" for a value below 1, no trailing fraction zeros; a zero that
// is written otherwise ("00", "0.0") comes out as the empty text. Each
// leading "-" taken off an operand goes in front of the product. A text
// that is not a number text throws std::invalid_argument; the operations
// check their operands before. Cancelled, it gives up with a text without
// meaning. `textsRead`, when given, is called once the operands have been
// read for good (fast::mulDigits): a caller that owns the texts may free
// them there, and the views a and b are not looked at again.
std::string multiply(std::string_view a, std::string_view b, Progress& progress,
                     const std::function<void()>& textsRead = {});

// The product of two digit strings as exactly |A| + |B| digits, leading
// zeros included; a character other than a digit throws
// std::invalid_argument. From
// kFastMultiplyDigits digits (crossovers.h) of the shorter operand the
// product comes from the fast layer, below it from schoolbookProduct. A
// cancelled product gives up early with the empty text or digits without
// meaning. `textsRead` as for multiply.
std::string multiplyDigits(std::string_view A, std::string_view B, Progress& progress,
                           const std::function<void()>& textsRead = {});

// Schoolbook long multiplication of two digit strings on cells of nine
// digits, |A| + |B| digits as above, for operands of any length.
std::string schoolbookProduct(std::string_view A, std::string_view B, Progress& progress);

} // namespace longhand
