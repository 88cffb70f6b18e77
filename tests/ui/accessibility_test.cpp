// What a screen reader finds, read through QAccessible as an assistive
// technology would: the result view's text interface (ranges, the caret,
// the selection, a long number served by range), its events, and the
// names and descriptions of the main window's controls.
#include "core/lengthline.h"
#include "ui/common/accessible.h"
#include "ui/common/clicklabel.h"
#include "ui/common/lengthline.h"
#include "uitest.h"

#include <QAccessible>
#include <QAccessibleTextInterface>

namespace longhand {
namespace {

using test::WindowRig;

QAccessibleInterface* accessible(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(iface, nullptr);
    return iface;
}

// The events the views send, while a test listens.
std::vector<std::pair<QAccessible::Event, int>> heard; // type and offset (-1: none)

void listen(const QAccessibleEvent& event) {
    int offset = -1;
    if (event.type() == QAccessible::TextCaretMoved)
        offset = static_cast<const QAccessibleTextCursorEvent&>(event).cursorPosition();
    if (event.type() == QAccessible::TextSelectionChanged)
        offset = static_cast<const QAccessibleTextSelectionEvent&>(event).selectionEnd();
    heard.emplace_back(event.type(), offset);
}

struct Listening {
    Listening() {
        heard.clear();
        setAnnouncementListener(listen);
    }
    ~Listening() { setAnnouncementListener(nullptr); }
    bool heardEvent(QAccessible::Event type, int offset = -1) const {
        return std::find(heard.begin(), heard.end(), std::make_pair(type, offset)) != heard.end();
    }
};

TEST(Accessibility, TheResultIsReadByRangeWithItsCaretAndSelection) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.resultView->setText("-12.345");
    QAccessibleInterface* iface = accessible(w.resultView);
    EXPECT_EQ(iface->role(), QAccessible::StaticText);
    EXPECT_TRUE(iface->state().readOnly);
    EXPECT_EQ(iface->text(QAccessible::Name), "Result: 5 digits (2 before the point, 3 after)");
    QAccessibleTextInterface* text = iface->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 7);
    int start = 0, end = 0;
    const struct {
        int from, to;
        const char* read;
    } ranges[] = {{0, 7, "-12.345"}, {1, 3, "12"}, {4, -1, "345"}, {6, 99, "5"}, {9, 12, ""}};
    for (const auto& r : ranges)
        EXPECT_EQ(text->text(r.from, r.to), r.read) << r.from << ".." << r.to;
    EXPECT_EQ(text->textAtOffset(3, QAccessible::CharBoundary, &start, &end), ".");
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(3, 4));

    text->setCursorPosition(2);
    EXPECT_EQ(w.resultView->caret(), 2);
    EXPECT_EQ(text->cursorPosition(), 2);
    EXPECT_EQ(text->selectionCount(), 0);
    text->setSelection(0, 1, 4);
    EXPECT_EQ(w.resultView->selectedText(), "12.");
    ASSERT_EQ(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(1, 4));
    text->removeSelection(0);
    EXPECT_EQ(text->selectionCount(), 0);
    // The character under a point is the one drawn there.
    const QRect box = text->characterRect(5);
    EXPECT_EQ(text->offsetAtPoint(box.center()), 5);
}

TEST(Accessibility, ALongResultIsServedARowAtATime) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    constexpr int kDigits = 10'000'000;
    std::string digits(kDigits, '0');
    for (int i = 0; i < kDigits; ++i)
        digits[static_cast<std::size_t>(i)] = static_cast<char>('1' + i % 9);
    w.resultView->setText(digits, true);
    QAccessibleInterface* iface = accessible(w.resultView);
    EXPECT_EQ(iface->text(QAccessible::Name), "Result: 10,000,000 digits, cut, not rounded");
    EXPECT_EQ(iface->text(QAccessible::Value), "");
    QAccessibleTextInterface* text = iface->textInterface();
    EXPECT_EQ(text->characterCount(), kDigits);
    EXPECT_EQ(text->text(5'000'000, 5'000'009).toStdString(), digits.substr(5'000'000, 9));
    // A line, a word or a sentence is the row that holds the offset.
    const int perRow = w.resultView->charsPerRow();
    for (auto boundary : {QAccessible::LineBoundary, QAccessible::WordBoundary,
                          QAccessible::SentenceBoundary, QAccessible::NoBoundary}) {
        int start = 0, end = 0;
        const QString row = text->textAtOffset(5'000'000, boundary, &start, &end);
        EXPECT_EQ(end - start, perRow);
        EXPECT_LE(start, 5'000'000);
        EXPECT_GT(end, 5'000'000);
        EXPECT_EQ(row.toStdString(),
                  digits.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(perRow)));
        const QString next = text->textAfterOffset(5'000'000, boundary, &start, &end);
        EXPECT_EQ(next.size(), perRow);
    }
    int start = 0, end = 0;
    EXPECT_EQ(text->textAfterOffset(kDigits - 1, QAccessible::LineBoundary, &start, &end), "");
    EXPECT_EQ(text->textBeforeOffset(0, QAccessible::LineBoundary, &start, &end), "");
}

TEST(Accessibility, TheViewTellsOfCaretSelectionAndText) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.resultView->setText("3.14159");
    QApplication::setActiveWindow(&w);
    w.resultView->setFocus();
    Listening listening;
    QTest::keyClick(w.resultView, Qt::Key_Right);
    EXPECT_TRUE(listening.heardEvent(QAccessible::TextCaretMoved, 1));
    QTest::keyClick(w.resultView, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(listening.heardEvent(QAccessible::TextSelectionChanged, 2));
    heard.clear();
    w.resultView->setText("2.5");
    EXPECT_TRUE(listening.heardEvent(QAccessible::TextUpdated));
    EXPECT_TRUE(listening.heardEvent(QAccessible::NameChanged));
    EXPECT_TRUE(listening.heardEvent(QAccessible::TextCaretMoved, 0));
}

TEST(Accessibility, EveryControlSaysWhatItIs) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.resultView->setText("12.345");
    const struct {
        QWidget* widget;
        QString name; // its start
    } controls[] = {
        {w.firstOperand, "Upper operand"},
        {w.secondOperand, "Lower operand"},
        {w.resultView, "Result: "},
        {w.lengthLine, "Result length: 5 digits"},
        {w.roundHint, "Round hint"},
        {w.moveLabel, "Move"},
        {w.addButton, "Add"},
        {w.divideButton, "Divide"},
    };
    for (const auto& c : controls) {
        QAccessibleInterface* iface = accessible(c.widget);
        EXPECT_TRUE(iface->text(QAccessible::Name).startsWith(c.name))
            << iface->text(QAccessible::Name).toStdString();
        EXPECT_FALSE(iface->text(QAccessible::Description).isEmpty()) << c.name.toStdString();
    }
    EXPECT_EQ(accessible(w.moveLabel)->text(QAccessible::Name), "Move"); // said once
    // The hint is a button a screen reader can press.
    w.resultView->setCaretPosition(4);
    QAccessibleInterface* hint = accessible(w.roundHint);
    EXPECT_EQ(hint->text(QAccessible::Name), "Round hint: 1: Click To Round.");
    ASSERT_NE(hint->actionInterface(), nullptr);
    hint->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(w.resultView->text(), "12.3");
}

} // namespace
} // namespace longhand
