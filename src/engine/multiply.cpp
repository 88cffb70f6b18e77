#include "multiply.h"

#include "crossovers.h"
#include "fast/fast.h"
#include "numtext.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace longhand {

namespace {

// The schoolbook product works on cells of nine decimal digits.
constexpr std::uint32_t kCellBase = 1'000'000'000;
constexpr std::size_t kCellDigits = 9;

// Cells of a digit string, least significant first. A character that is
// not a digit is thrown out as std::invalid_argument: read as a 0 it would
// give a plausible wrong product.
std::vector<std::uint32_t> toCells(std::string_view s) {
    std::vector<std::uint32_t> cells((s.size() + kCellDigits - 1) / kCellDigits, 0);
    std::size_t end = s.size();
    for (auto& cell : cells) {
        const std::size_t begin = end >= kCellDigits ? end - kCellDigits : 0;
        std::uint32_t v = 0;
        for (std::size_t i = begin; i < end; ++i) {
            if (!isDigit(s[i])) throw std::invalid_argument("not a digit string");
            v = v * 10 + static_cast<std::uint32_t>(digitOf(s[i]));
        }
        cell = v;
        end = begin;
    }
    return cells;
}

std::string withMinus(Count minus, std::string text) {
    if (minus > 0) text.insert(0, static_cast<std::size_t>(minus), '-');
    return text;
}

// An unsigned number text as its digit string (toDigitsAndScale) and scale:
// the text itself when it is one already, else a copy kept in `copy`.
std::string_view digitsOf(std::string_view text, std::string& copy, Count& scale) {
    scale = 0;
    if (text.find('.') == std::string_view::npos && (text.empty() || text.front() != '0'))
        return text;
    copy = std::string(text);
    scale = toDigitsAndScale(copy);
    return copy;
}

// dropTrailingZeros (numtext.h) on a view.
Count dropTrailingZerosOf(std::string_view& text) {
    const std::size_t keep = text.find_last_not_of('0');
    if (keep == std::string_view::npos) return static_cast<Count>(text.size());
    const std::size_t zeros = text.size() - keep - 1;
    text.remove_suffix(zeros);
    return static_cast<Count>(zeros);
}

// The product of two unsigned number texts with the point and the trailing
// zeros of integers put back.
std::string unsignedProduct(std::string_view aText, std::string_view bText, Progress& progress,
                            const std::function<void()>& textsRead) {
    // A second point, an inner "-" or a letter would be read as a 0 or stop
    // the digit work at a plausible wrong product. Each pass over a long
    // operand takes a while: a cancel is heard between them.
    std::string aCopy, bCopy;
    Count fa = 0, fb = 0;
    std::string_view a = digitsOf(aText, aCopy, fa);
    if (!allDigitChars(a)) throw std::invalid_argument("not a number text");
    if (progress.cancelled()) return {};
    std::string_view b = digitsOf(bText, bCopy, fb);
    if (!allDigitChars(b)) throw std::invalid_argument("not a number text");
    if (progress.cancelled()) return {};

    // Trailing zeros of integers go now and come back as text at the end.
    Count z = 0;
    if (fa == 0 && !a.empty() && a.back() == '0') z = dropTrailingZerosOf(a);
    if (fb == 0 && !b.empty() && b.back() == '0') z += dropTrailingZerosOf(b);

    std::string P;
    if (a.size() > kShortMultiplyDigits || b.size() > kShortMultiplyDigits) {
        if (a.size() > b.size()) a.swap(b);
        P = multiplyDigits(a, b, progress, [&] {
            std::string().swap(aCopy);
            std::string().swap(bCopy);
            if (textsRead) textsRead();
        });
        // Given up: the steps below would only copy a long text in vain.
        if (progress.cancelled()) return {};
    } else {
        std::uint64_t x = 0, y = 0;
        for (char c : a)
            x = x * 10 + static_cast<std::uint64_t>(digitOf(c));
        for (char c : b)
            y = y * 10 + static_cast<std::uint64_t>(digitOf(c));
        P = std::to_string(x * y);
    }

    // The point, fa + fb places from the right, moved z places back to the
    // right for the dropped zeros; or, past the digits, those zeros again.
    const Count places = fa + fb - z;
    if (places > 0) {
        placePoint(P, places, BelowOne::Point);
        tidyPointZeros(P);
    } else if (places < 0) {
        P.append(static_cast<std::size_t>(-places), '0');
    }

    // Leading zeros go, up to and including a "0" before the point: ".25".
    // (in place: the product may be long)
    if (!P.empty() && P.front() == '0') {
        const std::size_t first = P.find_first_not_of('0');
        P.erase(0, first == std::string::npos ? P.size() : first);
    }
    return P;
}

} // namespace

std::string multiply(std::string_view a, std::string_view b, Progress& progress,
                     const std::function<void()>& textsRead) {
    // Signs: each step takes one "-" off and puts it in front of the result.
    Count minus = 0;
    for (;;) {
        if (a == "0" || b == "0") return withMinus(minus, "0");
        const TextKind A = textKind(a);
        const TextKind B = textKind(b);
        const bool aPlain = isUnsignedKind(A);
        const bool bPlain = isUnsignedKind(B);
        if (aPlain && B == TextKind::Minus) {
            b.remove_prefix(1);
            ++minus;
            continue;
        }
        if (A == TextKind::Minus && bPlain) {
            a.remove_prefix(1);
            ++minus;
            continue;
        }
        if (A == TextKind::Minus && B == TextKind::Minus) {
            a.remove_prefix(1);
            b.remove_prefix(1);
        }
        break;
    }
    return withMinus(minus, unsignedProduct(a, b, progress, textsRead));
}

// Long operands go to the fast layer (Karatsuba, number-theoretic
// transforms, a square when both texts are the same); its product, without
// leading zeros, is written back in exactly N digits.
std::string multiplyDigits(std::string_view A, std::string_view B, Progress& progress,
                           const std::function<void()>& textsRead) {
    if (std::min(A.size(), B.size()) >= kFastMultiplyDigits) {
        const std::size_t N = A.size() + B.size();
        const fast::CancelCheck cancel = progress.cancelCheck();
        try {
            return fast::mulDigits(A, B, &cancel, N, textsRead);
        } catch (const fast::Cancelled&) {
            return {}; // given up
        }
        // A character that is not a digit leaves as the fast layer's
        // std::invalid_argument: no digit is guessed.
    }
    return schoolbookProduct(A, B, progress);
}

// Schoolbook long multiplication (Knuth, TAOCP vol. 2, 4.3.1, algorithm M)
// on cells of nine digits. Each step t = x * y + r + carry stays below
// (10^9 - 1)^2 + 2 * 10^9 < 2^64.
std::string schoolbookProduct(std::string_view A, std::string_view B, Progress& progress) {
    const std::size_t N = A.size() + B.size();
    std::string out(N, '0');
    if (A.empty() || B.empty()) return out;
    const std::vector<std::uint32_t> x = toCells(A);
    const std::vector<std::uint32_t> y = toCells(B);
    std::vector<std::uint32_t> r(x.size() + y.size(), 0);
    const std::size_t rowsPerPoll = std::max<std::size_t>(1, kCellStepsPerPoll / y.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (i % rowsPerPoll == rowsPerPoll - 1 && progress.cancelled()) break;
        const std::uint64_t xi = x[i];
        if (xi == 0) continue;
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < y.size(); ++j) {
            const std::uint64_t t = xi * y[j] + r[i + j] + carry;
            r[i + j] = static_cast<std::uint32_t>(t % kCellBase);
            carry = t / kCellBase;
        }
        r[i + y.size()] = static_cast<std::uint32_t>(carry);
    }
    // Cells back to N digits from the right; the cells hold at most N digits.
    std::size_t pos = N;
    for (std::size_t c = 0; c < r.size() && pos > 0; ++c) {
        std::uint32_t v = r[c];
        for (std::size_t k = 0; k < kCellDigits && pos > 0; ++k) {
            out[--pos] = static_cast<char>('0' + v % 10);
            v /= 10;
        }
    }
    return out;
}

} // namespace longhand
