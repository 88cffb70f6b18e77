#include "rounding.h"

#include "engine/numtext.h"
#include "engine/rounding.h"
#include "numberview.h"
#include "roundhint.h"

#include <QLabel>
#include <QVariant>

namespace longhand {

void roundResult(NumberView* box, QLabel* hintLabel) {
    if (!box || !hintLabel || hintLabel->isHidden()) return;
    const QString caption = hintLabel->text();
    const QVariant point = hintLabel->property(kHintPointProperty);
    if (!caption.endsWith(QString::fromLatin1(kClickToRound.data(), kClickToRound.size())) ||
        !point.isValid()) {
        return;
    }
    // The count of decimals is the number the label begins with.
    const auto keep = static_cast<Count>(numericValue(caption.toStdString()));
    const auto rounded = roundToDecimals(box->text(), point.toLongLong(), keep);
    if (!rounded) return;
    box->setText(*rounded);
    hintLabel->hide();
}

} // namespace longhand
