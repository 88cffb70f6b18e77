// The box that shows a result of any length: the main window's result box
// and the function dialog's.
//
// A number is wrapped in rows of the same count of characters, as many of
// the widest number character as fit in the box's width, so the view knows
// where every row begins without laying anything out: it lays out and paints
// only the rows in sight, and a click, a key or the scroll bar costs the same
// for a 5-digit and a 50,000,000-digit result. Each row is drawn as the text
// it is, every character in its own width, as the operand boxes draw theirs.
// The text is kept once, as bytes.
//
// It reports its text, the caret position and the click and double-click
// notifications that the round hint, the rounding and Move use;
// the caret moves with the mouse and the keys (Home and End go to the start
// and end of the row, with Ctrl to the start and end of the number; Right
// and Left close a selection at its end and its start, as editors do);
// selections are made with the mouse or Shift, and Copy puts the selection,
// or with nothing selected the whole number, on the clipboard. The text
// changes only through setText().
//
// Screen readers read it through NumberViewAccessible, which it tells of
// every move of the caret or the selection and every new text.
//
// Digit grouping (setGroupSize) draws gaps between groups of digits. It is
// display only: rows are cut from the grouped display, while the text, the
// selection and every caret position stay those of the plain digits.
#pragma once

#include "core/grouping.h"

#include <QAbstractScrollArea>
#include <cstdint>
#include <string>
#include <utility>

class QKeyEvent;
class QTextLayout;

namespace longhand {

class NumberView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    // Room between the frame and the characters, in pixels.
    static constexpr int kMargin = 4;
    // Width of the caret, in pixels.
    static constexpr int kCaretWidth = 2;

    explicit NumberView(QWidget* parent = nullptr);

    const std::string& text() const { return text_; }
    QString qtext() const;

    // Replaces the text; the caret goes to the start and the view to the
    // first row. Writing the text the view already holds changes only
    // `cut`: whether the text is a quotient cut off at its last place.
    void setText(std::string text, bool cut = false);
    // The same for a text whose shape (shapeOf(text)) was found beforehand,
    // off the window's thread.
    void setText(std::string text, bool cut, const NumberShape& shape);
    bool isCut() const { return cut_; }
    // Where the sign, the digits and the point stand in the text.
    const NumberShape& shape() const { return shape_; }

    // Gaps every `size` digits (one of kGroupSizes), or none for 0.
    void setGroupSize(int size);
    int groupSize() const { return groupSize_; }

    // Count of characters before the caret (the start of a selection).
    std::int64_t caretPosition() const;
    // Where the caret itself stands: the moving end of a selection.
    std::int64_t caret() const { return caret_; }
    // The fixed end of a selection (the caret without one).
    std::int64_t anchor() const { return anchor_; }
    // Puts the caret after `position` characters (clamped to the text).
    void setCaretPosition(std::int64_t position);
    void moveCaretToEnd();

    bool hasSelection() const { return anchor_ != caret_; }
    std::string selectedText() const;
    void selectAll();
    // Selects characters [from, to) and scrolls the caret, at `to`, into sight.
    void select(std::int64_t from, std::int64_t to);
    // Puts the selection, or with nothing selected the whole number, on the
    // clipboard as plain text (or raises outOfMemory()).
    void copy();

    // Characters per row at the view's current width.
    int charsPerRow() const;
    // The caret's rectangle in viewport coordinates, where the caret stands
    // or where it would stand after `position` characters.
    QRect cursorRect() const;
    QRect cursorRect(std::int64_t position) const;
    // The caret position a click at `point` (viewport coordinates) gives.
    std::int64_t positionAt(const QPoint& point) const;
    // The box of the character after `position` characters, in viewport
    // coordinates.
    QRect characterRect(std::int64_t position) const;
    // The characters [first, second) of the row that holds the character
    // after `position` characters.
    std::pair<std::int64_t, std::int64_t> rowAround(std::int64_t position) const;

  signals:
    void clicked();
    void doubleClicked();
    // The text, or only whether it was cut, changed.
    void textChanged();
    // The caret or the selection moved.
    void caretMoved();
    // The caret was put somewhere by a key, Go to or Find (not by a click
    // or a new text).
    void caretPlaced();
    // "Save As..." was chosen from the context menu.
    void saveRequested();
    // Copying a selection ran out of memory; the clipboard is unchanged.
    void outOfMemory();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    std::int64_t length() const { return static_cast<std::int64_t>(text_.size()); }
    // setText() for a text with its shape, where `shape` is null: found here.
    void replaceText(std::string text, bool cut, const NumberShape* shape);
    // Characters of the display: the text with its gaps.
    std::int64_t shownLength() const { return grouping_.displayLength(); }
    // The display position a caret at `position` is drawn at.
    std::int64_t shownCaret(std::int64_t position) const {
        return grouping_.caretToDisplay(position);
    }
    std::int64_t rowCount() const;
    int visibleRows() const;
    // The row the caret at `position` is drawn in; `atRowEnd` draws a
    // position between two rows at the end of the upper one.
    std::int64_t rowOf(std::int64_t position, bool atRowEnd) const;
    QRect caretRect(std::int64_t position, bool atRowEnd) const;
    void updateMetrics();
    // The grouping for the text, the group size and the row width.
    void regroup();
    // Characters of the widest kind that fit in a row.
    int fittingChars() const;
    void updateScrollBar();
    // Moves the caret, extending the selection or not, and scrolls to it.
    void moveCaret(std::int64_t position, bool extend, bool atRowEnd = false);
    void ensureCaretVisible();
    // Tells a screen reader where the caret and the selection stand.
    void announceCaret();
    std::int64_t topRow() const;
    // The characters of `row` (which may be empty, past the end).
    QString rowText(std::int64_t row) const;
    // Lays `row` out in one line, as it is drawn.
    void layOut(QTextLayout& layout, std::int64_t row) const;

    std::string text_;
    bool cut_ = false;
    NumberShape shape_;
    int groupSize_ = 0;
    DigitGrouping grouping_;
    bool aligned_ = false; // rows of whole cells
    std::int64_t caret_ = 0;
    std::int64_t anchor_ = 0;
    bool caretAtRowEnd_ = false;
    bool dragging_ = false;
    bool pressed_ = false; // a left press inside, waiting for its release
    qreal widest_ = 1;     // the widest number character's advance
    int rowHeight_ = 1;
    int ascent_ = 0;
};

} // namespace longhand
