#include "move.h"

namespace longhand {

std::string movePrompt(std::string_view move1, std::string_view move2, std::string_view move3) {
    std::string prompt;
    prompt.append(move1).append("\r\r").append(move2).append("\r\r").append(move3);
    return prompt;
}

MoveTarget moveTarget(const std::optional<std::string>& answer) {
    if (!answer || answer->empty()) return MoveTarget::None;
    switch (answer->front()) {
    case '1':
        return MoveTarget::FirstOperand;
    case '2':
        return MoveTarget::SecondOperand;
    default:
        return MoveTarget::None;
    }
}

} // namespace longhand
