#include "arguments.h"

#include "engine/numtext.h"

namespace longhand {

std::string_view argumentTemplate(FunctionMode mode) {
    switch (mode) {
    case FunctionMode::Permutation:
        return "p(,,)";
    case FunctionMode::Combination:
        return "c(,,)";
    case FunctionMode::Factorial:
    case FunctionMode::Power:
        break;
    }
    return {};
}

Arguments splitArguments(std::string_view line) {
    Arguments args;
    auto first = line.find(',');
    auto last = line.rfind(',');
    if (first == std::string_view::npos || first == last || first < kFirstSlot) return args;

    args.n = std::string(line.substr(kFirstSlot, first - kFirstSlot));
    args.r = std::string(line.substr(first + 1, last - first - 1));
    args.flag = std::string(line.substr(last + 1, 1));
    if (args.n.empty() || args.r.empty() || !allDigitChars(args.n) || !allDigitChars(args.r))
        return args;

    const TextOrder order = compareWholeTexts(args.n, args.r);
    args.ok = !isBelow(order);
    if (args.ok && args.flag == ")") args.flag = "0";
    return args;
}

bool keepsTemplate(FunctionMode mode, std::string_view line) {
    const std::string_view empty = argumentTemplate(mode);
    if (empty.empty() || line.size() < kFirstSlot || line[0] != empty[0] || line[1] != '(' ||
        line.back() != ')')
        return false;
    // Three slots of digits between "x(" and ")", parted by two commas.
    int commas = 0;
    for (char c : line.substr(kFirstSlot, line.size() - kFirstSlot - 1)) {
        if (c == ',')
            ++commas;
        else if (c < '0' || c > '9')
            return false;
    }
    return commas == 2;
}

int flagValue(std::string_view flag) {
    if (flag.empty() || flag.front() < '0' || flag.front() > '9') return 0;
    return flag.front() - '0';
}

bool backspaceKeepsTemplate(char before) {
    switch (before) {
    case '\0':
    case ',':
    case '(':
    case ')':
    case 'p':
    case 'c':
        return false;
    default:
        return true;
    }
}

} // namespace longhand
