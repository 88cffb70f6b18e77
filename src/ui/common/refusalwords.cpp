#include "refusalwords.h"

#include "core/lengthline.h"
#include "presenter.h"

namespace longhand {

namespace {

// "... too long to hold: about 3.0 × 10^11 digits, more than 200,000,000."
std::string tooLong(const char* what, const Refusal& refusal) {
    return std::string("The ") + what + " would be too long to hold: about " +
           aboutLength(refusal.length) + " digits, more than " + withThousands(refusal.limit) + ".";
}

std::string tooLarge(const char* what, const Refusal& refusal) {
    return std::string(what) + aboutLength(refusal.length) +
           " digits: more than this computer can hold.";
}

} // namespace

std::string refusalText(const Refusal& refusal) {
    switch (refusal.kind) {
    case RefusalKind::EmptyOperand:
        return "1 or 2 boxes are Empty.";
    case RefusalKind::MalformedOperand:
        // What the window's input checking would have kept out.
        return "Turn on input-checking. Reenter data.";
    case RefusalKind::OnlyPoint:
        return "Weird Input.";
    case RefusalKind::DivisionByZero:
        return "Division by zero.";
    case RefusalKind::ExponentNotWhole:
        return "The exponent must be a whole number.";
    case RefusalKind::PowerTooLong:
        return tooLong("power", refusal);
    case RefusalKind::ProductTooLong:
        return tooLong("product", refusal);
    case RefusalKind::NotWholeNumbers:
        return "Enter whole numbers: M and then N > M.";
    case RefusalKind::EndsNotAscending:
        return "Wrong Input: Choose N > M";
    case RefusalKind::ResultTooLarge:
        return tooLarge("The result would have about ", refusal);
    case RefusalKind::WorkTooLarge:
        return tooLarge("The calculation would hold numbers of about ", refusal);
    case RefusalKind::Count:
        break;
    }
    return {};
}

MsgIcon refusalIcon(const Refusal& refusal) {
    return refusal.kind == RefusalKind::EmptyOperand ? MsgIcon::Information : MsgIcon::None;
}

void tellRefusal(Presenter& presenter, QWidget* window, const Refusal& refusal) {
    presenter.inform(window, QString::fromStdString(refusalText(refusal)), refusalIcon(refusal));
}

} // namespace longhand
