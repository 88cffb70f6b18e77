// Why an operation gives no result: a kind and the data that explain it.
// The engine holds no sentence; each program says a refusal in its own
// words (the windows in ui/common/refusalwords.h, longhand-calc in
// cli/refusalwords.h), and a test checks that both have words for every
// kind.
#pragma once

#include <cstdint>
#include <limits>

namespace longhand {

// log10 of a length for "nothing worth counting", or not known.
inline constexpr double kNoLength = -std::numeric_limits<double>::infinity();

enum class RefusalKind {
    EmptyOperand,       // an operand with no text at all
    MalformedOperand,   // an operand that is not a number text (isNumberText)
    OnlyPoint,          // an operand that is a point, or a point and zeros (".", ".00")
    DivisionByZero,     // a divisor of value zero, however it is written
    ExponentNotWhole,   // a power's exponent that is not a whole number of 0 or more
    PowerTooLong,       // a power longer than a result may be: `length`, `limit`
    ProductTooLong,     // a product longer than a result may be: `length`, `limit`
    NotWholeNumbers,    // an end of a partial product that is not a whole number
    EndsNotAscending,   // a partial product whose upper end is not above the lower
    ResultTooLarge,     // a result longer than the free memory holds: `length`
    WorkTooLarge,       // numbers on the way longer than the free memory holds: `length`
    NotANumber,         // an argument of a root that is not a number text
    NotWholeArgument,   // an argument that must be a whole number and is not
    EvenRootOfNegative, // an even root of a negative number
    RootDegreeTooSmall, // a root's degree that is not a whole number of at least 2
    PlacesNotWhole,     // a count of places that is not a whole number without sign
    ResultTooLong,      // a result longer than the fast arithmetic builds
    BaseOutOfRange,     // a base that is not a whole number from 2 to 36
    NotInBase,          // a text that is not a whole number in the base given
    ModulusBelowOne,    // a modulus below 1
    NegativeExponent,   // a modular power's negative exponent
    TooFewArguments,    // fewer than two numbers for gcd or lcm
    // Every kind above; a new kind goes before this line.
    Count
};

inline constexpr int kRefusalKinds = static_cast<int>(RefusalKind::Count);

struct Refusal {
    // The operand at fault, counted from 0 in the order the operation takes
    // them (the first operand box, the base, M), or kNoOperand.
    static constexpr int kNoOperand = -1;

    RefusalKind kind = RefusalKind::MalformedOperand;
    int operand = kNoOperand;
    // log10 of the length in characters that the result (or for
    // WorkTooLarge the largest number on the way) would have.
    double length = kNoLength;
    // The most characters a result may have, where that is what refused it.
    std::int64_t limit = 0;
};

} // namespace longhand
