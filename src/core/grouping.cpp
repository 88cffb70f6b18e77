#include "grouping.h"

#include <algorithm>

namespace longhand {

bool isGroupSize(int size) {
    return size == 0 ||
           std::find(std::begin(kGroupSizes), std::end(kGroupSizes), size) != std::end(kGroupSizes);
}

DigitGrouping::DigitGrouping(const NumberShape& shape, int groupSize, bool aligned)
    : shape_(shape), size_(isGroupSize(groupSize) ? groupSize : 0) {
    if (!aligned || size_ == 0 || shape_.digits() == 0) return;
    // The first integer digit stands where its group, of `first` digits,
    // ends a cell; without integer digits the point stands in a gap's place.
    const Count whole = shape_.integerDigits();
    const Count first = whole == 0 ? 0 : (whole - 1) % size_ + 1;
    pad_ = ((size_ - first - shape_.lead) % cellWidth() + cellWidth()) % cellWidth();
}

Count DigitGrouping::gapsBefore(Count plain) const {
    if (size_ == 0) return 0;
    plain = std::clamp<Count>(plain, 0, shape_.length);
    Count gaps = 0;
    // An integer digit at index i has a gap before it when its distance
    // from the point, e - i, is a multiple of the size and it is not the
    // first digit. Those up to `plain` have distances from e - last to
    // e - lead - 1.
    const Count e = shape_.integerEnd();
    const Count last = std::min(plain, e - 1);
    if (last > shape_.lead) gaps += (e - shape_.lead - 1) / size_ - (e - last - 1) / size_;
    // Decimal k (1-based) has a gap before it when k - 1 is a multiple of
    // the size, from k = size + 1 on.
    if (shape_.point >= 0) {
        const Count k = std::min(plain, shape_.length - 1) - shape_.point;
        if (k >= 2) gaps += (k - 1) / size_;
    }
    return gaps;
}

Count DigitGrouping::toPlain(Count display) const {
    if (size_ == 0) return std::clamp<Count>(display - pad_, 0, shape_.length);
    // The first plain position drawn at or after `display`.
    Count low = 0, high = shape_.length;
    while (low < high) {
        const Count mid = low + (high - low) / 2;
        if (toDisplay(mid) >= display)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

std::string DigitGrouping::display(std::string_view text, Count from, Count to) const {
    from = std::max<Count>(from, 0);
    to = std::min(to, displayLength());
    std::string out;
    if (from >= to) return out;
    out.reserve(static_cast<std::size_t>(to - from));
    Count plain = toPlain(from);
    for (Count at = from; at < to; ++at) {
        if (plain < shape_.length && toDisplay(plain) == at) {
            out += text[static_cast<std::size_t>(plain)];
            ++plain;
        } else {
            out += ' ';
        }
    }
    return out;
}

} // namespace longhand
