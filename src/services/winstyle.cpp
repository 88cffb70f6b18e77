#include "services/winstyle.h"

#include <QFrame>
#include <QLineEdit>
#include <QWidget>

namespace longhand {

void setExStyle(QWidget* window) {
    if (!window) return;
    // A frame style change moves the contents inside the frame, never the
    // widget: the geometry is restored anyway in case a style thinks otherwise.
    const QRect geometry = window->geometry();
    if (auto* frame = qobject_cast<QFrame*>(window)) {
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    } else if (auto* line = qobject_cast<QLineEdit*>(window)) {
        line->setFrame(true);
    }
    window->raise();
    if (window->geometry() != geometry) window->setGeometry(geometry);
}

} // namespace longhand
