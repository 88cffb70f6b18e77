#include "numberview.h"

#include "accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <new>

namespace longhand {

namespace {

// The characters a number is written with; a row takes as many of the
// widest of them as fit.
constexpr const char* kNumberCharacters = "0123456789-.";

// Room for rounding in the division of a width by a character's advance.
constexpr qreal kWidthSlack = 1e-9;

// Wide enough for any row: rows are cut by count, never wrapped by width.
constexpr qreal kUnboundedWidth = 1e9;

// A new text up to this long goes to a screen reader with the text it
// replaced; a longer one is announced by its name, the length line's words,
// and read by range.
constexpr std::size_t kAnnouncedLength = 4096;

} // namespace

NumberView::NumberView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    updateMetrics();
    installAccessibility();
}

QString NumberView::qtext() const {
    return QString::fromLatin1(text_.data(), static_cast<qsizetype>(text_.size()));
}

void NumberView::setText(std::string text, bool cut) {
    replaceText(std::move(text), cut, nullptr);
}

void NumberView::setText(std::string text, bool cut, const NumberShape& shape) {
    replaceText(std::move(text), cut, &shape);
}

void NumberView::replaceText(std::string text, bool cut, const NumberShape* shape) {
    if (text == text_) {
        if (cut == cut_) return;
        cut_ = cut;
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        announce(renamed);
        emit textChanged();
        return;
    }
    const bool announced = text.size() <= kAnnouncedLength && text_.size() <= kAnnouncedLength;
    const QString before = announced ? qtext() : QString();
    text_ = std::move(text);
    cut_ = cut;
    shape_ = shape ? *shape : shapeOf(text_);
    regroup();
    caret_ = anchor_ = 0;
    caretAtRowEnd_ = false;
    dragging_ = false;
    updateScrollBar();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    if (announced) {
        QAccessibleTextUpdateEvent update(this, 0, before, qtext());
        announce(update);
    }
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    announce(renamed);
    emit textChanged();
    announceCaret();
    emit caretMoved();
}

void NumberView::setGroupSize(int size) {
    if (!isGroupSize(size) || size == groupSize_) return;
    groupSize_ = size;
    regroup();
    updateScrollBar();
    ensureCaretVisible();
    viewport()->update();
}

std::int64_t NumberView::caretPosition() const {
    return std::min(caret_, anchor_);
}

void NumberView::setCaretPosition(std::int64_t position) {
    moveCaret(position, false);
    emit caretPlaced();
}

void NumberView::moveCaretToEnd() {
    moveCaret(length(), false);
}

std::string NumberView::selectedText() const {
    const auto from = static_cast<std::size_t>(std::min(caret_, anchor_));
    const auto to = static_cast<std::size_t>(std::max(caret_, anchor_));
    return text_.substr(from, to - from);
}

void NumberView::selectAll() {
    anchor_ = 0;
    caret_ = length();
    caretAtRowEnd_ = true;
    viewport()->update();
    announceCaret();
    emit caretMoved();
}

void NumberView::select(std::int64_t from, std::int64_t to) {
    moveCaret(from, false);
    moveCaret(to, true);
    emit caretPlaced();
}

void NumberView::copy() {
    if (text_.empty()) return;
    try {
        const std::string selected = hasSelection() ? selectedText() : text_;
        QApplication::clipboard()->setText(
            QString::fromLatin1(selected.data(), static_cast<qsizetype>(selected.size())));
    } catch (const std::bad_alloc&) {
        emit outOfMemory();
    }
}

// ---- Geometry ---------------------------------------------------------------------------

void NumberView::updateMetrics() {
    const QFontMetricsF metrics(font());
    qreal widest = 0;
    for (const char* c = kNumberCharacters; *c; ++c)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(*c)));
    widest_ = std::max<qreal>(1, widest);
    rowHeight_ = std::max(1, static_cast<int>(std::ceil(metrics.lineSpacing())));
    ascent_ = static_cast<int>(std::ceil(metrics.ascent()));
}

int NumberView::fittingChars() const {
    const qreal room = viewport()->width() - 2 * kMargin;
    return std::max(1, static_cast<int>(std::floor(room / widest_ + kWidthSlack)));
}

int NumberView::charsPerRow() const {
    const int fit = fittingChars();
    if (!aligned_) return fit;
    // Whole cells of a group and its gap; the last gap may stand past the
    // room, since it shows nothing.
    const int cell = groupSize_ + 1;
    return (fit + 1) / cell * cell;
}

void NumberView::regroup() {
    grouping_ = DigitGrouping(shape_, groupSize_);
    // A number of several rows is aligned in the rows' cells.
    const int fit = fittingChars();
    aligned_ =
        groupSize_ > 0 && (fit + 1) / (groupSize_ + 1) > 0 && grouping_.displayLength() > fit;
    if (aligned_) grouping_ = DigitGrouping(shape_, groupSize_, true);
}

std::int64_t NumberView::rowCount() const {
    const std::int64_t perRow = charsPerRow();
    return std::max<std::int64_t>(1, (shownLength() + perRow - 1) / perRow);
}

int NumberView::visibleRows() const {
    return std::max(1, (viewport()->height() - 2 * kMargin) / rowHeight_);
}

std::int64_t NumberView::topRow() const {
    return verticalScrollBar()->value();
}

QString NumberView::rowText(std::int64_t row) const {
    const std::int64_t perRow = charsPerRow();
    const std::int64_t begin = std::min(row * perRow, shownLength());
    const std::int64_t end = std::min(begin + perRow, shownLength());
    if (groupSize_ == 0)
        return QString::fromLatin1(text_.data() + begin, static_cast<qsizetype>(end - begin));
    return QString::fromStdString(grouping_.display(text_, begin, end));
}

void NumberView::layOut(QTextLayout& layout, std::int64_t row) const {
    layout.setText(rowText(row));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) line.setLineWidth(kUnboundedWidth);
    layout.endLayout();
}

void NumberView::updateScrollBar() {
    const std::int64_t hidden = std::max<std::int64_t>(0, rowCount() - visibleRows());
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, static_cast<int>(std::min<std::int64_t>(hidden, INT32_MAX)));
    bar->setPageStep(visibleRows());
    bar->setSingleStep(1);
}

std::int64_t NumberView::rowOf(std::int64_t position, bool atRowEnd) const {
    const std::int64_t perRow = charsPerRow();
    const std::int64_t shown = shownCaret(position);
    std::int64_t row = shown / perRow;
    // A position between two rows is drawn at the start of the lower one,
    // except at the end of the text or when asked for the row end.
    if (shown > 0 && shown % perRow == 0 && (atRowEnd || position == length())) --row;
    return row;
}

QRect NumberView::caretRect(std::int64_t position, bool atRowEnd) const {
    position = std::clamp<std::int64_t>(position, 0, length());
    const std::int64_t row = rowOf(position, atRowEnd);
    const std::int64_t column = shownCaret(position) - row * charsPerRow();
    // Rows far out of sight are put just beyond the viewport.
    const std::int64_t y = std::clamp<std::int64_t>((row - topRow()) * rowHeight_ + kMargin,
                                                    -rowHeight_, viewport()->height());
    QTextLayout layout;
    layOut(layout, row);
    const qreal x = kMargin + layout.lineAt(0).cursorToX(static_cast<int>(column));
    return QRect(static_cast<int>(std::lround(x)) - kCaretWidth / 2, static_cast<int>(y),
                 kCaretWidth, rowHeight_);
}

QRect NumberView::cursorRect() const {
    return caretRect(caret_, caretAtRowEnd_);
}

QRect NumberView::cursorRect(std::int64_t position) const {
    return caretRect(position, false);
}

std::int64_t NumberView::positionAt(const QPoint& point) const {
    const std::int64_t perRow = charsPerRow();
    // A point above the first row counts as on it.
    const std::int64_t row = std::max<std::int64_t>(
        0, topRow() + static_cast<std::int64_t>(
                          std::floor((point.y() - kMargin) / static_cast<double>(rowHeight_))));
    if (row * perRow >= shownLength()) return length();
    // The character boundary nearest to the point.
    QTextLayout layout;
    layOut(layout, row);
    const int column =
        layout.lineAt(0).xToCursor(point.x() - kMargin, QTextLine::CursorBetweenCharacters);
    return grouping_.toPlain(row * perRow + column);
}

QRect NumberView::characterRect(std::int64_t position) const {
    position = std::clamp<std::int64_t>(position, 0, std::max<std::int64_t>(length() - 1, 0));
    const QRect left = caretRect(position, false);
    // The right edge: the caret after the character, drawn in the same row.
    const QRect right = caretRect(position + 1, true);
    const int width = right.top() == left.top() ? right.center().x() - left.center().x()
                                                : static_cast<int>(std::ceil(widest_));
    return QRect(left.center().x(), left.top(), std::max(width, 1), rowHeight_);
}

std::pair<std::int64_t, std::int64_t> NumberView::rowAround(std::int64_t position) const {
    const std::int64_t perRow = charsPerRow();
    position = std::clamp<std::int64_t>(position, 0, length());
    // The row of the character's own display place, not of a gap before it.
    const std::int64_t row = grouping_.toDisplay(position) / perRow;
    const std::int64_t begin = row * perRow;
    const std::int64_t end = std::min(begin + perRow, shownLength());
    return {grouping_.toPlain(begin), end >= shownLength() ? length() : grouping_.toPlain(end)};
}

// ---- The caret ----------------------------------------------------------------------------

void NumberView::moveCaret(std::int64_t position, bool extend, bool atRowEnd) {
    caret_ = std::clamp<std::int64_t>(position, 0, length());
    if (!extend) anchor_ = caret_;
    caretAtRowEnd_ = atRowEnd;
    ensureCaretVisible();
    viewport()->update();
    announceCaret();
    emit caretMoved();
}

void NumberView::announceCaret() {
    const auto offset = [](std::int64_t at) {
        return static_cast<int>(std::min<std::int64_t>(at, INT32_MAX));
    };
    QAccessibleTextCursorEvent moved(this, offset(caret_));
    announce(moved);
    QAccessibleTextSelectionEvent selected(this, offset(std::min(caret_, anchor_)),
                                           offset(std::max(caret_, anchor_)));
    selected.setCursorPosition(offset(caret_));
    announce(selected);
}

void NumberView::ensureCaretVisible() {
    const std::int64_t row = rowOf(caret_, caretAtRowEnd_);
    const std::int64_t top = topRow();
    QScrollBar* bar = verticalScrollBar();
    if (row < top)
        bar->setValue(static_cast<int>(row));
    else if (row >= top + visibleRows())
        bar->setValue(static_cast<int>(row - visibleRows() + 1));
}

// ---- Painting -------------------------------------------------------------------------------

void NumberView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QPalette& colours = palette();
    const std::int64_t perRow = charsPerRow();
    const std::int64_t first = topRow();
    const std::int64_t rows = visibleRows() + 1;
    // The selection in the display: from its first character to the caret
    // after its last, the gaps inside it included.
    const std::int64_t selFrom = grouping_.toDisplay(std::min(caret_, anchor_));
    const std::int64_t selTo = shownCaret(std::max(caret_, anchor_));
    painter.setPen(colours.color(QPalette::Text));
    QTextCharFormat selected;
    selected.setBackground(colours.brush(QPalette::Highlight));
    selected.setForeground(colours.brush(QPalette::HighlightedText));

    for (std::int64_t row = first; row < first + rows; ++row) {
        const std::int64_t begin = row * perRow;
        if (begin >= shownLength()) break;
        const std::int64_t end = std::min(begin + perRow, shownLength());
        const int y = static_cast<int>(row - first) * rowHeight_ + kMargin;
        QTextLayout layout;
        layOut(layout, row);
        // The selected part of the row.
        QList<QTextLayout::FormatRange> selection;
        const std::int64_t a = std::max(begin, selFrom), b = std::min(end, selTo);
        if (a < b)
            selection.append({static_cast<int>(a - begin), static_cast<int>(b - a), selected});
        layout.draw(&painter, QPointF(kMargin, y), selection);
    }
    if (hasFocus() && !hasSelection())
        painter.fillRect(cursorRect(), colours.color(QPalette::Text));
}

void NumberView::resizeEvent(QResizeEvent* event) {
    // Keep the first character in sight at the top across a new wrap.
    const std::int64_t firstShown = grouping_.toPlain(topRow() * charsPerRow());
    QAbstractScrollArea::resizeEvent(event);
    regroup();
    updateScrollBar();
    verticalScrollBar()->setValue(
        static_cast<int>(grouping_.toDisplay(firstShown) / charsPerRow()));
}

void NumberView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
        regroup();
        updateScrollBar();
        viewport()->update();
    }
}

void NumberView::scrollContentsBy(int, int) {
    viewport()->update();
}

void NumberView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void NumberView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- Keys -------------------------------------------------------------------------------------

void NumberView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    // Rows and pages are counted in the display, characters in the text.
    const std::int64_t perRow = charsPerRow();
    const std::int64_t page = perRow * visibleRows();
    const std::int64_t row = rowOf(caret_, caretAtRowEnd_);
    const std::int64_t rowStart = row * perRow;
    const std::int64_t rowEnd = std::min(rowStart + perRow, shownLength());
    const std::int64_t shown = shownCaret(caret_);
    auto plain = [this](std::int64_t display) { return grouping_.toPlain(display); };
    struct Move {
        QKeySequence::StandardKey move, select;
        std::int64_t to;
        bool atRowEnd;
    };
    const Move moves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, caret_ + 1, false},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, caret_ - 1, false},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, plain(shown + perRow),
         shown + perRow >= shownLength()},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine,
         plain(std::max<std::int64_t>(shown - perRow, 0)), caretAtRowEnd_},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, plain(rowStart), false},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, plain(rowEnd), true},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, plain(shown + page), false},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage,
         plain(std::max<std::int64_t>(shown - page, 0)), false},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, 0, false},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, length(), false},
    };
    // Right and Left close a selection at its end and its start.
    if (hasSelection() && (event->matches(QKeySequence::MoveToNextChar) ||
                           event->matches(QKeySequence::MoveToPreviousChar))) {
        const bool right = event->matches(QKeySequence::MoveToNextChar);
        moveCaret(right ? std::max(caret_, anchor_) : std::min(caret_, anchor_), false);
        emit caretPlaced();
        return;
    }
    for (const Move& m : moves) {
        const bool extend = event->matches(m.select);
        if (!extend && !event->matches(m.move)) continue;
        moveCaret(m.to, extend, m.atRowEnd);
        emit caretPlaced();
        return;
    }
    // Tab and everything else: the view's neighbours may want it.
    QAbstractScrollArea::keyPressEvent(event);
}

// ---- The mouse ---------------------------------------------------------------------------------

void NumberView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    const std::int64_t position = positionAt(at);
    // A click right of a full row's last character stays on that row.
    const std::int64_t row =
        topRow() +
        static_cast<std::int64_t>(std::floor((at.y() - kMargin) / static_cast<double>(rowHeight_)));
    const bool rowEnd = position > 0 && shownCaret(position) == (row + 1) * charsPerRow();
    moveCaret(position, event->modifiers().testFlag(Qt::ShiftModifier), rowEnd);
    dragging_ = true;
    pressed_ = true;
}

void NumberView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    QPoint at = event->position().toPoint();
    // Dragging past the top or the bottom scrolls a row at a time.
    QScrollBar* bar = verticalScrollBar();
    if (at.y() < 0) bar->setValue(bar->value() - 1);
    if (at.y() > viewport()->height()) bar->setValue(bar->value() + 1);
    at.setY(std::clamp(at.y(), 0, viewport()->height() - 1));
    moveCaret(positionAt(at), true);
}

void NumberView::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       viewport()->rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}

void NumberView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    moveCaret(positionAt(event->position().toPoint()), false);
    emit doubleClicked();
}

void NumberView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyItem = menu.addAction(tr("&Copy"), this, &NumberView::copy);
    copyItem->setEnabled(!text_.empty());
    menu.addAction(tr("Select &All"), this, &NumberView::selectAll);
    menu.addSeparator();
    QAction* saveItem =
        menu.addAction(QStringLiteral("Save As..."), this, &NumberView::saveRequested);
    saveItem->setEnabled(!text_.empty());
    // What the window adds: finding and going to a digit.
    if (!actions().isEmpty()) {
        menu.addSeparator();
        menu.addActions(actions());
    }
    menu.exec(event->globalPos());
}

} // namespace longhand
