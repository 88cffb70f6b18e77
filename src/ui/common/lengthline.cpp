#include "lengthline.h"

#include "core/lengthline.h"
#include "look.h"
#include "numberview.h"

namespace longhand {

LengthLine::LengthLine(const NumberView& view, QWidget* parent) : QLabel(parent), view_(view) {
    setFont(plainFont());
    paintLabel(this, kQuietGrey, kBlack);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(&view, &NumberView::textChanged, this, &LengthLine::refresh);
    connect(&view, &NumberView::caretMoved, this, &LengthLine::refresh);
    refresh();
}

void LengthLine::refresh() {
    setText(QString::fromStdString(lengthLineText(view_.shape(), view_.isCut(), view_.caret())));
}

} // namespace longhand
