// Rounding the number shown in a result box to the decimals its round hint
// offers (the digits left of the caret at the click).
#pragma once

namespace longhand {

class NumberView;
class RoundHintLabel;

// Rounds the text of `box` half away from zero as `hint` offers, writes the
// result back and withdraws the offer. Without an offer, or for a result
// that has since taken another shape, nothing changes.
void roundResult(NumberView& box, RoundHintLabel& hint);

} // namespace longhand
