// What a screen reader finds in Longhand's own controls.
//
// A NumberView is a static text with the number's characters, the caret,
// the selection and the place of every character on the screen.
//
// A result may have tens of millions of digits, so the text is served by
// range and never copied whole: a word, a line, a sentence and a paragraph
// are each the row of the view that holds the offset, so a screen reader
// reads a long number a row at a time. The name is the view's own
// accessible name with the length line's words ("Result: 5,565,709 digits,
// cut, not rounded").
//
// A ClickLabel (the round hint, Move) is a button that a screen reader can
// press, and a LengthLine a static text; each is named by its own
// accessible name and its words ("Result length: 5 digits ...").
#pragma once

#include <QAccessibleWidget>
#include <functional>

namespace longhand {

class NumberView;

// Installs the factories of the interfaces below (once per program; every
// window that shows these controls has a NumberView, which calls it).
void installAccessibility();

// Hands `event` to the screen readers. QAccessible passes events on only
// while one is connected, so the listener (set by tests) hears them too.
void announce(QAccessibleEvent& event);
void setAnnouncementListener(std::function<void(const QAccessibleEvent&)> listener);

class LabelAccessible : public QAccessibleWidget {
  public:
    LabelAccessible(QWidget* label, QAccessible::Role role);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
};

class NumberViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit NumberViewAccessible(NumberView* view);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

  private:
    NumberView* view() const;
    // The characters [start, end) of the piece (a character or a row) that
    // holds `offset`.
    void pieceAt(int offset, QAccessible::TextBoundaryType boundaryType, int* start,
                 int* end) const;
};

} // namespace longhand
