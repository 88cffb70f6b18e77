// The main window's function menu, the table of 1! to 100!, the partial
// product, and the round hint, rounding and Move on its result view,
// driven through the real controls.
#include "engine/partialproduct.h"
#include "support/gmp.h"
#include "uitest.h"

#include <set>

namespace longhand {
namespace {

using test::click;
using test::WindowRig;

void clickAtCaret(NumberView* view, int position) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->cursorRect(position).center());
}

// ---- The function menu ------------------------------------------------------------

// Each item opens the dialog in its mode, captioned by the settings text;
// the template modes hold input checking off while open and give it back.
TEST(MainWindowFunctionMenu, EachItemOpensTheDialogInItsMode) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    ui(w).inputCheckAction->trigger(); // checking on
    struct Item {
        QAction* action;
        FunctionMode mode;
        const char* caption;
        const char* line;
        InputCheck whileOpen;
    } const items[] = {
        {ui(w).factorialAction, FunctionMode::Factorial, "Factorial", "", InputCheck::On},
        {ui(w).powerAction, FunctionMode::Power, "Power", "", InputCheck::On},
        {ui(w).permutationAction, FunctionMode::Permutation, "Permutation", "p(,,)",
         InputCheck::Off},
        {ui(w).combinationAction, FunctionMode::Combination, "Combination", "c(,,)",
         InputCheck::Off},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.caption);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<FunctionDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            seen = true;
            EXPECT_EQ(d->mode(), item.mode);
            EXPECT_EQ(d->windowTitle(), item.caption);
            EXPECT_EQ(d->computeButton->text(), item.caption);
            EXPECT_EQ(d->argumentLine->text(), item.line);
            EXPECT_EQ(w.options().inputCheck, item.whileOpen);
            d->close();
        });
        item.action->trigger();
        EXPECT_TRUE(seen);
        EXPECT_EQ(w.options().inputCheck, InputCheck::On);
    }
}

// ---- Generate 1! to 100! ----------------------------------------------------------

// The table goes through the store: a record above 100 stays and the
// largest stored n is its; a damaged part is cut with its notice before the
// completion message.
TEST(MainWindowFactorialTable, StoresTheTableAndShowsWhatTheStoreSays) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    rig.folder.write("facDat.vok", test::storeOf({1, 50, 150}) + "\r\n200,\"x\"");
    ui(w).factorialTableAction->trigger();
    std::set<unsigned long> after{150};
    for (unsigned long n = 1; n <= 100; ++n)
        after.insert(n);
    EXPECT_EQ(rig.folder.read("facDat.vok"), test::storeOf(after));
    EXPECT_EQ(rig.folder.setting("Recent Factorial", "Upper"), "150");
    ASSERT_EQ(rig.presenter.messages.size(), 2u);
    EXPECT_TRUE(rig.presenter.messages[0].text.contains(
        QString::fromStdString(rig.folder.file("facDat.vok.bak"))));
    EXPECT_EQ(rig.presenter.messages[1].text, "1! to 100! are in the store now.");
}

TEST(MainWindowFactorialTable, AStoreThatCannotBeWrittenKeepsTheSetting) {
    WindowRig rig;
    setAppFolder(rig.folder.path() + "/missing-folder");
    ui(*rig.window).factorialTableAction->trigger();
    setAppFolder(rig.folder.path());
    EXPECT_FALSE(rig.folder.setting("Recent Factorial", "Upper").has_value());
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_TRUE(rig.presenter.messages[0].text.startsWith("The factorial store cannot be written"));
}

// ---- The partial product ---------------------------------------------------------------

struct PartialRig : WindowRig {
    PartialRig() {
        ui(*window).firstOperand->setText("a");
        ui(*window).secondOperand->setText("b");
        ui(*window).resultView->setText("c");
    }
    void run(std::initializer_list<std::optional<QString>> answers) {
        presenter.inputAnswers.assign(answers.begin(), answers.end());
        ui(*window).partialProductAction->trigger();
    }
    std::string boxes() const {
        return ui(*window).firstOperand->text() + "|" + ui(*window).secondOperand->text() + "|" +
               ui(*window).resultView->text();
    }
};

TEST(MainWindowPartialProduct, AsksForMAndNAndShowsTheProduct) {
    PartialRig rig;
    rig.run({QStringLiteral("3"), QStringLiteral("5")});
    EXPECT_EQ(rig.boxes(), "||60");
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(rig.presenter.messages[0].icon, MsgIcon::Information);
    EXPECT_TRUE(rig.presenter.messages[0].text.startsWith("m(m+1)(m+2)...(n) multiplies"));
    ASSERT_EQ(rig.presenter.inputs.size(), 2u);
    EXPECT_EQ(rig.presenter.inputs[0].prompt.toStdString(),
              "Product of all whole numbers from M up to N.\r\r"
              "Example: M = 3 and N = 5 give 3 x 4 x 5 = 60.\r\r"
              "Type whole numbers only, with no sign or point. N must be larger than M.\r\r"
              "A long run of numbers takes a while to multiply.\r\r"
              "Enter M, the first number of the run, then press OK. N is asked for next.");
    EXPECT_EQ(rig.presenter.inputs[0].defaultAnswer, "");
    EXPECT_EQ(rig.presenter.inputs[1].prompt, "ENTER NUMBER > 3");
    EXPECT_TRUE(rig.sound.log.empty()); // no finished sound
}

// A refusal asks again from the start; Cancel or an empty answer ends the
// command with the boxes as they were.
TEST(MainWindowPartialProduct, ARefusalAsksAgainAndCancelEndsIt) {
    {
        PartialRig rig;
        rig.run({QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("-2"),
                 QStringLiteral("30"), QStringLiteral("3"), std::nullopt});
        EXPECT_EQ(rig.boxes(), "a|b|c");
        ASSERT_EQ(rig.presenter.messages.size(), 3u);
        EXPECT_EQ(rig.presenter.messages[1].text, "Wrong Input: Choose N > M");
        EXPECT_EQ(rig.presenter.messages[2].text, "Enter whole numbers: M and then N > M.");
        EXPECT_EQ(rig.presenter.inputs.size(), 6u);
    }
    PartialRig empty;
    empty.run({QString()});
    EXPECT_EQ(empty.boxes(), "a|b|c");
    PartialRig cancelled;
    cancelled.presenter.answers = {MsgAnswer::Cancel};
    cancelled.run({});
    EXPECT_EQ(cancelled.boxes(), "a|b|c");
    EXPECT_TRUE(cancelled.presenter.inputs.empty());
}

// ---- The round hint and rounding -----------------------------------------------------

// The hint rounds once, where the click offered it; a click left of the
// point or at the end offers nothing and leaves the caption; a result whose
// point has moved since the hint is not rounded at the old point.
TEST(MainWindowRounding, TheHintRoundsOnlyWhereAndWhatItOffered) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    // The status label, visible and empty from the start, offers nothing.
    ui(w).resultView->setText("7.5");
    click(ui(w).roundHint);
    EXPECT_EQ(ui(w).resultView->text(), "7.5");

    ui(w).resultView->setText("3.14159");
    clickAtCaret(ui(w).resultView, 5); // after "3.14"
    EXPECT_EQ(w.windowTitle(), "2");
    EXPECT_FALSE(ui(w).roundHint->isHidden());
    EXPECT_EQ(ui(w).roundHint->text(), "3: Click To Round.");
    click(ui(w).roundHint);
    EXPECT_EQ(ui(w).resultView->text(), "3.142");
    EXPECT_TRUE(ui(w).roundHint->isHidden());
    ui(w).resultView->setText("3.14159");
    click(ui(w).roundHint); // gone: a second click changes nothing
    EXPECT_EQ(ui(w).resultView->text(), "3.14159");

    ui(w).resultView->setText("12.345");
    clickAtCaret(ui(w).resultView, 6); // after the last digit
    EXPECT_TRUE(ui(w).roundHint->isHidden());
    EXPECT_EQ(w.windowTitle(), "3");
    w.setWindowTitle("x");
    clickAtCaret(ui(w).resultView, 1); // left of the point
    EXPECT_TRUE(ui(w).roundHint->isHidden());
    EXPECT_EQ(w.windowTitle(), "x");

    clickAtCaret(ui(w).resultView, 4);
    ui(w).resultView->setText("1.2345");
    click(ui(w).roundHint);
    EXPECT_EQ(ui(w).resultView->text(), "1.2345");
}

// ---- Move ------------------------------------------------------------------------------

TEST(MainWindowMove, TheAnswerChoosesTheBox) {
    struct Case {
        std::optional<const char*> answer; // nullopt: Cancel
        const char* first;
        const char* second;
    } const cases[] = {
        {"1", "-0.125", "b"}, {"2", "a", "-0.125"}, {"3", "a", "b"}, {std::nullopt, "a", "b"}};
    for (const Case& c : cases) {
        WindowRig rig;
        MainWindow& w = *rig.window;
        ui(w).firstOperand->setText("a");
        ui(w).secondOperand->setText("b");
        ui(w).resultView->setText("-0.125");
        rig.presenter.inputAnswers = {c.answer ? std::optional<QString>(*c.answer) : std::nullopt};
        click(ui(w).moveLabel);
        ASSERT_EQ(rig.presenter.inputs.size(), 1u);
        EXPECT_EQ(rig.presenter.inputs[0].prompt.toStdString(),
                  "Copy the result into a box.\r\r1 = upper box\r\r2 = lower box. Any other "
                  "answer, or Cancel, leaves both boxes as they are.");
        EXPECT_EQ(rig.presenter.inputs[0].defaultAnswer, "1");
        EXPECT_EQ(ui(w).firstOperand->text(), c.first);
        EXPECT_EQ(ui(w).secondOperand->text(), c.second);
    }
}

// The box is emptied before it takes the text, so that input checking
// cleans the copy as typed text.
TEST(MainWindowMove, WithCheckingOnTheCopyIsCleaned) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    ui(w).inputCheckAction->trigger();
    ui(w).resultView->setText("0.5");
    ui(w).firstOperand->setText("9");
    rig.presenter.inputAnswers = {QStringLiteral("1")};
    click(ui(w).moveLabel);
    EXPECT_EQ(ui(w).firstOperand->text(), ".5");
}

// A long result is copied whole, and cleaned as a typed one with checking
// on; the caret ends where setting the text puts it.
TEST(MainWindowMove, ALongResultIsCopiedWhole) {
    const std::string digits(NumberBox::kChunkThreshold * 3, '7');
    struct Case {
        bool checking;
        std::string result, moved;
        std::int64_t caret;
    } const cases[] = {
        {false, "0." + digits, "0." + digits, 0},
        {true, "0." + digits, "." + digits, static_cast<std::int64_t>(digits.size()) + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.checking);
        WindowRig rig;
        MainWindow& w = *rig.window;
        if (c.checking) ui(w).inputCheckAction->trigger();
        ui(w).resultView->setText(c.result);
        ui(w).firstOperand->setText("9");
        rig.presenter.inputAnswers = {QStringLiteral("1")};
        click(ui(w).moveLabel);
        EXPECT_EQ(ui(w).firstOperand->text(), c.moved);
        EXPECT_TRUE(ui(w).firstOperand->isChunked());
        EXPECT_EQ(ui(w).firstOperand->caretPosition(), c.caret);
        EXPECT_FALSE(ui(w).firstOperand->isReadOnly());
    }
}

} // namespace
} // namespace longhand
