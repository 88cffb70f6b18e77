#include "fraction.h"

#include "digits.h"
#include "engine/estimate.h"
#include "engine/fast/fast.h"
#include "engine/fast/size_limits.h"
#include "engine/power.h"
#include "refusal.h"

#include <cmath>
#include <limits>
#include <vector>

namespace longhand::expr {

namespace {

bool isOne(std::string_view d) {
    return d == "1";
}

// A digit string of up to 19 digits as a number, or nothing.
std::optional<std::uint64_t> smallDigits(std::string_view d) {
    if (d.size() > 19) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : d) {
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (v > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        v = v * 10 + digit;
    }
    return v;
}

// About log10 of a digit string's value (0 for "0" and "1").
double log10Digits(std::string_view d) {
    const std::size_t lead = std::min<std::size_t>(d.size(), 15);
    double top = 0;
    for (std::size_t i = 0; i < lead; ++i)
        top = top * 10 + (d[i] - '0');
    if (top <= 0) return 0;
    return std::log10(top) + static_cast<double>(d.size() - lead);
}

std::string exactQuotient(std::string_view a, std::string_view b, const fast::CancelCheck* cancel) {
    if (isOne(b)) return std::string(a);
    return digits::divide(a, b, cancel).q;
}

std::string product(std::string_view a, std::string_view b, const fast::CancelCheck* cancel) {
    if (isOne(a)) return std::string(b);
    if (isOne(b)) return std::string(a);
    checkResultSize(static_cast<double>(a.size() + b.size()));
    return digits::mul(a, b, cancel);
}

// Signed sum of two signed digit strings.
void signedAdd(bool& negative, std::string& digits, bool otherNegative, std::string_view other) {
    if (negative == otherNegative) {
        checkResultSize(static_cast<double>(std::max(digits.size(), other.size()) + 1));
        digits = fast::addDigits(digits, other);
        return;
    }
    const int order = fast::compareDigits(digits, other);
    if (order == 0) {
        digits = "0";
        negative = false;
    } else if (order > 0) {
        digits = fast::subDigits(digits, other);
    } else {
        digits = fast::subDigits(other, digits);
        negative = otherNegative;
    }
}

// digits / 10^scale in lowest terms.
Fraction decimalFraction(std::string digits, std::int64_t scale, bool negative,
                         const fast::CancelCheck* cancel) {
    Fraction f;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty()) return f;
    const std::int64_t twos = stripFactor(digits, 2, scale, cancel);
    const std::int64_t fives = stripFactor(digits, 5, scale, cancel);
    f.negative = negative;
    f.num = std::move(digits);
    if (scale == 0) return f;
    const std::string twoPart = digits::pow("2", static_cast<std::uint64_t>(scale - twos), cancel);
    const std::string fivePart =
        digits::pow("5", static_cast<std::uint64_t>(scale - fives), cancel);
    f.den = product(twoPart, fivePart, cancel);
    return f;
}

} // namespace

// The powers p, p^2, p^4 ... are tried upwards while they divide, then
// downwards, so that a large count costs a few long divisions, not one per
// factor.
std::int64_t stripFactor(std::string& digits, int p, std::int64_t cap,
                         const fast::CancelCheck* cancel) {
    std::int64_t count = 0;
    std::vector<std::string> powers{std::to_string(p)};
    auto divides = [&](const std::string& d) {
        const char last = digits.back();
        if (p == 2 ? (last - '0') % 2 != 0 : (last != '0' && last != '5')) return false;
        fast::QuotRem qr = digits::divide(digits, d, cancel);
        if (qr.r != "0") return false;
        digits = std::move(qr.q);
        return true;
    };
    std::int64_t step = 1;
    while (count + step <= cap && divides(powers.back())) {
        count += step;
        step *= 2;
        powers.push_back(digits::mul(powers.back(), powers.back(), cancel));
    }
    for (std::size_t j = powers.size() - 1; j-- > 0;) {
        step /= 2;
        if (count + step <= cap && divides(powers[j])) count += step;
    }
    return count;
}

Fraction Fraction::integer(std::string digits, bool negative) {
    Fraction f;
    f.num = std::move(digits);
    f.negative = negative && f.num != "0";
    return f;
}

void checkResultSize(double digits) {
    if (!(digits <= fast::kMaxResultDigits)) throw Refused(RefusalKind::TooLong);
    // Short results need no look at the free memory.
    if (digits < 1e6) return;
    const double log10Length = std::log10(digits);
    if (const std::optional<std::uint64_t> free = availableMemory()) {
        // The data is the result's length as its log10, for the words.
        if (memoryRefusal({log10Length, log10Length}, *free))
            throw Refused(RefusalKind::NotEnoughMemory, std::to_string(log10Length));
    }
}

std::string gcdOf(std::string_view a, std::string_view b, const fast::CancelCheck* cancel) {
    if (isOne(a) || isOne(b)) return "1";
    return digits::gcd(a, b, cancel);
}

std::optional<Fraction> fromNumberText(std::string_view text, const fast::CancelCheck* cancel) {
    if (!isNumberText(text)) return std::nullopt;
    const bool negative = !text.empty() && text.front() == '-';
    std::string digits(negative ? text.substr(1) : text);
    const Count scale = toDigitsAndScale(digits);
    return decimalFraction(std::move(digits), scale, negative, cancel);
}

std::string fractionText(const Fraction& value) {
    std::string text = value.negative ? "-" : "";
    text += value.num;
    if (!value.isInteger()) text += "/" + value.den;
    return text;
}

std::optional<Fraction> parseFractionText(std::string_view text, const fast::CancelCheck* cancel) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t slash = text.find('/');
    std::string num(text.substr(0, slash));
    std::string den(slash == std::string_view::npos ? "1" : text.substr(slash + 1));
    if (num.empty() || den.empty() || !allDigitChars(num) || !allDigitChars(den))
        return std::nullopt;
    stripLeadingZeros(num);
    stripLeadingZeros(den);
    if (num.empty()) num = "0";
    if (den.empty()) return std::nullopt;
    Fraction f = Fraction::integer(num, negative);
    if (f.isZero()) return f;
    const std::string g = gcdOf(num, den, cancel);
    f.num = exactQuotient(num, g, cancel);
    f.den = exactQuotient(den, g, cancel);
    return f;
}

Fraction negate(Fraction a) {
    if (!a.isZero()) a.negative = !a.negative;
    return a;
}

Fraction add(const Fraction& a, const Fraction& b, const fast::CancelCheck* cancel) {
    if (a.isZero()) return b;
    if (b.isZero()) return a;
    Fraction sum;
    if (a.isInteger() && b.isInteger()) {
        sum = a;
        signedAdd(sum.negative, sum.num, b.negative, b.num);
        return sum;
    }
    // Henrici's sum: the common factor of the denominators comes out first,
    // so the gcd that remains is taken with that factor only.
    const std::string g = gcdOf(a.den, b.den, cancel);
    const std::string aRest = exactQuotient(a.den, g, cancel);
    const std::string bRest = exactQuotient(b.den, g, cancel);
    sum.negative = a.negative;
    sum.num = product(a.num, bRest, cancel);
    signedAdd(sum.negative, sum.num, b.negative, product(b.num, aRest, cancel));
    if (sum.num == "0") return Fraction{};
    const std::string g2 = gcdOf(sum.num, g, cancel);
    sum.num = exactQuotient(sum.num, g2, cancel);
    sum.den = product(aRest, exactQuotient(b.den, g2, cancel), cancel);
    return sum;
}

Fraction subtract(const Fraction& a, const Fraction& b, const fast::CancelCheck* cancel) {
    return add(a, negate(b), cancel);
}

Fraction multiply(const Fraction& a, const Fraction& b, const fast::CancelCheck* cancel) {
    if (a.isZero() || b.isZero()) return Fraction{};
    // Each numerator cancels against the other denominator: both pairs are
    // smaller than the product's, and the result is in lowest terms.
    const std::string g1 = gcdOf(a.num, b.den, cancel);
    const std::string g2 = gcdOf(b.num, a.den, cancel);
    Fraction p;
    p.negative = a.negative != b.negative;
    p.num = product(exactQuotient(a.num, g1, cancel), exactQuotient(b.num, g2, cancel), cancel);
    p.den = product(exactQuotient(a.den, g2, cancel), exactQuotient(b.den, g1, cancel), cancel);
    return p;
}

Fraction divide(const Fraction& a, const Fraction& b, const fast::CancelCheck* cancel) {
    if (b.isZero()) throw Refused(RefusalKind::DivisionByZero);
    Fraction inverse;
    inverse.negative = b.negative;
    inverse.num = b.den;
    inverse.den = b.num;
    return multiply(a, inverse, cancel);
}

Fraction power(const Fraction& a, const Fraction& e, const fast::CancelCheck* cancel) {
    if (!e.isInteger()) throw Refused(RefusalKind::ExponentNotWhole);
    if (e.isZero()) return Fraction::integer("1");
    if (a.isZero()) {
        if (e.negative) throw Refused(RefusalKind::DivisionByZero);
        return Fraction{};
    }
    const bool odd = (e.num.back() - '0') % 2 != 0;
    Fraction p;
    p.negative = a.negative && odd;
    if (isOne(a.num) && isOne(a.den)) return Fraction::integer("1", p.negative);
    const std::optional<std::uint64_t> times = smallDigits(e.num);
    const double digits =
        times ? static_cast<double>(*times) * std::max(log10Digits(a.num), log10Digits(a.den)) + 1
              : std::numeric_limits<double>::infinity();
    if (!(digits <= static_cast<double>(kMaxPowerDigits))) throw Refused(RefusalKind::TooLong);
    checkResultSize(digits);
    std::string num = isOne(a.num) ? "1" : digits::pow(a.num, *times, cancel);
    std::string den = isOne(a.den) ? "1" : digits::pow(a.den, *times, cancel);
    // Powers of coprime numbers stay coprime.
    p.num = e.negative ? std::move(den) : std::move(num);
    p.den = e.negative ? std::move(num) : std::move(den);
    return p;
}

Fraction roundTo(const Fraction& x, std::int64_t k, const fast::CancelCheck* cancel) {
    if (k < 0) throw Refused(RefusalKind::Negative, "round");
    checkResultSize(static_cast<double>(x.num.size()) + static_cast<double>(k));
    fast::QuotRem qr = digits::divideScaled(x.num, x.den, k, cancel);
    const std::string twice = fast::addDigits(qr.r, qr.r);
    if (fast::compareDigits(twice, x.den) >= 0) qr.q = fast::addDigits(qr.q, "1");
    return decimalFraction(std::move(qr.q), k, x.negative, cancel);
}

std::optional<std::uint64_t> smallWhole(const Fraction& value) {
    if (!value.isInteger() || value.negative) return std::nullopt;
    return smallDigits(value.num);
}

} // namespace longhand::expr
