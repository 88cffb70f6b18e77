// Finding one's way in a long result through the windows: digit grouping
// from the Option menu and the settings, the round hint and rounding while
// grouped, the length line with a cut quotient, Go to Digit and Find.
#include "core/lengthline.h"
#include "ui/common/lengthline.h"
#include "ui/common/look.h"
#include "ui/common/resultfinder.h"
#include "uitest.h"

#include <QFontMetricsF>

namespace longhand {
namespace {

using test::click;
using test::WindowRig;

std::string line(const MainWindow& w) {
    return w.lengthLine->text().toStdString();
}

TEST(ResultGrouping, IsKeptInTheSettingsAndLeavesTheRoundHintItsPlace) {
    WindowRig rig("[Digit Grouping]\r\nSize=10\r\n");
    MainWindow& w = *rig.window;
    EXPECT_EQ(w.resultView->groupSize(), 10);
    EXPECT_TRUE(w.groupingActions[3]->isChecked());
    w.groupingActions[1]->trigger();
    EXPECT_EQ(w.resultView->groupSize(), 3);
    EXPECT_EQ(rig.folder.setting("Digit Grouping", "Size"), "3");

    // A cut quotient, clicked after its fifth decimal: the hint and the
    // caption count plain characters, gaps or not.
    QTest::keyClicks(w.firstOperand, "1234567");
    QTest::keyClicks(w.secondOperand, "3");
    click(w.divideButton);
    ASSERT_EQ(w.resultView->text(), "411522.33333333");
    EXPECT_EQ(line(w), "14 digits (6 before the point, 8 after), cut, not rounded");
    const QPoint at = w.resultView->cursorRect(12).center();
    QTest::mouseClick(w.resultView->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(w.resultView->caretPosition(), 12);
    EXPECT_EQ(w.roundHint->text(), "5: Click To Round.");
    EXPECT_EQ(w.windowTitle(), "7");
    EXPECT_EQ(line(w), std::string("14 digits (6 before the point, 8 after), cut, not rounded") +
                           kPlaceSeparator + "digit 11 of 14");
    click(w.roundHint);
    EXPECT_EQ(w.resultView->text(), "411522.33333");
    EXPECT_EQ(line(w), "11 digits (6 before the point, 5 after)"); // rounded, no longer cut

    w.groupingActions[0]->trigger();
    EXPECT_EQ(w.resultView->groupSize(), 0);
    EXPECT_EQ(rig.folder.setting("Digit Grouping", "Size"), "0");
}

// The caret row is in sight, the length line tells where the caret stands.
void expectCaretAfterDigit(const MainWindow& w, std::int64_t digit, std::int64_t total) {
    const NumberView& view = *w.resultView;
    EXPECT_EQ(view.shape().digitsBefore(view.caret()), digit);
    EXPECT_TRUE(view.viewport()->rect().intersects(view.cursorRect()));
    EXPECT_EQ(line(w), withThousands(total) + " digits" + kPlaceSeparator + "digit " +
                           withThousands(digit) + " of " + withThousands(total));
}

TEST(ResultFinder, GoesToAndFindsDigitsAtTheStartTheMiddleAndTheEnd) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.setGroupSize(5, false);
    constexpr std::int64_t kDigits = 2'000'000;
    std::string text(kDigits, '1');
    const std::string mark = "98765";
    for (std::int64_t at : {std::int64_t{0}, kDigits / 2, kDigits - 5})
        text.replace(static_cast<std::size_t>(at), mark.size(), mark);
    w.resultView->setText(text);
    QApplication::setActiveWindow(&w);

    rig.presenter.inputAnswers = {QString("1"), QString("1,000,000"), QString("2 000 000"),
                                  QString("0")};
    for (std::int64_t digit : {std::int64_t{1}, kDigits / 2, kDigits}) {
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
        expectCaretAfterDigit(w, digit, kDigits);
    }
    w.finder->goToAction->trigger();
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].text, "Go to takes a digit from 1 to 2,000,000.");
    EXPECT_EQ(rig.presenter.inputs[0].prompt, "Go to digit (1 to 2,000,000):");

    // From the start; F3 goes on, and from the last match round to the first.
    w.resultView->setCaretPosition(0);
    rig.presenter.inputAnswers = {QString("98 765")};
    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    for (std::int64_t at : {std::int64_t{0}, kDigits / 2, kDigits - 5, std::int64_t{0}}) {
        EXPECT_EQ(w.resultView->caretPosition(), at);
        EXPECT_EQ(w.resultView->selectedText(), mark);
        expectCaretAfterDigit(w, at + 5, kDigits);
        QTest::keyClick(&w, Qt::Key_F3);
    }
    rig.presenter.inputAnswers = {QString("12")};
    w.finder->findAction->trigger();
    ASSERT_EQ(rig.presenter.messages.size(), 2u);
    EXPECT_EQ(rig.presenter.messages[1].text, "\"12\" is not in the result.");
}

// The longest lines, a cut quotient of millions of digits with the caret's
// place, are written smaller to fit under the result, never cut off.
TEST(ResultLengthLine, ALongLineFitsItsWidth) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    const std::string text = std::string(2'385'000, '4') + "." + std::string(2'387'000, '2');
    w.resultView->setText(text, true);
    w.resultView->setCaretPosition(2'390'000);
    const std::string expected = "4,772,000 digits (2,385,000 before the point, 2,387,000 after), "
                                 "cut, not rounded" +
                                 std::string(kPlaceSeparator) + "digit 2,389,999 of 4,772,000";
    EXPECT_EQ(line(w), expected);
    const QFontMetricsF metrics(w.lengthLine->font());
    EXPECT_LE(metrics.horizontalAdvance(w.lengthLine->text()),
              w.lengthLine->contentsRect().width());
    w.resultView->setText("1.5");
    EXPECT_EQ(w.lengthLine->font(), plainFont()); // a short line in the usual size
}

} // namespace
} // namespace longhand
