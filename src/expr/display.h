// A value as text: a number exactly where its decimals end, with its
// repeating digits in parentheses where they fit (0.1(6)), and otherwise
// cut (never rounded) after a limit of places; a text as it is; an answer
// by its kind, for the caller's words.
#pragma once

#include "fraction.h"
#include "value.h"

#include <cstdint>
#include <string>

namespace longhand::expr {

// The places a repeating value may take, pre-period and period together,
// unless the caller sets another limit.
inline constexpr std::int64_t kDefaultPeriodLimit = 100'000;

enum class ShownKind {
    Ends,    // every digit shown: "0.125", "12"
    Repeats, // "0.1(6)": the digits in parentheses repeat for ever
    Cut,     // the value goes on beyond `decimals` places; cut, not rounded
    Text,    // a text (base(), a text in quotes): `text` is all of it
    Answer   // an answer (isprime's): `text` is empty, `answer` says which
};

struct Shown {
    std::string text;
    ShownKind kind = ShownKind::Ends;
    std::int64_t integerDigits = 0; // digits before the point ("0" counts one)
    std::int64_t decimals = 0;      // digits after it, those in parentheses included
    std::int64_t prePeriod = 0;     // Repeats: decimals before the parentheses
    std::int64_t period = 0;        // Repeats: decimals inside them
    int base = 0;                   // Text: as Value::base
    longhand::Answer answer = longhand::Answer::None; // Answer
};

// `value` shown exactly, or with its period where prePeriod + period <=
// limit, or cut after `limit` places.
Shown show(const Fraction& value, std::int64_t limit, const fast::CancelCheck* cancel);
// The same for any value: a text or an answer as it is.
Shown show(const Value& value, std::int64_t limit, const fast::CancelCheck* cancel);

// `value` with exactly `places` decimals, cut: "0.3333" for 1/3 and 4,
// "0.2500" for 1/4 and 4, "-1" for -1.9 and 0. No sign on a cut to zero.
std::string placesText(const Fraction& value, std::int64_t places, const fast::CancelCheck* cancel);

} // namespace longhand::expr
