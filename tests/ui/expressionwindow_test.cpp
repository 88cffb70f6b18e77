// The expression and history window's wiring, and the results the other
// windows hand to the history: Enter evaluates on the runner and keeps the
// value, refusals stay in the window, Up and Down bring typed lines back,
// Cancel keeps nothing, and an entry's menu items reach the clipboard, a
// file, the operand boxes and the input line.
#include "store/history.h"
#include "ui/common/historykeeper.h"
#include "ui/common/move.h"
#include "ui/expression/expressionwindow.h"
#include "ui/expression/historylist.h"
#include "uitest.h"

#include <QLabel>

namespace longhand {
namespace {

using test::click;
using test::WindowRig;

// A main window with the expression window made the way the program makes it.
struct ExpressionRig : WindowRig {
    // `before` prepares the app folder before the window opens.
    explicit ExpressionRig(const std::function<void(test::AppFolder&)>& before = {}) {
        if (before) before(folder);
        MainWindow& w = *window;
        w.makeExpressionWindow = [&w]() -> QWidget* {
            auto put = [&w](ExpressionWindow::Box box, const std::string& text) {
                w.context().putOperand(box == ExpressionWindow::Box::Upper
                                           ? MoveTarget::FirstOperand
                                           : MoveTarget::SecondOperand,
                                       text, &w);
            };
            return new ExpressionWindow({w.presenter(), w.runner(), w.history(), put}, &w);
        };
        ui(w).expressionAction->trigger();
        expression = qobject_cast<ExpressionWindow*>(w.expressionWindow());
    }

    std::vector<HistoryEntry> entries() const { return window->history().store().read().entries; }
    void enter(const QString& line) const {
        expression->input->setText(line);
        QTest::keyClick(expression->input, Qt::Key_Return);
    }
    // Chooses `item` from the menu of the list's row `row`.
    void choose(int row, const char* item) {
        HistoryList* list = expression->historyList;
        presenter.menuChoices.push_back(QString::fromLatin1(item));
        const QRect place = list->visualRect(list->historyModel().index(row));
        emit list->customContextMenuRequested(place.center());
    }

    ExpressionWindow* expression = nullptr;
};

TEST(ExpressionWindow, EnterEvaluatesAndKeepsTheValue) {
    ExpressionRig rig;
    ASSERT_NE(rig.expression, nullptr);
    EXPECT_TRUE(rig.expression->isVisible());
    struct Case {
        const char* line;
        const char* value;
        const char* note;
        const char* exact;
    } const cases[] = {
        {"2^100-1", "1267650600228229401496703205375", "31 digits", ""},
        {"1/6", "0.1(6)", "period of 1 digit after 1", "1/6"},
        {"#2*6", "1", "1 digit", ""}, // the exact sixth, not its digits
        {"ans + 1/2", "1.5", "2 digits (1 before the point, 1 after)", ""},
        // Texts and answers are kept as shown, marked as no number, and read
        // back as texts.
        {"base(255, 16)", "ff", "2 digits in base 16", kHistoryTextMark},
        {"isprime(2^61-1)", "prime", "", kHistoryTextMark},
        {"frombase(#5, 16) + 1", "256", "3 digits", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        rig.enter(QString::fromLatin1(c.line));
        const HistoryEntry e = rig.entries().back();
        EXPECT_EQ(e.source, c.line);
        EXPECT_EQ(e.text, c.value);
        EXPECT_EQ(e.note, c.note);
        EXPECT_EQ(e.exact, c.exact);
        EXPECT_TRUE(rig.expression->input->text().isEmpty());
        ASSERT_NE(rig.expression->historyList->currentEntry(), nullptr);
        EXPECT_EQ(rig.expression->historyList->currentEntry()->number, e.number);
        EXPECT_EQ(rig.expression->valueView->text(), c.value);
    }
    // Refused lines stay in the input and keep nothing.
    const std::pair<const char*, const char*> refused[] = {
        {"1/(2", "the expression ends too early at column 5"},
        {"7/0", "Division by zero."},
        {"#99", "the history holds no value #99 at column 1"},
        {"#6 * 2", "\"*\" takes numbers, not a text at column 1"},
    };
    for (const auto& [line, words] : refused) {
        rig.enter(QString::fromLatin1(line));
        EXPECT_EQ(rig.expression->statusLabel->text(), words);
        EXPECT_EQ(rig.expression->input->text(), line);
    }
    EXPECT_EQ(rig.entries().size(), std::size(cases));
}

TEST(ExpressionWindow, ATextMovesIntoNoOperandBox) {
    ExpressionRig rig;
    rig.enter("base(10, 2)");
    rig.choose(0, ExpressionWindow::kMoveUpper);
    EXPECT_TRUE(ui(*rig.window).firstOperand->text().empty());
    EXPECT_FALSE(rig.expression->moveUpperAction->isEnabled());
    rig.choose(0, ExpressionWindow::kCopy);
    EXPECT_EQ(QApplication::clipboard()->text(), "1010");
}

TEST(ExpressionWindow, UpAndDownBringBackTypedLines) {
    ExpressionRig rig;
    rig.enter("1+1");
    rig.enter("2+2");
    QLineEdit* input = rig.expression->input;
    input->setText("3+");
    const std::pair<Qt::Key, const char*> steps[] = {
        {Qt::Key_Up, "2+2"},   {Qt::Key_Up, "1+1"},  {Qt::Key_Up, "1+1"},
        {Qt::Key_Down, "2+2"}, {Qt::Key_Down, "3+"}, {Qt::Key_Down, "3+"},
    };
    for (const auto& [key, line] : steps) {
        QTest::keyClick(input, key);
        EXPECT_EQ(input->text(), line);
    }
}

TEST(ExpressionWindow, CancelKeepsNothing) {
    ExpressionRig rig;
    QObject::connect(&rig.window->runner(), &CalcRunner::started, &rig.window->runner(),
                     &CalcRunner::cancel);
    rig.enter("3^2000000");
    EXPECT_TRUE(rig.entries().empty());
    EXPECT_EQ(rig.expression->input->text(), "3^2000000");
}

TEST(ExpressionWindow, EntryMenuItemsReachTheirTargets) {
    ExpressionRig rig;
    rig.enter("2^10");
    rig.enter("10^(2*10^5)"); // long: kept in a file of its own
    const std::string longValue = "1" + std::string(200000, '0');
    ASSERT_FALSE(rig.entries().back().inLog());

    rig.choose(1, ExpressionWindow::kCopy);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), longValue);
    rig.choose(0, ExpressionWindow::kMoveUpper);
    EXPECT_EQ(ui(*rig.window).firstOperand->text(), "1024");
    rig.choose(1, ExpressionWindow::kMoveLower);
    EXPECT_EQ(ui(*rig.window).secondOperand->text(), longValue);
    rig.choose(0, ExpressionWindow::kUseInExpression);
    EXPECT_EQ(rig.expression->input->text(), "#1");
    const std::string saved = rig.folder.file("saved.txt");
    rig.presenter.files.push_back(QString::fromStdString(saved));
    rig.choose(0, ExpressionWindow::kSaveAs);
    EXPECT_EQ(test::readBytes(saved), "1024\n");

    rig.presenter.answers.push_back(MsgAnswer::No);
    rig.choose(0, ExpressionWindow::kClearHistory);
    EXPECT_EQ(rig.entries().size(), 2u);
    rig.choose(0, ExpressionWindow::kClearHistory); // Yes
    EXPECT_EQ(rig.presenter.messages.back().text, HistoryKeeper::kClearQuestion);
    EXPECT_TRUE(rig.entries().empty());
    EXPECT_EQ(rig.expression->historyList->historyModel().rowCount(), 0);
}

// A damaged history shows what reads whole and says how much was left out.
TEST(ExpressionWindow, ADamagedHistoryShowsTheRest) {
    ExpressionRig rig([](test::AppFolder& folder) {
        HistoryStore(folder.path()).append({{"a", "1", ""}, {"b", "2", ""}, {"c", "3", ""}}, 1);
        std::string log = *folder.read(kHistoryFileName);
        log[log.find("\tb\t") + 1] = 'x';
        folder.write(kHistoryFileName, log);
    });
    EXPECT_EQ(rig.expression->historyList->historyModel().rowCount(), 2);
    EXPECT_EQ(rig.expression->statusLabel->text(),
              QString::fromLatin1(ExpressionWindow::kDamaged).arg(1));
}

// The main window keeps its results, Move included, and keeps none while
// Keep History is off.
TEST(ExpressionWindow, TheMainWindowKeepsItsResults) {
    ExpressionRig rig;
    MainWindow& w = *rig.window;
    ui(w).firstOperand->setText("12");
    ui(w).secondOperand->setText("5");
    click(ui(w).multiplyButton);
    click(ui(w).divideButton);
    rig.presenter.inputAnswers.push_back(QStringLiteral("2"));
    click(ui(w).moveLabel);
    std::vector<HistoryEntry> kept = rig.entries();
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].source, "Multiply");
    EXPECT_EQ(kept[0].text, "60");
    EXPECT_EQ(kept[1].source, "Divide");
    EXPECT_EQ(kept[1].text, "2.4");
    EXPECT_EQ(kept[2].source, "Move to Lower Box");
    // The open window follows at once.
    EXPECT_EQ(rig.expression->historyList->historyModel().rowCount(), 3);

    ui(w).keepHistoryAction->trigger();
    EXPECT_FALSE(w.history().keeping());
    EXPECT_EQ(rig.folder.setting("History", "Keep"), "0");
    click(ui(w).addButton);
    EXPECT_EQ(rig.entries().size(), 3u);
}

} // namespace
} // namespace longhand
