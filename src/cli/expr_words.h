// What longhand-calc says about an expression: why it has no value, and
// which kind of value it printed.
#pragma once

#include "expr/display.h"
#include "expr/refusal.h"

#include <string>

namespace longhand::cli {

// "unexpected ")" at column 7", "Division by zero." ...
std::string refusalText(const expr::Refusal& refusal);

// The length line of a shown value: the window's own for a value that ends
// or is cut ("12 digits", "3 digits (0 before the point, 3 after), cut, not
// rounded"), and "period of 6 digits after 1" for one that repeats.
std::string description(const expr::Shown& shown);

} // namespace longhand::cli
