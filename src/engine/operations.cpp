#include "operations.h"

#include "addition.h"
#include "division.h"
#include "multiply.h"
#include "numtext.h"

#include <algorithm>
#include <utility>

namespace longhand {

namespace {

// "0", "-0", "00", "-000", and a lone "-": no digit other than "0" after an
// optional leading "-".
bool zeroValued(std::string_view s) {
    const std::size_t start = !s.empty() && s.front() == '-' ? 1 : 0;
    return s.find_first_not_of('0', start) == std::string::npos;
}

// text with its point zeros tidied (tidyPointZeros): text itself when
// that changes nothing, else a tidied copy kept in `copy`.
std::string_view tidied(std::string_view text, std::string& copy) {
    const bool pointZeros = text.find('.') != std::string_view::npos && text.back() == '0';
    if (!pointZeros && (text.empty() || text.back() != '.')) return text;
    copy = std::string(text);
    tidyPointZeros(copy);
    return copy;
}

Outcome shown(std::string result, const Progress& progress) {
    if (progress.cancelled()) return Outcome::cancelled();
    return Outcome::result(shownResult(std::move(result)));
}

} // namespace

std::string shownResult(std::string result) {
    if (std::all_of(result.begin(), result.end(), [](char c) { return c == '-'; })) result += '0';
    return result;
}

Outcome calculate(Operation operation, std::string_view aText, std::string_view bText,
                  Progress& progress) {
    if (textKind(aText) == TextKind::Empty || textKind(bText) == TextKind::Empty)
        return Outcome::refused(kEmptyBoxes);
    // The digit work would read a stray character as a 0 or stop at it and
    // give a plausible wrong result. Each pass over a long operand takes a
    // while: a cancel is heard between them.
    if (!isNumberText(aText)) return Outcome::refused(kMalformedOperand);
    if (progress.cancelled()) return Outcome::cancelled();
    if (!isNumberText(bText)) return Outcome::refused(kMalformedOperand);
    if (progress.cancelled()) return Outcome::cancelled();
    // Operands are copied only when their point zeros must go.
    std::string aTidy, bTidy;
    const std::string_view a = tidied(aText, aTidy), b = tidied(bText, bTidy);
    if (a.empty() || b.empty()) return Outcome::refused(kWeirdInput);
    if (progress.cancelled()) return Outcome::cancelled();

    switch (operation) {
    case Operation::Add:
        return shown(add(a, b), progress);
    case Operation::Subtract:
        return shown(subtract(a, b), progress);
    case Operation::Multiply:
        return shown(multiply(a, b, progress), progress);
    case Operation::Divide:
        break;
    }
    // Exact text comparisons on the tidied operands: "00" is neither "0"
    // nor "1" here, but it is a zero divisor.
    if (b != "0" && a == "0") return Outcome::result("0");
    if (zeroValued(b)) return Outcome::refused(kDivisionByZero);
    if (b == "1") return Outcome::result(shownResult(std::string(a)));
    bool cut = false;
    Outcome outcome = shown(divide(a, b, progress, &cut), progress);
    outcome.stopSound = true;
    outcome.cut = cut;
    return outcome;
}

} // namespace longhand
