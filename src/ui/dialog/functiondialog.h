// The function dialog: factorial, power, permutations and combinations of
// the arguments typed on one line, with the result in its own result view.
//
// The mode is the function chosen in the main window's menu; the caption of
// the dialog and of its compute button is the settings text for it, only
// shown. In the permutation and combination modes the argument line holds
// the template "p(,,)" / "c(,,)", whose slots take typed digits only: no
// key, menu, drop or paste can break it, while Tab, Enter, Esc, Copy and
// Select All work as everywhere. Input checking is switched off while the
// dialog is open in these modes and given back when it closes.
#pragma once

#include "core/functionmode.h"
#include "core/inputcheck.h"
#include "ui/common/calcrunner.h"

#include <QDialog>
#include <memory>
#include <string>

class QAction;
class QLineEdit;
class QPushButton;

namespace longhand {

class ClickLabel;
class StoreKeeper;
class LengthLine;
class MainWindow;
class NumberView;
class ResultFinder;
class RoundHintLabel;
struct Outcome;

class FunctionDialog : public QDialog {
    Q_OBJECT

  public:
    // The argument line takes texts up to this length.
    static constexpr int kArgumentMaxLength = 1000000;

    // The dialog for `mode` over the main window `window`, which owns the
    // shared state, the presenter and the sound. Its caption is the mode's
    // settings text (readTextEntry of its key, 0).
    FunctionDialog(MainWindow& window, FunctionMode mode);
    ~FunctionDialog() override;

    // Opens the dialog for `mode` over `window` and waits until it is closed.
    static void openModal(MainWindow& window, FunctionMode mode);

    FunctionMode mode() const { return mode_; }

    // What a calculation started from the dialog holds still.
    CalcRunner::Scene scene();

    // Controls.
    QLineEdit* argumentLine;
    QPushButton* computeButton; // its caption is the mode's word
    QPushButton* stopSoundButton;
    NumberView* resultView;
    LengthLine* lengthLine;
    RoundHintLabel* roundHint; // also the status label the working panel covers
    ClickLabel* moveLabel;
    ResultFinder* finder; // Go to Digit, Find and Find Next in the result view
    QAction* saveAction;  // Ctrl+S: the result saved as a file
    QAction* roundAction; // Ctrl+R: asks for the decimals and rounds
    QAction* moveAction;  // Ctrl+M: as a click on Move

    // Activation follows the first showing, once the dialog has given its
    // initial focus.
    void setVisible(bool visible) override;

  protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void connectControls();
    void activate();
    void unload();
    bool hasTemplate() const;
    // True when the key is swallowed.
    bool argumentKey(QKeyEvent* event);
    // The argument line's context menu, popped up at `at` (global).
    void argumentMenu(const QPoint& at);
    void argumentChanged();
    // The cleaning pass over the argument line, written back.
    void checkArgument();

    void compute();
    void follow(Outcome& outcome, StoreKeeper* keeper = nullptr);
    // Each returns false when the calculation was cancelled.
    bool computeFactorial(const std::string& t);
    bool computePower(const std::string& t);
    bool computeSelection(const std::string& t, bool permutation);

    MainWindow& window_;
    const FunctionMode mode_;
    // The main window's input checking, kept while a template holds it off.
    InputCheck savedInputCheck_ = InputCheck::Unset;
    bool activated_ = false;
    bool unloaded_ = false;
    bool checking_ = false; // a cleaning pass is writing its text back
    std::string argument_;  // the line of the calculation going on
};

} // namespace longhand
