// Rounding the number shown in a result box to the decimals its round hint
// offers (the digits left of the caret at the click).
#pragma once

namespace longhand {

class NumberView;
class Presenter;
class RoundHintLabel;

// Round Result... from the keyboard: asks how many decimals to keep (0 to
// one below the result's count of decimals), puts the caret after that
// decimal, shows the hint as a click there would, and rounds as a click on
// the hint does. A result without decimals, or an answer out of range, is
// told and changes nothing.
void askAndRoundResult(NumberView& box, RoundHintLabel& hint, Presenter& presenter);

// Rounds the text of `box` half away from zero as `hint` offers, writes the
// result back and withdraws the offer. Without an offer, or for a result
// that has since taken another shape, nothing changes.
void roundResult(NumberView& box, RoundHintLabel& hint);

} // namespace longhand
