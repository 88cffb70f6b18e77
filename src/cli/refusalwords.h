// longhand-calc's words for the engine's refusals: sentences that name the
// operand at fault by its name in the usage text (A, B, BASE, EXP, N, R, M).
#pragma once

#include "engine/refusal.h"

#include <string>
#include <vector>

namespace longhand::cli {

// The sentence for `refusal` of a command whose operands are called
// `operandNames`, in their order.
std::string refusalWords(const Refusal& refusal, const std::vector<std::string>& operandNames);

} // namespace longhand::cli
