// Operands as longhand-calc and expressions take them: typed, or read
// from a file (@FILE) or from standard input (@-).
//
// Every operand must be a number text: an optional leading "-", digits and
// at most one ".", nothing else. A file or stream may wrap or group its
// digits: blanks, tabs, line breaks and underscores are left out wherever
// they stand, and so is a byte-order mark at its start. Every operand has
// at least one digit. What a command asks beyond that (whole numbers, one
// digit) it
// checks itself.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace longhand {

// What a number looks like, as the refusals say it.
inline constexpr const char* kNumberForm = "(digits, at most one \".\", an optional leading \"-\")";

// An operand's text, or the message that refuses it.
struct Operand {
    std::string text;
    std::string refusal; // empty: `text` is the operand
};

// The refusal of a typed operand that is not a number text, naming it
// (a long one cut); nothing for a number text.
std::optional<std::string> typedOperandRefusal(std::string_view text);

// The refusal of an operand that is a number text without a digit: empty,
// ".", "-" or "-.". `name` is the operand's name (typed) or its file's
// path; `fromFile` says which. Nothing for an operand with a digit.
std::optional<std::string> digitlessRefusal(const std::string& text, const std::string& name,
                                            bool fromFile);

// The operand in the file at `path`, or in `stream` (named `name` in
// messages, e.g. "standard input"). A file larger than `limitBytes` is
// refused before it is read; a stream as soon as it passes the limit. A
// byte that cannot be part of a number ends the reading at once with a
// refusal naming it and its place, so that /dev/zero or a binary file is
// refused at its first byte. Running out of memory is a refusal too.
Operand readOperandFile(const std::string& path, std::uint64_t limitBytes);
Operand readOperandStream(std::FILE* stream, const std::string& name, std::uint64_t limitBytes);

// The most bytes an operand file or stream may have: a share of the memory
// this process can still take (the machine's free memory, and what is left
// under an address-space limit).
std::uint64_t operandByteLimit();

} // namespace longhand
