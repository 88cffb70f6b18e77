#include "move.h"

#include "numberview.h"
#include "presenter.h"
#include "services/settings.h"
#include "windowcontext.h"

namespace longhand {

MoveTarget moveResult(const NumberView& source, const WindowContext& context) {
    const std::string prompt =
        movePrompt(readTextEntry("move1", kMove1Length), readTextEntry("move2", kMove2Length),
                   readTextEntry("move3", kMove3Length));
    const std::optional<QString> answer =
        context.presenter.input(source.window(), QString::fromStdString(prompt),
                                QString::fromLatin1(kMoveDefault.data(), kMoveDefault.size()));
    const MoveTarget target =
        moveTarget(answer ? std::optional<std::string>(answer->toStdString()) : std::nullopt);
    if (target == MoveTarget::None) return target;
    return context.putOperand(target, source.text(), source.window()) ? target : MoveTarget::None;
}

} // namespace longhand
