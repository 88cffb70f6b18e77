// Exact rational values: a sign and two digit strings, always in lowest
// terms with a positive denominator, so that equal values have equal
// representations and a shown value never carries a common factor.
//
// The arithmetic refuses (Refused, refusal.h) before any long work whose
// result the engine would not build, checks that the memory suffices, and
// gives up through the cancel check (fast::Cancelled).
#pragma once

#include "engine/fast/cancel.h"
#include "engine/numtext.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace longhand::expr {

struct Fraction {
    bool negative = false; // never for zero
    std::string num = "0"; // digits, no leading zeros
    std::string den = "1"; // digits, no leading zeros, never "0"

    bool isZero() const { return num == "0"; }
    bool isInteger() const { return den == "1"; }
    bool operator==(const Fraction&) const = default;

    static Fraction integer(std::string digits, bool negative = false);
};

// The value of a number text (numtext.h): "-12.50" is -25/2. Nothing for a
// text that is not one; "", "-" and "." are zero.
std::optional<Fraction> fromNumberText(std::string_view text, const fast::CancelCheck* cancel);

// "a/b", or "a" for an integer, with a leading "-" when negative; and back.
std::string fractionText(const Fraction& value);
std::optional<Fraction> parseFractionText(std::string_view text,
                                          const fast::CancelCheck* cancel = nullptr);

Fraction add(const Fraction& a, const Fraction& b, const fast::CancelCheck* cancel);
Fraction subtract(const Fraction& a, const Fraction& b, const fast::CancelCheck* cancel);
Fraction multiply(const Fraction& a, const Fraction& b, const fast::CancelCheck* cancel);
Fraction divide(const Fraction& a, const Fraction& b, const fast::CancelCheck* cancel);
Fraction negate(Fraction a);
// a^e for a whole e of any sign; a zero base with a negative exponent is a
// division by zero, and 0^0 is 1.
Fraction power(const Fraction& a, const Fraction& e, const fast::CancelCheck* cancel);
// x rounded to k decimals, half away from zero.
Fraction roundTo(const Fraction& x, std::int64_t k, const fast::CancelCheck* cancel);

// The greatest common divisor of two digit strings.
std::string gcdOf(std::string_view a, std::string_view b, const fast::CancelCheck* cancel);

// Removes the factor p (2 or 5) from the digit string `digits` at most
// `cap` times and says how often it did.
std::int64_t stripFactor(std::string& digits, int p, std::int64_t cap,
                         const fast::CancelCheck* cancel);

// Refuses (TooLong, NotEnoughMemory) a result of about `digits` digits
// before it is computed.
void checkResultSize(double digits);

// A whole value as a count that fits in 64 bits: nothing when it does not
// fit, is negative or is not whole.
std::optional<std::uint64_t> smallWhole(const Fraction& value);

} // namespace longhand::expr
