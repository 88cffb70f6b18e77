// The number box: its text and caret as the windows see them, its
// notifications, and long numbers kept in paragraphs of whole rows.
#include "ui/common/look.h"
#include "ui/common/numberbox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace longhand {
namespace {

// A box the size of the main window's, shown.
struct Shown {
    Shown() {
        box.resize(497, 103);
        box.show();
    }
    NumberBox box;
};

std::string digits(std::size_t count) {
    std::string text(count, '0');
    for (std::size_t i = 0; i < count; ++i)
        text[i] = static_cast<char>('0' + (i * 7 + i / 13) % 10);
    return text;
}

TEST(NumberBox, ShortTextsStayInOneParagraph) {
    Shown s;
    s.box.setText("-123.45");
    EXPECT_EQ(s.box.text(), "-123.45");
    EXPECT_FALSE(s.box.isChunked());
    EXPECT_EQ(s.box.caretPosition(), 0);
}

TEST(NumberBox, LongTextsComeBackWhole) {
    Shown s;
    const std::string text = "-" + digits(250000) + "." + digits(999);
    s.box.setText(text);
    EXPECT_TRUE(s.box.isChunked());
    EXPECT_EQ(s.box.text(), text);
    EXPECT_EQ(s.box.qtext().size(), static_cast<qsizetype>(text.size()));
}

class NumberBoxRows : public ::testing::TestWithParam<bool> {};

TEST_P(NumberBoxRows, ParagraphsOfALongTextAreWholeRows) {
    Shown s;
    if (GetParam()) s.box.setFont(boldFont());
    const std::string text = digits(NumberBox::kChunkThreshold * 3);
    s.box.setText(text);
    QApplication::processEvents();
    const int row = s.box.charsPerRow();
    ASSERT_GT(row, 10);
    const QTextBlock first = s.box.document()->firstBlock();
    ASSERT_TRUE(first.next().isValid());
    EXPECT_EQ(first.length() - 1, row * NumberBox::kRowsPerChunk);
    s.box.document()->documentLayout()->blockBoundingRect(first); // lays it out
    const QTextLayout* layout = first.layout();
    ASSERT_EQ(layout->lineCount(), NumberBox::kRowsPerChunk);
    for (int i = 0; i < layout->lineCount(); ++i)
        EXPECT_EQ(layout->lineAt(i).textLength(), row) << "row " << i;
}

INSTANTIATE_TEST_SUITE_P(DefaultAndWindowFont, NumberBoxRows, ::testing::Bool());

TEST(NumberBox, TheCaretCountsCharactersNotParagraphBreaks) {
    Shown s;
    const std::string text = digits(100000);
    s.box.setText(text);
    for (std::int64_t at :
         {std::int64_t{0}, std::int64_t{1}, std::int64_t{4999}, std::int64_t{5000},
          std::int64_t{65432}, std::int64_t{99999}, std::int64_t{100000}}) {
        s.box.setCaretPosition(at);
        EXPECT_EQ(s.box.caretPosition(), at);
    }
    s.box.setCaretPosition(200000);
    EXPECT_EQ(s.box.caretPosition(), 100000);
    s.box.setCaretPosition(-5);
    EXPECT_EQ(s.box.caretPosition(), 0);
    s.box.setCaretPosition(3);
    s.box.moveCaretToEnd();
    EXPECT_EQ(s.box.caretPosition(), 100000);
}

TEST(NumberBox, BackspaceAndDeleteAtAParagraphEdgeRemoveADigit) {
    Shown s;
    const std::string text = digits(60000);
    s.box.setText(text);
    const std::int64_t edge = s.box.document()->firstBlock().length() - 1;
    s.box.setCaretPosition(edge);
    // The caret may stand at either side of the break; both act on digits.
    QTest::keyClick(&s.box, Qt::Key_Backspace);
    std::string expected = text;
    expected.erase(static_cast<std::size_t>(edge - 1), 1);
    EXPECT_EQ(s.box.text(), expected);
    QTest::keyClick(&s.box, Qt::Key_Delete);
    expected.erase(static_cast<std::size_t>(edge - 1), 1);
    EXPECT_EQ(s.box.text(), expected);

    // Right at the start of the second paragraph.
    const QTextBlock second = s.box.document()->firstBlock().next();
    QTextCursor cursor(second);
    s.box.setTextCursor(cursor);
    const std::int64_t at = s.box.caretPosition();
    QTest::keyClick(&s.box, Qt::Key_Backspace);
    expected.erase(static_cast<std::size_t>(at - 1), 1);
    EXPECT_EQ(s.box.text(), expected);
}

TEST(NumberBox, WritingTheSameTextRaisesNoChange) {
    Shown s;
    QSignalSpy changed(&s.box, &NumberBox::changed);
    s.box.setText("12");
    EXPECT_EQ(changed.count(), 1);
    s.box.setText("12");
    EXPECT_EQ(changed.count(), 1);
    const std::string text = digits(50000);
    s.box.setText(text);
    s.box.setText(text);
    EXPECT_EQ(changed.count(), 2);
    QTest::keyClicks(&s.box, "9");
    EXPECT_EQ(changed.count(), 3);
}

TEST(NumberBox, ALongTextKeepsItsTextAcrossAResize) {
    Shown s;
    const std::string text = digits(70000);
    s.box.setText(text);
    s.box.setCaretPosition(12345);
    QSignalSpy changed(&s.box, &NumberBox::changed);
    s.box.resize(300, 100);
    QApplication::processEvents();
    EXPECT_EQ(s.box.text(), text);
    EXPECT_EQ(s.box.caretPosition(), 12345);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(s.box.document()->firstBlock().length() - 1,
              s.box.charsPerRow() * NumberBox::kRowsPerChunk);
}

TEST(NumberBox, EnterInsertsNothingAndPastedLineBreaksAreLeftOut) {
    Shown s;
    QTest::keyClicks(&s.box, "12");
    QTest::keyClick(&s.box, Qt::Key_Return);
    QTest::keyClick(&s.box, Qt::Key_Enter, Qt::ShiftModifier);
    EXPECT_EQ(s.box.text(), "12");
    QApplication::clipboard()->setText("3\r\n4\n5");
    s.box.paste();
    EXPECT_EQ(s.box.text(), "12345");
}

TEST(NumberBox, PastingALongNumberKeepsItInRowsAndCopyingGivesItBack) {
    Shown s;
    const std::string text = digits(80000);
    s.box.setText("1");
    s.box.moveCaretToEnd();
    QApplication::clipboard()->setText(QString::fromStdString(text));
    s.box.paste();
    EXPECT_EQ(s.box.text(), "1" + text);
    EXPECT_TRUE(s.box.isChunked());
    EXPECT_EQ(s.box.caretPosition(), static_cast<std::int64_t>(text.size() + 1));
    s.box.selectAll();
    s.box.copy();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "1" + text);
}

// A text the free memory cannot take is refused whole, however it comes;
// the box keeps its text and says why.
TEST(NumberBox, ATextTooLongForTheMemoryIsRefused) {
    Shown s;
    const std::int64_t longest = 100000;
    s.box.freeMemory = [&] {
        return std::optional<std::uint64_t>(longest * NumberBox::kBytesPerCharacter);
    };
    QSignalSpy refused(&s.box, &NumberBox::outOfMemory);
    s.box.setText("12");
    s.box.moveCaretToEnd();

    QApplication::clipboard()->setText(QString::fromStdString(digits(longest - 2)));
    s.box.paste();
    EXPECT_EQ(s.box.text().size(), static_cast<std::size_t>(longest)); // just fits
    EXPECT_EQ(refused.count(), 0);

    s.box.setText("12");
    s.box.moveCaretToEnd();
    QApplication::clipboard()->setText(QString::fromStdString(digits(longest - 1)));
    s.box.paste();
    EXPECT_EQ(s.box.text(), "12");
    EXPECT_EQ(refused.count(), 1);

    EXPECT_FALSE(s.box.setText(digits(longest + 1)));
    EXPECT_EQ(s.box.text(), "12");
    EXPECT_EQ(refused.count(), 2);

    // Short texts never ask for the free memory.
    s.box.freeMemory = [] { return std::optional<std::uint64_t>(0); };
    EXPECT_TRUE(s.box.setText(digits(NumberBox::kChunkThreshold)));
    EXPECT_EQ(refused.count(), 2);
}

TEST(NumberBox, ReportsKeysClicksAndDoubleClicks) {
    Shown s;
    QSignalSpy clicked(&s.box, &NumberBox::clicked);
    QSignalSpy doubled(&s.box, &NumberBox::doubleClicked);
    QObject::connect(&s.box, &NumberBox::keyPressed, [](QKeyEvent* event, bool* swallow) {
        if (event->text() == "x") *swallow = true;
    });
    QTest::keyClicks(&s.box, "1x2");
    EXPECT_EQ(s.box.text(), "12");

    QTest::mouseClick(s.box.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(s.box.viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 1); // a click is the left button's
    QTest::mouseDClick(s.box.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(doubled.count(), 1);
}

} // namespace
} // namespace longhand
