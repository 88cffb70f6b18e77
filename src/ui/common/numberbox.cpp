#include "numberbox.h"

#include "engine/fast/parallel.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextDocumentLayout>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace longhand {

namespace {

// Line breaks of every kind, left out of pasted text.
QString withoutBreaks(QString text) {
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    text.remove(QChar::LineSeparator);
    text.remove(QChar::ParagraphSeparator);
    return text;
}

// Room for rounding in the division of a width by a digit's advance.
constexpr qreal kWidthSlack = 1e-9;

bool isEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// A long text in paragraphs of kRowsPerChunk rows of `perRow` characters.
QString chunked(const QString& text, int perRow) {
    const qsizetype chunk = static_cast<qsizetype>(perRow) * NumberBox::kRowsPerChunk;
    QString out;
    out.reserve(text.size() + text.size() / chunk + 1);
    for (qsizetype at = 0; at < text.size(); at += chunk) {
        if (at > 0) out += QLatin1Char('\n');
        out += QStringView(text).mid(at, chunk);
    }
    return out;
}

// Paragraphs a piece of the parallel read takes: enough that a piece is
// worth handing to another thread.
constexpr std::size_t kBlocksPerPiece = 256;

// The characters of a document of several paragraphs, without the
// paragraph breaks, as bytes; nothing when one of them is not ASCII (such a
// text goes the long way, through UTF-8). Digits need no conversion: each
// character is narrowed in place, the paragraphs read side by side.
std::optional<std::string> asciiText(const QTextDocument& document) {
    std::vector<QTextBlock> blocks;
    blocks.reserve(static_cast<std::size_t>(document.blockCount()));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.push_back(block);
    // Each paragraph counts its break as one character.
    const auto length = static_cast<std::size_t>(document.characterCount() - document.blockCount());
    std::string text(length, '\0');
    std::atomic<bool> wide{false};
    const std::size_t pieces = (blocks.size() + kBlocksPerPiece - 1) / kBlocksPerPiece;
    fast::par::forEach(pieces, [&](std::size_t piece) {
        const std::size_t end = std::min(blocks.size(), (piece + 1) * kBlocksPerPiece);
        for (std::size_t i = piece * kBlocksPerPiece;
             i < end && !wide.load(std::memory_order_relaxed); ++i) {
            const QString paragraph = blocks[i].text();
            const auto at = static_cast<std::size_t>(blocks[i].position()) - i;
            if (at + static_cast<std::size_t>(paragraph.size()) > length) {
                wide.store(true, std::memory_order_relaxed);
                return;
            }
            char16_t seen = 0;
            char* out = text.data() + at;
            for (const QChar c : paragraph) {
                seen |= c.unicode();
                *out++ = static_cast<char>(c.unicode());
            }
            if (seen >= 0x80) wide.store(true, std::memory_order_relaxed);
        }
    });
    if (wide.load()) return std::nullopt;
    return text;
}

// `text` widened into a QString, cut into paragraphs of kRowsPerChunk rows
// of `perRow` characters; nothing when it is not ASCII. The pieces are
// written side by side.
std::optional<QString> chunkedAscii(const std::string& text, int perRow) {
    const auto chunk = static_cast<std::size_t>(perRow) * NumberBox::kRowsPerChunk;
    const std::size_t chunks = (text.size() + chunk - 1) / chunk;
    QString out(static_cast<qsizetype>(text.size() + chunks - 1), Qt::Uninitialized);
    std::atomic<bool> wide{false};
    constexpr std::size_t kChunksPerPiece = 64;
    const std::size_t pieces = (chunks + kChunksPerPiece - 1) / kChunksPerPiece;
    fast::par::forEach(pieces, [&](std::size_t piece) {
        char16_t* const base = reinterpret_cast<char16_t*>(out.data());
        const std::size_t last = std::min(chunks, (piece + 1) * kChunksPerPiece);
        unsigned char seen = 0;
        for (std::size_t c = piece * kChunksPerPiece; c < last; ++c) {
            // Chunk c starts after c breaks.
            char16_t* at = base + c * chunk + c;
            if (c > 0) at[-1] = u'\n';
            const std::size_t from = c * chunk, to = std::min(text.size(), from + chunk);
            for (std::size_t i = from; i < to; ++i) {
                const auto byte = static_cast<unsigned char>(text[i]);
                seen |= byte;
                *at++ = byte;
            }
        }
        if (seen >= 0x80) wide.store(true, std::memory_order_relaxed);
    });
    if (wide.load()) return std::nullopt;
    return out;
}

} // namespace

NumberBox::NumberBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAnywhere);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!quiet_) emit changed();
    });
}

NumberBox::PreparedText NumberBox::prepare(const std::string& text, int charsPerRow) {
    const bool chunk = text.size() > static_cast<std::size_t>(kChunkThreshold);
    // A document without a layout: laying out stays with the box, on the
    // user-interface thread, where the document is handed over.
    auto document = std::make_unique<QTextDocument>();
    std::optional<QString> digits = chunk ? chunkedAscii(text, charsPerRow) : std::nullopt;
    if (!digits) {
        const QString plain = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
        digits = chunk ? chunked(plain, charsPerRow) : plain;
    }
    document->setPlainText(*digits);
    document->moveToThread(QApplication::instance()->thread());
    return {std::move(document), chunk ? charsPerRow : 0};
}

void NumberBox::showPrepared(PreparedText prepared) {
    if (!prepared.document) return;
    QTextDocument* next = prepared.document.release();
    next->setParent(this);
    next->setDocumentLayout(new QPlainTextDocumentLayout(next));
    next->setDefaultFont(document()->defaultFont());
    next->setDocumentMargin(document()->documentMargin());
    QPointer<QTextDocument> previous = document();
    quiet_ = true;
    setDocument(next);
    quiet_ = false;
    // The editor deletes only the document it made; an earlier prepared one
    // is the box's own.
    if (previous && previous->parent() == this) delete previous.data();
    chunkRow_ = prepared.charsPerRow;
}

QString NumberBox::qtext() const {
    QString text = toPlainText();
    if (document()->blockCount() > 1) text.remove(QLatin1Char('\n'));
    return text;
}

std::string NumberBox::text() const {
    // A long number is read paragraph by paragraph, on every core; a short
    // one, or one with other characters than ASCII, as the editor gives it.
    if (document()->blockCount() > 1)
        if (std::optional<std::string> ascii = asciiText(*document())) return std::move(*ascii);
    return qtext().toStdString();
}

bool NumberBox::setText(const std::string& text) {
    if (!fits(static_cast<std::int64_t>(text.size()))) {
        emit outOfMemory();
        return false;
    }
    // An ASCII text of another length than the box's is new without a look
    // at the box's characters; a long one goes into its paragraphs straight
    // from its bytes.
    const bool longText = text.size() > static_cast<std::size_t>(kChunkThreshold);
    const bool otherLength = length() != static_cast<std::int64_t>(text.size());
    if (!(longText && otherLength) && holds(text)) return true;
    if (longText) {
        const int perRow = charsPerRow();
        if (std::optional<QString> next = chunkedAscii(text, perRow)) {
            chunkRow_ = perRow;
            setPlainText(*next);
            return true;
        }
        if (otherLength && holds(text)) return true; // not ASCII after all
    }
    showText(QString::fromStdString(text), 0);
    return true;
}

bool NumberBox::holds(const std::string& text) const {
    if (document()->blockCount() <= 1) {
        // No character takes more than four bytes of UTF-8.
        if (length() * 4 < static_cast<std::int64_t>(text.size())) return false;
        return QString::fromStdString(text) == qtext();
    }
    // A short ASCII text of another length, as when the box is emptied.
    if (text.size() <= static_cast<std::size_t>(kChunkThreshold) &&
        length() != static_cast<std::int64_t>(text.size()) &&
        std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; }))
        return false;
    return this->text() == text;
}

bool NumberBox::fits(std::int64_t length) const {
    return length <= maxLength();
}

std::int64_t NumberBox::maxLength() const {
    const std::optional<std::uint64_t> free = freeMemory ? freeMemory() : std::nullopt;
    const std::uint64_t fitting = free ? *free / kBytesPerCharacter : INT64_MAX;
    return std::max<std::int64_t>(
        kChunkThreshold, static_cast<std::int64_t>(std::min<std::uint64_t>(fitting, INT64_MAX)));
}

std::int64_t NumberBox::length() const {
    return document()->characterCount() - document()->blockCount();
}

bool NumberBox::isChunked() const {
    return document()->blockCount() > 1;
}

int NumberBox::charsPerRow() const {
    // The editor lays a paragraph out in the viewport's width less the
    // document margins; a long text always has its vertical scroll bar.
    // Digits all have the same advance, and a row takes as many as fit.
    const QFontMetricsF metrics(font());
    const qreal digit = metrics.horizontalAdvance(QLatin1Char('0'));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const qreal width = contentsRect().width() - scrollBar - 2 * document()->documentMargin();
    if (digit <= 0 || width <= digit) return 1;
    return static_cast<int>(std::floor(width / digit + kWidthSlack));
}

void NumberBox::showText(const QString& text, std::int64_t caret) {
    const bool chunk = text.size() > kChunkThreshold;
    chunkRow_ = chunk ? charsPerRow() : 0;
    setPlainText(chunk ? chunked(text, chunkRow_) : text);
    if (caret > 0) setCaretPosition(caret);
}

std::int64_t NumberBox::caretPosition() const {
    const int position = textCursor().selectionStart();
    return position - document()->findBlock(position).blockNumber();
}

void NumberBox::setCaretPosition(std::int64_t position) {
    position = std::max<std::int64_t>(position, 0);
    int at = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const int length = block.length() - 1;
        if (position <= length || !block.next().isValid()) {
            at = block.position() + static_cast<int>(std::min<std::int64_t>(position, length));
            break;
        }
        position -= length;
    }
    QTextCursor cursor(document());
    cursor.setPosition(at);
    setTextCursor(cursor);
}

void NumberBox::moveCaretToEnd() {
    moveCursor(QTextCursor::End);
}

bool NumberBox::crossBreak(QKeyEvent* event) {
    // Backspace at the start of a paragraph and Delete at its end would
    // remove one of the box's own breaks; they remove the digit beyond it.
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection() || event->modifiers() != Qt::NoModifier) return false;
    const QTextBlock block = cursor.block();
    if (event->key() == Qt::Key_Backspace && cursor.positionInBlock() == 0 &&
        block.previous().isValid()) {
        cursor.movePosition(QTextCursor::PreviousCharacter);
        cursor.deletePreviousChar();
    } else if (event->key() == Qt::Key_Delete && cursor.positionInBlock() == block.length() - 1 &&
               block.next().isValid()) {
        cursor.movePosition(QTextCursor::NextCharacter);
        cursor.deleteChar();
    } else {
        return false;
    }
    setTextCursor(cursor);
    return true;
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty()) {
        bool swallow = false;
        emit keyPressed(event, &swallow);
        if (swallow) {
            event->accept();
            return;
        }
    }
    if (isEnterKey(event)) {
        event->accept();
        return;
    }
    if (crossBreak(event)) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void NumberBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QPlainTextEdit::mousePressEvent(event);
}

void NumberBox::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       viewport()->rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}

void NumberBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

void NumberBox::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    if (isChunked() && chunkRow_ != charsPerRow()) {
        const std::int64_t caret = caretPosition();
        quiet_ = true;
        showText(qtext(), caret);
        quiet_ = false;
    }
}

void NumberBox::insertFromMimeData(const QMimeData* source) {
    // A text too long for the memory is refused before the box changes;
    // should memory run out all the same, the box keeps what it had.
    try {
        insertText(source);
    } catch (const std::bad_alloc&) {
        emit outOfMemory();
    }
}

void NumberBox::insertText(const QMimeData* source) {
    if (!source || !source->hasText()) return;
    const QString pasted = withoutBreaks(source->text());
    const QTextCursor cursor = textCursor();
    const QString current = qtext();
    if (!fits(current.size() + pasted.size())) {
        emit outOfMemory();
        return;
    }
    if (current.size() + pasted.size() <= kChunkThreshold) {
        insertPlainText(pasted);
        return;
    }
    // A long result is put together here and shown in paragraphs at once,
    // so that the editor never lays out one huge paragraph.
    const std::int64_t start = caretPosition();
    std::int64_t end = start;
    if (cursor.hasSelection()) {
        const int last = cursor.selectionEnd();
        end = last - document()->findBlock(last).blockNumber();
    }
    QString next;
    next.reserve(current.size() - (end - start) + pasted.size());
    next += QStringView(current).left(start);
    next += pasted;
    next += QStringView(current).mid(end);
    showText(next, start + pasted.size());
}

QString NumberBox::draggedFile(const QMimeData* source) const {
    if (isReadOnly() || !source || !source->hasUrls()) return {};
    const QList<QUrl> urls = source->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

void NumberBox::dragEnterEvent(QDragEnterEvent* event) {
    if (draggedFile(event->mimeData()).isEmpty()) return QPlainTextEdit::dragEnterEvent(event);
    event->acceptProposedAction();
}

void NumberBox::dragMoveEvent(QDragMoveEvent* event) {
    if (draggedFile(event->mimeData()).isEmpty()) return QPlainTextEdit::dragMoveEvent(event);
    event->acceptProposedAction();
}

void NumberBox::dropEvent(QDropEvent* event) {
    const QString file = draggedFile(event->mimeData());
    if (file.isEmpty()) return QPlainTextEdit::dropEvent(event);
    event->acceptProposedAction();
    emit fileDropped(file);
}

QMimeData* NumberBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(withoutBreaks(textCursor().selectedText()));
    return data;
}

void sendHomeKey() {
    QWidget* focused = QApplication::focusWidget();
    if (!focused) return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(focused, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(focused, &release);
}

} // namespace longhand
