// The argument line of the function dialog in its permutation and
// combination modes: a template "p(n,r,f)" / "c(n,r,f)" whose slots take
// digits only.
#pragma once

#include "functionmode.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace longhand {

// The empty template of `mode`: "p(,,)" for permutations, "c(,,)" for
// combinations, "" for the modes that have none.
std::string_view argumentTemplate(FunctionMode mode);

// Where the caret waits in a fresh template: after the letter and "(".
inline constexpr std::size_t kFirstSlot = 2;

// The three slots of the line and whether they can be computed.
struct Arguments {
    std::string n;
    std::string r;
    std::string flag; // the first character of the third slot; "0" when it is empty
    bool ok = false;  // both n and r are whole numbers and n >= r
};

// Cuts the line "x(n,r,f)": n lies between "x(" and the first comma, r
// between the first and the last comma, the flag is the character after the
// last comma. A line that has lost this form, empty slots, slots that are
// not digits, or n < r (longer text larger, equal lengths by character)
// give ok = false.
Arguments splitArguments(std::string_view line);

// Whether `line` keeps the template of `mode` whole: its letter, "(",
// digits, ",", digits, ",", digits, ")". Any edit that would leave another
// line is refused, however it comes; a mode without a template keeps none.
bool keepsTemplate(FunctionMode mode, std::string_view line);

// The repetition digit of a flag, 0 to 9; anything else counts 0.
int flagValue(std::string_view flag);

// Whether Backspace may delete the character `before` the caret of a
// template line: a digit, yes; the template's letter, parentheses and
// commas, no; nor at the very start, where `before` is '\0'.
bool backspaceKeepsTemplate(char before);

} // namespace longhand
