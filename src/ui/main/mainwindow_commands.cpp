// The main window's commands that lead into the function dialog and the
// result view's services: the function menu, the partial product, the
// table of 1! to 100!, the round hint, rounding and Move. Each is connected
// in mainwindow.cpp.
#include "mainwindow.h"
#include "partialproductcommand.h"
#include "ui/common/historykeeper.h"
#include "ui/common/move.h"
#include "ui/common/numberbox.h"
#include "ui/common/numberview.h"
#include "ui/common/roundhint.h"
#include "ui/common/rounding.h"
#include "ui/dialog/functiondialog.h"
#include "ui/main/factorialtable.h"

namespace longhand {

void MainWindow::openFunctionDialog(FunctionMode mode) {
    FunctionDialog::openModal(*this, mode);
}

void MainWindow::runPartialProduct() {
    longhand::runPartialProduct(*this);
}

void MainWindow::generateFactorialTable() {
    longhand::generateFactorialTable(*this);
}

// A click into the result view: the round hint.
void MainWindow::showRoundHint() {
    roundHint->showFor(*resultView);
}

// A click on the round hint: rounding.
void MainWindow::roundResult() {
    longhand::roundResult(*resultView, *roundHint);
}

// Edit > Round Result...: the decimals asked for, then rounded as a click
// on the hint would.
void MainWindow::askAndRound() {
    askAndRoundResult(*resultView, *roundHint, *presenter_);
}

// A click on "Move".
void MainWindow::moveResult() {
    const MoveTarget moved =
        longhand::moveResult(*resultView, *firstOperand, *secondOperand, *presenter_);
    if (moved != MoveTarget::None)
        history_->record(
            this, moved == MoveTarget::FirstOperand ? "Move to Upper Box" : "Move to Lower Box",
            resultView->text(), resultView->isCut());
}

} // namespace longhand
