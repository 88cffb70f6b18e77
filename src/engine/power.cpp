#include "power.h"

#include "crossovers.h"
#include "fast/fast.h"
#include "multiply.h"
#include "operations.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace longhand {

namespace {

// The pieces of a base: its digit string without sign, point and (for an
// integer) trailing zeros, its scale and zero count.
struct BaseParts {
    bool negative = false;
    std::string digits;
    Count scale = 0;
    Count zeros = 0;
};

BaseParts splitBase(std::string_view text) {
    BaseParts parts;
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
        parts.negative = true;
    }
    parts.digits = std::string(text);
    parts.scale = toDigitsAndScale(parts.digits);
    if (parts.scale == 0 && !parts.digits.empty() && parts.digits.back() == '0')
        parts.zeros = dropTrailingZeros(parts.digits);
    return parts;
}

// Exponents of up to this many digits are counted exactly.
constexpr std::size_t kCountedExponentDigits = 15;
// Leading digits of the base read for its logarithm: a 64-bit integer holds
// them, and a long double (64-bit mantissa) holds that exactly.
constexpr std::size_t kLogDigits = 19;
// The relative error of log10l and of the products and sums below, with
// room to spare: a few units in the last place of a 64-bit mantissa.
constexpr long double kLogError = 0x1p-58L;

// log10 of a digit string without leading zeros, from above.
struct LogBounds {
    long double high = 0;
};

LogBounds logBounds(const std::string& digits) {
    const std::size_t lead = std::min(digits.size(), kLogDigits);
    std::uint64_t leading = 0;
    for (std::size_t i = 0; i < lead; ++i)
        leading = leading * 10 + digitOf(digits[i]);
    const long double x = std::log10(static_cast<long double>(leading)) +
                          static_cast<long double>(digits.size() - lead);
    LogBounds b{x * (1 + kLogError)};
    // The digits left out add less than log10(1 + 10^(1 - lead)), below
    // 10^(1 - lead) / ln 10 < 10^(1 - lead).
    if (digits.size() > lead) b.high += std::pow(10.0L, 1.0L - static_cast<long double>(lead));
    return b;
}

// Characters of the base's digit string to the power p: floor(p log10 d) + 1.
long double powerDigits(const std::string& digits, long double p) {
    if (digits == "1") return 1;
    // From above: one character too many only where p log10 d lies so close
    // to a whole number that the margin reaches across it.
    return std::floor(p * logBounds(digits).high * (1 + kLogError)) + 1;
}

// A count held as a floating-point value, as a text length (rounded to the
// nearest whole number, ties to even).
Count toCount(double v) {
    return v > 0 ? static_cast<Count>(std::nearbyint(v)) : 0;
}

// base ^ p for a number text and a whole exponent, not too long to hold:
// the digits' power, then the point and the zeros put back. Zero is the
// empty text.
std::string raise(std::string_view baseText, std::string_view p, Progress& progress) {
    if (baseText == "1") return "1";
    if (hasZeroValue(p) && hasZeroValue(baseText)) return "0";
    if (p == "0") return "1";

    const BaseParts base = splitBase(baseText);
    if (base.digits.empty()) return {}; // the base is zero
    const double pv = numericValue(p);
    const double fr = base.scale > 0 ? static_cast<double>(base.scale) * pv : 0;
    const double tz = base.scale == 0 ? static_cast<double>(base.zeros) * pv : 0;

    std::string r = "1";
    if (base.digits != "1") {
        const auto times = static_cast<std::uint64_t>(pv >= 1 ? std::floor(pv) : 0);
        if (times >= 1 && static_cast<double>(base.digits.size()) * static_cast<double>(times) >=
                              static_cast<double>(kFastPowerDigits))
            r = powerBySquaring(base.digits, times, progress);
        else
            r = powerByRepeatedMultiplication(base.digits, times, progress);
        // Given up: the zeros and the point need not be put back.
        if (progress.cancelled()) return {};
    }

    if (tz > 0) r.append(static_cast<std::size_t>(toCount(tz)), '0');
    placePoint(r, toCount(fr), BelowOne::Point);
    if (base.negative && std::fmod(std::nearbyint(pv), 2.0) != 0) r.insert(0, 1, '-');
    return r;
}

} // namespace

Outcome power(std::string_view base, std::string_view exponent, Progress& progress) {
    if (!isNumberText(base)) return Outcome::refused(RefusalKind::MalformedOperand, 0);
    if (!exponentIsWhole(exponent)) return Outcome::refused(RefusalKind::ExponentNotWhole, 1);
    if (powerTooLong(base, exponent))
        return Outcome::refused(
            {RefusalKind::PowerTooLong, 1, powerLength(base, exponent), kMaxPowerDigits});
    std::string r = raise(base, exponent, progress);
    if (progress.cancelled()) return Outcome::cancelled();
    return Outcome::result(shownResult(std::move(r)));
}

std::string powerByRepeatedMultiplication(std::string_view digits, std::uint64_t times,
                                          Progress& progress) {
    std::string r = "1";
    for (std::uint64_t i = 1; i <= times; ++i) {
        if (progress.cancelled()) return r;
        const Progress::Stage step(progress,
                                   static_cast<double>(i - 1) / static_cast<double>(times),
                                   static_cast<double>(i) / static_cast<double>(times));
        r = multiply(digits, r, progress);
    }
    return r;
}

// Binary exponentiation on the fast layer, which measures its squares and
// products for the progress bar.
std::string powerBySquaring(std::string_view digits, std::uint64_t times, Progress& progress) {
    if (times == 0) return "1";
    const fast::CancelCheck cancel = progress.cancelCheck();
    try {
        return fast::powDigits(digits, times, &cancel);
    } catch (const fast::Cancelled&) {
        return {};
    }
}

bool exponentIsWhole(std::string_view p) {
    std::size_t i = 0;
    while (i < p.size() && p[i] >= '0' && p[i] <= '9')
        ++i;
    if (i == p.size()) return true;
    if (p[i] != '.') return false;
    for (++i; i < p.size(); ++i)
        if (p[i] != '0') return false;
    return true;
}

double powerLength(std::string_view base, std::string_view p) {
    std::string_view whole = p.substr(0, p.find('.'));
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    const BaseParts parts = splitBase(base);
    // "1" for a zero exponent, "0" for a zero base.
    if (whole.empty() || parts.digits.empty()) return 0;
    if (parts.digits == "1" && parts.scale == 0 && parts.zeros == 0) {
        const bool odd = digitOf(whole.back()) % 2 != 0;
        return std::log10(parts.negative && odd ? 2.0 : 1.0); // "1" or "-1"
    }
    if (whole.size() > kCountedExponentDigits) {
        // At least one character per factor for every base but 0 and 1 and
        // at most all of the base's: the size is all that matters here.
        const double perFactor = static_cast<double>(parts.digits.size() + parts.zeros) +
                                 static_cast<double>(parts.scale);
        return static_cast<double>(whole.size() - 1) +
               std::log10(numericValue(whole.substr(0, kCountedExponentDigits)) /
                          std::pow(10.0, kCountedExponentDigits - 1)) +
               std::log10(perFactor);
    }
    const auto pv = static_cast<long double>(std::stoull(std::string(whole)));
    const long double digits = powerDigits(parts.digits, pv);
    const long double sign = parts.negative && std::fmod(pv, 2.0L) != 0 ? 1 : 0;
    const long double chars =
        parts.scale > 0 ? std::max(digits, pv * static_cast<long double>(parts.scale)) + 1 + sign
                        : digits + pv * static_cast<long double>(parts.zeros) + sign;
    return static_cast<double>(std::log10(chars));
}

bool powerTooLong(std::string_view base, std::string_view p) {
    return powerLength(base, p) > std::log10(static_cast<double>(kMaxPowerDigits));
}

} // namespace longhand
