// Finding one's place in a result view: Go to Digit (Ctrl+G) puts the
// caret after digit N; Find (Ctrl+F) asks for a string of digits and
// selects its next match, scrolled into sight, and Find Next (F3) goes on
// to the one after. The search runs on the calculation runner's worker, so
// a result of any length never holds the window still.
#pragma once

#include "calcrunner.h"

#include <QObject>
#include <functional>
#include <string>

class QAction;
class QWidget;

namespace longhand {

class NumberView;
class Presenter;

class ResultFinder : public QObject {
    Q_OBJECT

  public:
    // The finder of `view`, whose actions work anywhere in the view's
    // window and stand in the view's context menu. `scene` gives what a
    // search holds still.
    ResultFinder(NumberView& view, Presenter& presenter, CalcRunner& runner,
                 std::function<CalcRunner::Scene()> scene);

    void goToDigit();
    void find();
    void findNext();

    QAction* goToAction;
    QAction* findAction;
    QAction* findNextAction;

  private:
    // Selects the next match of the pattern from `from` on (wrapping), or
    // says that there is none.
    void search(std::int64_t from);

    NumberView& view_;
    Presenter& presenter_;
    CalcRunner& runner_;
    std::function<CalcRunner::Scene()> scene_;
    std::string pattern_; // the last string looked for
};

} // namespace longhand
