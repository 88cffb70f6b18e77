#include "numtext.h"

#include "fast/digit_chars.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace longhand {

namespace {

bool endsWithZero(const std::string& text) {
    return !text.empty() && text.back() == '0';
}

// Rounding to this many significant digits is what makes a double's text
// short and stable; 15 is the most that every double keeps exactly.
constexpr int kDoubleTextDigits = 15;
// From this decimal exponent on a double's text uses "E" notation.
constexpr int kDoubleTextExponentFrom = 15;
// Below this decimal exponent too (0.0001 is plain, 0.00001 is "1E-05").
constexpr int kDoubleTextExponentBelow = -4;

} // namespace

bool hasZeroValue(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    return text.find_first_not_of("0.") == std::string_view::npos;
}

bool allDigitChars(std::string_view text) {
    return fast::allDigitChars(text);
}

bool isNumberText(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    // Digits on both sides of at most one point: one pass up to the first
    // character that is not a digit, which must be the point.
    const std::size_t point = fast::firstNonDigit(text);
    if (point == std::string_view::npos) return true;
    return text[point] == '.' && allDigitChars(text.substr(point + 1));
}

TextKind textKind(std::string_view text) {
    if (text.empty()) return TextKind::Empty;
    const char c = text.front();
    if (isDigit(c)) return TextKind::Digit;
    if (c == '-') return TextKind::Minus;
    if (c == '.') return TextKind::Point;
    return TextKind::Other;
}

TextOrder compareWholeTexts(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return a.size() < b.size() ? TextOrder::Shorter : TextOrder::Longer;
    const int c = a.compare(b); // char_traits<char> compares as unsigned bytes
    if (c == 0) return TextOrder::Equal;
    return c < 0 ? TextOrder::Less : TextOrder::Greater;
}

std::string zeros(Count count) {
    if (count <= 0) return {};
    return std::string(static_cast<std::size_t>(count), '0');
}

Count dropTrailingZeros(std::string& text) {
    const std::size_t keep = text.find_last_not_of('0');
    if (keep == std::string::npos) return static_cast<Count>(text.size()); // all zeros: untouched
    const Count zeros = static_cast<Count>(text.size() - keep - 1);
    text.resize(keep + 1);
    return zeros;
}

std::string stripLeadingZeros(std::string& text) {
    if (text.empty()) return {};
    const std::size_t first = text.find_first_not_of('0');
    if (first == std::string::npos) {
        text = "0";
        return {};
    }
    text.erase(0, first);
    return text;
}

Count toDigitsAndScale(std::string& text) {
    const std::size_t p = text.find('.');
    Count scale = 0;
    if (p == std::string::npos) {
        if (!text.empty() && text.front() == '0') text = stripLeadingZeros(text);
        return 0;
    }
    if (endsWithZero(text)) dropTrailingZeros(text); // stops at the point at the latest
    scale = static_cast<Count>(text.size() - p - 1);
    text.erase(p, 1);
    if (!text.empty() && text.front() == '0') text = stripLeadingZeros(text);
    return scale;
}

void placePoint(std::string& digits, Count places, BelowOne belowOne) {
    if (places <= 0) return;
    const Count n = static_cast<Count>(digits.size());
    if (places < n) {
        digits.insert(static_cast<std::size_t>(n - places), 1, '.');
        return;
    }
    const std::string_view lead = belowOne == BelowOne::ZeroPoint ? "0." : ".";
    std::string placed;
    placed.reserve(lead.size() + static_cast<std::size_t>(places));
    placed += lead;
    placed.append(static_cast<std::size_t>(places - n), '0');
    placed += digits;
    digits.swap(placed);
}

void tidyPointZeros(std::string& text) {
    if (text.find('.') != std::string::npos && endsWithZero(text)) dropTrailingZeros(text);
    if (!text.empty() && text.back() == '.') text.pop_back();
}

double numericValue(std::string_view text) {
    // Find the longest leading part of the form [sign] digits [. digits] [e [sign] digits].
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    std::size_t intDigits = 0; // significant integer digits, for the overflow direction
    bool seenNonZero = false;
    while (i < text.size() && isDigit(text[i])) {
        seenNonZero = seenNonZero || text[i] != '0';
        if (seenNonZero) ++intDigits;
        ++i;
        ++digits;
    }
    Count leadingFractionZeros = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            if (!seenNonZero && text[i] == '0') ++leadingFractionZeros;
            seenNonZero = seenNonZero || text[i] != '0';
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return 0.0;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            end = j;
        }
    }
    if (!seenNonZero) return negative ? -0.0 : 0.0;

    // from_chars takes no "+" in the exponent's place either; give it a clean copy.
    std::string clean;
    clean.reserve(end - mantissaStart);
    for (std::size_t k = mantissaStart; k < end; ++k) {
        if (text[k] == '+') continue; // exponent sign "+" is optional anyway
        clean += text[k];
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow by the decimal magnitude.
        long long exponent = 0;
        const std::size_t e = clean.find_first_of("eE");
        if (e != std::string::npos) {
            const std::string_view ex(clean.data() + e + 1, clean.size() - e - 1);
            const auto res = std::from_chars(ex.data(), ex.data() + ex.size(), exponent);
            if (res.ec == std::errc::result_out_of_range)
                exponent = ex.front() == '-' ? std::numeric_limits<long long>::min() / 2
                                             : std::numeric_limits<long long>::max() / 2;
        }
        const long long magnitude =
            exponent + (intDigits > 0 ? static_cast<long long>(intDigits) : -leadingFractionZeros);
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::string doubleText(double value) {
    if (std::isnan(value)) return "0";
    if (std::isinf(value)) return value < 0 ? "-1E+309" : "1E+309";
    if (value == 0.0) return "0";
    std::string out;
    if (value < 0) {
        out += '-';
        value = -value;
    }
    // d.dddddddddddddde±x, rounded to 15 significant digits.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                                   kDoubleTextDigits - 1);
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t e = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e))
        if (isDigit(c)) digits += c;
    int exponent = 0;
    std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                    exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    if (exponent >= kDoubleTextExponentFrom || exponent < kDoubleTextExponentBelow) {
        out += digits.front();
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) out += '0';
        out += std::to_string(magnitude);
        return out;
    }
    if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const std::size_t intLen = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intLen) {
        out += digits;
        out.append(intLen - digits.size(), '0');
    } else {
        out.append(digits, 0, intLen);
        out += '.';
        out.append(digits, intLen);
    }
    return out;
}

} // namespace longhand
