// What an operation tells its caller: what came of it, the result or why
// there is none, and what happened on the way. The engine never speaks to
// the person at the keyboard; the windows and longhand-calc turn an outcome
// into message boxes, sounds and output, in this order:
//   1. after a long division (divided), the windows stop a finished sound
//      still looping from before;
//   2. say a refusal in the caller's words (a kind and its data,
//      refusal.h) and stop there;
//   3. for a calculation that ran to its end (calculated), the windows give
//      the finished signal;
//   4. show the result: its text, or for an answer (answer.h) the caller's
//      words for it.
// What a factorial keeper (factorial.h) took on the way is its own to
// follow up, once the work is done.
#pragma once

#include "answer.h"
#include "refusal.h"

#include <string>
#include <utility>

namespace longhand {

struct Outcome {
    enum class Status {
        Result,   // text is the result as the windows show it, or answer is set
        Refused,  // refusal says why; nothing changes
        Nothing,  // an argument the operation does not take: nothing to show or say
        Cancelled // stopped through the Progress token: nothing to show or keep
    };

    Status status = Status::Nothing;
    std::string text;
    Refusal refusal;
    // A result that is an answer, not a number: `text` stays empty.
    Answer answer = Answer::None;
    // The result came through a long division (or a count that stands for
    // one).
    bool divided = false;
    // The result is a calculation that ran to its end, not an answer given
    // at once or read back from the store.
    bool calculated = false;
    // The result is a quotient cut off at its last place, not rounded: a
    // remainder was left, so more digits would follow.
    bool cut = false;

    bool isResult() const { return status == Status::Result; }

    static Outcome result(std::string text, bool calculated = true) {
        Outcome o;
        o.status = Status::Result;
        o.text = std::move(text);
        o.calculated = calculated;
        return o;
    }
    static Outcome answered(Answer answer) {
        Outcome o = result({});
        o.answer = answer;
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
