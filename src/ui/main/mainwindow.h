// The main window: two operand boxes, the result view with its length
// line, the four operation buttons, the Function and Stop Sound buttons,
// the round hint and Move labels, and the File, Edit, Option and Help menus.
// Every command has a key: Alt with the first letter of an operation, and
// the Edit menu's shortcuts for copying, finding, rounding and Move. It
// owns the run and what the other windows share (the context): the
// presenter, the runner, the sound, the input checking, sound and digit
// grouping options, the history, and its operand boxes as the place for a
// number.
#pragma once

#include "core/functionmode.h"
#include "core/inputcheck.h"
#include "engine/operations.h"
#include "ui/common/calcrunner.h"
#include "ui/common/windowcontext.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPushButton;

namespace longhand {

class ClickLabel;
class HelpLauncher;
class HistoryKeeper;
class LengthLine;
class NumberBox;
class NumberView;
class Presenter;
class ResultFinder;
class RoundHintLabel;
class SoundPort;
class SplashScreen;

// The main window's controls, made by the window and owned by Qt's
// parent chain. The window keeps them private; the window tests reach them
// through MainWindowProbe (tests/support).
struct MainWindowControls {
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
    RoundHintLabel* roundHint; // also the status label the working panel covers
    ClickLabel* moveLabel;
    ResultFinder* finder; // Go to Digit, Find and Find Next in the result view

    // Menus; the function menu only pops up from the Function button.
    QMenu* fileMenu;
    QAction* openFirstAction;
    QAction* openSecondAction;
    QAction* saveAction;
    QAction* quitAction;
    // Copy and Select All act on the focused operand box, else on the result.
    QMenu* editMenu;
    QAction* copyAction;
    QAction* selectAllAction;
    QAction* roundAction; // asks for the decimals to keep
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
    std::vector<QAction*> groupingActions; // none, then each of kGroupSizes
    QMenu* helpMenu;
    QAction* contentsAction;
    QAction* aboutAction;
};

class MainWindow : public QMainWindow, private MainWindowControls {
    Q_OBJECT

  public:
    // Captions of the two option items: each names what a click does.
    static constexpr const char* kEnableInputCheck = "Enable Input-checking?";
    static constexpr const char* kDisableInputCheck = "Disable Input-checking?";
    static constexpr const char* kEnableSound = "Enable Sound When Finished?";
    static constexpr const char* kDisableSound = "Disable Sound When Finished?";

    // The caption while a cleaning pass runs.
    static constexpr const char* kCheckingCaption = longhand::kCheckingCaption;

    // The presenter and sound default to the real ones; the window does
    // not own what it is given.
    explicit MainWindow(Presenter* presenter = nullptr, SoundPort* sound = nullptr,
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // Everything before the window first appears: the splash, shown
    // modally, then readOptions().
    void startUp();
    // Reads the options from the settings file, lets the settings' largest
    // stored factorial follow the store, sets the option captions and
    // sinks the number boxes' frames.
    void readOptions();

    // What a calculation started from this window holds still.
    CalcRunner::Scene scene();
    // What every window opened over this one shares with it.
    WindowContext& context() { return *context_; }
    WindowOptions& options() { return options_; }

    Presenter& presenter() { return *presenter_; }
    SoundPort& sound() { return *sound_; }
    HelpLauncher& helpLauncher() { return *help_; }
    // Runs the calculations of this window and of the windows over it.
    CalcRunner& runner() { return *runner_; }
    // Keeps the results of every window.
    HistoryKeeper& history() { return *history_; }
    // Makes the expression and history window, which the program sets up
    // (the window is made on first use and kept).
    std::function<QWidget*()> makeExpressionWindow;
    // The expression and history window once made, else null.
    QWidget* expressionWindow() const { return expressionWindow_; }
    // The splash while it is loaded, else null.
    SplashScreen* splash() const { return splash_; }

    // Shows gaps every `size` digits (0: none) and, from the menu, keeps
    // the choice in the settings file.
    void setGroupSize(int size, bool keep);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    friend class MainWindowProbe; // the window tests reach the controls
    friend void runPartialProduct(MainWindow& window);
    friend void generateFactorialTable(MainWindow& window);

    void createControls();
    // Names, descriptions and keys for screen readers and the keyboard.
    void describeControls();
    void createMenus();
    void createEditMenu();
    void connectControls();
    void showOptions();
    void showSplash(bool about);
    void unloadSplash();

    // One of the four operations on the operand boxes, into the result view.
    void runOperation(Operation operation);
    // Empties a box and gives it `text`, where the free memory allows.
    bool putOperand(MoveTarget box, const std::string& text, QWidget* window);
    // The texts of the operand boxes; false, after telling the person,
    // when one is empty.
    bool readOperands(std::string& first, std::string& second);
    void operandChanged(NumberBox& box);
    // The cleaning pass over the text of an operand box, written back.
    void checkOperand(NumberBox& box);

    // A file opened into an operand box, or the result saved.
    void openInto(NumberBox& box, const char* caption);
    void openDropped(NumberBox& box, const QString& path);
    void saveResult();

    void toggleInputCheck();
    void toggleSound();
    void openFunctionMenu();
    void stopSound();
    void openHelp();
    void openExpressionWindow();

    // The function menu's commands (mainwindow_commands.cpp).
    void openFunctionDialog(FunctionMode mode);

    std::unique_ptr<Presenter> ownPresenter_;
    std::unique_ptr<SoundPort> ownSound_;
    Presenter* presenter_;
    SoundPort* sound_;
    HelpLauncher* help_;
    CalcRunner* runner_;
    WindowOptions options_;
    std::optional<WindowContext> context_;
    HistoryKeeper* history_;
    QWidget* expressionWindow_ = nullptr;
    SplashScreen* splash_ = nullptr;
    // Whether the sound option was chosen, by the settings file or the menu.
    // Unchosen, the sound plays and the menu still offers to switch it on.
    bool soundChosen_ = false;
    bool checking_ = false; // a cleaning pass is writing its text back
};

} // namespace longhand
