#include "status.h"

#include <QLabel>

namespace longhand {

void clearStatus(QLabel* label) {
    if (!label) return;
    label->setText(QString());
    label->hide();
    label->window()->setWindowTitle(QString());
}

} // namespace longhand
