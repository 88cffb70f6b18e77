// The question that moves a shown result into one of the main window's
// operand boxes, and which box an answer picks.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace longhand {

// Settings [Text] lengths of the three prompt lines "move1" to "move3".
inline constexpr int kMove1Length = 29;
inline constexpr int kMove2Length = 16;
inline constexpr int kMove3Length = 91;

// The answer offered with the question.
inline constexpr std::string_view kMoveDefault = "1";

// The three lines joined by two carriage returns each.
std::string movePrompt(std::string_view move1, std::string_view move2, std::string_view move3);

enum class MoveTarget { None, FirstOperand, SecondOperand };

// The box an answer picks, by its first character: "1" the upper box, "2"
// the lower one; anything else, Cancel (nullopt) included, none.
MoveTarget moveTarget(const std::optional<std::string>& answer);

} // namespace longhand
