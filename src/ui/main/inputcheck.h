// Keystroke input checking: the cleaning pass over the text of an operand
// box or of the function dialog's argument line.
//
// One pass keeps only the characters that may stand where they stand, then
// tidies the sign and the leading zeros: "12a3" -> "123", "5.5.5" -> "5.55",
// "-00.25" -> "-0.25", "007" -> "7", "0.5" -> ".5". A pass may leave work
// for the next one ("0^3" -> "^3" -> "3" in power mode), so the windows
// write back settleInputText(), which repeats the pass until it changes
// nothing.
#pragma once

#include "functionmode.h"

#include <optional>
#include <string>
#include <string_view>

namespace longhand {

// Which field a pass serves.
enum InputField : int {
    OperandField1 = 1, // the main window's upper operand box
    OperandField2 = 2, // the main window's lower operand box
    ArgumentField = 3, // the function dialog's argument line
};

// Passes settleInputText() runs at most. A text settles in two or three;
// the bound only guards against an endless back and forth.
inline constexpr int kMaxInputPasses = 16;

// One pass over `text` for the field `id` (another id gives ""). `mode` is
// the function dialog's mode and matters only for ArgumentField, where the
// factorial and the power have rules of their own.
std::string inputCheckPass(std::string_view text, int id,
                           std::optional<FunctionMode> mode = std::nullopt);

// Repeats inputCheckPass() until the text stays the same (at most
// kMaxInputPasses times) and returns the settled text.
std::string settleInputText(std::string_view text, int id,
                            std::optional<FunctionMode> mode = std::nullopt);

} // namespace longhand
