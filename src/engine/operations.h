// The main window's operations: Add, Subtract, Multiply and Divide on the
// texts of the two operand boxes. The window and longhand-calc both run
// them, so both show the same text.
#pragma once

#include "outcome.h"
#include "progress.h"

#include <string>
#include <string_view>

namespace longhand {

enum class Operation { Add, Subtract, Multiply, Divide };

// a + b, a - b, a * b or a / b on the operand texts (a is operand 0, b
// operand 1): an empty operand is refused first (EmptyOperand), then one
// that is not a number text (MalformedOperand) and one that is nothing but
// a point once its trailing fraction zeros go (OnlyPoint). The division
// refuses a divisor of value zero however it is written (DivisionByZero),
// gives "0" for the dividend "0" and the dividend for the divisor "1" at
// once, and otherwise divides (Outcome::divided) and says whether the
// quotient was cut (Outcome::cut). A zero that the digit work gives as an
// empty text is shown "0" ("-0" for a lone "-").
Outcome calculate(Operation operation, std::string_view a, std::string_view b, Progress& progress);
// calculate() on texts handed over: a long product frees them once they are
// read into numbers, so that they are never held beside its working memory
// and its result.
Outcome calculateOwned(Operation operation, std::string a, std::string b, Progress& progress);

// The text a result box shows for a result of the digit work: the empty
// text, or signs alone, get a "0".
std::string shownResult(std::string result);

} // namespace longhand
