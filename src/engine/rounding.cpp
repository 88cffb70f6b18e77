#include "rounding.h"

#include "addition.h"

namespace longhand {

namespace {

// The numeric value of the character at 1-based position `pos`; a missing
// character or a non-digit counts 0.
int digitAt(std::string_view text, Count pos) {
    if (pos < 1 || pos > static_cast<Count>(text.size())) return 0;
    char c = text[static_cast<std::size_t>(pos - 1)];
    return (c >= '0' && c <= '9') ? c - '0' : 0;
}

// Adds the unsigned increment to the magnitude of `value`, keeping its sign.
std::string addToMagnitude(std::string value, const std::string& increment) {
    if (!value.empty() && value.front() == '-') {
        value.erase(0, 1);
        std::string sum = add(value, increment);
        sum.insert(sum.begin(), '-');
        return sum;
    }
    return add(value, increment);
}

// Trailing fraction zeros and a bare point go; an empty, sign-only or
// negative-zero result becomes "0".
std::string tidyRounded(std::string r) {
    if (r.find('.') != std::string::npos) dropTrailingZeros(r);
    if (!r.empty() && r.back() == '.') r.pop_back();
    bool negativeZero =
        r.size() >= 2 && r.front() == '-' && r.find_first_not_of('0', 1) == std::string::npos;
    if (r.empty() || r == "-" || negativeZero) r.assign(1, '0');
    return r;
}

} // namespace

Count pointPosition(std::string_view text) {
    auto q = text.find('.');
    return q == std::string_view::npos ? 0 : static_cast<Count>(q) + 1;
}

Count fractionLength(std::string_view text) {
    Count q = pointPosition(text);
    return q == 0 ? 0 : static_cast<Count>(text.size()) - q;
}

std::optional<std::string> roundToDecimals(std::string_view text, Count pointPos, Count k) {
    const Count q = pointPosition(text);
    if (!isNumberText(text) || q == 0 || pointPos != q || k < 0 || k >= fractionLength(text)) {
        return std::nullopt;
    }
    const std::string t(text);

    // The digit after the kept ones decides: 5 or more rounds the
    // magnitude up.
    if (k > 0 && digitAt(t, pointPos + k + 1) >= 5) {
        std::string increment = "1"; // 10^-k
        placePoint(increment, k, BelowOne::Point);
        return tidyRounded(addToMagnitude(t.substr(0, static_cast<std::size_t>(q + k)), increment));
    }
    if (k == 0 && digitAt(t, pointPos + 1) >= 5) {
        // An empty integer part (".5", "-.5") adds up from zero.
        return tidyRounded(
            addToMagnitude(t.substr(0, static_cast<std::size_t>(pointPos - 1)), "1"));
    }
    return tidyRounded(t.substr(0, static_cast<std::size_t>(q + k)));
}

} // namespace longhand
