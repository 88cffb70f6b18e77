// The main window: two operand boxes, the result box, the four operation
// buttons, the Function and Stop Sound buttons, the status and Move labels,
// and the Option and Help menus. It owns the run and the state the other
// windows share: iputFlag, soundFlag and facUpper.
#pragma once

#include "engine/operations.h"

#include <QMainWindow>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QPushButton;

namespace longhand {

class CalcRunner;
class ClickLabel;
class HelpLauncher;
class NumberBox;
class NumberView;
class Presenter;
class SoundPort;
class WindowHost;
class frmSplash;

class Form1 : public QMainWindow {
    Q_OBJECT

  public:
    // Values of iputFlag.
    static constexpr unsigned char kInputUnset = 0;
    static constexpr unsigned char kInputCheckOffFlag = 1; // spaces refused
    static constexpr unsigned char kInputCheckOnFlag = 2;
    // Values of soundFlag.
    static constexpr unsigned char kSoundOnFlag = 0;
    static constexpr unsigned char kSoundOffFlag = 1;

    // Captions of the two option toggles.
    static constexpr const char* kEnableInputCheck = "Enable Input-checking?";
    static constexpr const char* kDisableInputCheck = "Disable Input-checking?";
    static constexpr const char* kEnableSound = "Enable Sound When Finished?";
    static constexpr const char* kDisableSound = "Disable Sound When Finished?";

    // The caption while a cleaning pass runs.
    static constexpr const char* kCheckingCaption = "Checking";

    // The presenter and sound default to the real ones; the window does
    // not own what it is given.
    explicit Form1(Presenter* presenter = nullptr, SoundPort* sound = nullptr,
                   QWidget* parent = nullptr);
    ~Form1() override;

    // Everything before the window first appears: the splash, shown
    // modally, then readOptions().
    void startUp();
    // Reads the three options from the settings file, sets the toggle
    // captions and styles the number boxes.
    void readOptions();

    // One of the four operations on the two operand boxes, into the result
    // box.
    void runOperation(Operation operation);
    // 1 (after telling the person) when a text is empty, else 0.
    int checkBothBoxes(const std::string& text1, const std::string& text2);
    // Cleans the text of operand box `id` (1 or 2) in place.
    void commonInputchecking(int id);

    Presenter& presenter() { return *presenter_; }
    SoundPort& sound() { return *sound_; }
    // The main window's calculations report through this host.
    WindowHost& host() { return *host_; }
    HelpLauncher& helpLauncher() { return *help_; }
    // Runs the calculations of this window and of the function dialog.
    CalcRunner& runner() { return *runner_; }
    // The splash while it is loaded, else null.
    frmSplash* splash() const { return splash_; }

    // Shared state (see the k... values above).
    unsigned char iputFlag = kInputUnset;
    unsigned char soundFlag = kSoundOnFlag;
    std::string facUpper = "0";

    // Controls.
    QPushButton* Command1; // Multiply
    QPushButton* Command2; // Add
    QPushButton* Command3; // Subtract
    QPushButton* Command4; // Function
    QPushButton* Command5; // Divide
    QPushButton* Command6; // Stop Sound
    NumberBox* RichTextBox1;
    NumberBox* RichTextBox2;
    NumberView* RichTextBox3;
    ClickLabel* Label1; // status and round hint
    ClickLabel* Label2; // "Move"

    // Menus; functionmnu only pops up from the Function button.
    QMenu* functionmnu;
    QAction* factorialmnu;
    QAction* powermnu;
    QAction* permu;
    QAction* comu;
    QAction* partialFac;
    QMenu* optmnu;
    QAction* iputmnu;
    QAction* sndmnu;
    QAction* g100;
    QMenu* helpmnu;
    QAction* contentsmnu;
    QAction* aboutmnu;

  public slots:
    void onInputCheckToggle();
    void onSoundToggle();
    void onFunctionButton();
    void onStopSound();
    void onContents();
    void onAbout();

    // Function menu commands, the round hint, rounding and Move: the
    // function dialog's side (form1_commands.cpp).
    void onFactorialMenu();
    void onPowerMenu();
    void onPermutationMenu();
    void onCombinationMenu();
    void onPartialProductMenu();
    void onGenerate100Menu();
    void onResultClicked();
    void onLabel1Clicked();
    void onLabel2Clicked();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls();
    void createMenus();
    void connectControls();
    void showSplash(bool about);
    void unloadSplash();
    void operandChanged(int id);
    NumberBox* operandBox(int id) const;

    std::unique_ptr<Presenter> ownPresenter_;
    std::unique_ptr<SoundPort> ownSound_;
    Presenter* presenter_;
    SoundPort* sound_;
    std::unique_ptr<WindowHost> host_;
    HelpLauncher* help_;
    CalcRunner* runner_;
    frmSplash* splash_ = nullptr;
    bool checking_ = false; // a cleaning pass is writing its text back
};

} // namespace longhand
