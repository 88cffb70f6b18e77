// The tree of an expression, by precedence climbing over its tokens.
//
// From the tightest binding: postfix "!", then "^" (right-associative, its
// exponent may carry a minus: 2^-3), then unary minus, then "*" and "/",
// then "+" and "-". So -3^2 is -9, 2^3^2 is 512 and 2^3! is 64. Two
// operands side by side ("2(3)") are an error, not a product.
#pragma once

#include "tokens.h"

#include <cstdint>
#include <string>
#include <vector>

namespace longhand::expr {

// Parentheses, powers, minus signs and factorials nest at most this deep:
// the evaluation recurses once per level and must stay well inside a
// thread's stack. Runs of + - or * / are flat and may be of any length.
inline constexpr int kMaxNesting = 200;

struct Node {
    enum class Kind {
        Number,    // text: the number as typed
        File,      // text: the path
        Text,      // text: a text typed in quotes
        Entry,     // text: k of #k
        Constant,  // text: the name (ans)
        Call,      // text: the name; children: the arguments
        Negate,    // children[0]
        Factorial, // children[0]
        Power,     // children[0] ^ children[1]
        Chain      // children[0] ops[0] children[1] ops[1] ... (all + - or all * /)
    };
    Kind kind = Kind::Number;
    std::string text;
    std::int64_t column = 0; // where the node's token stands (the operator's for operations)
    std::vector<Node> children;
    std::vector<Token> ops; // Chain: the operators between the children
};

// The tree of a whole line; throws Refused (refusal.h) with the column of
// the first token that does not fit, or of the line's end.
Node parse(std::string_view line);

} // namespace longhand::expr
