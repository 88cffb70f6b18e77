// What an operation tells its caller: what came of it, the text to show and
// what the caller does next. The engine never speaks to the person at the
// keyboard; the windows and longhand-calc turn an outcome into message
// boxes, questions, sounds and output, in this order:
//   1. stop the finished sound (stopSound, where the caller's sound is on);
//   2. show a refusal and stop there;
//   3. give the finished signal (finished);
//   4. show the result.
// What a factorial keeper (factorial.h) took on the way is its own to
// follow up, once the work is done.
#pragma once

#include <string>
#include <utility>

namespace longhand {

struct Outcome {
    enum class Status {
        Result,   // text is the result as the windows show it
        Refused,  // text is the message that says why; nothing changes
        Nothing,  // an argument the operation does not take: nothing to show or say
        Cancelled // stopped through the Progress token: nothing to show or keep
    };

    Status status = Status::Nothing;
    std::string text;
    // The division asks to stop a finished sound still looping from before.
    bool stopSound = false;
    // The result is a finished calculation: play the finished sound.
    bool finished = false;
    // The result is a quotient cut off at its last place, not rounded: a
    // remainder was left, so more digits would follow.
    bool cut = false;

    bool isResult() const { return status == Status::Result; }

    static Outcome result(std::string text, bool finished = true) {
        Outcome o;
        o.status = Status::Result;
        o.text = std::move(text);
        o.finished = finished;
        return o;
    }
    static Outcome refused(std::string message) {
        Outcome o;
        o.status = Status::Refused;
        o.text = std::move(message);
        return o;
    }
    static Outcome cancelled() {
        Outcome o;
        o.status = Status::Cancelled;
        return o;
    }
};

} // namespace longhand
