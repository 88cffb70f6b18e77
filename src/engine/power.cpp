#include "power.h"

#include "crossovers.h"
#include "fast/fast.h"
#include "multiply.h"
#include "operations.h"

#include <cmath>

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

// A number text of value zero: after an optional "-", nothing but zeros and
// at most one point (the empty text included).
bool zeroValued(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    return isNumberText(text) && text.find_first_not_of("0.") == std::string_view::npos;
}

// An upper bound of the power's length in characters.
double lengthBound(const BaseParts& base, double p) {
    if (!(p > 0)) return 1;
    const double perFactor =
        static_cast<double>(base.digits.size() + base.zeros) + static_cast<double>(base.scale);
    return perFactor * p + 2;
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
    if (zeroValued(p) && zeroValued(baseText)) return "0";
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
    if (fr > 0) {
        const Count f = toCount(fr);
        const Count L = static_cast<Count>(r.size());
        if (L > f) {
            r.insert(static_cast<std::size_t>(L - f), 1, '.');
        } else {
            std::string placed;
            placed.reserve(static_cast<std::size_t>(f + 1));
            placed += '.';
            placed.append(static_cast<std::size_t>(f - L), '0');
            placed += r;
            r.swap(placed);
        }
    }
    if (base.negative && std::fmod(std::nearbyint(pv), 2.0) != 0) r.insert(0, 1, '-');
    return r;
}

} // namespace

Outcome power(std::string_view base, std::string_view exponent, Progress& progress) {
    if (!isNumberText(base)) return Outcome::refused(kMalformedOperand);
    if (!exponentIsWhole(exponent)) return Outcome::refused(kExponentNotWhole);
    if (powerTooLong(base, exponent)) return Outcome::refused(kPowerTooLong);
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

bool powerTooLong(std::string_view base, std::string_view p) {
    if (base == "1" || p == "0") return false;
    const BaseParts parts = splitBase(base);
    if (parts.digits.empty()) return false;
    return lengthBound(parts, numericValue(p)) > static_cast<double>(kMaxPowerDigits);
}

} // namespace longhand
