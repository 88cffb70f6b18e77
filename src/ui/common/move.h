// Moving a shown result into one of the main window's operand boxes.
#pragma once

#include "core/move.h"

namespace longhand {

class NumberView;
struct WindowContext;

// Asks which operand box receives the text of `source` (the default answer
// is 1) and puts it there through the context: the box is emptied first,
// then given the text. Other answers change nothing, and so does a text
// the free memory cannot take into the box (said in the source's window).
// Returns the box that took the text, None when none did.
MoveTarget moveResult(const NumberView& source, const WindowContext& context);

} // namespace longhand
