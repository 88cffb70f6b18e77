// The four-operation flow behind the main window's Add, Subtract, Multiply
// and Divide buttons, and the power as the function dialog computes it.
// The window and longhand-calc both run these, so both show the same text.
#pragma once

#include "host.h"

#include <string>

namespace longhand {

// Operation codes of the four buttons.
enum : int { OpAdd = 1, OpSubtract = 2, OpMultiply = 3, OpDivide = 4 };

inline constexpr const char* kEmptyBoxes = "1 or 2 boxes are Empty.";
inline constexpr const char* kWeirdInput = "Weird Input.";
inline constexpr const char* kDivisionByZero = "Division by zero.";
// An operand that is not a number text (isNumberText, numtext.h): what the
// window's input checking would have kept out.
inline constexpr const char* kMalformedOperand = "Turn on input-checking. Reenter data.";

struct OperationOutcome {
    // False: the operation was refused and `text` is the message to show;
    // nothing else changes. True: the flow ran to its end.
    bool shown = false;
    // With `shown`: true when `text` is a result to put into the result
    // box; false for an operation code that computes nothing.
    bool computed = false;
    std::string text;
};

// Checks and tidies the two operand texts, handles the special cases of the
// division, computes code 1 a + b, 2 a - b, 3 a * b or 4 a / b and returns
// the text to show. An operand that is not a number text is refused with
// kMalformedOperand before anything is computed. A result of value zero
// that the engine gives as an empty text is shown as "0" ("-0" for a lone
// "-"). The caller stops the sound before and gives the finished signal
// after, as it does for every calculation.
OperationOutcome runFourOperation(int code, std::string a, std::string b, EngineHost& host);

// raisePower(base, exponent) as the function dialog shows it: refuses a
// base that is not a number text (kMalformedOperand), an exponent that is
// not a whole number and a power too long to hold, and shows a zero as "0".
OperationOutcome runPower(std::string base, std::string exponent, EngineHost& host);

// The text a result box shows for an engine result: "" becomes "0".
std::string shownResult(std::string result);

} // namespace longhand
