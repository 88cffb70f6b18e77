// The label under a result box that offers to round it, and the status
// label the working panel covers. A click into the result shows the offer
// ("k: Click To Round.") and puts the decimal point's position into the
// window caption; the offer itself is kept here, apart from the caption.
#pragma once

#include "clicklabel.h"
#include "engine/numtext.h"

#include <optional>

namespace longhand {

class NumberView;

class RoundHintLabel : public ClickLabel {
    Q_OBJECT

  public:
    // Rounding to `keep` decimals a result whose first "." stood at the
    // 1-based `pointPos` when the offer was made.
    struct Offer {
        Count pointPos = 0;
        Count keep = 0;
    };

    using ClickLabel::ClickLabel;

    // The hint for the text of `box` and the caret a click has placed: the
    // caption of the box's window and the offer shown, or the label hidden.
    // An empty result changes nothing.
    void showFor(const NumberView& box);

    // Hides the label and withdraws the offer.
    void withdraw();

    // The offer while one is shown.
    const std::optional<Offer>& offer() const { return offer_; }

  private:
    std::optional<Offer> offer_;
};

} // namespace longhand
