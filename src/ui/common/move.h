// Moving a shown result into one of the main window's operand boxes.
#pragma once

#include "core/move.h"

#include <string>

class QWidget;

namespace longhand {

class NumberBox;
class NumberView;
class Presenter;

// Asks which operand box receives the text of `source` (the default answer
// is 1) and copies it there: the box is emptied first, then given the text.
// Other answers change nothing, and so does a text the free memory cannot
// take into the box (said in the source's window). Returns the box that
// took the text, None when none did.
// Empties `box` and gives it `text`; a text the free memory cannot take
// into the box changes nothing and is told in `window`. True when the box
// took it.
bool putIntoBox(NumberBox& box, const std::string& text, Presenter& presenter, QWidget* window);

MoveTarget moveResult(const NumberView& source, NumberBox& firstOperand, NumberBox& secondOperand,
                      Presenter& presenter);

} // namespace longhand
