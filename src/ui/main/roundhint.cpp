#include "roundhint.h"

#include "numberview.h"

#include <QLabel>
#include <QVariant>
#include <algorithm>

namespace longhand {

RoundHint roundHintFor(std::string_view text, Count caret) {
    RoundHint hint;
    if (text.empty()) return hint;
    hint.touches = true;
    auto point = text.find('.');
    if (point == std::string_view::npos) return hint;
    const Count q = static_cast<Count>(point) + 1;
    if (caret < q) return hint;

    hint.setsCaption = true;
    hint.pointPos = q;
    const Count fraction = static_cast<Count>(text.size()) - q;
    hint.keep = std::min(caret - q, fraction);
    if (hint.keep < fraction) {
        hint.showsLabel = true;
        hint.label = std::to_string(hint.keep);
        hint.label += kClickToRound;
    }
    return hint;
}

void showRoundHint(NumberView* box, QLabel* hintLabel) {
    if (!box || !hintLabel) return;
    const RoundHint hint = roundHintFor(box->text(), box->caretPosition());
    if (!hint.touches) return;
    if (hint.setsCaption) {
        box->window()->setWindowTitle(QString::number(hint.pointPos));
        hintLabel->setProperty(kHintPointProperty, QVariant::fromValue<qlonglong>(hint.pointPos));
    }
    if (hint.showsLabel) {
        hintLabel->setText(QString::fromStdString(hint.label));
        hintLabel->show();
    } else {
        hintLabel->hide();
    }
}

} // namespace longhand
