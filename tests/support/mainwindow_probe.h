// The main window's controls, for the tests and benchmarks that drive it
// (the window keeps them private). Generated from the window's list of
// controls: every control there is here.
#pragma once

#include "ui/main/mainwindow.h"

#include <vector>

namespace longhand {

class MainWindowProbe {
  public:
    explicit MainWindowProbe(MainWindow& w)
        : multiplyButton(w.multiplyButton), addButton(w.addButton),
          subtractButton(w.subtractButton), functionButton(w.functionButton),
          divideButton(w.divideButton), stopSoundButton(w.stopSoundButton),
          firstOperand(w.firstOperand), secondOperand(w.secondOperand), resultView(w.resultView),
          lengthLine(w.lengthLine), roundHint(w.roundHint), moveLabel(w.moveLabel),
          finder(w.finder), fileMenu(w.fileMenu), openFirstAction(w.openFirstAction),
          openSecondAction(w.openSecondAction), saveAction(w.saveAction), quitAction(w.quitAction),
          editMenu(w.editMenu), copyAction(w.copyAction), selectAllAction(w.selectAllAction),
          roundAction(w.roundAction), moveAction(w.moveAction), functionMenu(w.functionMenu),
          factorialAction(w.factorialAction), powerAction(w.powerAction),
          permutationAction(w.permutationAction), combinationAction(w.combinationAction),
          partialProductAction(w.partialProductAction), optionMenu(w.optionMenu),
          inputCheckAction(w.inputCheckAction), soundAction(w.soundAction),
          factorialTableAction(w.factorialTableAction), keepHistoryAction(w.keepHistoryAction),
          clearHistoryAction(w.clearHistoryAction), expressionAction(w.expressionAction),
          groupingMenu(w.groupingMenu), groupingActions(w.groupingActions), helpMenu(w.helpMenu),
          contentsAction(w.contentsAction), aboutAction(w.aboutAction) {}

    QPushButton* multiplyButton;
    QPushButton* addButton;
    QPushButton* subtractButton;
    QPushButton* functionButton;
    QPushButton* divideButton;
    QPushButton* stopSoundButton;
    NumberBox* firstOperand;
    NumberBox* secondOperand;
    NumberView* resultView;
    LengthLine* lengthLine;
    RoundHintLabel* roundHint;
    ClickLabel* moveLabel;
    ResultFinder* finder;
    QMenu* fileMenu;
    QAction* openFirstAction;
    QAction* openSecondAction;
    QAction* saveAction;
    QAction* quitAction;
    QMenu* editMenu;
    QAction* copyAction;
    QAction* selectAllAction;
    QAction* roundAction;
    QAction* moveAction;
    QMenu* functionMenu;
    QAction* factorialAction;
    QAction* powerAction;
    QAction* permutationAction;
    QAction* combinationAction;
    QAction* partialProductAction;
    QMenu* optionMenu;
    QAction* inputCheckAction;
    QAction* soundAction;
    QAction* factorialTableAction;
    QAction* keepHistoryAction;
    QAction* clearHistoryAction;
    QAction* expressionAction;
    QMenu* groupingMenu;
    std::vector<QAction*> groupingActions;
    QMenu* helpMenu;
    QAction* contentsAction;
    QAction* aboutAction;
};

inline MainWindowProbe ui(MainWindow& window) {
    return MainWindowProbe(window);
}

} // namespace longhand
