// The four functions of the function menu, which the function dialog
// computes. The mode is what the person chose in the menu: the dialog and
// the input checking decide by it, while the caption the settings file gives
// each mode is only shown.
#pragma once

#include <string_view>

namespace longhand {

enum class FunctionMode { Factorial, Power, Permutation, Combination };

// The settings [Text] key of the mode's caption.
constexpr std::string_view captionKey(FunctionMode mode) {
    switch (mode) {
    case FunctionMode::Factorial:
        return "f";
    case FunctionMode::Power:
        return "w";
    case FunctionMode::Permutation:
        return "p";
    case FunctionMode::Combination:
        break;
    }
    return "c";
}

} // namespace longhand
