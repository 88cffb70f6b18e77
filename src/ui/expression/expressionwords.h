// What the expression and history window says: a refused line in its own
// words, and the length line of a value ("12 digits", "period of 6 digits
// after 1", "... (cut, not rounded)").
#pragma once

#include "expr/display.h"
#include "expr/refusal.h"

#include <string>

namespace longhand {

// "unexpected \")\" at column 7", "Division by zero." ...
std::string refusalWords(const expr::Refusal& refusal);

// The length line of a shown value.
std::string shownNote(const expr::Shown& shown);

} // namespace longhand
