// An outcome as one text, so that tables of cases can hold results and
// refusals side by side: the result's text, or "refused K@i" for a refusal
// of kind K (its number) naming operand i.
#pragma once

#include "engine/outcome.h"

#include <string>

namespace longhand::test {

inline std::string refused(RefusalKind kind, int operand = Refusal::kNoOperand) {
    return "refused " + std::to_string(static_cast<int>(kind)) + "@" + std::to_string(operand);
}

inline std::string said(const Outcome& outcome) {
    if (outcome.status != Outcome::Status::Refused) return outcome.text;
    return refused(outcome.refusal.kind, outcome.refusal.operand);
}

} // namespace longhand::test
