#include "roundhint.h"

#include <algorithm>

namespace longhand {

RoundHint roundHintFor(std::string_view text, Count caret) {
    RoundHint hint;
    if (text.empty()) return hint;
    hint.touches = true;
    auto point = text.find('.');
    if (point == std::string_view::npos) return hint;
    const Count q = static_cast<Count>(point) + 1;
    if (caret < q) return hint;

    hint.setsCaption = true;
    hint.pointPos = q;
    const Count fraction = static_cast<Count>(text.size()) - q;
    hint.keep = std::min(caret - q, fraction);
    if (hint.keep < fraction) {
        hint.showsLabel = true;
        hint.label = std::to_string(hint.keep);
        hint.label += kClickToRound;
    }
    return hint;
}

} // namespace longhand
