#include "inputcheck.h"

#include "engine/fast/digit_chars.h"
#include "engine/numtext.h"

namespace longhand {

namespace {

// Whether an operand box keeps every character of `text`: an optional
// leading "-", then digits with at most one ".". A long number being typed
// is one, and its digits are checked on every thread; `point` tells
// whether it has its point.
bool keepsEveryCharacter(std::string_view text, bool& point) {
    const std::string_view rest = text.substr(!text.empty() && text.front() == '-' ? 1 : 0);
    const std::size_t other = fast::firstNonDigit(rest);
    point = other != std::string_view::npos;
    return !point || (rest[other] == '.' && fast::allDigitChars(rest.substr(other + 1)));
}

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
    bool hasPoint = false;
    const bool whole = field == InputField::Operand && keepsEveryCharacter(text, hasPoint);
    bool pointSeen = whole && hasPoint;
    bool caretSeen = false;
    if (whole)
        kept = text;
    else
        kept.reserve(text.size());
    for (std::size_t i = 0; !whole && i < text.size(); ++i) {
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

bool operandIsSettled(std::string_view text) {
    bool point = false;
    if (text.empty()) return true;
    if (text.front() == '-' || !keepsEveryCharacter(text, point)) return false;
    // "0" is a whole number's one digit; any other leading zero goes.
    return text.front() != '0' || text == "0";
}

std::string settleInputText(std::string_view text, InputField field,
                            std::optional<FunctionMode> mode) {
    // The first pass reads the text where it is: most texts are settled
    // already, and a long one is not copied to find that out.
    std::string current = inputCheckPass(text, field, mode);
    if (current == text) return current;
    for (int pass = 1; pass < kMaxInputPasses; ++pass) {
        std::string next = inputCheckPass(current, field, mode);
        if (next == current) break;
        current = std::move(next);
    }
    return current;
}

} // namespace longhand
