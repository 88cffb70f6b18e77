#include "lengthline.h"

#include "engine/refusal.h"

#include <cmath>
#include <cstdio>

namespace longhand {

namespace {

std::string counted(Count n, const char* one, const char* many) {
    return withThousands(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string aboutLength(double log10Length) {
    constexpr double kPlainBelow = 6;
    if (log10Length == kNoLength) return "0";
    if (log10Length < kPlainBelow)
        return std::to_string(static_cast<long long>(std::llround(std::pow(10.0, log10Length))));
    double exponent = std::floor(log10Length);
    double mantissa = std::round(std::pow(10.0, log10Length - exponent) * 10) / 10;
    if (mantissa >= 10) {
        mantissa = 1;
        exponent += 1;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.1f \xC3\x97 10^%.0f", mantissa, exponent);
    return text;
}

std::string withThousands(Count n) {
    const std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out = n < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string lengthLineText(const NumberShape& shape, bool cut, Count caret) {
    if (shape.length == 0) return {};
    std::string line;
    if (shape.point < 0 || shape.integerDigits() > 0)
        line = counted(shape.integerDigits(), "digit", "digits");
    if (shape.point >= 0) {
        if (!line.empty()) line += ", ";
        line += counted(shape.decimals(), "decimal", "decimals");
    }
    if (cut) line += kCutNote;
    if (const Count n = shape.digitsBefore(caret); n > 0)
        line += kPlaceSeparator + ("digit " + withThousands(n)) + " of " +
                withThousands(shape.digits());
    return line;
}

} // namespace longhand
