#include "move.h"

#include "core/move.h"
#include "numberbox.h"
#include "numberview.h"
#include "outofmemory.h"
#include "presenter.h"
#include "services/settings.h"

namespace longhand {

MoveTarget moveResult(const NumberView& source, NumberBox& firstOperand, NumberBox& secondOperand,
                      Presenter& presenter) {
    const std::string prompt =
        movePrompt(readTextEntry("move1", kMove1Length), readTextEntry("move2", kMove2Length),
                   readTextEntry("move3", kMove3Length));
    const std::optional<QString> answer =
        presenter.input(source.window(), QString::fromStdString(prompt),
                        QString::fromLatin1(kMoveDefault.data(), kMoveDefault.size()));
    NumberBox* target = nullptr;
    const MoveTarget chosen =
        moveTarget(answer ? std::optional<std::string>(answer->toStdString()) : std::nullopt);
    switch (chosen) {
    case MoveTarget::FirstOperand:
        target = &firstOperand;
        break;
    case MoveTarget::SecondOperand:
        target = &secondOperand;
        break;
    case MoveTarget::None:
        return MoveTarget::None;
    }
    return putIntoBox(*target, source.text(), presenter, source.window()) ? chosen
                                                                          : MoveTarget::None;
}

bool putIntoBox(NumberBox& box, const std::string& text, Presenter& presenter, QWidget* window) {
    if (!box.fits(static_cast<std::int64_t>(text.size()))) {
        tellOutOfMemory(presenter, window);
        return false;
    }
    box.setText("");
    box.setText(text);
    return true;
}

} // namespace longhand
