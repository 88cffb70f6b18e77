#include "arguments.h"

#include "engine/numtext.h"

#include <algorithm>

namespace longhand {

namespace {

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The first two characters hold the letter and "(".
constexpr std::size_t kSlotStart = 2;

} // namespace

Arguments splitArguments(std::string_view line) {
    Arguments args;
    auto first = line.find(',');
    auto last = line.rfind(',');
    if (first == std::string_view::npos || first == last || first < kSlotStart) return args;

    args.n = std::string(line.substr(kSlotStart, first - kSlotStart));
    args.r = std::string(line.substr(first + 1, last - first - 1));
    args.flag = std::string(line.substr(last + 1, 1));
    if (args.n.empty() || args.r.empty() || !allDigits(args.n) || !allDigits(args.r)) return args;

    const TextOrder order = compareWholeTexts(args.n, args.r);
    args.ok = !isBelow(order);
    if (args.ok && args.flag == ")") args.flag = "0";
    return args;
}

bool keepsTemplate(int mode, std::string_view line) {
    const char letter = mode == PermutationTemplate ? 'p' : mode == CombinationTemplate ? 'c' : 0;
    if (letter == 0 || line.size() < kSlotStart || line[0] != letter || line[1] != '(' ||
        line.back() != ')')
        return false;
    // Three slots of digits between "x(" and ")", parted by two commas.
    int commas = 0;
    for (char c : line.substr(kSlotStart, line.size() - kSlotStart - 1)) {
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

int filterTemplateKey(int mode, int keyAscii, char before) {
    if (keyAscii == kKeyBackspace) {
        switch (before) {
        case '\0':
        case ',':
        case '(':
        case ')':
        case 'p':
        case 'c':
            return 0;
        default:
            return keyAscii;
        }
    }
    if (mode == PermutationTemplate || mode == CombinationTemplate) {
        if (keyAscii < '0' || keyAscii > '9') return 0;
    }
    return keyAscii;
}

} // namespace longhand
