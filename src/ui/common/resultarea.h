// The result view of a window with what goes with it in every window: its
// length line, Go to Digit and Find, the round hint (which the working
// panel covers while a calculation runs) and the Move label; made and
// wired the same way in each.
#pragma once

#include "calcrunner.h"
#include "core/move.h"

#include <QRect>
#include <functional>

class QFont;
class QWidget;

namespace longhand {

class ClickLabel;
class LengthLine;
class NumberView;
class ResultFinder;
class RoundHintLabel;
struct WindowContext;

struct ResultArea {
    NumberView* view = nullptr;
    LengthLine* lengthLine = nullptr;
    ResultFinder* finder = nullptr;
    RoundHintLabel* roundHint = nullptr;
    ClickLabel* moveLabel = nullptr;
};

// Where the parts lie in their parent, in pixels.
struct ResultLayout {
    QRect view, lengthLine, roundHint, moveLabel;
    Qt::Alignment hintAlignment = Qt::AlignLeft;
};

// Makes the parts in `parent`, in `font` (the round hint hidden). `scene`
// gives what a search holds still.
ResultArea makeResultArea(QWidget* parent, const ResultLayout& layout, const QFont& font,
                          const WindowContext& context, std::function<CalcRunner::Scene()> scene);

// A click in the view, or a caret put there by a key, Go to or Find, shows
// the round hint (with `hintOnlyWithPoint`, only for a text with a point), a double click goes to
// its start, memory running out is told in `window`; a click on the hint rounds, one on Move moves
// the result into an operand box (then `moved`, where given, hears which), and the view's Save
// calls `save`.
void connectResultArea(const ResultArea& area, QWidget* window, const WindowContext& context,
                       bool hintOnlyWithPoint, std::function<void()> save,
                       std::function<void(MoveTarget)> moved = {});

} // namespace longhand
