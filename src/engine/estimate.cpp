#include "estimate.h"

#include "addition.h"
#include "combinatorics.h"
#include "numtext.h"
#include "power.h"
#include "rangeproduct.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace longhand {

namespace {

constexpr double kLn10 = 2.302585092994046;
constexpr double kLog10E = 0.4342944819032518;

// Whole numbers of up to this many digits are exact in a double, and so are
// the arguments of lgamma below.
constexpr std::size_t kExactDigits = 15;
// Leading digits that fix the logarithm of a long number.
constexpr std::size_t kLeadDigits = 17;

// A sum has at most one digit more than its longer operand, and a sign.
constexpr double kSumExtra = 2;
// A product: the operand lengths, a sign and a point.
constexpr double kProductExtra = 2;
// A quotient: the dividend's digits, the places the division adds (20 for
// short divisors, the divisor's length and 10 for long ones), sign and point.
constexpr double kQuotientExtra = 32;

// log10(10^x + y) for y >= 0, without overflow for large x.
double plus(double x, double y) {
    if (x == kNoLength) return y > 0 ? std::log10(y) : kNoLength;
    if (x > 300) return x;
    return std::log10(std::pow(10.0, x) + y);
}

double lengthOf(double characters) {
    return characters > 0 ? std::log10(characters) : kNoLength;
}

// A whole number given as a text of digits.
struct Whole {
    std::string text; // without leading zeros, "0" for zero
    double value = 0; // exact while text has at most kExactDigits digits
    double log10 = kNoLength;
    bool exact() const { return text.size() <= kExactDigits; }
    bool zero() const { return text == "0"; }
};

Whole wholeOf(std::string_view digits) {
    Whole w;
    w.text = wholeNumberValue(digits);
    if (w.zero()) return w;
    const std::size_t lead = std::min(w.text.size(), kLeadDigits);
    double leading = 0;
    for (std::size_t i = 0; i < lead; ++i)
        leading = leading * 10 + (w.text[i] - '0');
    w.log10 = std::log10(leading) + static_cast<double>(w.text.size() - lead);
    if (w.exact()) w.value = leading;
    return w;
}

// -1, 0, 1 as a < b, a == b, a > b for whole numbers without leading zeros.
int compareWhole(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a < b ? -1 : (a > b ? 1 : 0);
}

std::string difference(const std::string& a, const std::string& b) {
    return wholeNumberValue(subtract(a, b));
}

// log10 of the length of a product of `count` factors of at most
// 10^log10Factor each.
double repeatedLength(const Whole& count, double log10Factor) {
    if (count.zero() || !(log10Factor > 0)) return 0; // the text "1" or "0"
    return plus(count.log10 + std::log10(log10Factor), 1);
}

// log10 of the length of n! / k! for whole numbers k <= n.
double fallingLength(const Whole& n, const Whole& k) {
    if (n.exact())
        return plus(lengthOf((std::lgamma(n.value + 1) - std::lgamma(k.value + 1)) / kLn10), 1);
    // n - k factors of at most n each.
    return repeatedLength(wholeOf(difference(n.text, k.text)), n.log10);
}

LengthEstimate both(double length) {
    return {length, length};
}

} // namespace

LengthEstimate estimateCalculation(Operation operation, std::string_view a, std::string_view b) {
    const double la = static_cast<double>(a.size());
    const double lb = static_cast<double>(b.size());
    switch (operation) {
    case Operation::Add:
    case Operation::Subtract:
        return both(lengthOf(std::max(la, lb) + kSumExtra));
    case Operation::Multiply:
        return both(lengthOf(la + lb + kProductExtra));
    case Operation::Divide:
        return both(lengthOf(la + lb + kQuotientExtra));
    }
    return {};
}

LengthEstimate estimateFactorial(std::string_view n) {
    if (!isWholeNumberText(n)) return {};
    const Whole w = wholeOf(n);
    if (w.zero()) return both(0);
    if (w.exact()) return both(plus(lengthOf(std::lgamma(w.value + 1) / kLn10), 1));
    // Stirling: log10 n! = n (log10 n - log10 e) + a term of order log n.
    return both(w.log10 + std::log10(w.log10 - kLog10E));
}

LengthEstimate estimatePower(std::string_view base, std::string_view exponent) {
    if (!exponentIsWhole(exponent) || !isNumberText(base)) return {};
    return both(powerLength(base, exponent));
}

LengthEstimate estimatePermutation(std::string_view n, std::string_view r, int repetition) {
    if (!isWholeNumberText(n) || !isWholeNumberText(r)) return {};
    const Whole wn = wholeOf(n), wr = wholeOf(r);
    if (repetition == kWithRepetition) return both(repeatedLength(wr, wn.log10)); // n^r
    if (compareWhole(wr.text, wn.text) > 0) return both(0);                       // "0"
    return both(fallingLength(wn, wholeOf(difference(wn.text, wr.text))));
}

LengthEstimate estimateCombination(std::string_view n, std::string_view r, int repetition) {
    if (!isWholeNumberText(n) || !isWholeNumberText(r)) return {};
    Whole wr = wholeOf(r);
    std::string top = wholeNumberValue(n);
    if (repetition == kWithRepetition && !wr.zero())
        top = wholeNumberValue(subtract(add(top, wr.text), "1"));
    const Whole wn = wholeOf(top);
    if (compareWhole(wr.text, wn.text) > 0) return both(0);
    Whole rest = wholeOf(difference(wn.text, wr.text));
    // The count is worked out with the smaller of r and n - r.
    if (compareWhole(rest.text, wr.text) < 0) std::swap(wr, rest);

    // On the way: n!/(n-r)! and r!, then their quotient.
    LengthEstimate e;
    const double falling = fallingLength(wn, rest);
    e.work = std::max(falling, estimateFactorial(wr.text).work);
    if (wn.exact()) {
        const double log10C =
            (std::lgamma(wn.value + 1) - std::lgamma(wr.value + 1) - std::lgamma(rest.value + 1)) /
            kLn10;
        e.result = plus(lengthOf(log10C), 1);
    } else {
        // C(n, r) is below n^r, r the smaller.
        e.result = repeatedLength(wr, wn.log10);
    }
    return e;
}

LengthEstimate estimateRangeProduct(std::string_view m, std::string_view n) {
    if (!isWholeNumberText(m) || !isWholeNumberText(n)) return {};
    const Whole wm = wholeOf(m), wn = wholeOf(n);
    if (wm.zero() || compareWhole(wm.text, wn.text) > 0) return both(0);
    return both(fallingLength(wn, wholeOf(difference(wm.text, "1"))));
}

std::optional<std::uint64_t> availableMemory() {
    std::ifstream in("/proc/meminfo");
    std::string key;
    std::uint64_t kib = 0;
    std::string unit;
    while (in >> key >> kib) {
        std::getline(in, unit);
        if (key == "MemAvailable:") return kib * 1024;
    }
    return std::nullopt;
}

std::optional<Refusal> memoryRefusal(const LengthEstimate& estimate, std::uint64_t freeBytes) {
    const double work = std::max(estimate.work, estimate.result);
    if (work == kNoLength) return std::nullopt;
    if (work + std::log10(kBytesPerDigit) <= std::log10(static_cast<double>(freeBytes)))
        return std::nullopt;
    // Say how long the result is, or the numbers on the way when the result
    // itself would fit.
    const bool resultFits =
        estimate.result + std::log10(kBytesPerDigit) <= std::log10(static_cast<double>(freeBytes));
    if (resultFits) return Refusal{RefusalKind::WorkTooLarge, Refusal::kNoOperand, work};
    return Refusal{RefusalKind::ResultTooLarge, Refusal::kNoOperand, estimate.result};
}

} // namespace longhand
