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
    case RefusalKind::NotANumber:
        return "The argument must be a number.";
    case RefusalKind::NotWholeArgument:
        return "The arguments must be whole numbers.";
    case RefusalKind::EvenRootOfNegative:
        return "An even root of a negative number is not a real number.";
    case RefusalKind::RootDegreeTooSmall:
        return "The degree of a root must be a whole number of at least 2.";
    case RefusalKind::PlacesNotWhole:
        return "The number of places must be a whole number without sign.";
    case RefusalKind::ResultTooLong:
        return "The result would be too long to hold.";
    case RefusalKind::BaseOutOfRange:
        return "The base must be a whole number from 2 to 36.";
    case RefusalKind::NotInBase:
        return "The text is not a whole number in that base.";
    case RefusalKind::ModulusBelowOne:
        return "The modulus must be at least 1.";
    case RefusalKind::NegativeExponent:
        return "The exponent must not be negative.";
    case RefusalKind::TooFewArguments:
        return "At least two numbers are needed.";
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
