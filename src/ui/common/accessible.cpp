#include "accessible.h"

#include "clicklabel.h"
#include "core/lengthline.h"
#include "lengthline.h"
#include "numberview.h"

#include <QAccessible>
#include <algorithm>
#include <climits>

namespace longhand {

namespace {

QAccessibleInterface* factory(const QString& className, QObject* object) {
    const auto is = [&](const QMetaObject& meta) {
        return className == QLatin1String(meta.className());
    };
    if (is(NumberView::staticMetaObject))
        if (auto* view = qobject_cast<NumberView*>(object)) return new NumberViewAccessible(view);
    if (is(ClickLabel::staticMetaObject))
        if (auto* label = qobject_cast<ClickLabel*>(object))
            return new LabelAccessible(label, QAccessible::Button);
    if (is(LengthLine::staticMetaObject))
        if (auto* line = qobject_cast<LengthLine*>(object))
            return new LabelAccessible(line, QAccessible::StaticText);
    return nullptr;
}

// Offsets are ints; a text longer than INT_MAX is served up to there.
int clampOffset(std::int64_t offset) {
    return static_cast<int>(std::clamp<std::int64_t>(offset, 0, INT_MAX));
}

std::function<void(const QAccessibleEvent&)>& listener() {
    static std::function<void(const QAccessibleEvent&)> heard;
    return heard;
}

} // namespace

void announce(QAccessibleEvent& event) {
    if (listener()) listener()(event);
    QAccessible::updateAccessibility(&event);
}

void setAnnouncementListener(std::function<void(const QAccessibleEvent&)> heard) {
    listener() = std::move(heard);
}

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

NumberViewAccessible::NumberViewAccessible(NumberView* view)
    : QAccessibleWidget(view, QAccessible::StaticText) {}

LabelAccessible::LabelAccessible(QWidget* label, QAccessible::Role role)
    : QAccessibleWidget(label, role) {}

QString LabelAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    const QString own = widget()->accessibleName();
    const QString words = static_cast<const QLabel*>(widget())->text();
    // "Move" says it once.
    if (own.isEmpty() || words.isEmpty() || own == words) return own.isEmpty() ? words : own;
    return own + QStringLiteral(": ") + words;
}

QStringList LabelAccessible::actionNames() const {
    if (role() != QAccessible::Button) return QAccessibleWidget::actionNames();
    return {pressAction()};
}

void LabelAccessible::doAction(const QString& actionName) {
    auto* label = qobject_cast<ClickLabel*>(widget());
    if (actionName == pressAction() && label && label->isEnabled() && label->isVisible())
        emit label->clicked();
    else
        QAccessibleWidget::doAction(actionName);
}

NumberView* NumberViewAccessible::view() const {
    return static_cast<NumberView*>(widget());
}

QString NumberViewAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) {
        const QString own = view()->accessibleName();
        const std::string length = lengthText(view()->shape(), view()->isCut());
        const QString words =
            length.empty() ? QStringLiteral("empty") : QString::fromStdString(length);
        return own.isEmpty() ? words : own + QStringLiteral(": ") + words;
    }
    // The value would be the whole number: it is read through the text
    // interface instead, by range.
    if (t == QAccessible::Value) return {};
    return QAccessibleWidget::text(t);
}

QAccessible::State NumberViewAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.selectableText = true;
    s.multiLine = true;
    return s;
}

void* NumberViewAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

void NumberViewAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !view()->hasSelection()) return;
    *startOffset = clampOffset(std::min(view()->caret(), view()->anchor()));
    *endOffset = clampOffset(std::max(view()->caret(), view()->anchor()));
}

int NumberViewAccessible::selectionCount() const {
    return view()->hasSelection() ? 1 : 0;
}

void NumberViewAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void NumberViewAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) view()->setCaretPosition(view()->caret());
}

void NumberViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) view()->select(startOffset, endOffset);
}

int NumberViewAccessible::cursorPosition() const {
    return clampOffset(view()->caret());
}

void NumberViewAccessible::setCursorPosition(int position) {
    view()->setCaretPosition(position);
}

QString NumberViewAccessible::text(int startOffset, int endOffset) const {
    const std::string& all = view()->text();
    const auto size = static_cast<std::int64_t>(all.size());
    const std::int64_t from = std::clamp<std::int64_t>(startOffset, 0, size);
    // -1 asks for the rest of the text.
    const std::int64_t to = endOffset < 0 ? size : std::clamp<std::int64_t>(endOffset, from, size);
    return QString::fromLatin1(all.data() + from, static_cast<qsizetype>(to - from));
}

void NumberViewAccessible::pieceAt(int offset, QAccessible::TextBoundaryType boundaryType,
                                   int* start, int* end) const {
    const int count = characterCount();
    offset = std::clamp(offset, 0, count);
    if (boundaryType == QAccessible::CharBoundary) {
        *start = std::min(offset, std::max(count - 1, 0));
        *end = std::min(*start + 1, count);
        return;
    }
    // Words, lines, sentences, paragraphs and the rest: the row.
    const auto [from, to] = view()->rowAround(std::min(offset, std::max(count - 1, 0)));
    *start = clampOffset(from);
    *end = clampOffset(to);
}

QString NumberViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const {
    pieceAt(offset, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString NumberViewAccessible::textBeforeOffset(int offset,
                                               QAccessible::TextBoundaryType boundaryType,
                                               int* startOffset, int* endOffset) const {
    int start = 0, end = 0;
    pieceAt(offset, boundaryType, &start, &end);
    if (start == 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    pieceAt(start - 1, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString NumberViewAccessible::textAfterOffset(int offset,
                                              QAccessible::TextBoundaryType boundaryType,
                                              int* startOffset, int* endOffset) const {
    int start = 0, end = 0;
    pieceAt(offset, boundaryType, &start, &end);
    if (end >= characterCount()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    pieceAt(end, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

int NumberViewAccessible::characterCount() const {
    return clampOffset(static_cast<std::int64_t>(view()->text().size()));
}

QRect NumberViewAccessible::characterRect(int offset) const {
    if (offset < 0 || offset >= characterCount()) return {};
    const QRect local = view()->characterRect(offset);
    return QRect(view()->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int NumberViewAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = view()->viewport()->mapFromGlobal(point);
    if (!view()->viewport()->rect().contains(local)) return -1;
    return clampOffset(view()->positionAt(local));
}

void NumberViewAccessible::scrollToSubstring(int startIndex, int endIndex) {
    view()->select(startIndex, endIndex);
}

QString NumberViewAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // One look for the whole number.
    (void)offset;
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

} // namespace longhand
