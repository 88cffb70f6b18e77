// Calculations on the worker thread: the event loop keeps turning, the
// window is held still and given back, Cancel and Esc stop the work and
// leave boxes and files byte for byte as they were, what a calculation keeps
// is kept only once it is done, and the memory guard refuses before
// anything starts.
#include "engine/progress.h"
#include "support/alloc_failure.h"
#include "support/gmp.h"
#include "ui/common/calcrunner.h"
#include "uitest.h"

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <atomic>
#include <new>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>

namespace longhand {
namespace {

using test::click;
using test::readBytes;
using test::WindowRig;

// A factorial no engine finishes before the working panel appears.
constexpr const char* kLongFactorial = "10000000";
// Free memory the guard is told of where a test needs a long calculation
// to start whatever the machine has.
constexpr std::uint64_t kPlentyOfMemory = std::uint64_t{1} << 40;
constexpr const char* kTable = "1,\"1\"\r\n2,\"2\"\r\n3,\"6\"\r\n4,\"24\"\r\n5,\"120\"";

// Runs `inside` once, when the working panel of `runner` appears.
void whenWorking(CalcRunner& runner, std::function<void()> inside) {
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&runner, &CalcRunner::workingShown, [connection, inside] {
        QObject::disconnect(*connection);
        inside();
    });
}

// Work that goes on until it is cancelled, with half of it done.
int untilCancelled(Progress& progress) {
    progress.report(0.5);
    while (!progress.cancelled())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 0;
}

void plentyOfMemory(MainWindow& window) {
    window.runner().freeMemory = [] { return std::optional<std::uint64_t>(kPlentyOfMemory); };
}

// A window with a status label, for the runner on its own.
struct Stage {
    Stage() {
        window.resize(400, 120);
        status = new QLabel(QStringLiteral("status"), &window);
        status->setGeometry(10, 80, 380, 25);
        button = new QPushButton(QStringLiteral("Go"), &window);
        box = new NumberBox(&window);
        line = new QLineEdit(&window);
        action = new QAction(QStringLiteral("item"), &window);
        window.show();
    }
    CalcRunner::Scene scene() {
        return {&window, status, &presenter, {button}, {action}, {box, line}};
    }

    QWidget window;
    QLabel* status;
    QPushButton* button;
    NumberBox* box;
    QLineEdit* line;
    QAction* action;
    CalcRunner runner;
    test::ScriptedPresenter presenter;
};

// ---- The runner -------------------------------------------------------------------

TEST(CalcRunner, TheEventLoopTurnsAndTheWorkingPanelShows) {
    Stage stage;
    int ticks = 0; // while the work runs
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ticks += stage.runner.isRunning(); });
    timer.start(5);
    int barValue = -1;
    whenWorking(stage.runner, [&] {
        CalcRunner& r = stage.runner;
        EXPECT_EQ(r.cancelButton()->text(), "Cancel");
        EXPECT_TRUE(r.workingLabel()->text().startsWith("Working... "));
        // The bar shows once a tick has read the share the work reported.
        QTimer::singleShot(3 * CalcRunner::kTickMs, [&] {
            if (r.progressBar()->isVisible()) barValue = r.progressBar()->value();
            // What a screen reader reads of the bar: its value in its range.
            QAccessibleValueInterface* bar =
                QAccessible::queryAccessibleInterface(r.progressBar())->valueInterface();
            ASSERT_NE(bar, nullptr);
            EXPECT_EQ(bar->currentValue().toInt(), barValue);
            EXPECT_EQ(bar->maximumValue().toInt(), CalcRunner::kProgressSteps);
            EXPECT_EQ(QAccessible::queryAccessibleInterface(r.workingLabel()->parentWidget())
                          ->text(QAccessible::Name),
                      "Working");
            click(r.cancelButton());
        });
    });
    EXPECT_FALSE(stage.runner.run(stage.scene(), untilCancelled));
    EXPECT_EQ(barValue, CalcRunner::kProgressSteps / 2);
    EXPECT_GE(ticks, 5); // many, however busy the machine is
    EXPECT_EQ(stage.runner.cancelButton(), nullptr);
    EXPECT_EQ(stage.status->text(), "status");
}

TEST(CalcRunner, HoldsTheSceneWhileRunningAndGivesItBack) {
    Stage stage;
    auto* idle = new QPushButton(QStringLiteral("Off"), &stage.window);
    idle->setEnabled(false);
    CalcRunner::Scene scene = stage.scene();
    scene.disabled.push_back(idle);
    std::atomic<bool> go{false};
    bool held = false;
    QObject::connect(&stage.runner, &CalcRunner::started, [&] {
        held = !stage.button->isEnabled() && !stage.action->isEnabled() &&
               stage.box->isReadOnly() && stage.line->isReadOnly();
        // One calculation at a time.
        EXPECT_FALSE(stage.runner.run(scene, [](Progress&) { return 1; }));
        go = true;
    });
    const auto result = stage.runner.run(scene, [&](Progress&) {
        while (!go)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 7;
    });
    EXPECT_TRUE(held);
    EXPECT_EQ(result, 7);
    EXPECT_TRUE(stage.button->isEnabled());
    EXPECT_FALSE(idle->isEnabled()); // it was off before
    EXPECT_TRUE(stage.action->isEnabled());
    EXPECT_FALSE(stage.box->isReadOnly());
    EXPECT_FALSE(stage.line->isReadOnly());
}

// A work that runs out of memory ends as a cancel does, with the message
// in the scene's window; a work that fails otherwise passes its exception
// on. Either way the scene is given back.
TEST(CalcRunner, AFailedWorkGivesTheSceneBack) {
    Stage stage;
    EXPECT_FALSE(stage.runner.run(stage.scene(), [](Progress&) -> int { throw std::bad_alloc(); }));
    ASSERT_EQ(stage.presenter.messages.size(), 1u);
    EXPECT_EQ(stage.presenter.messages[0].text, kOutOfMemory);
    EXPECT_THROW(stage.runner.run(stage.scene(),
                                  [](Progress&) -> int { throw std::runtime_error("broken"); }),
                 std::runtime_error);
    EXPECT_EQ(stage.presenter.messages.size(), 1u);
    EXPECT_FALSE(stage.runner.isRunning());
    EXPECT_TRUE(stage.button->isEnabled());
    EXPECT_FALSE(stage.box->isReadOnly());
}

TEST(CalcRunner, EscapeCancels) {
    Stage stage;
    QApplication::setActiveWindow(&stage.window);
    whenWorking(stage.runner, [&] { QTest::keyClick(&stage.window, Qt::Key_Escape); });
    QTimer fallback; // a platform without shortcuts must not hang the test
    fallback.setSingleShot(true);
    bool fellBack = false;
    QObject::connect(&fallback, &QTimer::timeout, [&] {
        fellBack = true;
        stage.runner.cancel();
    });
    fallback.start(5000);
    EXPECT_FALSE(stage.runner.run(stage.scene(), untilCancelled));
    if (fellBack) GTEST_SKIP() << "no window shortcuts on this platform";
}

// ---- The function dialog -------------------------------------------------------------

// A main window over a factorial store of 1! to 5! and a dialog over it.
struct DialogRig : test::DialogRig {
    DialogRig() : test::DialogRig(FunctionMode::Factorial) {
        folder.write(kFacDataFileName, kTable);
        window->readOptions(); // the store's largest n
        plentyOfMemory(*window);
    }
};

TEST(DialogWork, ACancelledFactorialLeavesViewsAndFilesByteForByte) {
    DialogRig rig;
    FunctionDialog& d = *rig.dialog;
    d.resultView->setText("123.45");
    d.resultView->setCaretPosition(4);
    d.roundHint->showFor(*d.resultView);
    ASSERT_EQ(d.windowTitle(), "4");
    const auto settings = rig.folder.read("rcnt.vok");
    rig.sound.log.clear();

    bool held = false;
    whenWorking(rig.window->runner(), [&] {
        // The window is held still: no second calculation, no typing.
        held = !d.computeButton->isEnabled() && d.argumentLine->isReadOnly() &&
               !d.moveLabel->isEnabled() && !d.roundHint->isEnabled();
        click(rig.window->runner().cancelButton());
    });
    rig.compute(kLongFactorial);

    EXPECT_TRUE(held);
    EXPECT_EQ(d.resultView->text(), "123.45");
    EXPECT_TRUE(d.roundHint->offer());
    EXPECT_EQ(d.windowTitle(), "4");
    EXPECT_EQ(rig.folder.read(kFacDataFileName), kTable);
    EXPECT_EQ(rig.folder.read("rcnt.vok"), settings);
    EXPECT_TRUE(rig.presenter.messages.empty());
    // Only the stop of the sound before the work; no finished sound.
    EXPECT_EQ(rig.sound.log, std::vector<std::string>{"stop"});
    EXPECT_TRUE(d.stopSoundButton->isHidden());
    EXPECT_TRUE(d.computeButton->isEnabled());
    EXPECT_FALSE(d.argumentLine->isReadOnly());
}

// Answers every question Yes, noting what the work and the files looked
// like at that moment.
class WatchingPresenter final : public Presenter {
  public:
    MsgAnswer message(QWidget*, const QString& text, MsgButtons buttons, MsgIcon) override {
        texts.push_back(text);
        if (buttons != MsgButtons::YesNo) return MsgAnswer::Ok;
        runningAtQuestion = runner && runner->isRunning();
        fileAtQuestion = readBytes(path);
        soundAtQuestion = sound.log;
        if (atQuestion) std::exchange(atQuestion, nullptr)();
        return MsgAnswer::Yes;
    }
    std::optional<QString> input(QWidget*, const QString&, const QString& answer) override {
        return answer;
    }
    QAction* popup(QMenu*, const QPoint&) override { return nullptr; }
    std::optional<QString> chooseFile(QWidget*, FileChoice, const QString&,
                                      const QString&) override {
        return std::nullopt;
    }

    test::RecordingSound sound;
    const CalcRunner* runner = nullptr;
    std::string path;
    std::function<void()> atQuestion; // run once, at the next question

    std::vector<QString> texts;
    bool runningAtQuestion = true;
    std::optional<std::string> fileAtQuestion;
    std::vector<std::string> soundAtQuestion;
};

// A main window and its factorial dialog, answered by a WatchingPresenter.
struct Watched {
    explicit Watched(const test::AppFolder& folder) {
        presenter.runner = &window.runner();
        presenter.path = folder.file(kFacDataFileName);
        window.readOptions();
        dialog.show();
    }
    void compute(unsigned long n) {
        dialog.argumentLine->setText(QString::number(n));
        click(dialog.computeButton);
    }
    WatchingPresenter presenter;
    MainWindow window{&presenter, &presenter.sound};
    FunctionDialog dialog{window, FunctionMode::Factorial};
};

TEST(DialogWork, TheSaveQuestionComesAfterTheWorkAndBeforeTheWrite) {
    test::AppFolder folder;
    folder.write(kFacDataFileName, kTable);
    Watched w(folder);
    w.compute(3000);

    ASSERT_EQ(w.presenter.texts.size(), 1u);
    EXPECT_TRUE(w.presenter.texts[0].contains("3000"));
    EXPECT_FALSE(w.presenter.runningAtQuestion);
    EXPECT_EQ(w.presenter.fileAtQuestion, std::string(kTable));
    // The finished sound starts before the question.
    EXPECT_EQ(w.presenter.soundAtQuestion, (std::vector<std::string>{"stop", "play"}));
    EXPECT_EQ(w.dialog.resultView->text(), test::gmpFactorial(3000));
    EXPECT_EQ(folder.read(kFacDataFileName), test::storeOf({1, 2, 3, 4, 5, 3000}));
    EXPECT_EQ(folder.setting("Recent Factorial", "Upper"), "3000");
}

// Two windows on one store, the second saving its own factorial between the
// first one's computation and its write: both records are kept in order
// with their values, and the largest stored n follows the file.
TEST(DialogWork, TwoWindowsOnOneStoreKeepEachOthersRecords) {
    for (const unsigned long other : {3000ul, 5000ul}) { // below and above 4000
        SCOPED_TRACE(other);
        test::AppFolder folder;
        folder.write(kFacDataFileName, kTable);
        Watched a(folder), b(folder);
        a.presenter.atQuestion = [&] { b.compute(other); };
        a.compute(4000);

        EXPECT_EQ(a.presenter.texts.size(), 1u); // the question, and no complaint
        EXPECT_EQ(b.presenter.texts.size(), 1u);
        EXPECT_EQ(a.dialog.resultView->text(), test::gmpFactorial(4000));
        EXPECT_EQ(b.dialog.resultView->text(), test::gmpFactorial(other));
        EXPECT_EQ(folder.read(kFacDataFileName), test::storeOf({1, 2, 3, 4, 5, other, 4000}));
        const std::string largest = std::to_string(std::max(other, 4000ul));
        EXPECT_EQ(folder.setting("Recent Factorial", "Upper"), largest);
    }
}

// A window's permutation cancelled while another window saves a factorial:
// the save stays, and nothing of the cancelled run is stored or said.
TEST(DialogWork, ACancelledRunBesideASavingOneTakesNothingBack) {
    DialogRig saving;
    test::ScriptedPresenter presenter;
    test::RecordingSound sound;
    MainWindow window(&presenter, &sound);
    window.readOptions();
    plentyOfMemory(window);
    FunctionDialog dialog(window, FunctionMode::Permutation);
    dialog.show();
    dialog.resultView->setText("42");
    whenWorking(window.runner(), [&] {
        saving.compute(QStringLiteral("30"));
        click(window.runner().cancelButton());
    });
    dialog.argumentLine->setText(QStringLiteral("p(%1,%1,0)").arg(kLongFactorial));
    click(dialog.computeButton);

    EXPECT_EQ(saving.dialog->resultView->text(), test::gmpFactorial(30));
    EXPECT_EQ(saving.folder.read(kFacDataFileName), test::storeOf({1, 2, 3, 4, 5, 30}));
    EXPECT_EQ(saving.folder.setting("Recent Factorial", "Upper"), "30");
    EXPECT_EQ(dialog.resultView->text(), "42");
    EXPECT_TRUE(presenter.messages.empty());
    dialog.close();
}

// The memory guard refuses a calculation whose result would not fit in the
// free memory before anything starts, in either window.
TEST(DialogWork, TheMemoryGuardRefusesBeforeAnythingStarts) {
    DialogRig rig;
    rig.dialog->resultView->setText("7");
    rig.compute(QStringLiteral("1000000000000"));
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].text.toStdString(),
              "The result would have about 1.2 \xC3\x97 10^13 digits: more than this computer can "
              "hold.");
    EXPECT_EQ(rig.dialog->resultView->text(), "7");
    EXPECT_EQ(rig.folder.read(kFacDataFileName), kTable);

    MainWindow& w = *rig.window;
    w.runner().freeMemory = [] { return std::optional<std::uint64_t>(1 << 20); };
    w.firstOperand->setText(std::string(100000, '9'));
    w.secondOperand->setText(std::string(100000, '9'));
    w.resultView->setText("old");
    click(w.multiplyButton);
    ASSERT_EQ(rig.presenter.messages.size(), 2u);
    EXPECT_EQ(rig.presenter.messages[1].text.toStdString(),
              "The result would have about 200002 digits: more than this computer can hold.");
    EXPECT_EQ(w.resultView->text(), "old");
    // With more memory the same press computes.
    w.runner().freeMemory = [] { return std::optional<std::uint64_t>(1 << 30); };
    click(w.multiplyButton);
    EXPECT_EQ(w.resultView->text().size(), 200000u);
}

// ---- The main window ------------------------------------------------------------------

// Memory running out while the operands are read (on the window's thread)
// or while the worker computes: one message, and the window, the sound and
// the files stay as they were.
TEST(MainWindowWork, AnOperationOutOfMemoryEndsInTheMessageAndChangesNothing) {
    for (const std::size_t failFrom : {std::size_t{1} << 18, std::size_t{1} << 19}) {
        WindowRig rig;
        MainWindow& w = *rig.window;
        plentyOfMemory(w);
        w.firstOperand->setText(std::string(300000, '7'));
        w.secondOperand->setText(std::string(300000, '3'));
        w.resultView->setText("old");
        w.setWindowTitle("3");
        const auto settings = rig.folder.read("rcnt.vok");
        {
            test::FailLargeAllocations fail(failFrom);
            click(w.multiplyButton);
            EXPECT_GT(fail.refused(), 0u);
        }
        ASSERT_EQ(rig.presenter.messages.size(), 1u);
        EXPECT_EQ(rig.presenter.messages[0].text, kOutOfMemory);
        EXPECT_EQ(w.resultView->text(), "old");
        EXPECT_EQ(w.windowTitle(), "3");
        EXPECT_EQ(rig.sound.log, std::vector<std::string>{"stop"});
        EXPECT_EQ(rig.folder.read("rcnt.vok"), settings);
        EXPECT_TRUE(w.multiplyButton->isEnabled());
    }
}

TEST(MainWindowWork, APartialProductHoldsTheWindowAndCancelGivesItBack) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    plentyOfMemory(w);
    w.resultView->setText("c");
    rig.presenter.inputAnswers = {QStringLiteral("1"), QString::fromLatin1(kLongFactorial)};
    bool held = false;
    whenWorking(w.runner(), [&] {
        held = !w.multiplyButton->isEnabled() && !w.functionButton->isEnabled() &&
               !w.moveLabel->isEnabled() && !w.optionMenu->menuAction()->isEnabled() &&
               !w.factorialAction->isEnabled() && w.firstOperand->isReadOnly();
        click(w.runner().cancelButton());
    });
    w.partialProductAction->trigger();
    EXPECT_TRUE(held);
    EXPECT_EQ(w.resultView->text(), "c");
    EXPECT_EQ(rig.presenter.messages.size(), 1u); // only the opening one
    EXPECT_TRUE(w.multiplyButton->isEnabled());
    EXPECT_TRUE(w.optionMenu->menuAction()->isEnabled());
    EXPECT_FALSE(w.firstOperand->isReadOnly());

    // Closing the window cancels the calculation first.
    rig.presenter.inputAnswers = {QStringLiteral("1"), QString::fromLatin1(kLongFactorial)};
    whenWorking(w.runner(), [&] { w.close(); });
    w.partialProductAction->trigger();
    EXPECT_FALSE(w.runner().isRunning());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.resultView->text(), "c");
}

} // namespace
} // namespace longhand
