// What an expression computes: most often a number, an exact fraction. The
// functions that write a number in another base give a text, as does a
// text typed in quotes ("ff"); isprime gives an answer, which the caller
// says in its own words. A text or an answer may be the value of a line,
// "ans" or "#k", and frombase reads a text back; arithmetic on them is
// refused.
#pragma once

#include "engine/answer.h"
#include "fraction.h"

#include <string>
#include <utility>

namespace longhand::expr {

struct Value {
    enum class Kind { Number, Text, Answer };
    Kind kind = Kind::Number;
    Fraction number;  // Number
    std::string text; // Text: printable ASCII characters
    // Text written by base(): its base, 2 to 36; 0 for a text typed in
    // quotes or read back from the history.
    int base = 0;
    longhand::Answer answer = longhand::Answer::None; // Answer

    Value() = default;
    // A number is a value (implicit, so that a Fraction goes wherever a
    // Value is wanted).
    Value(Fraction n) : number(std::move(n)) {}

    static Value ofText(std::string text, int base = 0) {
        Value v;
        v.kind = Kind::Text;
        v.text = std::move(text);
        v.base = base;
        return v;
    }
    static Value ofAnswer(longhand::Answer answer) {
        Value v;
        v.kind = Kind::Answer;
        v.answer = answer;
        return v;
    }

    bool isNumber() const { return kind == Kind::Number; }
    bool operator==(const Value&) const = default;
};

} // namespace longhand::expr
