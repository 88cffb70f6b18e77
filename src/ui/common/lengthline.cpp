#include "lengthline.h"

#include "accessible.h"
#include "core/lengthline.h"
#include "look.h"
#include "numberview.h"

#include <QAccessible>

namespace longhand {

LengthLine::LengthLine(const NumberView& view, QWidget* parent) : QLabel(parent), view_(view) {
    setFont(plainFont());
    paintLabel(this, kQuietGrey, kBlack);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAccessibleName(QStringLiteral("Result length"));
    setAccessibleDescription(
        QStringLiteral("How many digits the result has, before and after the point, and "
                       "which digit the caret stands after"));
    connect(&view, &NumberView::textChanged, this, &LengthLine::refresh);
    connect(&view, &NumberView::caretMoved, this, &LengthLine::refresh);
    refresh();
}

void LengthLine::refresh() {
    const QString line =
        QString::fromStdString(lengthLineText(view_.shape(), view_.isCut(), view_.caret()));
    if (line == text()) return;
    setText(line);
    // A label with a name of its own does not say that its words changed.
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    announce(renamed);
}

} // namespace longhand
