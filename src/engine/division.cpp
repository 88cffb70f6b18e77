#include "division.h"

#include "addsub.h"
#include "crossovers.h"
#include "fast/fast.h"
#include "multiply.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace longhand {

namespace {

// A quotient digit is estimated from at most this many leading digits of the
// remainder (one fewer of the divisor when the remainder is a digit longer):
// values of 15 digits are exact in a double.
constexpr Count kEstimateDigits = 15;

// Fraction digits of M / N: Len(M) + 1 when M is longer than N; otherwise
// 20, or Len(N) + 10 once N has this many digits.
constexpr Count kLongDivisorDigits = 16;
constexpr Count kShortQuotientPlaces = 20;
constexpr Count kLongDivisorExtraPlaces = 10;

inline int digitOf(char c) {
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

// Value of the first `count` characters (at most 15 digits: exact).
double leadingValue(std::string_view s, Count count) {
    std::uint64_t v = 0;
    const Count n = std::min<Count>(count, static_cast<Count>(s.size()));
    for (Count i = 0; i < n; ++i)
        v = v * 10 + static_cast<std::uint64_t>(digitOf(s[i]));
    return static_cast<double>(v);
}

// Value of a whole digit string; rounded once it passes 15 digits.
double wholeValue(std::string_view s) {
    if (static_cast<Count>(s.size()) <= kEstimateDigits) return leadingValue(s, kEstimateDigits);
    double v = 0;
    for (char c : s)
        v = v * 10 + digitOf(c);
    return v;
}

// The first guess at rem / div, never below the true digit while rem has at
// most one digit more than div: both prefixes are cut at the same distance
// from the right end. 0 to 9.
int estimateDigit(std::string_view rem, std::string_view div) {
    const Count lr = static_cast<Count>(rem.size());
    const Count ld = static_cast<Count>(div.size());
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

// rem -= d * div, both right-aligned, Len(rem) >= Len(div), digits only.
// Returns the borrow out of the top place: 0 when the result is not
// negative; otherwise rem holds the result plus borrow * 10^Len(rem).
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

// rem += div modulo 10^Len(rem), digits only; returns the carry out of the
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
        s = "0";
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

bool isLess(int code) {
    return code == CmpLess || code == CmpShorter;
}

// A digit string as the drivers need it: digits only (anything else counts
// as 0) and no leading zeros; zero is the empty text.
std::string cleanDigits(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (!out.empty() || (c >= '1' && c <= '9')) out += static_cast<char>('0' + digitOf(c));
    return out;
}

// True when cleanDigits would give s back unchanged.
bool isCleanDigits(std::string_view s) {
    return (s.empty() || s.front() != '0') &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string upperLowerImpl(std::string_view A, std::string_view B, Count desiredDecimal,
                           EngineHost& host) {
    const std::size_t la = A.size(), lb = B.size();
    if (lb == 0) return {};
    std::size_t pos = std::min(la, lb);
    std::string rem(A.substr(0, pos));
    std::string q;
    Count dec = 0;
    bool fraction = false;
    while (dec < desiredDecimal) {
        if (host.cancelled()) break;
        const int code = strCompare(rem, B);
        if (!isLess(code)) {
            q += digitStep(rem, B);
            if (fraction) ++dec;
            continue;
        }
        // rem < B: bring down the next digit of A, or a zero after A's end.
        if (pos < la) {
            if (rem == "0") rem.clear();
            rem += A[pos++];
            if (isLess(strCompare(rem, B))) q += '0';
        } else if (!fraction) {
            if (rem == "0") break; // the quotient is a whole number
            q += '.';
            rem += '0';
            if (isLess(strCompare(rem, B))) {
                q += '0';
                ++dec;
            }
            fraction = true;
        } else {
            if (rem.empty() || rem == "0") break;
            rem += '0';
            if (isLess(strCompare(rem, B))) {
                q += '0';
                ++dec;
            }
        }
    }
    return q;
}

std::string smallQuotientImpl(std::string_view m0, std::string_view n, Count places,
                              EngineHost& host) {
    if (n == "1") return std::string(m0);
    if (n.empty()) return {};
    if (m0.size() > n.size()) return upperLowerImpl(m0, n, places, host);

    std::string m(m0);
    std::string q;
    enum { Start, Fraction, Digits, IntegerDigit } state = Start;
    const int first = strCompare(m, n);
    if (first == CmpEqual) return "1";
    if (first == CmpLess) {
        q = "0.";
        m += '0';
        state = Fraction;
    } else if (first == CmpShorter) {
        q = "0.";
        q.append(n.size() - m.size() - 1, '0');
        m.append(n.size() - m.size(), '0');
        state = Fraction;
    } else {
        state = IntegerDigit; // same length and larger: the first digit is the integer digit
    }
    const bool integerDigitFirst = state == IntegerDigit;

    for (;;) {
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
        if (host.cancelled()) return q;
        const int code = strCompare(m, n);
        if (code == CmpEqual) return q + '1';
        if (isLess(code)) {
            if (code == CmpLess && state == Fraction) {
                m += '0';
                q += '0';
            } else if (code == CmpLess && state == Digits) {
                m += '0'; // one digit longer than n: the next pass yields a digit
            } else if (code == CmpShorter && state == Digits) {
                while (m.size() < n.size()) {
                    m += '0';
                    if (isLess(strCompare(m, n))) q += '0';
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

// ---- The drivers on the truncated quotient ----------------------------------
//
// Both drivers write the exact digits of the quotient, cut off (never
// rounded) after some number of places: their text is floor(M 10^K / N)
// with the point K places from the right. The fast paths compute that
// quotient for the drivers' count of places in one go and then settle
// where the drivers would have stopped from the exact remainder.

bool useFastDivision(std::size_t quotientDigits, std::size_t divisorDigits) {
    return quotientDigits + divisorDigits >= kFastDivisionDigits;
}

// The host's cancellation as the fast arithmetic polls it.
fast::CancelCheck cancelCheckOf(const EngineHost& host) {
    return [&host] { return host.cancelled(); };
}

std::size_t trailingZeros(std::string_view s) {
    const std::size_t last = s.find_last_not_of('0');
    return last == std::string_view::npos ? s.size() : s.size() - last - 1;
}

// UpperLower for A longer than B, both without leading zeros, places >= 1:
// the integer digits of A / B and, unless the division ends with them, the
// point and `places` fraction digits, fewer when the remainder becomes zero
// before (the driver stops at the last digit that is not zero).
std::string upperLowerFast(std::string_view A, std::string_view B, Count places,
                           const fast::CancelCheck& cancel) {
    fast::QuotRem qr = fast::divScaled(A, B, places, &cancel);
    std::string& q = qr.q;
    const std::size_t fraction = static_cast<std::size_t>(places);
    const std::size_t whole = q.size() - fraction; // A > B: at least one integer digit
    std::size_t keep = fraction;
    if (qr.r == "0") keep -= std::min(fraction, trailingZeros(q));
    q.resize(whole + keep);
    if (keep > 0) q.insert(whole, 1, '.');
    return q;
}

// The smallest p > 0 with s[i] = s[i + p] wherever both exist (s not
// empty), from the longest proper border (Knuth, Morris and Pratt).
std::size_t smallestPeriod(std::string_view s) {
    std::vector<std::uint32_t> border(s.size(), 0);
    for (std::size_t i = 1; i < s.size(); ++i) {
        std::uint32_t k = border[i - 1];
        while (k > 0 && s[i] != s[k])
            k = border[k - 1];
        if (s[i] == s[k]) ++k;
        border[i] = k;
    }
    return s.size() - border.back();
}

// The count p <= P of places after which the remainders of S / N come back
// to S (S 10^p = F_p N + S, with F_p the first p fraction digits), or 0 when
// they do not within P places. S < N; F holds the first P fraction digits
// and R the remainder after them.
//
// With 2P digits at hand such a p is the smallest period of all of them:
// two periods whose sum is at most the length of a text leave their
// greatest common divisor a period too (Fine and Wilf), and a period of a
// remainder cycle is one of the digits for ever. The candidate is then
// checked on the numbers.
std::size_t returnPeriod(std::string_view S, std::string_view N, std::string_view F,
                         std::string_view R, std::size_t P, const fast::CancelCheck& cancel) {
    const std::string more = fast::divScaled(R, N, static_cast<std::int64_t>(P), &cancel).q;
    std::string digits;
    digits.reserve(2 * P);
    digits.append(F);
    digits.append(P - more.size(), '0'); // R < N: fewer than P + 1 digits
    digits.append(more);
    const std::size_t p = smallestPeriod(digits);
    if (p > P) return 0;
    const std::string lhs =
        fast::addDigits(fast::mulDigits(N, std::string_view(digits).substr(0, p), &cancel), S);
    std::string rhs(S);
    rhs.append(p, '0');
    return fast::compareDigits(lhs, rhs) == 0 ? p : 0;
}

// smallQuotient for m and n without leading zeros, m not zero, Len(m) <=
// Len(n), m != n, n != "1" and places >= Len(n) + 2.
//
// The driver writes P = places fraction digits, except that
// - a division that ends at the t-th place (t <= P) stops there;
// - when the last digit that is not zero up to the P-th place is the t-th,
//   t < P, the remainder after it is shorter than n and one zero-filling
//   pass brings it up to n's length, writing a zero for every step that
//   stays below n: that pass can run past the P-th place (the places there
//   are zeros too). Unless the driver saw its remainder come back to the
//   dividend on the way: then it copied the period up to exactly P places.
// With exactTail false the zeros past the P-th place are left off: they
// are trailing fraction zeros, which bigdivision drops anyway.
std::string smallQuotientFast(std::string_view m, std::string_view n, Count places, bool exactTail,
                              const fast::CancelCheck& cancel) {
    const std::size_t P = static_cast<std::size_t>(places);
    const std::size_t ln = n.size();
    // Same length and larger: the first digit is the integer digit.
    const bool integerDigit = m.size() == ln && m > n;
    const fast::QuotRem qr = fast::divScaled(m, n, places, &cancel);

    // "0." or the integer digit and ".", then the P fraction digits.
    std::string q;
    q.reserve(P + 2 + ln);
    if (integerDigit) {
        q += qr.q[0];
        q += '.';
        q.append(qr.q, 1);
    } else {
        q += "0.";
        q.append(P - qr.q.size(), '0');
        q.append(qr.q);
    }
    // q[i] is the (i - 1)-th place; t = 0 when no fraction digit is nonzero.
    const std::size_t t = q.find_last_not_of('0') - 1;
    if (qr.r == "0") {
        q.resize(t + 2);
        return q;
    }
    if (t == P || !exactTail) return q;

    // The remainder after the t-th place: the places up to the P-th are
    // zeros, so it is R without its last P - t digits.
    std::string_view rt(qr.r);
    rt.remove_suffix(P - t);
    if (rt.size() >= ln) return q; // not reached: a digit would follow at once
    const std::size_t s = ln - rt.size();
    const int lead = rt.compare(n.substr(0, rt.size()));
    const bool below = lead < 0 || (lead == 0 && n.find_first_not_of('0', rt.size()) != n.npos);
    const std::size_t K = t + s - (below ? 0 : 1);
    if (K <= P) return q;

    bool copied = false;
    if (!integerDigit && rt == m) {
        copied = true; // back at the dividend right here
    } else {
        // The remainders follow r -> 10 r mod n from S, the one after the
        // integer digit (m itself when there is none). The driver compares
        // its working remainder with m: without an integer digit it meets
        // m at the p-th place when that place is a digit step, or the end
        // of a zero-filling pass (m as long as n); with one, the working
        // remainder 10 r equals m one place before each return to S whose
        // digit is the integer digit. Both repeat with the period.
        const std::string S =
            integerDigit ? fast::subDigits(m, fast::mulDigits(n, std::string_view(q).substr(0, 1)))
                         : std::string(m);
        const std::string_view F = std::string_view(q).substr(2, P);
        const std::size_t p = returnPeriod(S, n, F, qr.r, P, cancel);
        if (p == 0)
            copied = false;
        else if (integerDigit)
            copied = F[p - 1] == q[0];
        else
            copied = p <= t && (F[p - 1] != '0' || m.size() == ln);
    }
    if (!copied) q.append(K - P, '0');
    return q;
}

std::string upperLowerRoute(std::string_view A, std::string_view B, Count desiredDecimal,
                            bool reference, EngineHost& host) {
    if (!reference && !B.empty() && A.size() > B.size() && desiredDecimal >= 1 &&
        useFastDivision(A.size() - B.size() + 1 + static_cast<std::size_t>(desiredDecimal),
                        B.size())) {
        const fast::CancelCheck cancel = cancelCheckOf(host);
        try {
            return upperLowerFast(A, B, desiredDecimal, cancel);
        } catch (const fast::Cancelled&) {
            return {};
        }
    }
    return upperLowerImpl(A, B, desiredDecimal, host);
}

std::string smallQuotientRoute(std::string_view m, std::string_view n, Count places, bool exactTail,
                               bool reference, EngineHost& host) {
    if (m.size() > n.size()) return upperLowerRoute(m, n, places, reference, host);
    if (!reference && !m.empty() && n != "1" && m != n &&
        places >= static_cast<Count>(n.size()) + 2 &&
        useFastDivision(static_cast<std::size_t>(places), n.size())) {
        const fast::CancelCheck cancel = cancelCheckOf(host);
        try {
            return smallQuotientFast(m, n, places, exactTail, cancel);
        } catch (const fast::Cancelled&) {
            return {};
        }
    }
    return smallQuotientImpl(m, n, places, host);
}

// bigdivision with the fast drivers, or with the digit-by-digit ones only.
std::string divide(std::string m, std::string n, bool reference, EngineHost& host) {
    if (host.soundOn()) host.stopSound();

    std::string_view mv = m, nv = n;
    bool neg = false;
    const int Mk = leadCharKind(mv), Nk = leadCharKind(nv);
    const bool mPlain = Mk == KindDigit || Mk == KindPoint;
    const bool nPlain = Nk == KindDigit || Nk == KindPoint;
    if (Nk == KindMinus && mPlain) {
        nv.remove_prefix(1);
        neg = true;
    } else if (nPlain && Mk == KindMinus) {
        mv.remove_prefix(1);
        neg = true;
    } else if (Nk == KindMinus && Mk == KindMinus) {
        mv.remove_prefix(1);
        nv.remove_prefix(1);
    }

    std::string M(mv), N(nv);
    m.clear();
    m.shrink_to_fit();
    n.clear();
    n.shrink_to_fit();
    const Count fm = normalizeNumber(M);
    const Count fn = normalizeNumber(N);
    if (!isCleanDigits(M)) M = cleanDigits(M);
    if (!isCleanDigits(N)) N = cleanDigits(N);
    if (N.empty()) return {}; // a zero divisor; callers refuse it before

    // The places never fall short of fn - fm, or the point would move right
    // past the computed digits and zeros would stand in for real digits.
    const Count lm = static_cast<Count>(M.size()), ln = static_cast<Count>(N.size());
    const int code = strCompare(M, N);
    std::string q;
    if (code == CmpLonger) {
        q = upperLowerRoute(M, N, std::max(lm + 1, fn - fm), reference, host);
    } else if (code == CmpEqual && fm == 0 && fn == 0) {
        return neg ? "-1" : "1";
    } else {
        const Count places =
            ln < kLongDivisorDigits ? kShortQuotientPlaces : ln + kLongDivisorExtraPlaces;
        // Zeros the zero-filling pass writes past the last place are
        // trailing fraction zeros, dropped below.
        q = smallQuotientRoute(M, N, std::max(places, fn - fm), false, reference, host);
    }
    M.clear();
    M.shrink_to_fit();
    N.clear();
    N.shrink_to_fit();

    if (fm < fn)
        q = bigMultifly(std::move(q), "1" + makePower10(fn - fm), host);
    else if (fm > fn)
        q = shiftPointLeft(q, fm, fn);
    if (neg) q.insert(0, 1, '-');

    const bool hasPoint = q.find('.') != std::string::npos;
    if (hasPoint && !q.empty() && q.back() == '0') noEndingZero(q);
    if (!q.empty() && q.back() == '.') q.pop_back();
    if (!q.empty() && q.front() == '0' && q.find('.') == std::string::npos)
        q = stripLeadingZeros(q);
    return q;
}

} // namespace

std::string bigdivision(std::string m, std::string n, EngineHost& host) {
    return divide(std::move(m), std::move(n), false, host);
}

std::string bigdivisionReference(std::string m, std::string n, EngineHost& host) {
    return divide(std::move(m), std::move(n), true, host);
}

std::string UpperLower(std::string A, const std::string& B, Count desiredDecimal,
                       EngineHost& host) {
    return upperLowerRoute(cleanDigits(A), cleanDigits(B), desiredDecimal, false, host);
}

std::string UpperLowerReference(std::string A, const std::string& B, Count desiredDecimal,
                                EngineHost& host) {
    return upperLowerImpl(cleanDigits(A), cleanDigits(B), desiredDecimal, host);
}

std::string smallQuotient(std::string m, const std::string& n, Count places, EngineHost& host) {
    return smallQuotientRoute(cleanDigits(m), cleanDigits(n), places, true, false, host);
}

std::string smallQuotientReference(std::string m, const std::string& n, Count places,
                                   EngineHost& host) {
    return smallQuotientImpl(cleanDigits(m), cleanDigits(n), places, host);
}

std::string nextQuotientDigit(std::string& rem, const std::string& div, EngineHost& host) {
    if (rem.size() < div.size()) {
        host.showMessage(kAbnormalcy);
        return "0";
    }
    // Guess, then test the guess by multiplying and subtracting; lower it
    // until the remainder is not negative.
    for (int d = estimateDigit(rem, div); d >= 0; --d) {
        const std::string digit(1, static_cast<char>('0' + d));
        std::string r = rcSub(rem, multiplyByDigit(digit, div));
        if (!r.empty() && r.front() == '-') continue;
        rem = std::move(r);
        return digit;
    }
    return "0"; // rem is zero and div has zeros only: nothing to take away
}

std::string multiplyByDigit(const std::string& digit, const std::string& num) {
    if (digit == "1") return num;
    const int d = digit.empty() ? 0 : digitOf(digit.front());
    // The top position keeps its whole product, so the text can be one longer.
    std::string out(num.size() + 1, '0');
    int carry = 0;
    for (std::size_t i = num.size(); i-- > 0;) {
        const int s = d * digitOf(num[i]) + carry;
        carry = s / 10;
        out[i + 1] = static_cast<char>('0' + s % 10);
    }
    if (carry > 0)
        out[0] = static_cast<char>('0' + carry);
    else
        out.erase(0, 1);
    return out;
}

std::string shiftPointLeft(const std::string& s, Count f1, Count f2) {
    const Count k = f1 - f2;
    if (k <= 0) return s;
    std::string digits = s;
    Count before = static_cast<Count>(s.size());
    const std::size_t point = s.find('.');
    if (point != std::string::npos) {
        before = static_cast<Count>(point);
        digits.erase(point, 1);
    }
    if (before > k) {
        digits.insert(static_cast<std::size_t>(before - k), 1, '.');
        return digits;
    }
    std::string out;
    out.reserve(digits.size() + static_cast<std::size_t>(k - before) + 2);
    out += "0.";
    out.append(static_cast<std::size_t>(k - before), '0');
    out += digits;
    return out;
}

} // namespace longhand
