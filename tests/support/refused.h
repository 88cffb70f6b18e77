// An outcome as one text, so that tables of cases can hold results and
// refusals side by side: the result's text, "answer A" for an answer of
// kind A (its number), or "refused K@i" for a refusal of kind K (its
// number) naming operand i.
#pragma once

#include "engine/outcome.h"

#include <string>

namespace longhand::test {

inline std::string refused(RefusalKind kind, int operand = Refusal::kNoOperand) {
    return "refused " + std::to_string(static_cast<int>(kind)) + "@" + std::to_string(operand);
}

inline std::string answered(Answer answer) {
    return "answer " + std::to_string(static_cast<int>(answer));
}

inline std::string said(const Outcome& outcome) {
    if (outcome.answer != Answer::None) return answered(outcome.answer);
    if (outcome.status != Outcome::Status::Refused) return outcome.text;
    return refused(outcome.refusal.kind, outcome.refusal.operand);
}

} // namespace longhand::test
