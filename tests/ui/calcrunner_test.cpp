// Calculations on the worker thread: the event loop keeps turning, the
// window is held still and given back, Cancel and Esc stop the work and
// leave boxes and files byte for byte as they were, and the memory guard
// refuses before anything starts.
#include "engine/factorialstore.h"
#include "engine/progress.h"
#include "services/paths.h"
#include "support/alloc_failure.h"
#include "support/gmp.h"
#include "ui/dialog/dialog.h"
#include "ui/main/calcrunner.h"
#include "ui/main/clicklabel.h"
#include "ui/main/numberbox.h"
#include "ui/main/numberview.h"
#include "ui/main/windowhost.h"
#include "uitest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

namespace longhand {
namespace {

using test::FormRig;

// A factorial no engine finishes before the working panel appears.
constexpr const char* kLongFactorial = "10000000";
// Free memory the guard is told of where a test needs a long calculation
// to start whatever the machine has.
constexpr std::uint64_t kPlentyOfMemory = std::uint64_t{1} << 40;

std::optional<std::string> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

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

// A window with a status label, for the runner on its own.
struct Stage {
    Stage() {
        window.resize(400, 120);
        status = new QLabel(QStringLiteral("status"), &window);
        status->setGeometry(10, 80, 380, 25);
        button = new QPushButton(QStringLiteral("Go"), &window);
        box = new NumberBox(&window);
        box->setGeometry(10, 10, 200, 60);
        line = new QLineEdit(&window);
        action = new QAction(QStringLiteral("item"), &window);
        window.show();
    }
    CalcRunner::Scene scene() {
        CalcRunner::Scene s;
        s.window = &window;
        s.statusLabel = status;
        s.presenter = &presenter;
        s.disabled = {button};
        s.actions = {action};
        s.readOnly = {box, line};
        return s;
    }

    QWidget window;
    QLabel* status;
    QPushButton* button;
    NumberBox* box;
    QLineEdit* line;
    QAction* action;
    CalcRunner runner;
    ScriptedPresenter presenter;
};

// ---- The runner -------------------------------------------------------------------

TEST(CalcRunner, TheEventLoopTurnsAndTheWorkingPanelShows) {
    Stage stage;
    int ticks = 0; // while the work runs
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ticks += stage.runner.isRunning(); });
    timer.start(5);
    bool barSeen = false;
    whenWorking(stage.runner, [&] {
        CalcRunner& r = stage.runner;
        ASSERT_TRUE(r.cancelButton());
        EXPECT_EQ(r.cancelButton()->text(), "Cancel");
        EXPECT_TRUE(r.workingLabel()->text().startsWith("Working... "));
        // The bar shows once a tick has read the share the work reported.
        QTimer::singleShot(3 * CalcRunner::kTickMs, [&] {
            barSeen = r.progressBar() && r.progressBar()->isVisible();
            if (barSeen) {
                EXPECT_EQ(r.progressBar()->value(), CalcRunner::kProgressSteps / 2);
            }
            QTest::mouseClick(r.cancelButton(), Qt::LeftButton);
        });
    });
    const auto result = stage.runner.run(stage.scene(), untilCancelled);
    EXPECT_FALSE(result);
    EXPECT_TRUE(barSeen);
    // 0.6 s of work at 5 ms a tick: many, however busy the machine is.
    EXPECT_GE(ticks, 5);
    EXPECT_FALSE(stage.runner.isRunning());
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
    bool checked = false;
    QObject::connect(&stage.runner, &CalcRunner::started, [&] {
        EXPECT_TRUE(stage.runner.isRunning());
        EXPECT_FALSE(stage.button->isEnabled());
        EXPECT_FALSE(stage.action->isEnabled());
        EXPECT_TRUE(stage.box->isReadOnly());
        EXPECT_TRUE(stage.line->isReadOnly());
        // One calculation at a time.
        bool inner = false;
        EXPECT_FALSE(stage.runner.run(scene, [&](Progress&) { return inner = true; }));
        EXPECT_FALSE(inner);
        checked = true;
        go = true;
    });
    const auto result = stage.runner.run(scene, [&](Progress&) {
        while (!go)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 7;
    });
    ASSERT_TRUE(checked);
    EXPECT_EQ(result, 7);
    EXPECT_TRUE(stage.button->isEnabled());
    EXPECT_FALSE(idle->isEnabled()); // it was off before
    EXPECT_TRUE(stage.action->isEnabled());
    EXPECT_FALSE(stage.box->isReadOnly());
    EXPECT_FALSE(stage.line->isReadOnly());
}

// Memory running out in the work ends the run as a cancel does, with the
// message in the scene's window.
TEST(CalcRunner, AWorkOutOfMemoryEndsInItsMessage) {
    Stage stage;
    const auto result =
        stage.runner.run(stage.scene(), [](Progress&) -> int { throw std::bad_alloc(); });
    EXPECT_FALSE(result);
    ASSERT_EQ(stage.presenter.messages.size(), 1u);
    EXPECT_EQ(stage.presenter.messages[0].text, "Not enough memory for numbers this long.");
    EXPECT_FALSE(stage.runner.isRunning());
    EXPECT_TRUE(stage.button->isEnabled());
    EXPECT_FALSE(stage.box->isReadOnly());
}

// Any other failure of the work comes through, with the scene given back.
TEST(CalcRunner, AFailedWorkThrowsAfterGivingTheSceneBack) {
    Stage stage;
    EXPECT_THROW(stage.runner.run(stage.scene(),
                                  [](Progress&) -> int { throw std::runtime_error("broken"); }),
                 std::runtime_error);
    EXPECT_FALSE(stage.runner.isRunning());
    EXPECT_TRUE(stage.button->isEnabled());
    EXPECT_FALSE(stage.box->isReadOnly());
    EXPECT_TRUE(stage.presenter.messages.empty());
}

TEST(CalcRunner, EscapeCancels) {
    Stage stage;
    stage.window.activateWindow();
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

// A main window over a factorial table of 1! to 5! and a factorial dialog.
struct FactorialRig : FormRig {
    FactorialRig() {
        folder.write(kFacDataFileName, kTable);
        form->host().setFacUpper("5");
        form->soundFlag = Form1::kSoundOnFlag;
        form->runner().freeMemory = [] { return std::optional<std::uint64_t>(kPlentyOfMemory); };
        dialog = std::make_unique<Dialog>(*form);
        dialog->prepare(FunctionMode::Factorial);
        dialog->show();
    }
    ~FactorialRig() { dialog->close(); }

    std::optional<std::string> table() const { return readBytes(folder.file(kFacDataFileName)); }
    std::optional<std::string> settings() const { return readBytes(folder.file("rcnt.vok")); }
    void compute(const char* n) const {
        dialog->Text1->setText(QString::fromLatin1(n));
        QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    }

    static constexpr const char* kTable = "1,\"1\"\r\n2,\"2\"\r\n3,\"6\"\r\n4,\"24\"\r\n5,\"120\"";
    std::unique_ptr<Dialog> dialog;
};

// A main window and a power dialog over it.
struct DialogRigForPower : FormRig {
    DialogRigForPower() {
        form->runner().freeMemory = [] { return std::optional<std::uint64_t>(kPlentyOfMemory); };
        dialog = std::make_unique<Dialog>(*form);
        dialog->prepare(FunctionMode::Power);
        dialog->show();
    }
    ~DialogRigForPower() { dialog->close(); }
    std::optional<std::string> settings() const { return readBytes(folder.file("rcnt.vok")); }
    std::unique_ptr<Dialog> dialog;
};

TEST(DialogWork, CancelledFactorialLeavesBoxesAndFilesByteForByte) {
    FactorialRig rig;
    Dialog& d = *rig.dialog;
    d.RichTextBox1->setText("123.45");
    d.Label2->setText("1: Click To Round.");
    d.Label2->show();
    d.setWindowTitle("4");
    const auto table = rig.table();
    const auto settings = rig.settings();
    ASSERT_TRUE(table && settings);
    const auto soundBefore = rig.sound.log.size();

    int ticks = 0; // while the work runs
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ticks += rig.form->runner().isRunning(); });
    timer.start(10);
    bool held = false;
    whenWorking(rig.form->runner(), [&] {
        // The window is held still: no second calculation, no typing.
        held = !d.Command2->isEnabled() && d.Text1->isReadOnly() && !d.Label3->isEnabled();
        QTest::mouseClick(rig.form->runner().cancelButton(), Qt::LeftButton);
    });
    rig.compute(kLongFactorial);

    EXPECT_TRUE(held);
    EXPECT_GE(ticks, 3); // the timer fired during the work
    EXPECT_EQ(d.RichTextBox1->text(), "123.45");
    EXPECT_EQ(d.Label2->text(), "1: Click To Round.");
    EXPECT_FALSE(d.Label2->isHidden());
    EXPECT_EQ(d.windowTitle(), "4");
    EXPECT_EQ(rig.table(), table);
    EXPECT_EQ(rig.settings(), settings);
    EXPECT_EQ(rig.form->facUpper, "5");
    EXPECT_TRUE(rig.presenter.messages.empty());
    // Only the stop of the sound before the work; no finished sound.
    ASSERT_EQ(rig.sound.log.size(), soundBefore + 1);
    EXPECT_EQ(rig.sound.log.back(), "stop  ");
    EXPECT_TRUE(d.Command3->isHidden());
    // And the window is given back.
    EXPECT_TRUE(d.Command2->isEnabled());
    EXPECT_FALSE(d.Text1->isReadOnly());
    EXPECT_TRUE(d.Label3->isEnabled());
}

TEST(DialogWork, ClosingTheDialogCancelsTheCalculationFirst) {
    FactorialRig rig;
    const auto table = rig.table();
    whenWorking(rig.form->runner(), [&] { rig.dialog->close(); });
    rig.compute(kLongFactorial);
    EXPECT_FALSE(rig.form->runner().isRunning());
    EXPECT_FALSE(rig.dialog->isVisible());
    EXPECT_EQ(rig.dialog->RichTextBox1->text(), "");
    EXPECT_EQ(rig.table(), table);
    EXPECT_TRUE(rig.presenter.messages.empty());
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
        soundAtQuestion = sound ? sound->log : std::vector<std::string>{};
        if (atQuestion) std::exchange(atQuestion, nullptr)();
        return MsgAnswer::Yes;
    }
    std::optional<QString> input(QWidget*, const QString&, const QString& answer) override {
        return answer;
    }
    QAction* popup(QMenu*, const QPoint&) override { return nullptr; }

    const CalcRunner* runner = nullptr;
    std::string path;
    const RecordingSound* sound = nullptr;
    std::function<void()> atQuestion; // run once, at the next question

    std::vector<QString> texts;
    bool runningAtQuestion = true;
    std::optional<std::string> fileAtQuestion;
    std::vector<std::string> soundAtQuestion;
};

TEST(DialogWork, TheSaveQuestionComesAfterTheWorkAndBeforeTheWrite) {
    test::AppFolder folder;
    folder.write(kFacDataFileName, FactorialRig::kTable);
    RecordingSound sound;
    WatchingPresenter presenter;
    Form1 form(&presenter, &sound);
    form.readOptions();
    form.host().setFacUpper("5");
    form.soundFlag = Form1::kSoundOnFlag;
    presenter.runner = &form.runner();
    presenter.path = folder.file(kFacDataFileName);
    presenter.sound = &sound;
    Dialog dialog(form);
    dialog.prepare(FunctionMode::Factorial);
    dialog.show();
    dialog.Text1->setText("3000");
    QTest::mouseClick(dialog.Command2, Qt::LeftButton);

    ASSERT_EQ(presenter.texts.size(), 1u);
    EXPECT_TRUE(presenter.texts[0].contains("3000"));
    EXPECT_FALSE(presenter.runningAtQuestion);
    EXPECT_EQ(presenter.fileAtQuestion, std::string(FactorialRig::kTable));
    // The finished sound starts before the question, as it always did.
    ASSERT_FALSE(presenter.soundAtQuestion.empty());
    EXPECT_EQ(presenter.soundAtQuestion.back(), "play 1.wav");

    const std::string result = dialog.RichTextBox1->text();
    EXPECT_EQ(result.size(), 9131u); // 3000! has 9131 digits
    const auto file = readBytes(folder.file(kFacDataFileName));
    ASSERT_TRUE(file);
    EXPECT_EQ(*file, std::string(FactorialRig::kTable) + "\r\n3000,\"" + result + "\"");
    EXPECT_EQ(form.facUpper, "3000");
    dialog.close();
}

// Two windows on one store, the second saving its own factorial between the
// first one's computation and its write: both records are kept in order
// with their values, and the largest stored n follows the file.
TEST(DialogWork, TwoWindowsOnOneStoreKeepEachOthersRecords) {
    for (const unsigned long other : {3000ul, 5000ul}) { // below and above 4000
        SCOPED_TRACE(other);
        test::AppFolder folder;
        folder.write(kFacDataFileName, FactorialRig::kTable);
        RecordingSound soundA, soundB;
        WatchingPresenter presenterA, presenterB;
        Form1 a(&presenterA, &soundA), b(&presenterB, &soundB);
        a.readOptions();
        b.readOptions();
        Dialog dialogA(a), dialogB(b);
        for (Dialog* d : {&dialogA, &dialogB}) {
            d->prepare(FunctionMode::Factorial);
            d->show();
        }
        presenterA.atQuestion = [&] {
            dialogB.Text1->setText(QString::number(other));
            QTest::mouseClick(dialogB.Command2, Qt::LeftButton);
        };
        dialogA.Text1->setText("4000");
        QTest::mouseClick(dialogA.Command2, Qt::LeftButton);

        EXPECT_EQ(presenterA.texts.size(), 1u); // the question, and no complaint
        EXPECT_EQ(presenterB.texts.size(), 1u);
        EXPECT_EQ(dialogA.RichTextBox1->text(), test::gmpFactorial(4000));
        EXPECT_EQ(dialogB.RichTextBox1->text(), test::gmpFactorial(other));
        EXPECT_EQ(readBytes(folder.file(kFacDataFileName)),
                  test::storeOf({1, 2, 3, 4, 5, other, 4000}));
        const std::string largest = std::to_string(std::max(other, 4000ul));
        EXPECT_EQ(a.facUpper, largest);
        EXPECT_EQ(folder.setting("Recent Factorial", "Upper"), largest);
        dialogA.close();
        dialogB.close();
    }
}

// A window's permutation cancelled while another window saves a factorial:
// the save stays, and nothing of the cancelled run is stored or said.
TEST(DialogWork, ACancelledRunBesideASavingOneTakesNothingBack) {
    FactorialRig saving; // its factorial dialog is the other window's
    saving.presenter.answers = {MsgAnswer::Yes};
    RecordingSound sound;
    ScriptedPresenter presenter;
    Form1 form(&presenter, &sound);
    form.readOptions();
    form.runner().freeMemory = [] { return std::optional<std::uint64_t>(kPlentyOfMemory); };
    Dialog dialog(form);
    dialog.prepare(FunctionMode::Permutation);
    dialog.show();
    dialog.RichTextBox1->setText("42");
    whenWorking(form.runner(), [&] {
        saving.compute("30");
        QTest::mouseClick(form.runner().cancelButton(), Qt::LeftButton);
    });
    dialog.Text1->setText(QStringLiteral("p(%1,%1,0)").arg(kLongFactorial));
    QTest::mouseClick(dialog.Command2, Qt::LeftButton);

    EXPECT_EQ(saving.dialog->RichTextBox1->text(), test::gmpFactorial(30));
    EXPECT_EQ(saving.table(), test::storeOf({1, 2, 3, 4, 5, 30}));
    EXPECT_EQ(saving.form->facUpper, "30");
    EXPECT_EQ(dialog.RichTextBox1->text(), "42");
    EXPECT_TRUE(presenter.messages.empty());
    dialog.close();
}

TEST(DialogWork, LetRunTheWholeResultAppears) {
    FactorialRig rig;
    rig.compute("20000");
    const std::string result = rig.dialog->RichTextBox1->text();
    // 20000! has 77338 digits, the last 4999 of them zeros.
    ASSERT_EQ(result.size(), 77338u);
    EXPECT_EQ(result.substr(0, 6), "181920");
    EXPECT_EQ(result.find_last_not_of('0'), result.size() - 4999 - 1);
    EXPECT_TRUE(rig.dialog->Command2->isEnabled());
    EXPECT_EQ(rig.dialog->windowTitle(), ""); // cleared as after every press
}

TEST(DialogWork, TheMemoryGuardRefusesBeforeAnythingStarts) {
    FactorialRig rig;
    rig.dialog->RichTextBox1->setText("7");
    const auto table = rig.table();
    rig.compute("1000000000000");
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].text.toStdString(),
              "The result would have about 1.2 \xC3\x97 10^13 digits: more than this computer can "
              "hold.");
    EXPECT_EQ(rig.dialog->RichTextBox1->text(), "7");
    EXPECT_EQ(rig.table(), table);

    // With a megabyte free, 100000! (456,574 digits) does not fit either.
    rig.form->runner().freeMemory = [] { return std::optional<std::uint64_t>(1 << 20); };
    rig.compute("100000");
    ASSERT_EQ(rig.presenter.messages.size(), 2u);
    EXPECT_TRUE(rig.presenter.messages[1].text.startsWith("The result would have about 45657"));
    EXPECT_EQ(rig.dialog->RichTextBox1->text(), "7");
}

TEST(DialogWork, APowerOutOfMemoryEndsInTheMessageAndChangesNothing) {
    DialogRigForPower rig;
    Dialog& d = *rig.dialog;
    d.RichTextBox1->setText("old");
    d.setWindowTitle("3");
    const auto settings = rig.settings();
    {
        // 7^190000 has 160,569 digits (190000 log10 7 = 160568.6): its text
        // alone is more than allowed.
        test::FailLargeAllocations fail(1 << 16);
        d.Text1->setText(QStringLiteral("7^190000"));
        QTest::mouseClick(d.Command2, Qt::LeftButton);
        EXPECT_GT(fail.refused(), 0u);
    }
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].text, "Not enough memory for numbers this long.");
    EXPECT_EQ(d.RichTextBox1->text(), "old");
    EXPECT_EQ(d.windowTitle(), "3");
    EXPECT_TRUE(d.Command3->isHidden());
    EXPECT_EQ(rig.settings(), settings);
    EXPECT_TRUE(d.Command2->isEnabled());

    // With the memory back, the same press computes.
    QTest::mouseClick(d.Command2, Qt::LeftButton);
    EXPECT_EQ(d.RichTextBox1->text().size(), 160569u);
}

// ---- The main window ------------------------------------------------------------------

// Memory running out while the operands are read (on the window's thread)
// or while the worker computes: one message, and the window, the sound and
// the files stay as they were.
TEST(MainWindowWork, AnOperationOutOfMemoryEndsInTheMessageAndChangesNothing) {
    struct Case {
        const char* where;
        std::size_t failFrom;
    } const cases[] = {
        {"reading the 300,000-digit operands", 1 << 18},
        {"computing their 600,000-digit product", 1 << 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        FormRig rig;
        Form1& form = *rig.form;
        form.runner().freeMemory = [] { return std::optional<std::uint64_t>(kPlentyOfMemory); };
        form.RichTextBox1->setText(std::string(300000, '7'));
        form.RichTextBox2->setText(std::string(300000, '3'));
        form.RichTextBox3->setText("old");
        form.Label1->setText("12: Click To Round.");
        form.setWindowTitle("3");
        const auto settings = readBytes(rig.folder.file("rcnt.vok"));
        {
            test::FailLargeAllocations fail(c.failFrom);
            QTest::mouseClick(form.Command1, Qt::LeftButton); // Multiply
            EXPECT_GT(fail.refused(), 0u);
        }
        ASSERT_EQ(rig.presenter.messages.size(), 1u);
        EXPECT_EQ(rig.presenter.messages[0].text, "Not enough memory for numbers this long.");
        EXPECT_EQ(form.RichTextBox3->text(), "old");
        EXPECT_EQ(form.Label1->text(), "12: Click To Round.");
        EXPECT_EQ(form.windowTitle(), "3");
        EXPECT_TRUE(form.Command6->isHidden());
        EXPECT_EQ(rig.sound.log, (std::vector<std::string>{"stop "}));
        EXPECT_EQ(readBytes(rig.folder.file("rcnt.vok")), settings);
        EXPECT_TRUE(form.Command1->isEnabled());
        EXPECT_FALSE(form.RichTextBox1->isReadOnly());
    }
}

TEST(MainWindowWork, APartialProductHoldsTheWindowAndCancelGivesItBack) {
    FormRig rig;
    Form1& form = *rig.form;
    form.RichTextBox1->setText("a");
    form.RichTextBox2->setText("b");
    form.RichTextBox3->setText("c");
    rig.presenter.answers = {MsgAnswer::Ok};
    rig.presenter.inputAnswers = {QStringLiteral("1"), QString::fromLatin1(kLongFactorial)};
    const auto settings = readBytes(rig.folder.file("rcnt.vok"));
    form.runner().freeMemory = [] { return std::optional<std::uint64_t>(kPlentyOfMemory); };
    bool held = false;
    whenWorking(form.runner(), [&] {
        held = !form.Command1->isEnabled() && !form.Command2->isEnabled() &&
               !form.Command3->isEnabled() && !form.Command4->isEnabled() &&
               !form.Command5->isEnabled() && !form.Label2->isEnabled() &&
               !form.optmnu->menuAction()->isEnabled() && !form.factorialmnu->isEnabled() &&
               !form.g100->isEnabled() && form.RichTextBox1->isReadOnly() &&
               form.RichTextBox2->isReadOnly();
        QTest::mouseClick(form.runner().cancelButton(), Qt::LeftButton);
    });
    form.partialFac->trigger();
    EXPECT_TRUE(held);
    EXPECT_EQ(form.RichTextBox1->text() + form.RichTextBox2->text() + form.RichTextBox3->text(),
              "abc");
    EXPECT_EQ(rig.presenter.messages.size(), 1u); // only the opening one
    EXPECT_EQ(readBytes(rig.folder.file("rcnt.vok")), settings);
    for (QWidget* w : {static_cast<QWidget*>(form.Command1), static_cast<QWidget*>(form.Command4),
                       static_cast<QWidget*>(form.Label2)})
        EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(form.optmnu->menuAction()->isEnabled());
    EXPECT_FALSE(form.RichTextBox1->isReadOnly());
}

TEST(MainWindowWork, ClosingTheWindowCancelsTheCalculationFirst) {
    FormRig rig;
    Form1& form = *rig.form;
    form.RichTextBox3->setText("c");
    form.runner().freeMemory = [] { return std::optional<std::uint64_t>(kPlentyOfMemory); };
    rig.presenter.answers = {MsgAnswer::Ok};
    rig.presenter.inputAnswers = {QStringLiteral("1"), QString::fromLatin1(kLongFactorial)};
    whenWorking(form.runner(), [&] { form.close(); });
    form.partialFac->trigger();
    EXPECT_FALSE(form.runner().isRunning());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.RichTextBox3->text(), "c");
    EXPECT_EQ(rig.sound.log.back(), "stop 1.wav");
}

TEST(MainWindowWork, TheMemoryGuardRefusesAProductThatWouldNotFit) {
    FormRig rig;
    Form1& form = *rig.form;
    form.runner().freeMemory = [] { return std::optional<std::uint64_t>(1 << 20); };
    form.RichTextBox1->setText(std::string(100000, '9'));
    form.RichTextBox2->setText(std::string(100000, '9'));
    form.RichTextBox3->setText("old");
    QTest::mouseClick(form.Command1, Qt::LeftButton); // Multiply
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].text.toStdString(),
              "The result would have about 200002 digits: more than this computer can hold.");
    EXPECT_EQ(form.RichTextBox3->text(), "old");
    EXPECT_TRUE(form.Command6->isHidden());

    // The sum of the same operands fits.
    form.runner().freeMemory = [] { return std::optional<std::uint64_t>(1 << 30); };
    QTest::mouseClick(form.Command2, Qt::LeftButton); // Add
    EXPECT_EQ(form.RichTextBox3->text(), "1" + std::string(99999, '9') + "8");
}

} // namespace
} // namespace longhand
