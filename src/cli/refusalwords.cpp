#include "refusalwords.h"

#include "core/lengthline.h"
#include "core/operands.h"

namespace longhand::cli {

namespace {

// An operand's name as the usage text gives it, without the brackets of an
// optional one.
std::string nameOf(const std::vector<std::string>& names, int operand) {
    if (operand < 0) return "An operand";
    // Beyond the names, or at a "...", the operand is counted.
    if (static_cast<std::size_t>(operand) >= names.size() ||
        names[static_cast<std::size_t>(operand)] == "...")
        return "Operand " + std::to_string(operand + 1);
    std::string name = names[static_cast<std::size_t>(operand)];
    if (name.size() > 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    return name;
}

std::string tooLong(const std::string& operand, const char* what, const Refusal& refusal) {
    return operand + " is too large: the " + what + " would have about " +
           aboutLength(refusal.length) + " digits, more than the " + withThousands(refusal.limit) +
           " a result may have.";
}

std::string tooLarge(const char* what, const Refusal& refusal) {
    return std::string("The ") + what + " would have about " + aboutLength(refusal.length) +
           " digits, more than the free memory can hold.";
}

} // namespace

std::string refusalWords(const Refusal& refusal, const std::vector<std::string>& names) {
    const std::string operand = nameOf(names, refusal.operand);
    switch (refusal.kind) {
    case RefusalKind::EmptyOperand:
        return operand + " is empty: give a number.";
    case RefusalKind::MalformedOperand:
        return operand + " is not a decimal number " + kNumberForm + ".";
    case RefusalKind::OnlyPoint:
        return operand + " has no digit but zeros after its point: write 0 for zero.";
    case RefusalKind::DivisionByZero:
        return operand + " is zero, and nothing can be divided by zero.";
    case RefusalKind::ExponentNotWhole:
        return operand + " must be a whole number, 0 or more.";
    case RefusalKind::PowerTooLong:
        return tooLong(operand, "power", refusal);
    case RefusalKind::ProductTooLong:
        return tooLong(operand, "product", refusal);
    case RefusalKind::NotWholeNumbers:
        return operand + " must be a whole number without sign.";
    case RefusalKind::EndsNotAscending:
        return operand + " must be greater than " + nameOf(names, refusal.operand - 1) + ".";
    case RefusalKind::ResultTooLarge:
        return tooLarge("result", refusal);
    case RefusalKind::WorkTooLarge:
        return tooLarge("calculation's numbers on the way", refusal);
    case RefusalKind::NotANumber:
        return operand + " must be a number.";
    case RefusalKind::NotWholeArgument:
        return operand + " must be a whole number.";
    case RefusalKind::EvenRootOfNegative:
        return operand + " is negative: an even root of a negative number is not a real number.";
    case RefusalKind::RootDegreeTooSmall:
        return operand + " must be a whole number of at least 2.";
    case RefusalKind::PlacesNotWhole:
        return operand + " must be a whole number without sign.";
    case RefusalKind::ResultTooLong:
        return "The result would be too long to hold.";
    case RefusalKind::BaseOutOfRange:
        return operand + " must be a whole number from 2 to 36.";
    case RefusalKind::NotInBase:
        return operand + " is not a whole number in that base.";
    case RefusalKind::ModulusBelowOne:
        return operand + " must be at least 1.";
    case RefusalKind::NegativeExponent:
        return operand + " must not be negative.";
    case RefusalKind::TooFewArguments:
        return "At least two numbers are needed.";
    case RefusalKind::Count:
        break;
    }
    return {};
}

} // namespace longhand::cli
