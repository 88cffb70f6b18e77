// Why an expression has no value: a kind, the column it points at and the
// data its message needs. The expression room has no words of its own;
// longhand-calc and the windows each turn a refusal into theirs.
#pragma once

#include "engine/refusal.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace longhand::expr {

enum class RefusalKind {
    UnexpectedToken,    // data: the token as typed (a juxtaposition such as "2(3)" is one)
    UnexpectedEnd,      // the line ends where an operand or ")" is still wanted
    UnknownCharacter,   // data: the character
    MalformedNumber,    // data: the number as typed ("1.2.3", ".")
    UnclosedQuote,      // an @"path" without its closing quote
    UnclosedText,       // a text in quotes ("ff") without its closing quote
    UnknownName,        // data: the name
    WrongArgumentCount, // data: the function's usage, e.g. "P(n, r[, f])"
    TooDeep,            // parentheses, powers or factorials nested too deeply
    FileRefused,        // data: the file reader's own message
    EmptyFile,          // data: the path of a file that holds no digit
    NoAnswer,           // "ans" before any result
    NoEntry,            // data: k of a "#k" the history does not hold
    DivisionByZero,
    ExponentNotWhole, // roots come later: a power's exponent must be whole
    NotWhole,         // data: what must be whole ("n!", "P", "round" ...)
    Negative,         // data: what must not be negative
    NotDigit,         // data: what must be a single digit (the repetition flag)
    TooLong,          // a result longer than the engine builds
    NotEnoughMemory,  // data: log10 of the result's length, or "" when not known
    EngineRefused,    // data: the function's name; `engine`: the engine's refusal
    NotANumber,       // data: what wants a number ("+", "sqrt"); column: the text's
    NotAText,         // data: the function that reads a text (frombase); column: the number's
    Cancelled
};

struct Refusal {
    RefusalKind kind = RefusalKind::UnexpectedToken;
    std::int64_t column = 0; // 1-based, in characters; 0 when no place applies
    std::string data;
    // EngineRefused: what the engine's operation refused, with its operand
    // counted among the function's arguments.
    longhand::Refusal engine{};
};

// Thrown inside the room and caught by evaluate(), which gives it back as a
// value; a column of 0 is filled in with the place of the operation that
// refused.
struct Refused : std::exception {
    Refusal refusal;
    explicit Refused(RefusalKind kind, std::string data = {}, std::int64_t column = 0)
        : refusal{kind, column, std::move(data), {}} {}
    Refused(const longhand::Refusal& engine, std::string function)
        : refusal{RefusalKind::EngineRefused, 0, std::move(function), engine} {}
    const char* what() const noexcept override { return "expression refused"; }
};

} // namespace longhand::expr
