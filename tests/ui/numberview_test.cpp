// The result view: where the caret lands for a click, how the keys move it,
// selection and copying, and the scroll bar over a long number.
#include "uitest.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <utility>

namespace longhand {
namespace {

using test::WindowRig;

// A view with room for a few rows, shown and focused.
struct ViewRig {
    ViewRig() {
        window.resize(300, 200);
        view = new NumberView(&window);
        view->setGeometry(10, 10, 240, 100);
        window.show();
        QApplication::setActiveWindow(&window);
        view->setFocus();
    }
    void click(std::int64_t position, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                          view->cursorRect(position).center());
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(view, key, modifiers);
    }

    QWidget window;
    NumberView* view;
};

std::string digits(std::size_t count) {
    std::string text(count, '0');
    for (std::size_t i = 0; i < count; ++i)
        text[i] = static_cast<char>('1' + i % 9);
    return text;
}

// Grouped or not, a click lands on the plain position drawn there.
TEST(NumberView, AClickPutsTheCaretWhereItWasAimedOnEveryRow) {
    for (int groupSize : {0, 3, 10}) {
        SCOPED_TRACE(groupSize);
        ViewRig rig;
        const std::string text = "-" + digits(60) + "." + digits(40);
        rig.view->setGroupSize(groupSize);
        rig.view->setText(text);
        const int perRow = rig.view->charsPerRow();
        ASSERT_LT(perRow, static_cast<int>(text.size()) / 2); // several rows
        QSignalSpy clicked(rig.view, &NumberView::clicked);
        int inSight = 0;
        for (std::int64_t p = 0; p <= static_cast<std::int64_t>(text.size()); ++p) {
            rig.view->setCaretPosition(p); // scrolls p into sight
            const QRect at = rig.view->cursorRect(p);
            if (!rig.view->viewport()->rect().contains(at.center())) continue;
            ++inSight;
            // A neighbour first, so that the click has to move the caret.
            const std::int64_t other = p > 0 ? p - 1 : p + 1;
            if (rig.view->viewport()->rect().contains(rig.view->cursorRect(other).center())) {
                rig.click(other);
                ASSERT_EQ(rig.view->caretPosition(), other);
            }
            rig.click(p);
            EXPECT_EQ(rig.view->caretPosition(), p) << "row length " << perRow;
            EXPECT_FALSE(rig.view->hasSelection());
        }
        EXPECT_EQ(inSight, static_cast<int>(text.size()) + 1);
        EXPECT_GE(clicked.count(), inSight);
        // Above the first row, the click counts as on it.
        rig.view->setCaretPosition(0);
        QTest::mouseClick(rig.view->viewport(), Qt::LeftButton, {},
                          QPoint(rig.view->cursorRect(3).center().x(), 1));
        EXPECT_EQ(rig.view->caretPosition(), 3);
    }
}

TEST(NumberView, KeysMoveTheCaretByCharacterRowAndNumber) {
    ViewRig rig;
    rig.view->setText(digits(100));
    const int perRow = rig.view->charsPerRow();
    ASSERT_GT(perRow, 4);
    rig.view->setCaretPosition(perRow + 3); // second row, fourth column
    rig.key(Qt::Key_Home);
    EXPECT_EQ(rig.view->caretPosition(), perRow);
    rig.key(Qt::Key_Right);
    rig.key(Qt::Key_Down);
    EXPECT_EQ(rig.view->caretPosition(), 2 * perRow + 1);
    rig.key(Qt::Key_Up);
    rig.key(Qt::Key_Left);
    EXPECT_EQ(rig.view->caretPosition(), perRow);
    // End stays on the row: Home from there comes back to the same row.
    rig.key(Qt::Key_End);
    EXPECT_EQ(rig.view->caretPosition(), 2 * perRow);
    rig.key(Qt::Key_Home);
    EXPECT_EQ(rig.view->caretPosition(), perRow);
    rig.key(Qt::Key_End, Qt::ControlModifier);
    rig.key(Qt::Key_Right); // nothing right of the end
    EXPECT_EQ(rig.view->caretPosition(), 100);
    rig.key(Qt::Key_Home, Qt::ControlModifier);
    rig.key(Qt::Key_Left);
    EXPECT_EQ(rig.view->caretPosition(), 0);
    // The text never changes by a key.
    rig.key(Qt::Key_5);
    rig.key(Qt::Key_Delete);
    rig.key(Qt::Key_Backspace);
    EXPECT_EQ(rig.view->text(), digits(100));
}

// Grouping is display only: what is copied is the plain number.
TEST(NumberView, CopyWithoutASelectionOrAfterSelectAllTakesTheWholeNumber) {
    ViewRig rig;
    const std::string text = "-" + digits(1'000'000) + ".25";
    rig.view->setGroupSize(5);
    rig.view->setText(text);
    QApplication::clipboard()->clear();
    rig.key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), text);
    QApplication::clipboard()->clear();
    rig.key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(rig.view->hasSelection());
    rig.key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), text);
    // Shift with the arrows selects a part; copying takes just that.
    rig.view->setCaretPosition(1);
    rig.key(Qt::Key_Right, Qt::ShiftModifier);
    rig.key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(rig.view->selectedText(), text.substr(1, 2));
    EXPECT_EQ(rig.view->caretPosition(), 1); // the start of the selection
    rig.view->copy();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), text.substr(1, 2));
}

TEST(NumberView, TheScrollBarCountsRowsAndAClickAtTheEndLandsThere) {
    ViewRig rig;
    const std::string text = digits(5'000'000) + ".5";
    rig.view->setText(text);
    const std::int64_t perRow = rig.view->charsPerRow();
    const std::int64_t rows = (static_cast<std::int64_t>(text.size()) + perRow - 1) / perRow;
    QScrollBar* bar = rig.view->verticalScrollBar();
    EXPECT_EQ(bar->maximum() + bar->pageStep(), rows);
    rig.view->moveCaretToEnd();
    EXPECT_EQ(bar->value(), bar->maximum());
    const std::int64_t target = static_cast<std::int64_t>(text.size()) - 3;
    rig.click(target);
    EXPECT_EQ(rig.view->caretPosition(), target);
    // A new width wraps anew and keeps the rows counted.
    rig.view->resize(160, 100);
    const std::int64_t narrower = rig.view->charsPerRow();
    EXPECT_LT(narrower, perRow);
    EXPECT_EQ(bar->maximum() + bar->pageStep(),
              (static_cast<std::int64_t>(text.size()) + narrower - 1) / narrower);
}

} // namespace
} // namespace longhand
