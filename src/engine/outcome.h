// What an operation tells its caller: what came of it, the result or why
// there is none, and what happened on the way. The engine never speaks to
// the person at the keyboard; the windows and longhand-calc turn an outcome
// into message boxes, questions, sounds and output, in this order:
//   1. after a long division (divided), the windows stop a finished sound
//      still looping from before;
//   2. keep the factorials the work held back (keepFactorials, factorial.h);
//   3. show the notices and remember the store's largest n (largestStored);
//   4. say a refusal in the caller's words and stop there;
//   5. for a calculation that ran to its end (calculated), the windows give
//      the finished signal;
//   6. ask whether to store an offered factorial, and append it on Yes;
//   7. show the result.
#pragma once

#include "factorialstore.h"
#include "refusal.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace longhand {

// What the factorial store has to do about a factorial the work read or
// computed. It waits in the outcome until the work is done, so that a
// calculation that is cancelled or fails writes nothing.
struct HeldFactorial {
    enum class Step {
        Read,   // n! was read from the store
        Insert, // computed below the largest stored n: the store takes it
        Append  // computed beyond it: stored only when offered and the user agrees
    };
    Step step = Step::Read;
    FactorialStore::State store = FactorialStore::State::Ok; // as the lookup found it
    std::string n;
    std::string value;   // n!, where the store may take it
    std::string largest; // the store's largest key, when the lookup read to the end
    std::string reached; // the largest key the lookup read
    bool offer = false;  // Append: offer n! for storing
};

struct Outcome {
    enum class Status {
        Result,   // text is the result as the windows show it
        Refused,  // refusal says why; nothing changes
        Nothing,  // an argument the operation does not take: nothing to show or say
        Cancelled // stopped through the Progress token: nothing to show or keep
    };

    Status status = Status::Nothing;
    std::string text;
    Refusal refusal;
    // Messages shown before the result: what the factorial store reports.
    std::vector<std::string> notices;
    // The result came through a long division (or a count that stands for
    // one).
    bool divided = false;
    // The result is a calculation that ran to its end, not an answer given
    // at once or read back from the store.
    bool calculated = false;
    // The result is a quotient cut off at its last place, not rounded: a
    // remainder was left, so more digits would follow.
    bool cut = false;
    // The factorial store's largest n, where it differs from the one the
    // caller remembers (keepFactorials fills it in).
    std::string largestStored;
    // A factorial the user may keep: ask (the question is the caller's), and
    // on Yes hand it to FactorialStore::append.
    std::optional<FactorialRecord> offer;
    // The store's follow-ups, until keepFactorials does them.
    std::optional<HeldFactorial> held;

    bool isResult() const { return status == Status::Result; }

    static Outcome result(std::string text, bool calculated = true) {
        Outcome o;
        o.status = Status::Result;
        o.text = std::move(text);
        o.calculated = calculated;
        return o;
    }
    static Outcome refused(RefusalKind kind, int operand = Refusal::kNoOperand) {
        return refused(Refusal{kind, operand});
    }
    static Outcome refused(Refusal refusal) {
        Outcome o;
        o.status = Status::Refused;
        o.refusal = refusal;
        return o;
    }
    static Outcome cancelled() {
        Outcome o;
        o.status = Status::Cancelled;
        return o;
    }
};

} // namespace longhand
