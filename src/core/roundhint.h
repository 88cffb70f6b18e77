// What a click into a shown result offers: the window caption gets the
// position of the decimal point, and the hint label offers to round to the
// fraction digits that lie left of the caret.
#pragma once

#include "engine/numtext.h"

#include <string>
#include <string_view>

namespace longhand {

// Follows the count of kept decimals in the hint label.
inline constexpr std::string_view kClickToRound = ": Click To Round.";

// What a click into a result changes.
struct RoundHint {
    bool touches = false;     // false: the result is empty, nothing changes
    bool setsCaption = false; // the window caption becomes pointPos
    Count pointPos = 0;       // 1-based position of the first "."
    bool showsLabel = false;  // otherwise the label is hidden
    Count keep = 0;           // fraction digits left of the caret
    std::string label;        // the label's caption while shown
};

// The hint for a result `text` with `caret` characters before the caret.
RoundHint roundHintFor(std::string_view text, Count caret);

} // namespace longhand
