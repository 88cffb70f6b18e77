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

// The input checking option. Unset until the settings or the menu choose:
// then nothing is checked and every key goes in. Off refuses only the space
// key in the operand boxes; On cleans every change.
enum class InputCheck { Unset, Off, On };

// Which text a pass serves: the main window's operand boxes, or the
// function dialog's argument line, where the mode adds rules of its own.
enum class InputField { Operand, Argument };

// Passes settleInputText() runs at most. A text settles in two or three;
// the bound only guards against an endless back and forth.
inline constexpr int kMaxInputPasses = 16;

// One pass over `text`. `mode` is the function dialog's mode and matters
// only for the argument line, where the factorial and the power have rules
// of their own.
std::string inputCheckPass(std::string_view text, InputField field,
                           std::optional<FunctionMode> mode = std::nullopt);

// Repeats inputCheckPass() until the text stays the same (at most
// kMaxInputPasses times) and returns the settled text.
std::string settleInputText(std::string_view text, InputField field,
                            std::optional<FunctionMode> mode = std::nullopt);

// A quick look, on every thread for a long text, that an operand box's text
// is settled already (settleInputText() would give it back): digits with
// at most one point and no leading zero to drop. False for some settled
// texts (those with a sign); those need settleInputText() to tell.
bool operandIsSettled(std::string_view text);

} // namespace longhand
