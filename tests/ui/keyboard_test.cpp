// Every command from the keyboard: the operations' keys, the Edit menu and
// its shortcuts, the round hint following the caret, Right and Left on a
// selection, the placeholders of empty boxes, and the dialog's keys.
#include "ui/common/resultfinder.h"
#include "uitest.h"

#include <QMenuBar>

namespace longhand {
namespace {

using test::DialogRig;
using test::WindowRig;

struct KeyRig : WindowRig {
    KeyRig() { QApplication::setActiveWindow(window.get()); }
    MainWindow& w() { return *window; }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
};

TEST(Keyboard, AltAndTheFirstLetterRunTheOperationsFromAnywhere) {
    const struct {
        int key;
        const char* result;
        const char* tip;
    } cases[] = {{Qt::Key_A, "9", "Add (Alt+A)"},
                 {Qt::Key_S, "5", "Subtract (Alt+S)"},
                 {Qt::Key_M, "14", "Multiply (Alt+M)"},
                 {Qt::Key_D, "3.5", "Divide (Alt+D)"}};
    KeyRig rig;
    MainWindow& w = rig.w();
    for (const auto& c : cases) {
        w.firstOperand->setText("7");
        w.secondOperand->setText("2");
        // From inside a box the key is the window's, and types nothing.
        w.secondOperand->setFocus();
        w.resultView->setText("");
        rig.key(c.key, Qt::AltModifier);
        // A button's key presses it as a click would, shown for a moment.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.resultView->text().empty(); }, 5000));
        EXPECT_EQ(w.resultView->text(), c.result) << c.tip;
        EXPECT_EQ(w.secondOperand->text(), "2");
    }
    for (QPushButton* b : {w.addButton, w.subtractButton, w.multiplyButton, w.divideButton})
        EXPECT_EQ(b->toolTip(), std::find_if(std::begin(cases), std::end(cases), [&](auto& c) {
                                    return QString(c.tip).startsWith(b->text());
                                })->tip);
    // Empty boxes show their placeholders, which are not their text.
    w.firstOperand->setText("");
    EXPECT_EQ(w.firstOperand->placeholderText(), "first number");
    EXPECT_EQ(w.secondOperand->placeholderText(), "second number");
    EXPECT_EQ(w.firstOperand->text(), "");
}

TEST(Keyboard, TheEditMenuStandsBetweenFileAndOption) {
    KeyRig rig;
    MainWindow& w = rig.w();
    QStringList menus, items;
    for (QAction* a : w.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Option", "&Help"}));
    for (QAction* a : w.editMenu->actions())
        if (!a->isSeparator()) items << a->text() + " " + a->shortcut().toString();
    EXPECT_EQ(items, QStringList({"&Copy Ctrl+C", "Select &All Ctrl+A", "&Find... Ctrl+F",
                                  "Find &Next F3", "&Go to Digit... Ctrl+G",
                                  "&Round Result... Ctrl+R", "&Move Result... Ctrl+M"}));

    // Copy and Select All: the focused box's, else the result's.
    w.resultView->setText("12.5");
    w.firstOperand->setText("345");
    w.firstOperand->setFocus();
    w.selectAllAction->trigger();
    w.copyAction->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "345");
    w.addButton->setFocus();
    w.copyAction->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "12.5");

    // Move from the keyboard: the Move question answered with 2.
    rig.presenter.inputAnswers = {QString("2")};
    rig.key(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(w.secondOperand->text(), "12.5");
}

TEST(Keyboard, RoundResultAsksForTheDecimalsAndRoundsAsTheHintDoes) {
    const struct {
        const char* result;
        const char* answer;
        const char* rounded;
        const char* told; // "": nothing
    } cases[] = {
        {"3.14159", "2", "3.14", ""},
        {"-2.5", "0", "-3", ""},
        {"99.95", "1", "100", ""},
        {"3.14159", "5", "3.14159", "Round Result takes a count of decimals from 0 to 4."},
        {"3.14159", "x", "3.14159", "Round Result takes a count of decimals from 0 to 4."},
        {"314", "1", "314", "Only a result with decimals can be rounded."},
    };
    for (const auto& c : cases) {
        KeyRig rig;
        MainWindow& w = rig.w();
        w.resultView->setText(c.result);
        rig.presenter.inputAnswers = {QString(c.answer)};
        rig.key(Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(w.resultView->text(), c.rounded) << c.result << " " << c.answer;
        const QString told = rig.presenter.messages.empty() ? "" : rig.presenter.messages[0].text;
        EXPECT_EQ(told, c.told);
    }
}

TEST(Keyboard, TheRoundHintFollowsTheCaretAndRightLeftCloseASelection) {
    KeyRig rig;
    MainWindow& w = rig.w();
    NumberView& view = *w.resultView;
    view.setText("12.345");
    view.setFocus();
    for (int i = 0; i < 4; ++i)
        rig.key(Qt::Key_Right);
    EXPECT_TRUE(w.roundHint->isVisible());
    EXPECT_EQ(w.roundHint->text(), "1: Click To Round.");
    rig.key(Qt::Key_End, Qt::ControlModifier); // nothing left to round away
    EXPECT_FALSE(w.roundHint->isVisible());
    // Go to Digit brings the hint as well.
    rig.presenter.inputAnswers = {QString("4")};
    w.finder->goToAction->trigger();
    EXPECT_EQ(w.roundHint->text(), "2: Click To Round.");

    const struct {
        int key;
        std::int64_t caret;
    } collapses[] = {{Qt::Key_Right, 4}, {Qt::Key_Left, 1}};
    for (const auto& c : collapses) {
        view.select(1, 4);
        rig.key(c.key);
        EXPECT_FALSE(view.hasSelection());
        EXPECT_EQ(view.caret(), c.caret);
    }
}

TEST(Keyboard, TheFunctionDialogRoundsAndMovesByKeys) {
    DialogRig rig(FunctionMode::Power);
    FunctionDialog& d = *rig.dialog;
    QApplication::setActiveWindow(&d);
    rig.compute("1.5^2");
    ASSERT_EQ(rig.result(), "2.25");
    rig.presenter.inputAnswers = {QString("1"), QString("1")};
    QTest::keyClick(&d, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(rig.result(), "2.3");
    QTest::keyClick(&d, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(rig.window->firstOperand->text(), "2.3");
}

} // namespace
} // namespace longhand
