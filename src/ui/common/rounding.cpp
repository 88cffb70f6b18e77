#include "rounding.h"

#include "core/lengthline.h"
#include "engine/rounding.h"
#include "numberview.h"
#include "presenter.h"
#include "roundhint.h"

#include <charconv>

namespace longhand {

void roundResult(NumberView& box, RoundHintLabel& hint) {
    if (!hint.offer()) return;
    const auto rounded = roundToDecimals(box.text(), hint.offer()->pointPos, hint.offer()->keep);
    if (!rounded) return;
    box.setText(*rounded);
    hint.withdraw();
}

void askAndRoundResult(NumberView& box, RoundHintLabel& hint, Presenter& presenter) {
    const NumberShape& shape = box.shape();
    QWidget* window = box.window();
    if (shape.decimals() == 0) {
        if (!box.text().empty())
            presenter.inform(window, QStringLiteral("Only a result with decimals can be rounded."));
        return;
    }
    const Count most = shape.decimals() - 1;
    const std::string range = "0 to " + withThousands(most);
    const Count offered = hint.offer() ? hint.offer()->keep : 0;
    const std::optional<QString> answer = presenter.input(
        window, QString::fromStdString("Round the result to how many decimals (" + range + ")?"),
        QString::number(offered));
    if (!answer) return;
    std::string typed = answer->trimmed().toStdString();
    std::erase(typed, ',');
    Count keep = -1;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), keep);
    if (typed.empty() || error != std::errc() || end != typed.data() + typed.size() || keep < 0 ||
        keep > most) {
        presenter.inform(window, QString::fromStdString(
                                     "Round Result takes a count of decimals from " + range + "."));
        return;
    }
    box.setCaretPosition(shape.point + 1 + keep);
    hint.showFor(box);
    roundResult(box, hint);
}

} // namespace longhand
