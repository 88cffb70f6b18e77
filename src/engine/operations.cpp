#include "operations.h"

#include "addition.h"
#include "division.h"
#include "multiply.h"
#include "numtext.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace longhand {

namespace {

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

namespace {

// calculate() with the call that frees the caller's texts, made once a
// product has read them.
Outcome calculateTexts(Operation operation, std::string_view aText, std::string_view bText,
                       Progress& progress, const std::function<void()>& textsRead) {
    if (textKind(aText) == TextKind::Empty) return Outcome::refused(RefusalKind::EmptyOperand, 0);
    if (textKind(bText) == TextKind::Empty) return Outcome::refused(RefusalKind::EmptyOperand, 1);
    // The digit work would read a stray character as a 0 or stop at it and
    // give a plausible wrong result. Each pass over a long operand takes a
    // while: a cancel is heard between them.
    if (!isNumberText(aText)) return Outcome::refused(RefusalKind::MalformedOperand, 0);
    if (progress.cancelled()) return Outcome::cancelled();
    if (!isNumberText(bText)) return Outcome::refused(RefusalKind::MalformedOperand, 1);
    if (progress.cancelled()) return Outcome::cancelled();
    // Operands are copied only when their point zeros must go.
    std::string aTidy, bTidy;
    const std::string_view a = tidied(aText, aTidy), b = tidied(bText, bTidy);
    if (a.empty()) return Outcome::refused(RefusalKind::OnlyPoint, 0);
    if (b.empty()) return Outcome::refused(RefusalKind::OnlyPoint, 1);
    if (progress.cancelled()) return Outcome::cancelled();

    switch (operation) {
    case Operation::Add:
        return shown(add(a, b), progress);
    case Operation::Subtract:
        return shown(subtract(a, b), progress);
    case Operation::Multiply:
        return shown(multiply(a, b, progress,
                              [&] {
                                  std::string().swap(aTidy);
                                  std::string().swap(bTidy);
                                  if (textsRead) textsRead();
                              }),
                     progress);
    case Operation::Divide:
        break;
    }
    // Zero divided by zero has no value either: the divisor is looked at
    // first. The answers given at once go by exact text on the tidied
    // operands ("01" is not "1" here); the division gives the same value.
    if (hasZeroValue(b)) return Outcome::refused(RefusalKind::DivisionByZero, 1);
    if (a == "0") return Outcome::result("0");
    if (b == "1") return Outcome::result(shownResult(std::string(a)));
    bool cut = false;
    Outcome outcome = shown(divide(a, b, progress, &cut), progress);
    outcome.divided = true;
    outcome.cut = cut;
    return outcome;
}

} // namespace

Outcome calculate(Operation operation, std::string_view a, std::string_view b, Progress& progress) {
    return calculateTexts(operation, a, b, progress, {});
}

Outcome calculateOwned(Operation operation, std::string a, std::string b, Progress& progress) {
    return calculateTexts(operation, a, b, progress, [&] {
        std::string().swap(a);
        std::string().swap(b);
    });
}

} // namespace longhand
