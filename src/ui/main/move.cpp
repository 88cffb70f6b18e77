#include "move.h"

namespace longhand {

std::string movePrompt(std::string_view move1, std::string_view move2, std::string_view move3) {
    std::string prompt;
    prompt.append(move1).append("\r\r").append(move2).append("\r\r").append(move3);
    return prompt;
}

int moveChoice(const std::optional<std::string>& answer) {
    if (!answer || answer->empty()) return 0;
    char first = answer->front();
    return (first >= '0' && first <= '9') ? first - '0' : 0;
}

} // namespace longhand
