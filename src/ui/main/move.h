// Moving a shown result into one of the main window's operand boxes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace longhand {

class Form1;
class NumberView;

// Settings [Text] keys and lengths of the three prompt lines.
inline constexpr int kMove1Len = 29;
inline constexpr int kMove2Len = 16;
inline constexpr int kMove3Len = 91;

// The default answer of the question.
inline constexpr std::string_view kMoveDefault = "1";

// The three lines joined by two carriage returns each.
std::string movePrompt(std::string_view move1, std::string_view move2, std::string_view move3);

// The target box chosen by an answer: the value of its first character
// when that is a digit, otherwise (also for Cancel, nullopt) 0.
int moveChoice(const std::optional<std::string>& answer);

// Asks which operand box of the main window `form` receives the text of
// `sourceBox` (the default answer is 1) and copies it there: the box is
// emptied first, then given the text. Other answers change nothing.
void moveResult(NumberView* sourceBox, Form1& form);

} // namespace longhand
