#include "move.h"

#include "core/move.h"
#include "numberbox.h"
#include "numberview.h"
#include "outofmemory.h"
#include "presenter.h"
#include "services/settings.h"

namespace longhand {

void moveResult(const NumberView& source, NumberBox& firstOperand, NumberBox& secondOperand,
                Presenter& presenter) {
    const std::string prompt =
        movePrompt(readTextEntry("move1", kMove1Length), readTextEntry("move2", kMove2Length),
                   readTextEntry("move3", kMove3Length));
    const std::optional<QString> answer =
        presenter.input(source.window(), QString::fromStdString(prompt),
                        QString::fromLatin1(kMoveDefault.data(), kMoveDefault.size()));
    NumberBox* target = nullptr;
    switch (moveTarget(answer ? std::optional<std::string>(answer->toStdString()) : std::nullopt)) {
    case MoveTarget::FirstOperand:
        target = &firstOperand;
        break;
    case MoveTarget::SecondOperand:
        target = &secondOperand;
        break;
    case MoveTarget::None:
        return;
    }
    const std::string& text = source.text();
    if (!target->fits(static_cast<std::int64_t>(text.size()))) {
        tellOutOfMemory(presenter, source.window());
        return;
    }
    target->setText("");
    target->setText(text);
}

} // namespace longhand
