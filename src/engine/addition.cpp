#include "addition.h"

#include "crossovers.h"
#include "fast/fast.h"
#include "numtext.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace longhand {

namespace {

// Digit value of one character; anything that is not a digit counts as 0,
// as digitSum promises.
inline int digitOrZero(char c) {
    return isDigit(c) ? digitOf(c) : 0;
}

std::uint64_t shortValue(std::string_view digits) {
    std::uint64_t v = 0;
    for (char c : digits)
        v = v * 10 + static_cast<std::uint64_t>(digitOrZero(c));
    return v;
}

std::string withMinus(Count minus, std::string_view text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(minus) + text.size());
    out.append(static_cast<std::size_t>(minus), '-');
    out.append(text);
    return out;
}

// The same for a result of the operation itself, which is not copied.
std::string withMinus(Count minus, std::string&& text) {
    if (minus > 0) text.insert(0, static_cast<std::size_t>(minus), '-');
    return std::move(text);
}

// a + b in exactly Lb or Lb + 1 digits (the latter when the sum carries out
// of b's top place), for digit strings with La <= Lb, by the fast layer's
// text addition; nothing when a character is not a digit.
std::optional<std::string> fastSum(std::string_view a, std::string_view b) {
    try {
        std::string sum = fast::addDigits(a, b);
        if (sum.size() < b.size()) sum.insert(0, b.size() - sum.size(), '0');
        return sum;
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

// b - a for digit strings, a <= b by value, without leading zeros; nothing
// when a character is not a digit.
std::optional<std::string> fastDifference(std::string_view a, std::string_view b) {
    try {
        return fast::subDigits(b, a);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

// Both operands as digit strings, the shorter fraction padded with zeros,
// so that both carry k = max(sa, sb) fraction digits.
struct Aligned {
    std::string a, b;
    Count sa = 0, sb = 0;

    // A sum or difference of the aligned digit strings as a tidy text.
    void placePoint(std::string& digits) const {
        if (std::max(sa, sb) <= 0) return;
        longhand::placePoint(digits, std::max(sa, sb));
        tidyPointZeros(digits);
    }
};

Aligned toAlignedDigits(std::string_view a, std::string_view b) {
    Aligned w{std::string(a), std::string(b)};
    w.sa = toDigitsAndScale(w.a);
    w.sb = toDigitsAndScale(w.b);
    if (w.sa < w.sb) w.a += zeros(w.sb - w.sa);
    if (w.sb < w.sa) w.b += zeros(w.sa - w.sb);
    return w;
}

// True for a long text that is its own digit string with scale 0: no point
// and no leading zero. Such operands are added and subtracted without copies.
bool plainLong(std::string_view s) {
    return s.size() >= kFastAddDigits && s.front() >= '1' && s.front() <= '9' &&
           s.find('.') == std::string_view::npos;
}

// a + b for non-negative operands; `negative` puts a "-" in front, whatever
// the digits are.
std::string addUnsigned(std::string_view a0, std::string_view b0, bool negative) {
    if (plainLong(a0) && plainLong(b0)) {
        const bool swap = isAbove(compareWholeTexts(a0, b0));
        if (auto sum = swap ? fastSum(b0, a0) : fastSum(a0, b0)) {
            if (negative) sum->insert(0, 1, '-');
            return std::move(*sum);
        }
    }
    Aligned w = toAlignedDigits(a0, b0);
    std::string& a = w.a;
    std::string& b = w.b;
    if (isAbove(compareWholeTexts(a, b))) a.swap(b);

    std::string sum;
    std::optional<std::string> fastResult;
    if (a.size() <= kShortAddDigits && b.size() <= kShortAddDigits) {
        sum = std::to_string(shortValue(a) + shortValue(b));
    } else if (b.size() >= kFastAddDigits && (fastResult = fastSum(a, b))) {
        sum = std::move(*fastResult);
    } else {
        sum = digitSum(a, b);
    }
    w.placePoint(sum);
    if (negative) sum.insert(0, 1, '-');
    return sum;
}

// Skips leading characters of digit value 0, so that what is left has its
// length as its order of magnitude.
std::string_view significant(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && digitOrZero(s[i]) == 0)
        ++i;
    return s.substr(i);
}

// Compares by value (non-digits count as 0): -1, 0 or 1.
int compareValue(std::string_view x, std::string_view y) {
    x = significant(x);
    y = significant(y);
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const int dx = digitOrZero(x[i]), dy = digitOrZero(y[i]);
        if (dx != dy) return dx < dy ? -1 : 1;
    }
    return 0;
}

// a - b for non-negative operands. The aligned digit strings are ordered by
// value, not by length: a zero operand becomes the empty digit string and is
// padded with zeros, which would make it look longer than a small non-zero
// fraction.
std::string subtractUnsigned(std::string_view a0, std::string_view b0) {
    if (plainLong(a0) && plainLong(b0)) {
        const int order = compareValue(a0, b0);
        if (order == 0) return "0";
        if (auto diff = order < 0 ? fastDifference(a0, b0) : fastDifference(b0, a0)) {
            if (order < 0) diff->insert(0, 1, '-');
            return std::move(*diff);
        }
    }
    Aligned w = toAlignedDigits(a0, b0);
    const int order = compareValue(w.a, w.b);
    if (order == 0) return "0";
    bool negative = false;
    std::string_view a = significant(w.a), b = significant(w.b);
    if (order < 0)
        negative = true; // a < b: computes b - a, then the sign
    else
        std::swap(a, b);
    // Now a <= b by value and a has no more significant places than b.

    const Count La = static_cast<Count>(a.size());
    const Count Lb = static_cast<Count>(b.size());
    std::string diff;
    std::optional<std::string> fastResult;
    if (a.size() <= kShortSubDigits && b.size() <= kShortSubDigits) {
        diff = std::to_string(shortValue(b) - shortValue(a));
    } else if (static_cast<std::size_t>(Lb) >= kFastAddDigits &&
               (fastResult = fastDifference(a, b))) {
        diff = std::move(*fastResult);
    } else {
        diff.assign(static_cast<std::size_t>(Lb), '0');
        int borrow = 0;
        for (Count i = 1; i <= Lb; ++i) {
            int y = digitOrZero(b[static_cast<std::size_t>(Lb - i)]) - borrow;
            if (i <= La) y -= digitOrZero(a[static_cast<std::size_t>(La - i)]);
            borrow = y < 0 ? 1 : 0;
            diff[static_cast<std::size_t>(Lb - i)] = static_cast<char>('0' + y + 10 * borrow);
        }
        if (!diff.empty() && diff.front() == '0') toDigitsAndScale(diff);
    }
    w.placePoint(diff);
    if (negative && diff != "0") diff.insert(0, 1, '-');
    return diff;
}

// The sign dispatch of addition and subtraction. The two operations hand
// operands back and forth, each step taking one leading "-" off; done as a
// loop over views, so a text of many "-" costs no stack and no copies.
std::string addOrSubtract(bool subtracting, std::string_view a, std::string_view b) {
    Count minus = 0; // "-" characters to put in front of the final result
    for (;;) {
        const TextKind A = textKind(a);
        const TextKind B = textKind(b);
        const bool aPlain = isUnsignedKind(A);
        const bool bPlain = isUnsignedKind(B);
        if (!subtracting) {
            if (b == "0") return withMinus(minus, a);
            if (a == "0") return withMinus(minus, b);
            if (B == TextKind::Minus && aPlain) { // a + (-b) = a - b
                b.remove_prefix(1);
                subtracting = true;
                continue;
            }
            if (A == TextKind::Minus && bPlain) { // (-a) + b = b - a
                a.remove_prefix(1);
                std::swap(a, b);
                subtracting = true;
                continue;
            }
            if (A == TextKind::Minus && B == TextKind::Minus) {
                a.remove_prefix(1);
                b.remove_prefix(1);
                return withMinus(minus, addUnsigned(a, b, true));
            }
            return withMinus(minus, addUnsigned(a, b, false));
        }
        if (b == "0") return withMinus(minus, a);
        if (a == "0") {
            if (B == TextKind::Minus) return withMinus(minus, b.substr(1));
            return withMinus(minus + 1, b);
        }
        if (B == TextKind::Minus && aPlain) { // a - (-b) = a + b
            b.remove_prefix(1);
            subtracting = false;
            continue;
        }
        if (A == TextKind::Minus && bPlain) { // (-a) - b = -(a + b)
            a.remove_prefix(1);
            ++minus;
            subtracting = false;
            continue;
        }
        if (A == TextKind::Minus && B == TextKind::Minus) { // (-a) - (-b) = b - a
            b.remove_prefix(1);
            if (b == "0") return withMinus(minus, a);
            a.remove_prefix(1);
            return withMinus(minus, subtractUnsigned(b, a));
        }
        return withMinus(minus, subtractUnsigned(a, b));
    }
}

} // namespace

std::string add(std::string_view a, std::string_view b) {
    return addOrSubtract(false, a, b);
}

std::string subtract(std::string_view a, std::string_view b) {
    return addOrSubtract(true, a, b);
}

std::string digitSum(std::string_view a, std::string_view b) {
    if (a.size() > b.size()) std::swap(a, b);
    const Count La = static_cast<Count>(a.size());
    const Count Lb = static_cast<Count>(b.size());
    // Right to left with carry into a buffer of Lb + 1 places; the top place
    // holds the final carry, dropped when it is 0.
    std::string sum(static_cast<std::size_t>(Lb + 1), '0');
    int carry = 0;
    for (Count i = 1; i <= Lb; ++i) {
        int s = digitOrZero(b[static_cast<std::size_t>(Lb - i)]) + carry;
        if (i <= La) s += digitOrZero(a[static_cast<std::size_t>(La - i)]);
        carry = s >= 10 ? 1 : 0;
        sum[static_cast<std::size_t>(Lb + 1 - i)] = static_cast<char>('0' + s - 10 * carry);
    }
    if (carry)
        sum[0] = '1';
    else
        sum.erase(0, 1);
    return sum;
}

} // namespace longhand
