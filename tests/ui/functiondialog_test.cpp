// The function dialog driven as a person would: the argument line typed
// into, the compute button pressed, the result view clicked, the hint and
// Move labels clicked; files and settings read back afterwards.
#include "store/filestore.h"
#include "support/gmp.h"
#include "ui/common/storewords.h"
#include "uitest.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>

namespace longhand {
namespace {

using test::click;
using enum FunctionMode;

// Types into the line: ',' is the Right arrow, which steps over a
// template's comma.
void type(QLineEdit* line, const char* keys) {
    for (const char* p = keys; *p; ++p)
        QTest::keyClick(line, *p == ',' ? Qt::Key_Right : Qt::Key(*p));
}

// A main window and a function dialog shown over it.
struct DialogRig : test::DialogRig {
    using test::DialogRig::DialogRig;
    void type(const char* keys) const { longhand::type(dialog->argumentLine, keys); }
};

// ---- The mode is the menu's choice; the settings give only the caption -------------

TEST(FunctionDialog, ComputesByItsModeWhateverTheCaptionSays) {
    struct Case {
        FunctionMode mode;
        const char* caption;
        const char* typed;
        const char* shown;
    } const cases[] = {{Factorial, "Power", "4", "24"},
                       {Power, "Power ", "2^10", "1024"},
                       {Permutation, "Permutaci\xC3\xB3n", "5,3", "60"},
                       {Combination, "Combination", "5,3", "10"}}; // a blank text's own
    for (const Case& c : cases) {
        test::WindowRig rig("[Text]\nf=Power\nw=\"Power \"\np=Permutaci\xC3\xB3n\nc=  \n");
        FunctionDialog d(rig.window->context(), c.mode);
        d.show();
        EXPECT_EQ(d.windowTitle().toStdString(), c.caption);
        EXPECT_EQ(d.computeButton->text().toStdString(), c.caption);
        type(d.argumentLine, c.typed);
        click(d.computeButton);
        EXPECT_EQ(d.resultView->text(), c.shown);
        EXPECT_EQ(d.windowTitle(), ""); // cleared after every press
        // The press stops the sound, the result starts it and shows Stop Sound.
        EXPECT_EQ(rig.sound.log.front(), "stop");
        EXPECT_TRUE(rig.sound.looping);
        click(d.stopSoundButton);
        EXPECT_TRUE(d.stopSoundButton->isHidden());
        EXPECT_FALSE(rig.sound.looping);
        // With the sound off, nothing plays.
        rig.window->options().soundOn = false;
        rig.sound.log.clear();
        click(d.computeButton);
        EXPECT_TRUE(rig.sound.log.empty());
        EXPECT_TRUE(d.stopSoundButton->isHidden());
        d.close();
    }
}

// Arguments the dialog cannot take change nothing and say nothing; a power
// the engine refuses shows its message.
TEST(FunctionDialog, ArgumentsItCannotTakeChangeNothing) {
    struct Case {
        FunctionMode mode;
        const char* line;
        const char* message; // null: silent
    } const cases[] = {{Factorial, "00", nullptr},
                       {Factorial, "-3", nullptr},
                       {Power, "210", nullptr},
                       {Power, "2^1.5", "The exponent must be a whole number."},
                       {Permutation, "p(3,5,)", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DialogRig rig(c.mode);
        rig.dialog->resultView->setText("old");
        rig.compute(QString::fromLatin1(c.line));
        EXPECT_EQ(rig.result(), "old");
        ASSERT_EQ(rig.presenter.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(rig.presenter.messages[0].text.toStdString(), c.message);
        }
        EXPECT_TRUE(rig.dialog->stopSoundButton->isHidden());
    }
    DialogRig zero(Factorial);
    zero.compute(QStringLiteral("0"));
    EXPECT_EQ(zero.result(), "1");
}

TEST(FunctionDialog, TheArgumentLineIsCheckedByTheMode) {
    for (auto [mode, typed, kept] :
         {std::tuple{Factorial, "-5.5a^2", "552"}, std::tuple{Power, "-2.5^3.5", "-2.5^35"}}) {
        DialogRig rig(mode);
        rig.window->options().inputCheck = InputCheck::On;
        QTest::keyClicks(rig.dialog->argumentLine, QString::fromLatin1(typed));
        EXPECT_EQ(rig.line(), kept);
        EXPECT_EQ(rig.dialog->argumentLine->cursorPosition(), static_cast<int>(rig.line().size()));
        EXPECT_EQ(rig.dialog->windowTitle(), rig.dialog->computeButton->text());
    }
}

// ---- The save question ----------------------------------------------------------------

TEST(FunctionDialog, AFactorialBeyondTheStoreAsksToSaveIt) {
    for (const bool yes : {true, false}) {
        DialogRig rig(Factorial);
        rig.presenter.answers = {yes ? MsgAnswer::Yes : MsgAnswer::No};
        rig.compute(QStringLiteral("5"));
        EXPECT_EQ(rig.result(), "120");
        ASSERT_EQ(rig.presenter.messages.size(), 1u);
        EXPECT_EQ(rig.presenter.messages[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(rig.presenter.messages[0].icon, MsgIcon::Question);
        EXPECT_EQ(rig.presenter.messages[0].text.toStdString(),
                  "Keep this factorial in the store? n = 5\rYou should save this result.");
        EXPECT_EQ(rig.folder.read("facDat.vok"), yes ? "1,\"1\"\r\n5,\"120\"" : "1,\"1\"");
        EXPECT_EQ(rig.folder.setting("Recent Factorial", "Upper"), yes ? "5" : "1");
    }
}

// The store's write runs on the runner: while another window holds the
// store's lock the panel says so and the window keeps answering; the write
// goes in once the lock is let go, or not at all after Cancel, and the
// result is shown either way.
TEST(FunctionDialog, StoreWorkWaitsForTheLockInThePanel) {
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancel" : "let go");
        DialogRig rig(Factorial);
        rig.folder.write("facDat.vok", test::storeOf({1, 5}));
        auto held = std::make_unique<FileLock>(rig.folder.file("facDat.vok.lock"),
                                               std::chrono::milliseconds(0));
        ASSERT_EQ(held->status(), FileLock::Status::Held);
        CalcRunner& runner = rig.window->runner();
        QString shown;
        QObject::connect(&runner, &CalcRunner::workingShown, [&] {
            shown = runner.workingLabel()->text();
            if (cancel)
                click(runner.cancelButton());
            else
                held.reset();
        });
        rig.compute(QStringLiteral("3")); // a gap below 5!: inserted after the work
        EXPECT_EQ(shown.toStdString(), kFacStoreLockWaitNote);
        EXPECT_EQ(rig.result(), "6");
        EXPECT_EQ(rig.folder.read("facDat.vok"),
                  test::storeOf(cancel ? std::set<unsigned long>{1, 5}
                                       : std::set<unsigned long>{1, 3, 5}));
        EXPECT_TRUE(rig.presenter.messages.empty());
    }
}

// ---- The template -----------------------------------------------------------------------

TEST(FunctionDialogTemplate, TakesTypedDigitsAndNothingThatBreaksIt) {
    DialogRig rig(Permutation);
    QLineEdit* line = rig.dialog->argumentLine;
    EXPECT_EQ(line->cursorPosition(), 2);
    rig.type("5,");
    ASSERT_EQ(rig.line(), "p(5,,)");
    QTest::keyClick(line, Qt::Key_Backspace); // right after a comma
    QTest::keyClicks(line, "a-.x ^");         // letters and signs
    QTest::keyClick(line, Qt::Key_Delete);    // moves the caret, deletes nothing
    EXPECT_EQ(rig.line(), "p(5,,)");
    EXPECT_EQ(line->cursorPosition(), 5);
    rig.type("3");
    QTest::keyClick(line, Qt::Key_Backspace); // a digit may go
    EXPECT_EQ(rig.line(), "p(5,,)");
    line->setCursorPosition(0);
    QTest::keyClick(line, Qt::Key_Backspace); // at the very start
    EXPECT_EQ(rig.line(), "p(5,,)");
}

// Drops `text` into the first slot of the line, as a drag would carry it.
void dropText(QLineEdit* line, const QString& text) {
    QMimeData data;
    data.setText(text);
    QPoint at(0, line->height() / 2);
    while (at.x() < line->width() && line->cursorPositionAt(at) < 2)
        at.rx()++;
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(line, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(line, &drop);
}

TEST(FunctionDialogTemplate, NoOtherWayOfEditingBreaksIt) {
    const std::pair<const char*, std::function<void(QLineEdit*)>> ways[] = {
        {"a digit typed over the whole line",
         [](QLineEdit* l) {
             l->selectAll();
             QTest::keyClick(l, Qt::Key_7);
         }},
        {"a dropped text", [](QLineEdit* l) { dropText(l, QStringLiteral("9")); }},
        {"an input method's text",
         [](QLineEdit* l) {
             QInputMethodEvent commit;
             commit.setCommitString(QStringLiteral("x"));
             QApplication::sendEvent(l, &commit);
         }},
        {"Ctrl+V",
         [](QLineEdit* l) {
             QApplication::clipboard()->setText(QStringLiteral("9"));
             QTest::keyClick(l, Qt::Key_V, Qt::ControlModifier);
         }},
    };
    for (const auto& [name, edit] : ways) {
        SCOPED_TRACE(name);
        DialogRig rig(Combination);
        rig.type("55,3,");
        ASSERT_EQ(rig.line(), "c(55,3,)");
        edit(rig.dialog->argumentLine);
        EXPECT_EQ(rig.line(), "c(55,3,)");
    }
}

TEST(FunctionDialogTemplate, ItsMenuOffersOnlyCopyAndSelectAll) {
    auto rightClick = [](QLineEdit* line) {
        const QPoint at = line->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, line->mapToGlobal(at));
        QApplication::sendEvent(line, &menu);
    };
    DialogRig rig(Permutation);
    rig.type("5");
    rig.presenter.menuChoices = {QStringLiteral("Select &All")};
    rightClick(rig.dialog->argumentLine);
    ASSERT_EQ(rig.presenter.popupItems.size(), 1u);
    EXPECT_EQ(rig.presenter.popupItems[0], (QStringList{"&Copy", "Select &All"}));
    QApplication::clipboard()->clear();
    rig.presenter.menuChoices = {QStringLiteral("&Copy")};
    rightClick(rig.dialog->argumentLine);
    EXPECT_EQ(QApplication::clipboard()->text(), "p(5,,)");
}

// ---- The keyboard, in every mode ----------------------------------------------------

TEST(FunctionDialogKeyboard, TabMovesEnterComputesEscCloses) {
    for (auto [mode, typed, shown] :
         {std::tuple{Factorial, "5", "120"}, std::tuple{Permutation, "5,3", "60"}}) {
        DialogRig rig(mode);
        FunctionDialog& d = *rig.dialog;
        QApplication::setActiveWindow(&d);
        d.argumentLine->setFocus();
        const std::string line = rig.line();
        // Tab order: result view, compute button, argument line.
        QTest::keyClick(d.argumentLine, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), d.resultView);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), d.argumentLine);
        // Tabbed into, a template waits with the caret in its first slot.
        if (mode == Permutation) {
            EXPECT_EQ(d.argumentLine->cursorPosition(), 2);
        }
        QTest::keyClick(d.argumentLine, Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), d.computeButton);
        EXPECT_EQ(rig.line(), line); // no key typed anything

        d.argumentLine->setFocus();
        rig.type(typed);
        QTest::keyClick(d.argumentLine, Qt::Key_Return);
        EXPECT_EQ(rig.result(), shown);
        QTest::keyClick(d.argumentLine, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    }
}

// ---- The result view: round hint, rounding and Move -----------------------------------

TEST(FunctionDialog, AClickIntoTheResultOffersRoundingAndMoveCopiesIt) {
    DialogRig rig(Power);
    FunctionDialog& d = *rig.dialog;
    d.resultView->setText("3.14159");
    QTest::mouseClick(d.resultView->viewport(), Qt::LeftButton, {},
                      d.resultView->cursorRect(5).center()); // after "3.14"
    EXPECT_EQ(d.windowTitle(), "2");
    EXPECT_EQ(d.roundHint->text(), "3: Click To Round.");
    click(d.roundHint);
    EXPECT_EQ(rig.result(), "3.142");
    EXPECT_TRUE(d.roundHint->isHidden());

    rig.presenter.inputAnswers = {QStringLiteral("2")};
    click(d.moveLabel);
    EXPECT_EQ(ui(*rig.window).secondOperand->text(), "3.142");
}

} // namespace
} // namespace longhand
