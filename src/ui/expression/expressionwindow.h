// The expression and history window: the history of every result above,
// the chosen entry's whole value in a result view, and a line at the bottom
// where expressions are typed ("2^100-1", "30!/(10!*20!)", "#3*ans").
//
// Enter evaluates the line on the calculation runner, with the working
// panel, its progress and Cancel; the value goes into the history and is
// shown. Up and Down bring back the lines typed before. An entry's
// right-click menu copies its value, saves it, moves it into an operand box
// of the main window or puts "#k" into the line. The history is read when
// the window opens and followed as it grows; long values are read from
// their files only when an entry is chosen or used.
#pragma once

#include "store/history.h"
#include "ui/common/calcrunner.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;

namespace longhand {

class HistoryKeeper;
class HistoryList;
class NumberView;
class Presenter;

namespace expr {
struct Fraction;
}

class ExpressionWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr const char* kTitle = "Expression and History";
    // Captions of an entry's right-click menu.
    static constexpr const char* kCopy = "Copy";
    static constexpr const char* kSaveAs = "Save As...";
    static constexpr const char* kMoveUpper = "Move to Upper Box";
    static constexpr const char* kMoveLower = "Move to Lower Box";
    static constexpr const char* kUseInExpression = "Use in expression";
    static constexpr const char* kClearHistory = "Clear History...";
    // Told when an entry's value file is missing or damaged.
    static constexpr const char* kValueLost = "The value of this entry cannot be read: ";
    // Told in the status line when the history file is damaged (%1: the
    // count of damaged lines left out) or cannot be read (then its path).
    static constexpr const char* kDamaged = "Damaged lines of the history left out: %1.";
    static constexpr const char* kUnreadable = "The history cannot be read: ";
    // How often the window looks for entries that other programs appended.
    static constexpr int kFollowMs = 1000;

    enum class Box { Upper, Lower };

    // What the window uses of the program.
    struct Services {
        Presenter& presenter;
        CalcRunner& runner;
        HistoryKeeper& history;
        // Puts a number into an operand box of the main window.
        std::function<void(Box, const std::string&)> putIntoBox;
    };

    explicit ExpressionWindow(Services services, QWidget* parent = nullptr);
    ~ExpressionWindow() override;

    // Evaluates the input line (what Enter does).
    void evaluate();
    // Reads what was appended to the history since the last reading.
    void follow();
    // Shows gaps every `size` digits in the value view (0: none).
    void setGroupSize(int size);

    // What a calculation started here holds still.
    CalcRunner::Scene scene();

    // Controls.
    HistoryList* historyList;
    NumberView* valueView;
    QLabel* noteLabel;   // the chosen entry's length line
    QLabel* statusLabel; // refusals; the working panel covers it
    QLineEdit* input;
    QMenu* entryMenu;
    QAction* copyAction;
    QAction* saveAction;
    QAction* moveUpperAction;
    QAction* moveLowerAction;
    QAction* useAction;
    QAction* clearAction;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void connectControls();
    void showCurrent();
    void tellDamage();
    void openEntryMenu(const QPoint& at);
    // The current entry's whole value (read from its file when long), or
    // nothing, told, when it cannot be read.
    std::optional<std::string> currentValue();
    void recall(int step);

    Services services_;
    std::shared_ptr<HistorySnapshot> snapshot_;
    QTimer* follower_;
    std::vector<QString> typed_; // lines typed, oldest first
    std::size_t recalled_ = 0;   // typed_.size() while none is recalled
    QString draft_;              // the line being typed before Up was pressed
};

} // namespace longhand
