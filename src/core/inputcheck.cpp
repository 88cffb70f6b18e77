#include "inputcheck.h"

#include "engine/numtext.h"

namespace longhand {

namespace {

// Leading zeros go as stripLeadingZeros leaves the text in place: zeros
// before the first other character, a text of zeros only becoming "0".
std::string withoutLeadingZeros(std::string text) {
    stripLeadingZeros(text);
    return text;
}

} // namespace

std::string inputCheckPass(std::string_view text, InputField field,
                           std::optional<FunctionMode> mode) {
    const bool argument = field == InputField::Argument;
    const bool factorial = argument && mode == FunctionMode::Factorial;
    const bool power = argument && mode == FunctionMode::Power;

    // Character pass: the accepted characters, in their order.
    std::string kept;
    kept.reserve(text.size());
    bool pointSeen = false;
    bool caretSeen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool first = i == 0;
        bool accept = false;
        if (isDigit(c)) {
            accept = true;
        } else if (c == '-') {
            accept = first && !factorial;
        } else if (c == '.') {
            accept = !factorial && !pointSeen;
            if (accept) pointSeen = true;
        } else if (c == '^') {
            if (power) {
                accept = !first && !caretSeen;
                if (accept) {
                    // The exponent is a whole number: no point after the caret.
                    caretSeen = true;
                    pointSeen = true;
                }
            } else {
                accept = argument && !factorial;
            }
        }
        if (accept) kept += c;
    }

    // Sign and leading zeros.
    if (kept.empty() || kept.front() != '-') return withoutLeadingZeros(std::move(kept));
    const std::size_t point = kept.find('.');
    if (point != std::string::npos && point >= 2) {
        std::string magnitude = withoutLeadingZeros(kept.substr(1));
        return (!magnitude.empty() && magnitude.front() == '.' ? "-0" : "-") + magnitude;
    }
    if (point == 1) return "-0" + kept.substr(1);
    if (!pointSeen) return "-" + withoutLeadingZeros(kept.substr(1));
    return kept;
}

std::string settleInputText(std::string_view text, InputField field,
                            std::optional<FunctionMode> mode) {
    std::string current(text);
    for (int pass = 0; pass < kMaxInputPasses; ++pass) {
        std::string next = inputCheckPass(current, field, mode);
        if (next == current) break;
        current = std::move(next);
    }
    return current;
}

} // namespace longhand
