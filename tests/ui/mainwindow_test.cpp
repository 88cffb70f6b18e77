// The main window driven as a person would: typing into the operand boxes,
// pressing the buttons and menu items, reading the boxes, captions, labels
// and the settings file.
#include "support/alloc_failure.h"
#include "support/gmp.h"
#include "ui/common/application.h"
#include "ui/common/historykeeper.h"
#include "uitest.h"

#include <QSignalSpy>
#include <filesystem>
#include <new>

namespace longhand {
namespace {

using test::click;
using test::WindowRig;

// ---- The four operations ----------------------------------------------------

// Each button runs its own operation on the two boxes into the result view
// and clears the status; a refusal shows its message and leaves the result,
// the status and the sound alone. The operand boxes never change.
TEST(MainWindowOperation, EachButtonShowsItsResultOrItsRefusal) {
    using Button = QPushButton* MainWindowControls::*;
    struct Case {
        const char* a;
        const char* b;
        Button button;
        const char* shown;
        const char* message; // null: a result
        MsgIcon icon = MsgIcon::None;
    } const cases[] = {
        {"12.5", "-3", &MainWindowControls::addButton, "9.5", nullptr},
        {"12.5", "-3", &MainWindowControls::subtractButton, "15.5", nullptr},
        {"12.5", "-3", &MainWindowControls::multiplyButton, "-37.5", nullptr},
        {"10", "4", &MainWindowControls::divideButton, "2.5", nullptr},
        {"5", "-0.0", &MainWindowControls::divideButton, "old", "Division by zero."},
        {"5", "", &MainWindowControls::addButton, "old", "1 or 2 boxes are Empty.",
         MsgIcon::Information},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " " + c.b);
        WindowRig rig; // input checking unset: the boxes keep what is typed
        MainWindow& w = *rig.window;
        ui(w).resultView->setText("old");
        w.setWindowTitle("3");
        QTest::keyClicks(ui(w).firstOperand, QString::fromLatin1(c.a));
        QTest::keyClicks(ui(w).secondOperand, QString::fromLatin1(c.b));
        click(ui(w).*c.button);
        EXPECT_EQ(ui(w).resultView->text(), c.shown);
        EXPECT_EQ(ui(w).firstOperand->text() + "|" + ui(w).secondOperand->text(),
                  std::string(c.a) + "|" + c.b);
        ASSERT_EQ(rig.presenter.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(rig.presenter.messages[0].text.toStdString(), c.message);
            EXPECT_EQ(rig.presenter.messages[0].icon, c.icon);
        }
        // A result clears the status; a refusal leaves it and the sound alone.
        EXPECT_EQ(w.windowTitle(), c.message ? "3" : "");
        EXPECT_EQ(ui(w).stopSoundButton->isHidden(), c.message != nullptr);
    }
}

// Long operands are read whole, and the result's shape, found beside the
// calculation, is the one its text has. A result too long for the
// history's log is written on the runner, as a second run.
TEST(MainWindowOperation, LongOperandsAndResultsKeepEveryDigit) {
    const std::string nines(kHistoryInlineDigits + 1, '9');
    struct Case {
        std::string a, b;
        std::string shown;
    } const cases[] = {
        {nines, "1", "1" + std::string(nines.size(), '0')},
        {"-0.5", nines + ".5", nines},
        {nines + ".25", "-" + nines, "0.25"},
    };
    for (const Case& c : cases) {
        WindowRig rig;
        MainWindow& w = *rig.window;
        ui(w).firstOperand->setText(c.a);
        ui(w).secondOperand->setText(c.b);
        QSignalSpy runs(&w.runner(), &CalcRunner::started);
        click(ui(w).addButton);
        EXPECT_EQ(ui(w).resultView->text(), c.shown);
        EXPECT_EQ(runs.count(), c.shown.size() > kHistoryInlineDigits ? 2 : 1);
        const std::vector<HistoryEntry> kept = w.history().store().read().entries;
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0].source, "Add");
        EXPECT_EQ(kept[0].note, resultNote(c.shown, false));
        EXPECT_EQ(w.history().store().value(kept[0]), c.shown);
        const NumberShape expected = shapeOf(c.shown), shown = ui(w).resultView->shape();
        EXPECT_EQ(
            std::vector<Count>({shown.length, shown.lead, shown.point, shown.zeros}),
            std::vector<Count>({expected.length, expected.lead, expected.point, expected.zeros}));
        EXPECT_TRUE(rig.presenter.messages.empty());
    }
}

// ---- The finished sound and its options ----------------------------------------

TEST(MainWindowSound, AFinishedOperationLoopsTheSoundUntilStopped) {
    WindowRig rig; // the delivered settings: sound on
    MainWindow& w = *rig.window;
    ui(w).firstOperand->setText("1");
    ui(w).secondOperand->setText("2");
    click(ui(w).addButton);
    EXPECT_EQ(rig.sound.log, (std::vector<std::string>{"stop", "play"}));
    EXPECT_FALSE(ui(w).stopSoundButton->isHidden());
    click(ui(w).stopSoundButton);
    EXPECT_FALSE(rig.sound.looping);
    EXPECT_TRUE(ui(w).stopSoundButton->isHidden());

    // Switched off while it loops, the sound stops and is not heard again.
    click(ui(w).addButton);
    ui(w).soundAction->trigger();
    EXPECT_FALSE(rig.sound.looping);
    EXPECT_TRUE(ui(w).stopSoundButton->isHidden());
    EXPECT_EQ(ui(w).soundAction->text(), "Enable Sound When Finished?");
    EXPECT_EQ(rig.folder.setting("Sound Check", "State"), "1");
    rig.sound.log.clear();
    click(ui(w).multiplyButton);
    EXPECT_EQ(ui(w).resultView->text(), "2");
    EXPECT_TRUE(rig.sound.log.empty());
    ui(w).soundAction->trigger();
    EXPECT_EQ(ui(w).soundAction->text(), "Disable Sound When Finished?");
    EXPECT_EQ(rig.folder.setting("Sound Check", "State"), "0");
}

// ---- Input checking in the operand boxes -----------------------------------

TEST(MainWindowChecking, WithCheckingOnEachChangeIsCleanedOnce) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    ui(w).inputCheckAction->trigger();
    ASSERT_EQ(w.options().inputCheck, InputCheck::On);
    std::vector<std::string> titles;
    QObject::connect(&w, &QWidget::windowTitleChanged,
                     [&](const QString& title) { titles.push_back(title.toStdString()); });
    QTest::keyClicks(ui(w).firstOperand, "-.5");
    EXPECT_EQ(ui(w).firstOperand->text(), "-0.5");
    // One pass per keystroke: the write-back raises no second one.
    EXPECT_EQ(titles, (std::vector<std::string>{"Checking", "", "Checking", "", "Checking", ""}));
    // An edit in the middle is cleaned too, and the caret ends at the end.
    QTest::keyClicks(ui(w).secondOperand, "123");
    ui(w).secondOperand->setCaretPosition(1);
    QTest::keyClicks(ui(w).secondOperand, "4");
    EXPECT_EQ(ui(w).secondOperand->text(), "1423");
    EXPECT_EQ(ui(w).secondOperand->caretPosition(), 4);
    ui(w).secondOperand->setCaretPosition(1);
    QTest::keyClicks(ui(w).secondOperand, "x"); // refused, and still the caret goes
    EXPECT_EQ(ui(w).secondOperand->text(), "1423");
    EXPECT_EQ(ui(w).secondOperand->caretPosition(), 4);
}

TEST(MainWindowChecking, OffRefusesOnlyTheSpaceAndUnsetNothing) {
    for (const bool off : {true, false}) {
        WindowRig rig(off ? "[Input Check]\nState=1\n" : "");
        QTest::keyClicks(ui(*rig.window).firstOperand, "0 1a");
        EXPECT_EQ(ui(*rig.window).firstOperand->text(), off ? "01a" : "0 1a");
    }
}

// A long paste that memory cannot take, running out in the cleaning pass or
// refused by the box: one message each time, the caption back, and the box
// goes on being checked.
TEST(MainWindowChecking, APasteOutOfMemoryEndsInTheMessage) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    ui(w).inputCheckAction->trigger();
    NumberBox* box = ui(w).firstOperand;
    box->freeMemory = [] { return std::optional<std::uint64_t>(std::uint64_t{1} << 40); };
    QApplication::clipboard()->setText(QString(300000, QLatin1Char('7')));
    {
        test::FailLargeAllocations fail(1 << 18);
        box->paste();
        EXPECT_GT(fail.refused(), 0u);
    }
    box->freeMemory = [] { return std::optional<std::uint64_t>(1 << 20); };
    box->paste();
    ASSERT_EQ(rig.presenter.messages.size(), 2u);
    EXPECT_EQ(rig.presenter.messages[0].text, kOutOfMemory);
    EXPECT_EQ(rig.presenter.messages[1].text, kOutOfMemory);
    EXPECT_EQ(w.windowTitle(), "");
    box->setText("");
    QTest::keyClicks(box, "0a1");
    EXPECT_EQ(box->text(), "1");
}

// ---- Start-up and the option items ----------------------------------------------

TEST(MainWindowStartUp, ReadsTheOptionsAndOffersTheirOpposites) {
    struct Case {
        const char* settings;
        InputCheck inputCheck;
        const char* inputItem;
        bool soundOn;
        const char* soundItem;
        const char* upper; // as the settings file keeps it
    } const cases[] = {
        {"", InputCheck::Unset, "Enable Input-checking?", true, "Disable Sound When Finished?",
         nullptr},
        {"[Input Check]\nState=1\n[Sound Check]\nState=1\n", InputCheck::Off,
         "Enable Input-checking?", false, "Enable Sound When Finished?", nullptr},
        {"[Input Check]\nState=2\n[Recent Factorial]\nUpper=100\n", InputCheck::On,
         "Disable Input-checking?", true, "Disable Sound When Finished?", "100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        WindowRig rig(c.settings);
        MainWindow& w = *rig.window;
        EXPECT_EQ(w.options().inputCheck, c.inputCheck);
        EXPECT_EQ(ui(w).inputCheckAction->text().toStdString(), c.inputItem);
        EXPECT_EQ(w.options().soundOn, c.soundOn);
        EXPECT_EQ(ui(w).soundAction->text().toStdString(), c.soundItem);
        EXPECT_EQ(rig.folder.setting("Recent Factorial", "Upper"),
                  c.upper ? std::optional<std::string>(c.upper) : std::nullopt);
    }
}

// A sound setting that is neither on nor off leaves the sound on while its
// item offers to switch it on: the click does so and writes it.
TEST(MainWindowStartUp, AnUnchosenSoundIsSwitchedOnByItsItem) {
    WindowRig rig("[Sound Check]\nState=7\n");
    EXPECT_TRUE(rig.window->options().soundOn);
    EXPECT_EQ(ui(*rig.window).soundAction->text(), "Enable Sound When Finished?");
    ui(*rig.window).soundAction->trigger();
    EXPECT_TRUE(rig.window->options().soundOn);
    EXPECT_EQ(ui(*rig.window).soundAction->text(), "Disable Sound When Finished?");
    EXPECT_EQ(rig.folder.setting("Sound Check", "State"), "0");
}

// The settings' Upper follows the store, whatever it says; without a
// store it stays as it is.
TEST(MainWindowStartUp, UpperFollowsTheStore) {
    for (const char* upper : {"5", "9", "9.0", "1E+16"}) {
        for (const bool store : {true, false}) {
            const std::string settings = std::string("[Recent Factorial]\nUpper=") + upper + "\n";
            WindowRig rig(settings.c_str());
            if (store) rig.folder.write("facDat.vok", test::storeOf({1, 5, 9}));
            rig.window->readOptions();
            EXPECT_EQ(rig.folder.setting("Recent Factorial", "Upper"), store ? "9" : upper);
        }
    }
}

TEST(MainWindowOptions, InputCheckingFlipsAndIsWrittenEvenWhenTheWriteFails) {
    WindowRig rig("");
    MainWindow& w = *rig.window;
    ui(w).inputCheckAction->trigger();
    EXPECT_EQ(w.options().inputCheck, InputCheck::On);
    EXPECT_EQ(ui(w).inputCheckAction->text(), "Disable Input-checking?");
    EXPECT_EQ(rig.folder.setting("Input Check", "State"), "2");
    ui(w).inputCheckAction->trigger();
    EXPECT_EQ(w.options().inputCheck, InputCheck::Off);
    EXPECT_EQ(ui(w).inputCheckAction->text(), "Enable Input-checking?");
    EXPECT_EQ(rig.folder.setting("Input Check", "State"), "1");

    // The settings "file" is a folder: nothing can be written.
    std::filesystem::remove(rig.folder.file("rcnt.vok"));
    std::filesystem::create_directory(rig.folder.file("rcnt.vok"));
    ui(w).inputCheckAction->trigger();
    EXPECT_EQ(w.options().inputCheck, InputCheck::On);
}

// ---- Menus, buttons and closing ---------------------------------------------------

TEST(MainWindowMenus, FunctionStopsTheSoundAndPopsItsMenuUp) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    ui(w).firstOperand->setText("2");
    ui(w).secondOperand->setText("3");
    click(ui(w).multiplyButton);
    ASSERT_TRUE(rig.sound.looping);
    click(ui(w).functionButton);
    EXPECT_FALSE(rig.sound.looping);
    EXPECT_TRUE(ui(w).stopSoundButton->isHidden());
    ASSERT_EQ(rig.presenter.popupItems.size(), 1u);
    EXPECT_EQ(rig.presenter.popupItems[0], (QStringList{"&Factorial", "&Power", "&Permutation",
                                                        "&Combination", "&m(m+1)(m+2)...(n)"}));
}

TEST(MainWindowLayout, ADoubleClickPutsTheCaretAtTheStartOfTheRow) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    QApplication::setActiveWindow(&w);
    ui(w).resultView->setText("123456");
    ui(w).resultView->setFocus();
    ui(w).resultView->moveCaretToEnd();
    QTest::mouseDClick(ui(w).resultView->viewport(), Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_EQ(ui(w).resultView->caretPosition(), 0);
}

// Memory running out in any other handler (here a press on a widget) is
// answered by the application object with the message; the program goes on.
TEST(MainWindowLayout, AnOutOfMemoryLeavingAHandlerEndsInTheMessage) {
    struct Greedy : QWidget {
        void mousePressEvent(QMouseEvent*) override { throw std::bad_alloc(); }
    };
    auto* app = qobject_cast<Application*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    test::ScriptedPresenter presenter;
    app->setPresenter(&presenter);
    Greedy greedy;
    greedy.show();
    click(&greedy);
    app->setPresenter(nullptr);
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].text, kOutOfMemory);
}

TEST(MainWindowLayout, ClosingStopsTheSoundAndClosesTheOtherWindows) {
    WindowRig rig;
    QWidget other;
    other.show();
    rig.sound.looping = true;
    rig.window->close();
    EXPECT_FALSE(rig.sound.looping);
    EXPECT_FALSE(other.isVisible());
}

} // namespace
} // namespace longhand
