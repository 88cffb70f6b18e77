#include "lengthline.h"

#include "accessible.h"
#include "core/lengthline.h"
#include "look.h"
#include "numberview.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <algorithm>

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
    fitFont();
    // A label with a name of its own does not say that its words changed.
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    announce(renamed);
}

// A long line (a cut quotient of millions of digits with the caret's place)
// is written smaller rather than cut off at the right.
void LengthLine::fitFont() {
    const QFont plain = plainFont();
    const qreal room = contentsRect().width();
    const qreal needed = QFontMetricsF(plain).horizontalAdvance(text());
    QFont fitted = plain;
    if (room > 0 && needed > room) {
        // Widths do not shrink quite in proportion (hinting): a step more
        // where the first guess still stands out.
        qreal points = std::max(kSmallestPoints, plain.pointSizeF() * room / needed);
        fitted.setPointSizeF(points);
        while (points > kSmallestPoints && QFontMetricsF(fitted).horizontalAdvance(text()) > room) {
            points = std::max(kSmallestPoints, points - 0.25);
            fitted.setPointSizeF(points);
        }
    }
    if (fitted != font()) setFont(fitted);
}

void LengthLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitFont();
}

} // namespace longhand
