// Digit grouping: gaps every 3, 5 or 10 digits in a shown result, counted
// outward from the decimal point (from the end of a whole number). The gaps
// are display only: the text keeps its plain characters, and every caret
// position that copying, the round hint and rounding use is a position in
// that plain text. The mapping between plain positions and the positions of
// the grouped display takes constant or logarithmic time, so a view with
// millions of digits draws and moves its caret at once.
//
// A number that takes several rows is aligned: blanks before it put every
// whole group in a cell of the group size plus one (the gap, or the point),
// so that rows of whole cells show the groups in columns.
#pragma once

#include "numbershape.h"

#include <string>
#include <string_view>

namespace longhand {

// The group sizes Longhand offers; 0 means no grouping.
inline constexpr int kGroupSizes[] = {3, 5, 10};

// True for 0 and the sizes of kGroupSizes.
bool isGroupSize(int size);

class DigitGrouping {
  public:
    // No grouping: display and plain positions are the same.
    DigitGrouping() = default;
    // Gaps every `groupSize` digits in a text of `shape` (none for 0),
    // aligned to cells when `aligned`.
    DigitGrouping(const NumberShape& shape, int groupSize, bool aligned = false);

    // Display characters per cell: a group and its gap; 0 without grouping.
    Count cellWidth() const { return size_ > 0 ? size_ + 1 : 0; }

    Count displayLength() const { return toDisplay(shape_.length); }
    // Where the character at `plain` stands in the display.
    Count toDisplay(Count plain) const { return pad_ + plain + gapsBefore(plain); }
    // Where a caret with `plain` characters before it is drawn: right after
    // the character before it, ahead of any gap.
    Count caretToDisplay(Count plain) const { return plain > 0 ? toDisplay(plain - 1) + 1 : pad_; }
    // The plain caret position for a display position: a caret on either
    // side of a gap stands before the digit after it.
    Count toPlain(Count display) const;
    // Display characters [from, to) of `text`, a gap drawn as a blank.
    std::string display(std::string_view text, Count from, Count to) const;

  private:
    // Gaps before the characters up to and including `plain`.
    Count gapsBefore(Count plain) const;

    NumberShape shape_;
    Count size_ = 0;
    Count pad_ = 0; // blanks before the number
};

} // namespace longhand
