// The argument line of the function dialog in its permutation and
// combination modes: a template "p(n,r,f)" / "c(n,r,f)" whose slots take
// digits only.
#pragma once

#include <string>
#include <string_view>

namespace longhand {

// The modes that use the argument template.
enum TemplateMode : int { PermutationTemplate = 1, CombinationTemplate = 2 };

inline constexpr int kKeyBackspace = 8;

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

// Whether `line` keeps the template of `mode` whole: its letter ("p" for
// PermutationTemplate, "c" for CombinationTemplate), "(", digits, ",",
// digits, ",", digits, ")". Any edit that would leave another line is
// refused, however it comes.
bool keepsTemplate(int mode, std::string_view line);

// The repetition digit of a flag, 0 to 9; anything else counts 0.
int flagValue(std::string_view flag);

// A typed key in template mode, or 0 when it is swallowed: Backspace may
// not delete the template's letter or punctuation (nor act at the very
// start, `before` being '\0' there), and only digits and Backspace are
// typed at all. `before` is the character just before the caret.
int filterTemplateKey(int mode, int keyAscii, char before);

} // namespace longhand
