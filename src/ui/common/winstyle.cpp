#include "winstyle.h"

#include <QFrame>
#include <QLineEdit>
#include <QWidget>

namespace longhand {

void setSunkenFrame(QWidget* widget) {
    if (!widget) return;
    // A frame style change moves the contents inside the frame, never the
    // widget: the geometry is restored anyway in case a style thinks otherwise.
    const QRect geometry = widget->geometry();
    if (auto* frame = qobject_cast<QFrame*>(widget)) {
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setFrame(true);
    }
    widget->raise();
    if (widget->geometry() != geometry) widget->setGeometry(geometry);
}

} // namespace longhand
