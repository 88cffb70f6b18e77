#include "display.h"

#include "digits.h"
#include "period.h"

namespace longhand::expr {

namespace {

// floor(|value| 10^places) as digits with at least places + 1 of them, so
// that the integer part is never empty.
std::string scaledDigits(const Fraction& value, std::int64_t places,
                         const fast::CancelCheck* cancel) {
    checkResultSize(static_cast<double>(value.num.size()) + static_cast<double>(places));
    std::string q = digits::divideScaled(value.num, value.den, places, cancel).q;
    if (static_cast<std::int64_t>(q.size()) <= places)
        q.insert(0, static_cast<std::size_t>(places + 1) - q.size(), '0');
    return q;
}

} // namespace

Shown show(const Fraction& value, std::int64_t limit, const fast::CancelCheck* cancel) {
    Shown shown;
    const std::string sign = value.negative ? "-" : "";
    if (value.isInteger()) {
        shown.text = sign + value.num;
        shown.integerDigits = static_cast<std::int64_t>(value.num.size());
        return shown;
    }
    // Where the digits repeat, then the digits: half of the work each, as
    // far as the measure goes.
    const fast::CancelCheck search = fast::partOf(cancel, 0.5);
    const Expansion expansion = decimalExpansion(value.den, limit, &search);
    search.finish();
    if (expansion.ends) {
        shown.decimals = expansion.prePeriod;
    } else if (expansion.period) {
        shown.kind = ShownKind::Repeats;
        shown.prePeriod = expansion.prePeriod;
        shown.period = *expansion.period;
        shown.decimals = shown.prePeriod + shown.period;
    } else {
        shown.kind = ShownKind::Cut;
        shown.decimals = limit;
    }
    const std::string q = scaledDigits(value, shown.decimals, cancel);
    const std::size_t integer = q.size() - static_cast<std::size_t>(shown.decimals);
    shown.integerDigits = static_cast<std::int64_t>(integer);
    std::string& text = shown.text;
    text.reserve(q.size() + 4);
    text = sign;
    text.append(q, 0, integer);
    if (shown.decimals > 0) text += '.';
    if (shown.kind != ShownKind::Repeats) {
        text.append(q, integer);
        return shown;
    }
    const std::size_t pre = static_cast<std::size_t>(shown.prePeriod);
    text.append(q, integer, pre);
    text += '(';
    text.append(q, integer + pre);
    text += ')';
    return shown;
}

Shown show(const Value& value, std::int64_t limit, const fast::CancelCheck* cancel) {
    Shown shown;
    switch (value.kind) {
    case Value::Kind::Number:
        return show(value.number, limit, cancel);
    case Value::Kind::Text:
        shown.kind = ShownKind::Text;
        shown.text = value.text;
        shown.base = value.base;
        break;
    case Value::Kind::Answer:
        shown.kind = ShownKind::Answer;
        shown.answer = value.answer;
        break;
    }
    return shown;
}

std::string placesText(const Fraction& value, std::int64_t places,
                       const fast::CancelCheck* cancel) {
    const std::string q = scaledDigits(value, places, cancel);
    const std::size_t integer = q.size() - static_cast<std::size_t>(places);
    const bool zero = q.find_first_not_of('0') == std::string::npos;
    std::string text = value.negative && !zero ? "-" : "";
    text.append(q, 0, integer);
    if (places > 0) {
        text += '.';
        text.append(q, integer);
    }
    return text;
}

} // namespace longhand::expr
