#include "status.h"

#include "roundhint.h"

namespace longhand {

void clearStatus(RoundHintLabel& label) {
    label.setText(QString());
    label.withdraw();
    label.window()->setWindowTitle(QString());
}

} // namespace longhand
