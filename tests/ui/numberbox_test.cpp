// The number box: its text and caret as the windows see them, and long
// numbers kept in paragraphs of whole rows.
#include "ui/common/look.h"
#include "uitest.h"

#include <QAbstractTextDocumentLayout>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace longhand {
namespace {

// A box the size of the main window's, shown.
struct Shown {
    Shown() {
        box.resize(497, 103);
        box.setFont(boldFont());
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

// The paragraphs of a long text are whole rows, before and after a resize,
// and the text, the caret and copying ignore their breaks.
TEST(NumberBox, ALongTextIsKeptInRowsAndComesBackWhole) {
    Shown s;
    s.box.setText("-123.45");
    EXPECT_FALSE(s.box.isChunked());
    const std::string text = "-" + digits(NumberBox::kChunkThreshold * 3) + "." + digits(99);
    s.box.setText(text);
    EXPECT_TRUE(s.box.isChunked());
    EXPECT_EQ(s.box.text(), text);
    s.box.setCaretPosition(45678);
    for (const int width : {497, 300}) {
        SCOPED_TRACE(width);
        s.box.resize(width, 103);
        QApplication::processEvents();
        EXPECT_EQ(s.box.text(), text);
        EXPECT_EQ(s.box.caretPosition(), 45678);
        const int row = s.box.charsPerRow();
        const QTextBlock first = s.box.document()->firstBlock();
        EXPECT_EQ(first.length() - 1, row * NumberBox::kRowsPerChunk);
        s.box.document()->documentLayout()->blockBoundingRect(first); // lays it out
        const QTextLayout* layout = first.layout();
        ASSERT_EQ(layout->lineCount(), NumberBox::kRowsPerChunk);
        for (int i = 0; i < layout->lineCount(); ++i)
            EXPECT_EQ(layout->lineAt(i).textLength(), row) << "row " << i;
    }
    s.box.setCaretPosition(text.size() + 5);
    EXPECT_EQ(s.box.caretPosition(), static_cast<std::int64_t>(text.size()));
    s.box.selectAll();
    s.box.copy();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), text);
}

TEST(NumberBox, BackspaceAndDeleteAtAParagraphEdgeRemoveADigit) {
    Shown s;
    const std::string text = digits(60000);
    s.box.setText(text);
    const std::int64_t edge = s.box.document()->firstBlock().length() - 1;
    s.box.setCaretPosition(edge);
    // The caret may stand at either side of the break; both act on digits.
    QTest::keyClick(&s.box, Qt::Key_Backspace);
    QTest::keyClick(&s.box, Qt::Key_Delete);
    std::string expected = text;
    expected.erase(static_cast<std::size_t>(edge - 1), 2);
    EXPECT_EQ(s.box.text(), expected);
}

TEST(NumberBox, EnterInsertsNothingAndPastedLineBreaksAreLeftOut) {
    Shown s;
    QSignalSpy changed(&s.box, &NumberBox::changed);
    QTest::keyClicks(&s.box, "12");
    QTest::keyClick(&s.box, Qt::Key_Return);
    QApplication::clipboard()->setText("3\r\n4\n5");
    s.box.paste();
    EXPECT_EQ(s.box.text(), "12345");
    EXPECT_EQ(changed.count(), 3);
    // Writing the text the box holds changes nothing.
    s.box.setText("12345");
    EXPECT_EQ(changed.count(), 3);
}

// A long text goes in and comes back as the editor's own plain text does,
// in the same paragraphs as a prepared one, whatever its characters; it
// raises changed() only when it is new.
TEST(NumberBox, ALongTextComesBackAsTheEditorHoldsIt) {
    const std::string plain = digits(NumberBox::kChunkThreshold * 5 + 7);
    const std::string same = plain.substr(0, 1000) + "9" + plain.substr(1001);
    struct Case {
        const char* name;
        std::string text;
        std::string shown; // what the box gives back
    } const cases[] = {
        {"digits", plain, plain},
        {"one differs", same, same},
        {"accented", plain.substr(0, 44444) + "\xc3\xa9" + plain.substr(44444),
         plain.substr(0, 44444) + "\xc3\xa9" + plain.substr(44444)},
        // The editor gives a no-break space back as a space.
        {"no-break space", plain.substr(0, 77777) + "\xc2\xa0" + plain.substr(77777),
         plain.substr(0, 77777) + " " + plain.substr(77777)},
    };
    Shown s;
    QSignalSpy changed(&s.box, &NumberBox::changed);
    int expected = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(s.box.setText(c.text));
        EXPECT_EQ(changed.count(), ++expected);
        EXPECT_TRUE(s.box.isChunked());
        EXPECT_EQ(s.box.text(), c.shown);
        EXPECT_EQ(s.box.text(), s.box.qtext().toStdString());
        EXPECT_EQ(s.box.caretPosition(), 0);
        if (c.shown != c.text) continue;
        s.box.setText(c.text);
        EXPECT_EQ(changed.count(), expected) << "the same text again";
        // Every paragraph but the last holds whole rows, in the box and in
        // a text of digits prepared elsewhere (which reads bytes as Latin-1).
        const int chunk = s.box.charsPerRow() * NumberBox::kRowsPerChunk;
        const NumberBox::PreparedText prepared = NumberBox::prepare(c.text, s.box.charsPerRow());
        std::vector<const QTextDocument*> documents = {s.box.document()};
        if (std::all_of(c.text.begin(), c.text.end(), [](char k) { return (k & 0x80) == 0; }))
            documents.push_back(prepared.document.get());
        for (const QTextDocument* document : documents) {
            EXPECT_EQ(document->toPlainText().remove(QLatin1Char('\n')).toStdString(), c.text);
            for (QTextBlock block = document->begin(); block.next().isValid(); block = block.next())
                ASSERT_EQ(block.length() - 1, chunk) << block.blockNumber();
        }
    }
    s.box.setText("");
    EXPECT_EQ(changed.count(), expected + 1);
    EXPECT_EQ(s.box.text(), "");
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
    for (const std::int64_t pasted : {longest - 2, longest - 1}) {
        s.box.setText("12");
        s.box.moveCaretToEnd();
        QApplication::clipboard()->setText(QString::fromStdString(digits(pasted)));
        s.box.paste();
        const bool fits = pasted + 2 <= longest;
        EXPECT_EQ(s.box.text().size(), static_cast<std::size_t>(fits ? longest : 2)) << pasted;
    }
    EXPECT_EQ(refused.count(), 1);
    EXPECT_FALSE(s.box.setText(digits(longest + 1)));
    EXPECT_EQ(s.box.text(), "12");
    EXPECT_EQ(refused.count(), 2);
    // Short texts never ask for the free memory.
    s.box.freeMemory = [] { return std::optional<std::uint64_t>(0); };
    EXPECT_TRUE(s.box.setText(digits(NumberBox::kChunkThreshold)));
}

} // namespace
} // namespace longhand
