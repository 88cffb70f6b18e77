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

std::string textLengthText(const std::string& text, int base) {
    const auto length = static_cast<Count>(text.size());
    if (base == 0) return counted(length, "character", "characters");
    const Count sign = !text.empty() && text.front() == '-' ? 1 : 0;
    return counted(length - sign, "digit", "digits") + " in base " + std::to_string(base);
}

std::string lengthText(const NumberShape& shape, bool cut) {
    if (shape.length == 0) return {};
    std::string line = counted(shape.digits(), "digit", "digits");
    if (shape.point >= 0)
        line += " (" + withThousands(shape.wholeDigits()) + " before the point, " +
                withThousands(shape.decimals()) + " after)";
    if (cut) line += kCutNote;
    return line;
}

std::string placeText(const NumberShape& shape, Count caret) {
    const Count n = shape.digitsBefore(caret);
    if (n <= 0) return {};
    return "digit " + withThousands(n) + " of " + withThousands(shape.digits());
}

std::string lengthLineText(const NumberShape& shape, bool cut, Count caret) {
    std::string line = lengthText(shape, cut);
    if (const std::string place = placeText(shape, caret); !place.empty())
        line += kPlaceSeparator + place;
    return line;
}

} // namespace longhand
