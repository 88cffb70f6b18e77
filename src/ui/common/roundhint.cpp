#include "roundhint.h"

#include "accessible.h"
#include "core/roundhint.h"
#include "numberview.h"

#include <QAccessible>

namespace longhand {

void RoundHintLabel::showFor(const NumberView& box) {
    const RoundHint hint = roundHintFor(box.text(), box.caretPosition());
    if (!hint.touches) return;
    if (hint.setsCaption) box.window()->setWindowTitle(QString::number(hint.pointPos));
    if (!hint.showsLabel) {
        withdraw();
        return;
    }
    offer_ = Offer{hint.pointPos, hint.keep};
    setText(QString::fromStdString(hint.label));
    show();
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    announce(renamed);
}

void RoundHintLabel::withdraw() {
    offer_.reset();
    hide();
}

} // namespace longhand
