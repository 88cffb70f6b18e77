// The main window's function menu: the function dialog, over the window's
// shared context.
#include "mainwindow.h"
#include "ui/dialog/functiondialog.h"

namespace longhand {

void MainWindow::openFunctionDialog(FunctionMode mode) {
    FunctionDialog::openModal(*context_, mode);
}

} // namespace longhand
