#include "power.h"

#include "crossovers.h"
#include "fast/natural.h"
#include "multiply.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace longhand {

namespace {

// The pieces of a base as raisePower uses them: its digit string without
// sign, point and (for an integer) trailing zeros, its scale and zero count.
struct BaseParts {
    bool negative = false;
    std::string digits;
    Count scale = 0;
    Count zeros = 0;
};

BaseParts splitBase(std::string& B) {
    BaseParts parts;
    if (!B.empty() && B.front() == '-') {
        B.erase(0, 1);
        parts.negative = true;
    }
    parts.scale = normalizeNumber(B);
    if (parts.scale == 0 && !B.empty() && B.back() == '0') parts.zeros = noEndingZero(B);
    parts.digits = B;
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

// digits^times for a digit string without leading or trailing zeros, by
// left-to-right binary exponentiation on the fast layer's limbs (one square
// per bit of the exponent, one product by the base per set bit). The host
// hears the share done after each square: the length of the power so far
// grows with the exponent bits read, and so, about, does each step's cost.
// "" when cancelled.
std::string powerBySquaring(const std::string& digits, std::uint64_t times, EngineHost& host) {
    const fast::CancelCheck cancel = [&host] { return host.cancelled(); };
    try {
        const fast::Natural base = fast::fromDigits(digits);
        fast::Natural r = base;
        const int top = std::bit_width(times) - 1;
        double total = 0, done = 0;
        for (int bit = top - 1; bit >= 0; --bit)
            total += static_cast<double>(times >> bit);
        for (int bit = top - 1; bit >= 0; --bit) {
            r = fast::sqr(r, &cancel);
            if ((times >> bit) & 1) r = fast::mul(r, base, &cancel);
            done += static_cast<double>(times >> bit);
            host.progress(done / total);
        }
        return fast::toDigits(r);
    } catch (const fast::Cancelled&) {
        return {};
    }
}

// raisePower, with the long powers by squaring or, as a reference, all by
// repeated multiplication.
std::string power(std::string& B, const std::string& p, bool reference, EngineHost& host) {
    if (B == "1") return "1";
    // Zero to the power zero is "0" however either zero is written
    // ("00", "-0", "0.0", "-" ^ "00", "0.", ""); any other base gives "1".
    if (zeroValued(p) && zeroValued(B)) return "0";
    if (p == "0") return "1";

    std::string r = "1";
    const BaseParts base = splitBase(B);
    if (B.empty()) return {}; // the base is zero
    // The factors must be digits; a second point or an inner "-" would turn
    // every multiplication into a failure (or worse, into a valid-looking
    // factor such as "12.3" made from "1.2.3").
    if (B.find_first_not_of("0123456789") != std::string::npos) {
        host.showMessage(kMultiplyFailed);
        return {};
    }
    const double pv = numericValue(p);
    if (lengthBound(base, pv) > static_cast<double>(kMaxPowerDigits)) {
        host.showMessage(kPowerTooLong);
        return {};
    }
    const double fr = base.scale > 0 ? static_cast<double>(base.scale) * pv : 0;
    const double tz = base.scale == 0 ? static_cast<double>(base.zeros) * pv : 0;

    // The digits' power; point and zeros wait. Long powers by squaring,
    // short ones by one multiplication per unit of the exponent: both give
    // the power's digits without leading zeros.
    if (B != "1") {
        const Count times = pv >= 1 ? static_cast<Count>(std::floor(pv)) : 0;
        if (!reference && times >= 1 &&
            static_cast<double>(B.size()) * static_cast<double>(times) >=
                static_cast<double>(kFastPowerDigits)) {
            r = powerBySquaring(B, static_cast<std::uint64_t>(times), host);
            if (r.empty()) return r;
        } else {
            for (Count i = 1; i <= times; ++i) {
                if (host.cancelled()) return r;
                r = bigMultifly(B, std::move(r), host);
                if (r.empty()) return r; // the multiplication failed and said so
                host.progress(static_cast<double>(i) / static_cast<double>(times));
            }
        }
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

std::string raisePower(std::string& B, const std::string& p, EngineHost& host) {
    return power(B, p, false, host);
}

std::string raisePowerReference(std::string& B, const std::string& p, EngineHost& host) {
    return power(B, p, true, host);
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

bool powerTooLong(std::string_view B, std::string_view p) {
    std::string base(B);
    if (base == "1") return false;
    const std::string exponent(p);
    if (exponent == "0") return false;
    const BaseParts parts = splitBase(base);
    if (parts.digits.empty()) return false;
    return lengthBound(parts, numericValue(exponent)) > static_cast<double>(kMaxPowerDigits);
}

} // namespace longhand
