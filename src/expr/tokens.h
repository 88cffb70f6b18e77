// The words of an expression line, each with the column it starts at.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace longhand::expr {

enum class TokenKind {
    Number, // text: the number as typed (digits and at most one ".")
    File,   // text: the path of an @FILE or @"quoted path"
    Text,   // text: what stands between the quotes of "text" or 'text'
    Name,   // text: a function or constant name (letters, digits, "_")
    Entry,  // text: the digits k of "#k"
    Plus,
    Minus,  // "-" or U+2212
    Times,  // "*", U+00D7 or U+00B7
    Divide, // "/" or U+00F7
    Power,  // "^"
    Bang,   // "!"
    Open,
    Close,
    Comma,
    End
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;        // as typed (the path or digits for File and Entry)
    std::int64_t column = 0; // 1-based, counted in characters, not bytes
};

// The tokens of `line`, ending with an End token at the column after the
// last character. Blanks between tokens are skipped. Throws Refused
// (refusal.h) for a character no token starts with, a malformed number, an
// unclosed quote and a character in quotes beyond printable ASCII.
std::vector<Token> tokenize(std::string_view line);

} // namespace longhand::expr
