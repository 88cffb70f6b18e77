// Expressions typed in one line: "2^100-1", "30!/(10!*20!)", "1/7".
//
// A line is tokenized (tokens.h), parsed by precedence (parser.h) and
// evaluated over exact fractions (fraction.h): a quotient stays a fraction
// in lowest terms until it is shown, so 1/3*3 is 1. Numbers are decimal
// texts; @FILE and @"path with blanks" stand for the number in a file;
// ans is the last result and #k entry k of the history, both supplied by
// the caller through the Environment. Functions come from a registry
// (functions.h): P(n, r[, f]), C(n, r[, f]), prod(m, n), round(x, k),
// sqrt, root, gcd, lcm, powmod, nextprime, isprime, base and frombase.
// A value (value.h) is a number, or a text ("ff" from base(255, 16), or
// typed in quotes for frombase) or an answer (isprime's); arithmetic on a
// text or an answer is refused.
//
// A number is then shown (display.h): exactly where its decimals end,
// with its period in parentheses where pre-period and period fit in the
// environment's limit, and otherwise cut at the limit.
//
// Nothing a line holds can crash, hang or exhaust memory: nesting is
// bounded, every result's length is estimated and refused before it is
// computed, and a long calculation stops once `progress` is cancelled.
// A line without a value gives a Refusal (refusal.h): its kind, column
// and data; longhand-calc and the windows put it in their own words.
//
//   expr::Environment env;
//   env.ans = previous;               // optional
//   env.entry = [&](std::uint64_t k) { return history.value(k); };
//   expr::Evaluation e = expr::evaluate("1/6", env, progress);
//   // e.status == Value, e.shown.text == "0.1(6)", e.shown.kind == Repeats
#pragma once

#include "display.h"
#include "engine/progress.h"
#include "fraction.h"
#include "refusal.h"
#include "value.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace longhand::expr {

// A number read from a file: its text, or why it could not be read.
struct FileRead {
    std::string text;
    std::string refusal; // empty: `text` is the number text
};

// The number in the file at `path`, by the rules of longhand-calc's file
// operands (core/operands.h): fillers dropped, a size limit by the free
// memory, the first stray byte refused.
FileRead readNumberOperand(const std::string& path);

struct Environment {
    std::optional<Value> ans;                                   // nothing: "ans" is refused
    std::function<std::optional<Value>(std::uint64_t k)> entry; // #k; empty: none exist
    std::int64_t periodLimit = kDefaultPeriodLimit;             // see display.h
    std::function<FileRead(const std::string& path)> readFile = readNumberOperand;
};

struct Evaluation {
    enum class Status { Value, Refused, Cancelled };
    Status status = Status::Refused;
    Value value;     // Value: the exact value
    Shown shown;     // Value, from evaluate(): the value as text and its kind
    Refusal refusal; // Refused

    bool hasValue() const { return status == Status::Value; }
};

// The value of `line` and its text.
Evaluation evaluate(std::string_view line, const Environment& env, Progress& progress);

// The value of `line` alone, for callers that show a number otherwise (as
// a fraction, or with a fixed count of places): `shown` stays empty.
Evaluation evaluateValue(std::string_view line, const Environment& env, Progress& progress);

// Runs `work` the way evaluate() runs its own: a refusal, a cancel, a
// shortage of memory or an over-long result come back in the Evaluation.
// For callers that show a value in another form (placesText, fractionText)
// with the same outcomes.
Evaluation guarded(const std::function<void(Evaluation&, const fast::CancelCheck*)>& work,
                   Progress& progress);

} // namespace longhand::expr
