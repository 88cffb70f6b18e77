#include "refusalwords.h"

#include "core/lengthline.h"
#include "core/operands.h"

namespace longhand::cli {

namespace {

// An operand's name as the usage text gives it, without the brackets of an
// optional one.
std::string nameOf(const std::vector<std::string>& names, int operand) {
    if (operand < 0 || static_cast<std::size_t>(operand) >= names.size()) return "An operand";
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
    case RefusalKind::Count:
        break;
    }
    return {};
}

} // namespace longhand::cli
