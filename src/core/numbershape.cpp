#include "numbershape.h"

#include <algorithm>

namespace longhand {

NumberShape shapeOf(std::string_view text) {
    NumberShape shape;
    shape.length = static_cast<Count>(text.size());
    shape.lead = !text.empty() && text.front() == '-' ? 1 : 0;
    const std::size_t point = text.find('.');
    shape.point = point == std::string_view::npos ? -1 : static_cast<Count>(point);
    const Count end = shape.integerEnd();
    Count zeros = 0;
    while (shape.lead + zeros < end && text[static_cast<std::size_t>(shape.lead + zeros)] == '0')
        ++zeros;
    // A whole number of zeros keeps one of them as its digit.
    if (shape.point < 0 && zeros > 0 && shape.lead + zeros == end) --zeros;
    shape.zeros = zeros;
    return shape;
}

Count NumberShape::digitsBefore(Count position) const {
    position = std::clamp<Count>(position, 0, length);
    const Count passed =
        std::min(position, lead + zeros) + (point >= 0 && position > point ? 1 : 0);
    return position - passed;
}

Count NumberShape::positionAfterDigit(Count n) const {
    n = std::clamp<Count>(n, 0, digits());
    return lead + zeros + n + (n > wholeDigits() ? 1 : 0);
}

} // namespace longhand
