#include "rounding.h"

#include "engine/rounding.h"
#include "numberview.h"
#include "roundhint.h"

namespace longhand {

void roundResult(NumberView& box, RoundHintLabel& hint) {
    if (!hint.offer()) return;
    const auto rounded = roundToDecimals(box.text(), hint.offer()->pointPos, hint.offer()->keep);
    if (!rounded) return;
    box.setText(*rounded);
    hint.withdraw();
}

} // namespace longhand
