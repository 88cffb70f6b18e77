// What longhand-calc says about an expression: why it has no value, and
// which kind of value it printed.
#pragma once

#include "expr/display.h"
#include "expr/refusal.h"

#include <string>

namespace longhand::cli {

// "unexpected ")" at column 7", "Division by zero." ...
std::string refusalText(const expr::Refusal& refusal);

// The length line of a shown value: "12 digits", "period of 6 digits
// after 1", "100,000 digits (cut, not rounded)".
std::string description(const expr::Shown& shown);

} // namespace longhand::cli
