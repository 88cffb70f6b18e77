// Clearing the status displays at the end of a calculation.
#pragma once

namespace longhand {

class RoundHintLabel;

// Empties and hides the window's status label, withdrawing any round offer,
// and empties the caption of the window that holds it (the window whose
// calculation just ended).
void clearStatus(RoundHintLabel& label);

} // namespace longhand
