#include "numbershape.h"

#include <algorithm>

namespace longhand {

NumberShape shapeOf(std::string_view text) {
    NumberShape shape;
    shape.length = static_cast<Count>(text.size());
    shape.lead = !text.empty() && text.front() == '-' ? 1 : 0;
    const std::size_t point = text.find('.');
    shape.point = point == std::string_view::npos ? -1 : static_cast<Count>(point);
    return shape;
}

Count NumberShape::digitsBefore(Count position) const {
    position = std::clamp<Count>(position, 0, length);
    const Count passed = std::min(position, lead) + (point >= 0 && position > point ? 1 : 0);
    return position - passed;
}

Count NumberShape::positionAfterDigit(Count n) const {
    n = std::clamp<Count>(n, 0, digits());
    return lead + n + (n > integerDigits() ? 1 : 0);
}

} // namespace longhand
