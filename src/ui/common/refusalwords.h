// The windows' words for the engine's refusals: every message box that says
// why a calculation gave no result takes its text and icon from here.
#pragma once

#include "engine/refusal.h"

#include <string>

class QWidget;

namespace longhand {

class Presenter;
enum class MsgIcon;

// The message a window shows for `refusal`.
std::string refusalText(const Refusal& refusal);

// The icon of that message: an empty operand box is information, every
// other refusal has none.
MsgIcon refusalIcon(const Refusal& refusal);

// Shows the message for `refusal` in a message box over `window`.
void tellRefusal(Presenter& presenter, QWidget* window, const Refusal& refusal);

} // namespace longhand
