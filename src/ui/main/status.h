// Clearing the status displays at the end of a calculation.
#pragma once

class QLabel;

namespace longhand {

// Empties and hides the status label and empties the caption of the window
// that holds it (the window whose calculation just ended).
void clearStatus(QLabel* label);

} // namespace longhand
