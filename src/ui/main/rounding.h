// Rounding the number shown in a result box to the decimals the round hint
// offers (the digits left of the caret at the click).
#pragma once

class QLabel;

namespace longhand {

class NumberView;

// Rounds the text of `box` half away from zero to the count of decimals
// that `hintLabel` shows, at the point position recorded with the hint,
// writes the result back and hides the label. Does nothing unless the label
// is showing a hint: a click on the status label at any other time, or on
// a hint whose result has been edited into another shape, leaves all as is.
void roundResult(NumberView* box, QLabel* hintLabel);

} // namespace longhand
