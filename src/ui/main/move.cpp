#include "move.h"

#include "form1.h"
#include "numberbox.h"
#include "numberview.h"
#include "outofmemory.h"
#include "presenter.h"
#include "services/settings.h"

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

void moveResult(NumberView* sourceBox, Form1& form) {
    if (!sourceBox) return;
    const std::string prompt =
        movePrompt(readTextEntry("move1", kMove1Len), readTextEntry("move2", kMove2Len),
                   readTextEntry("move3", kMove3Len));
    const std::optional<QString> answer =
        form.presenter().input(sourceBox->window(), QString::fromStdString(prompt),
                               QString::fromLatin1(kMoveDefault.data(), kMoveDefault.size()));
    NumberBox* target = nullptr;
    switch (moveChoice(answer ? std::optional<std::string>(answer->toStdString()) : std::nullopt)) {
    case 1:
        target = form.RichTextBox1;
        break;
    case 2:
        target = form.RichTextBox2;
        break;
    default:
        return;
    }
    // A result the memory cannot take into the box leaves the box as it is.
    const std::string& text = sourceBox->text();
    if (!target->fits(static_cast<std::int64_t>(text.size()))) {
        tellOutOfMemory(form.presenter(), sourceBox->window());
        return;
    }
    target->setText("");
    target->setText(text);
}

} // namespace longhand
