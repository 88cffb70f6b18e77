// The editing box that holds one number of any length: the two operand
// boxes and the result box of the main window, and the function dialog's
// result box.
//
// It is a plain-text editor whose lines wrap anywhere, so a long number
// fills the box row after row. A box holds one line of text: Enter inserts
// nothing, and line breaks in pasted or dropped text are left out.
//
// Long numbers: a text editor lays out a paragraph as a whole, so a
// million-digit number in one paragraph takes most of a second to show.
// Above kChunkThreshold characters the box therefore keeps the number in
// paragraphs of whole rows (kRowsPerChunk rows each) and lays out only
// the ones in sight. The paragraph breaks are the box's own business:
// text(), caretPosition(), copying and Backspace/Delete ignore them, and
// they look the same as the wrap of a row.
//
// A text opened from a file can be made ready off the user-interface
// thread (prepare()) and then shown at once (showPrepared()), so that even
// a 100,000,000-digit number never holds the window still. A text file
// dropped on the box is not inserted: the box reports it (fileDropped()).
#pragma once

#include "engine/estimate.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QKeyEvent;
class QMimeData;

namespace longhand {

class NumberBox : public QPlainTextEdit {
    Q_OBJECT

  public:
    // Texts longer than this are kept in paragraphs of whole rows.
    static constexpr int kChunkThreshold = 20000;
    // Rows per paragraph of a long text.
    static constexpr int kRowsPerChunk = 32;
    // Bytes a text takes per character on its way into the box and while
    // it is checked and shown: the pasted and the assembled copies, the
    // editor's own, and the copies of the cleaning pass.
    static constexpr std::int64_t kBytesPerCharacter = 16;

    // A text made ready to show, with the row width it was cut for.
    struct PreparedText {
        std::unique_ptr<QTextDocument> document;
        int charsPerRow = 0;
    };

    explicit NumberBox(QWidget* parent = nullptr);

    // Makes `text` ready to show in a box of `charsPerRow` (charsPerRow()
    // read before), on any thread; the result belongs to the
    // user-interface thread.
    static PreparedText prepare(const std::string& text, int charsPerRow);
    // Shows a prepared text (on the user-interface thread); the caret goes
    // to the start. It raises no changed(): the text comes checked.
    void showPrepared(PreparedText prepared);

    // The text, without the box's own paragraph breaks.
    std::string text() const;
    QString qtext() const;
    // Characters the box holds (UTF-16 code units, its paragraph breaks
    // left out), without reading them.
    std::int64_t length() const;

    // Replaces the text; the caret goes to the start. Writing the text the
    // box already holds changes nothing and raises no changed(). A text the
    // free memory cannot take (see fits()) is refused: the box keeps its
    // text, raises outOfMemory() and returns false.
    bool setText(const std::string& text);

    // Whether a text of `length` characters fits in the free memory. Texts
    // up to kChunkThreshold always do.
    bool fits(std::int64_t length) const;
    // The longest text that fits.
    std::int64_t maxLength() const;
    // The free memory fits() compares with (tests replace it).
    std::function<std::optional<std::uint64_t>()> freeMemory = availableMemory;

    // Count of characters before the caret (the start of a selection).
    std::int64_t caretPosition() const;
    // Puts the caret after `position` characters (clamped to the text).
    void setCaretPosition(std::int64_t position);
    void moveCaretToEnd();

    // Characters per row the box lays out at its current width.
    int charsPerRow() const;
    // Whether the text is held in several paragraphs (a long text).
    bool isChunked() const;

  signals:
    // The text changed, by typing or by setText().
    void changed();
    // A key press that inserts a character; set *swallow to true and the
    // key is dropped.
    void keyPressed(QKeyEvent* event, bool* swallow);
    void clicked();
    void doubleClicked();
    // A text (pasted, dropped or set) was refused because memory ran out;
    // the box kept the text it had.
    void outOfMemory();
    // A file was dropped on the box (which is not read-only).
    void fileDropped(const QString& path);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Whether the box holds `text` already.
    bool holds(const std::string& text) const;
    void insertText(const QMimeData* source);
    void showText(const QString& text, std::int64_t caret);
    // The file a drag carries, or "" (also while the box is read-only).
    QString draggedFile(const QMimeData* source) const;
    bool crossBreak(QKeyEvent* event);

    bool quiet_ = false;   // re-chunking: the text stays the same
    bool pressed_ = false; // a left press inside, waiting for its release
    int chunkRow_ = 0;     // chars per row the paragraphs were cut for
};

// Sends one Home keystroke to the focused control: the caret goes to the
// start of its row.
void sendHomeKey();

} // namespace longhand
