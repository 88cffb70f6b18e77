#include "division.h"

#include "crossovers.h"
#include "fast/fast.h"
#include "multiply.h"
#include "numtext.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace longhand {

namespace {

// Value of the first `count` characters (at most 15 digits: exact).
double leadingValue(std::string_view s, std::size_t count) {
    std::uint64_t v = 0;
    const std::size_t n = std::min(count, s.size());
    for (std::size_t i = 0; i < n; ++i)
        v = v * 10 + static_cast<std::uint64_t>(digitOf(s[i]));
    return static_cast<double>(v);
}

// Value of a whole digit string; rounded once it passes 15 digits.
double wholeValue(std::string_view s) {
    if (s.size() <= kEstimateDigits) return leadingValue(s, kEstimateDigits);
    double v = 0;
    for (char c : s)
        v = v * 10 + digitOf(c);
    return v;
}

// The first guess at rem / div, never below the true digit while rem has at
// most one digit more than div: both prefixes are cut at the same distance
// from the right end. 0 to 9.
int estimateDigit(std::string_view rem, std::string_view div) {
    const std::size_t lr = rem.size(), ld = div.size();
    double e = 0;
    if (lr == ld && ld >= kEstimateDigits)
        e = leadingValue(rem, kEstimateDigits) / leadingValue(div, kEstimateDigits);
    else if (lr > ld && ld >= kEstimateDigits - 1)
        e = leadingValue(rem, kEstimateDigits) / leadingValue(div, kEstimateDigits - 1);
    else
        e = wholeValue(rem) / wholeValue(div);
    if (!(e >= 0)) return 0; // NaN from a zero divisor: no digit
    return e >= 9 ? 9 : static_cast<int>(std::floor(e));
}

// rem -= d * div, both right-aligned, rem at least as long as div, digits
// only. Returns the borrow out of the top place: 0 when the result is not
// negative; otherwise rem holds the result plus borrow * 10^|rem|.
//
// Per place t = r - d v - borrow lies in [-90, 9]; with u = t + 90 in
// [0, 99] the place's digit is u mod 10 and the next borrow 9 - u div 10.
int subtractMultiple(std::string& rem, std::string_view div, int d) {
    char* r = rem.data() + rem.size();
    const char* v = div.data() + div.size();
    int borrow = 0;
    for (std::size_t i = 0; i < div.size(); ++i) {
        --r;
        --v;
        const int u = (*r - '0') - d * (*v - '0') - borrow + 90;
        *r = static_cast<char>('0' + u % 10);
        borrow = 9 - u / 10;
    }
    while (borrow > 0 && r != rem.data()) {
        --r;
        const int u = (*r - '0') - borrow + 90;
        *r = static_cast<char>('0' + u % 10);
        borrow = 9 - u / 10;
    }
    return borrow;
}

// rem += div modulo 10^|rem|, digits only; returns the carry out of the
// top place.
int addBack(std::string& rem, std::string_view div) {
    char* r = rem.data() + rem.size();
    const char* v = div.data() + div.size();
    int carry = 0;
    for (std::size_t i = 0; i < div.size(); ++i) {
        --r;
        --v;
        const int t = (*r - '0') + (*v - '0') + carry;
        carry = t >= 10 ? 1 : 0;
        *r = static_cast<char>('0' + t - 10 * carry);
    }
    while (carry > 0 && r != rem.data()) {
        --r;
        const int t = (*r - '0') + carry;
        carry = t >= 10 ? 1 : 0;
        *r = static_cast<char>('0' + t - 10 * carry);
    }
    return carry;
}

// Leading zeros off; zero is "0".
void canonical(std::string& s) {
    const std::size_t first = s.find_first_not_of('0');
    if (first == std::string::npos)
        s.assign(1, '0');
    else if (first > 0)
        s.erase(0, first);
}

// One quotient digit of rem / div computed in place: rem >= div, rem at
// most one digit longer than div, both without leading zeros. The estimate
// is lowered, adding div back, until the remainder is not negative.
char digitStep(std::string& rem, std::string_view div) {
    int d = estimateDigit(rem, div);
    if (rem.size() < div.size()) d = 0;
    if (d > 0) {
        int borrow = subtractMultiple(rem, div, d);
        while (borrow > 0 && d > 0) {
            --d;
            borrow -= addBack(rem, div);
        }
    }
    canonical(rem);
    return static_cast<char>('0' + d);
}

// A digit string as the drivers need it: no leading zeros, zero the empty
// text. A character that is not a digit is thrown out as
// std::invalid_argument: read as a 0 it would give a plausible wrong quotient.
std::string cleanDigits(std::string_view s) {
    if (!allDigitChars(s)) throw std::invalid_argument("not a digit string");
    const std::size_t first = s.find_first_not_of('0');
    return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

// True when cleanDigits would give s back unchanged.
bool isCleanDigits(std::string_view s) {
    return (s.empty() || s.front() != '0') && allDigitChars(s);
}

// An unsigned number text as its clean digit string (toDigitsAndScale,
// then cleanDigits) and its scale: the text itself when it is one already,
// else a copy kept in `copy`.
std::string_view cleanedDigits(std::string_view text, std::string& copy, Count& scale) {
    scale = 0;
    if (text.find('.') == std::string_view::npos && isCleanDigits(text)) return text;
    copy = std::string(text);
    scale = toDigitsAndScale(copy);
    if (!isCleanDigits(copy)) copy = cleanDigits(copy);
    return copy;
}

// The long division of A by B, digit by digit, at most `places` fraction
// digits (divideLonger).
std::string longerByDigits(std::string_view A, std::string_view B, Count places,
                           const Progress& progress, bool& cut) {
    const std::size_t la = A.size(), lb = B.size();
    if (lb == 0) return {};
    std::size_t pos = std::min(la, lb);
    std::string rem(A.substr(0, pos));
    std::string q;
    Count dec = 0;
    bool fraction = false;
    while (dec < places) {
        if (progress.cancelled()) break;
        if (!isBelow(compareWholeTexts(rem, B))) {
            q += digitStep(rem, B);
            if (fraction) ++dec;
            continue;
        }
        // rem < B: bring down the next digit of A, or a zero after A's end.
        if (pos < la) {
            if (rem == "0") rem.clear();
            rem += A[pos++];
            if (isBelow(compareWholeTexts(rem, B))) q += '0';
        } else if (!fraction) {
            if (rem == "0") break; // the quotient is a whole number
            q += '.';
            rem += '0';
            if (isBelow(compareWholeTexts(rem, B))) {
                q += '0';
                ++dec;
            }
            fraction = true;
        } else {
            if (rem.empty() || rem == "0") break;
            rem += '0';
            if (isBelow(compareWholeTexts(rem, B))) {
                q += '0';
                ++dec;
            }
        }
    }
    cut = !hasZeroValue(rem);
    return q;
}

// The quotient of m by a divisor at least as long, digit by digit, after a
// first digit that is the integer digit or "0.": at least `places`
// fraction digits unless the division ends or its remainder comes back to
// the dividend, whose digits then repeat up to `places` + 2 characters.
std::string notLongerByDigits(std::string_view m0, std::string_view n, Count places,
                              const Progress& progress, bool& cut) {
    cut = false;
    if (n == "1") return std::string(m0);
    if (n.empty()) return {};
    if (m0.size() > n.size()) return longerByDigits(m0, n, places, progress, cut);

    std::string m(m0);
    std::string q;
    enum { Start, Fraction, Digits, IntegerDigit } state = Start;
    const TextOrder first = compareWholeTexts(m, n);
    if (first == TextOrder::Equal) return "1";
    if (first == TextOrder::Less) {
        q = "0.";
        m += '0';
        state = Fraction;
    } else if (first == TextOrder::Shorter) {
        q = "0.";
        q.append(n.size() - m.size() - 1, '0');
        m.append(n.size() - m.size(), '0');
        state = Fraction;
    } else {
        state = IntegerDigit; // same length and larger: the first digit is the integer digit
    }
    const bool integerDigitFirst = state == IntegerDigit;

    // Wherever the digits stop, the quotient is cut when the remainder m is
    // not zero; the one remainder equal to n ends it exactly.
    for (;;) {
        cut = !hasZeroValue(m);
        if (static_cast<Count>(q.size()) > places + 1) return q;
        if (state != IntegerDigit && m == m0) {
            // The remainder is back at the dividend: the digits since the
            // point come again, led by the integer digit when there is one.
            std::string period;
            if (integerDigitFirst) period += q[0];
            period.append(q, 2);
            if (period.empty()) return q;
            const std::size_t target = static_cast<std::size_t>(places + 2);
            while (q.size() < target)
                q.append(period, 0, std::min(period.size(), target - q.size()));
            return q;
        }
        if (m == "0") return q;
        if (progress.cancelled()) return q;
        const TextOrder order = compareWholeTexts(m, n);
        if (order == TextOrder::Equal) {
            cut = false;
            return q + '1';
        }
        if (isBelow(order)) {
            if (order == TextOrder::Less && state == Fraction) {
                m += '0';
                q += '0';
            } else if (order == TextOrder::Less && state == Digits) {
                m += '0'; // one digit longer than n: the next pass yields a digit
            } else if (order == TextOrder::Shorter && state == Digits) {
                while (m.size() < n.size()) {
                    m += '0';
                    if (isBelow(compareWholeTexts(m, n))) q += '0';
                }
            } else {
                return q; // no other state meets a smaller remainder
            }
            continue;
        }
        const char d = digitStep(m, n);
        if (state == IntegerDigit) {
            q = d;
            q += '.';
        } else {
            q += d;
        }
        state = Digits;
    }
}

// ---- The fast drivers ----------------------------------------------------
//
// Both digit-by-digit drivers write the exact digits of the quotient, cut
// off (never rounded) after some number of places: their text is
// floor(M 10^K / N) with the point K places from the right. The fast paths
// compute that quotient for the drivers' count of places in one go and
// then settle where the drivers would have stopped from the exact
// remainder.

bool useFastDivision(std::size_t quotientDigits, std::size_t divisorDigits) {
    return quotientDigits + divisorDigits >= kFastDivisionDigits;
}

std::size_t trailingZeros(std::string_view s) {
    const std::size_t last = s.find_last_not_of('0');
    return last == std::string_view::npos ? s.size() : s.size() - last - 1;
}

// longerByDigits for A longer than B, both without leading zeros, places
// >= 1: the integer digits of A / B and, unless the division ends with
// them, the point and `places` fraction digits, fewer when the remainder
// becomes zero before (the driver stops at the last digit that is not zero).
std::string longerFast(std::string_view A, std::string_view B, Count places,
                       const fast::CancelCheck& cancel, bool& cut) {
    fast::QuotRem qr = fast::divScaled(A, B, places, &cancel);
    cut = !hasZeroValue(qr.r);
    std::string& q = qr.q;
    const std::size_t fraction = static_cast<std::size_t>(places);
    const std::size_t whole = q.size() - fraction; // A > B: at least one integer digit
    std::size_t keep = fraction;
    if (qr.r == "0") keep -= std::min(fraction, trailingZeros(q));
    q.resize(whole + keep);
    placePoint(q, static_cast<Count>(keep));
    return std::move(q);
}

// notLongerByDigits for m and n without leading zeros, m not zero, m not
// longer than n, m != n, n != "1" and places >= |n| + 2, up to trailing
// fraction zeros, which divide drops: the driver writes the digits of the
// quotient up to the places, and where it goes on past them (a zero-filling
// pass after the last digit that is not zero, or a period copied when the
// remainder comes back to the dividend) or stops before (where the division
// ends) the digits it leaves out or adds are zeros.
std::string notLongerFast(std::string_view m, std::string_view n, Count places,
                          const fast::CancelCheck& cancel, bool& cut) {
    fast::QuotRem qr = fast::divScaled(m, n, places, &cancel);
    cut = !hasZeroValue(qr.r);
    // `places` fraction digits, after the integer digit when m is the same length
    // and larger, else after "0.".
    placePoint(qr.q, places);
    return std::move(qr.q);
}

std::string longerRoute(std::string_view A, std::string_view B, Count places, Progress& progress,
                        bool& cut) {
    if (!B.empty() && A.size() > B.size() && places >= 1 &&
        useFastDivision(A.size() - B.size() + 1 + static_cast<std::size_t>(places), B.size())) {
        const fast::CancelCheck cancel = progress.cancelCheck();
        try {
            return longerFast(A, B, places, cancel, cut);
        } catch (const fast::Cancelled&) {
            return {};
        }
    }
    return longerByDigits(A, B, places, progress, cut);
}

std::string notLongerRoute(std::string_view m, std::string_view n, Count places, Progress& progress,
                           bool& cut) {
    if (m.size() > n.size()) return longerRoute(m, n, places, progress, cut);
    if (!m.empty() && n != "1" && m != n && places >= static_cast<Count>(n.size()) + 2 &&
        useFastDivision(static_cast<std::size_t>(places), n.size())) {
        const fast::CancelCheck cancel = progress.cancelCheck();
        try {
            return notLongerFast(m, n, places, cancel, cut);
        } catch (const fast::Cancelled&) {
            return {};
        }
    }
    return notLongerByDigits(m, n, places, progress, cut);
}

// s / 10^k by moving the point k > 0 places left, without tidying.
std::string shiftPointLeft(std::string s, Count k) {
    Count places = k;
    const std::size_t point = s.find('.');
    if (point != std::string::npos) {
        places += static_cast<Count>(s.size() - point - 1);
        s.erase(point, 1);
    }
    placePoint(s, places);
    return s;
}

} // namespace

std::string divide(std::string_view mv, std::string_view nv, Progress& progress, bool* cut) {
    bool ignored = false;
    bool& remainderLeft = cut ? *cut : ignored;
    remainderLeft = false;
    bool neg = false;
    const TextKind Mk = textKind(mv), Nk = textKind(nv);
    if (Nk == TextKind::Minus && isUnsignedKind(Mk)) {
        nv.remove_prefix(1);
        neg = true;
    } else if (isUnsignedKind(Nk) && Mk == TextKind::Minus) {
        mv.remove_prefix(1);
        neg = true;
    } else if (Nk == TextKind::Minus && Mk == TextKind::Minus) {
        mv.remove_prefix(1);
        nv.remove_prefix(1);
    }

    // Each pass over a long operand takes a while: a cancel is heard
    // between them.
    std::string mCopy, nCopy;
    Count fm = 0, fn = 0;
    const std::string_view M = cleanedDigits(mv, mCopy, fm);
    if (progress.cancelled()) return {};
    const std::string_view N = cleanedDigits(nv, nCopy, fn);
    if (N.empty()) return {}; // a zero divisor; callers refuse it before
    if (progress.cancelled()) return {};

    // The places never fall short of fn - fm, or the point would move right
    // past the computed digits and zeros would stand in for real digits.
    const Count lm = static_cast<Count>(M.size()), ln = static_cast<Count>(N.size());
    const TextOrder order = compareWholeTexts(M, N);
    std::string q;
    if (order == TextOrder::Longer) {
        q = longerRoute(M, N, std::max(lm + 1, fn - fm), progress, remainderLeft);
    } else if (order == TextOrder::Equal && fm == 0 && fn == 0) {
        return neg ? "-1" : "1";
    } else {
        const Count places =
            ln < kLongDivisorDigits ? kShortQuotientPlaces : ln + kLongDivisorExtraPlaces;
        q = notLongerRoute(M, N, std::max(places, fn - fm), progress, remainderLeft);
    }
    std::string().swap(mCopy);
    std::string().swap(nCopy);

    if (fm < fn) {
        std::string scale = zeros(fn - fm);
        scale.insert(scale.begin(), '1');
        q = multiply(q, scale, progress);
    } else if (fm > fn)
        q = shiftPointLeft(q, fm - fn);
    if (neg) q.insert(0, 1, '-');

    const bool hasPoint = q.find('.') != std::string::npos;
    if (hasPoint && !q.empty() && q.back() == '0') dropTrailingZeros(q);
    if (!q.empty() && q.back() == '.') q.pop_back();
    if (!q.empty() && q.front() == '0' && q.find('.') == std::string::npos)
        q = stripLeadingZeros(q);
    return q;
}

std::string divideLonger(std::string_view A, std::string_view B, Count places, Progress& progress) {
    bool cut = false;
    return longerRoute(cleanDigits(A), cleanDigits(B), places, progress, cut);
}

std::string divideLongerByDigits(std::string_view A, std::string_view B, Count places,
                                 Progress& progress) {
    bool cut = false;
    return longerByDigits(cleanDigits(A), cleanDigits(B), places, progress, cut);
}

} // namespace longhand
