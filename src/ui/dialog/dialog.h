// The function dialog: factorial, power, permutations and combinations of
// the arguments typed on one line, with the result in its own result box.
//
// The mode is the function chosen in the menu; the caption of the dialog
// and of its compute button is the settings text for it, only shown. In the
// permutation and combination modes the
// argument line holds the template "p(,,)" / "c(,,)", whose slots take
// typed digits only: no key, menu, drop or paste can break it, while Tab,
// Enter, Esc, Copy and Select All work as everywhere. Input checking is
// switched off while the dialog is open in these modes (the state to
// restore is kept in front of the template in Label1).
#pragma once

#include "ui/main/functionmode.h"

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace longhand {

class ClickLabel;
class Form1;
class NumberView;
class Presenter;
class WindowHost;

class Dialog : public QDialog {
    Q_OBJECT

  public:
    // Settings [Text] key and length of the message shown when the table of
    // 1! to 100! is complete.
    static constexpr const char* k1to100Key = "1to100";
    static constexpr int k1to100Length = 32;

    // The argument line takes texts up to this length.
    static constexpr int kArgumentMaxLength = 1000000;

    // Loads the dialog for the main window `form`, which owns the shared
    // state, the presenter and the sound.
    explicit Dialog(Form1& form);
    ~Dialog() override;

    // Opening for `mode`: the caption from the mode's settings text
    // (readTextEntry of its key, 0), and the template in the permutation and
    // combination modes.
    void prepare(FunctionMode mode);

    // Opens the dialog for `mode` over `form` and waits until it is closed.
    static void openModal(Form1& form, FunctionMode mode);

    // The mode prepare() set; nothing before (the table of 1! to 100!).
    std::optional<FunctionMode> mode() const { return mode_; }

    // The main window's presenter, which the dialog's boxes go through.
    Presenter& presenter();

    // Writes the table of 1! to 100! over the factorial data file, showing
    // each step in the argument line, the caption and the result box, and
    // tells when it is done. Runs only for the guard phrase; returns 1 when
    // the file was written, 0 otherwise.
    unsigned char Makeit(const std::string& vok);

    // The compute button's press.
    void compute();
    // The cleaning pass over the argument line (input checking on).
    void commonInputchecking();

    // Controls.
    QLineEdit* Text1;         // the argument line
    QPushButton* Command2;    // compute; its caption is the mode word
    QPushButton* Command3;    // Stop Sound
    QLabel* Label1;           // never shown: saved iputFlag digit and template
    NumberView* RichTextBox1; // the result
    ClickLabel* Label2;       // round hint
    ClickLabel* Label3;       // "Move"

  public:
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
    // 1 in permutation mode, 2 in combination mode, else 0.
    int templateMode() const;
    bool argumentKey(QKeyEvent* event);
    // The argument line's context menu, popped up at `at` (global).
    void argumentMenu(const QPoint& at);
    void argumentChanged();
    void showResult(std::string result);
    // Each returns false when the calculation was cancelled.
    bool computeFactorial(const std::string& t);
    bool computePower(const std::string& t);
    bool computeSelection(const std::string& t, bool permutation);

    Form1& form_;
    std::unique_ptr<WindowHost> host_;
    std::optional<FunctionMode> mode_;
    bool activated_ = false;
    bool unloaded_ = false;
    bool checking_ = false; // a cleaning pass is writing its text back
};

// The Generate 1! to 100! command: the table replaces the factorial data
// file, and 100 becomes the largest stored n.
void generateFactorialTable(Form1& form);

} // namespace longhand
