#include "resultarea.h"

#include "clicklabel.h"
#include "lengthline.h"
#include "look.h"
#include "move.h"
#include "numberbox.h"
#include "numberview.h"
#include "outofmemory.h"
#include "resultfinder.h"
#include "roundhint.h"
#include "rounding.h"
#include "windowcontext.h"

#include <utility>

namespace longhand {

ResultArea makeResultArea(QWidget* parent, const ResultLayout& layout, const QFont& font,
                          const WindowContext& context, std::function<CalcRunner::Scene()> scene) {
    ResultArea area;
    area.view = new NumberView(parent);
    area.view->setGeometry(layout.view);
    area.view->setFont(font);
    area.view->setGroupSize(context.options.groupSize);
    area.lengthLine = new LengthLine(*area.view, parent);
    area.lengthLine->setGeometry(layout.lengthLine);
    area.finder = new ResultFinder(*area.view, context.presenter, context.runner, std::move(scene));

    auto place = [&](ClickLabel* label, QRect geometry, Qt::Alignment alignment) {
        label->setGeometry(geometry);
        label->setFont(font);
        label->setAlignment(alignment | Qt::AlignTop);
        paintLabel(label, kLightYellow, kBlack);
    };
    area.roundHint = new RoundHintLabel(parent);
    place(area.roundHint, layout.roundHint, layout.hintAlignment);
    area.roundHint->hide();
    area.moveLabel = new ClickLabel(QStringLiteral("Move"), parent);
    place(area.moveLabel, layout.moveLabel, Qt::AlignRight);
    return area;
}

void connectResultArea(const ResultArea& area, QWidget* window, const WindowContext& context,
                       bool hintOnlyWithPoint, std::function<void()> save,
                       std::function<void(MoveTarget)> moved) {
    Presenter& presenter = context.presenter;
    auto guard = [&presenter, window](auto step) {
        return guarded(presenter, window, std::move(step));
    };
    NumberView* view = area.view;
    RoundHintLabel* hint = area.roundHint;
    auto showHint = guard([view, hint, hintOnlyWithPoint] {
        if (!hintOnlyWithPoint || view->text().find('.') != std::string::npos) hint->showFor(*view);
    });
    QObject::connect(view, &NumberView::clicked, window, showHint);
    // The caret put by a key, Go to or Find moves the hint as a click does.
    QObject::connect(view, &NumberView::caretPlaced, window, showHint);
    QObject::connect(view, &NumberView::doubleClicked, window, [] { sendHomeKey(); });
    QObject::connect(view, &NumberView::outOfMemory, window,
                     [&presenter, window] { tellOutOfMemory(presenter, window); });
    QObject::connect(hint, &ClickLabel::clicked, window,
                     guard([view, hint] { roundResult(*view, *hint); }));
    // The context outlives every window it is handed to.
    const WindowContext* shared = &context;
    QObject::connect(area.moveLabel, &ClickLabel::clicked, window,
                     guard([view, shared, moved = std::move(moved)] {
                         const MoveTarget target = moveResult(*view, *shared);
                         if (target != MoveTarget::None && moved) moved(target);
                     }));
    QObject::connect(view, &NumberView::saveRequested, window, guard(std::move(save)));
}

} // namespace longhand
