// Fast exact arithmetic on digit strings: the entry points the engine's
// operations call for long operands.
//
// Operands are digit strings: characters '0' to '9' only, leading zeros
// allowed, the empty string meaning zero. Any other character throws
// std::invalid_argument. Results have no leading zeros, and zero is "0".
// A result that would be longer than kMaxResultDigits (size_limits.h)
// throws std::length_error before any work is done. The long operations
// take an optional cancellation check (cancel.h): once it returns true they
// throw Cancelled.
//
// Inside, numbers are limbs of nine decimal digits (natural.h), so reading
// and writing the text is one linear pass; the algorithms are chosen by
// operand size (thresholds.h): schoolbook, Karatsuba and number-theoretic
// transforms for products, Newton's reciprocal for long quotients, binary
// splitting and prime factorisation for products of many factors.
#pragma once

#include "cancel.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace longhand::fast {

// Numeric order of two digit strings: -1, 0 or 1.
int compareDigits(std::string_view a, std::string_view b);

// a + b, straight from text to text (eight digits per machine word).
std::string addDigits(std::string_view a, std::string_view b);
// a - b for a >= b (std::domain_error otherwise), text to text.
std::string subDigits(std::string_view a, std::string_view b);

// a * b and a * a; mulDigits pads the product on the left with '0' to at
// least `width` digits. `textsRead`, when given, is called once both
// operands are in limbs, after which their texts are not looked at again:
// a caller that owns long texts frees them there, so that they are not
// held beside the transforms' memory and the product's text.
std::string mulDigits(std::string_view a, std::string_view b, const CancelCheck* cancel = nullptr,
                      std::size_t width = 0, const std::function<void()>& textsRead = {});
std::string sqrDigits(std::string_view a, const CancelCheck* cancel = nullptr);

struct QuotRem {
    std::string q, r;
};

// Floor division: q = floor(a / b), r = a - q b. b = 0 throws
// std::domain_error.
QuotRem divDigits(std::string_view a, std::string_view b, const CancelCheck* cancel = nullptr);

// The quotient cut to k decimal places, as the long-division drivers
// compute it: q = floor(a 10^k / b) and r = a 10^k - q b. A negative k
// scales the divisor instead: q = floor(a / (b 10^-k)), r = a - q b 10^-k.
QuotRem divScaled(std::string_view a, std::string_view b, std::int64_t k,
                  const CancelCheck* cancel = nullptr);

// base^e (0^0 = 1).
std::string powDigits(std::string_view base, std::uint64_t e, const CancelCheck* cancel = nullptr);

// lo (lo + 1) ... hi; "1" when lo > hi.
std::string rangeProductDigits(std::uint64_t lo, std::uint64_t hi,
                               const CancelCheck* cancel = nullptr);
// n!
std::string factorialDigits(std::uint64_t n, const CancelCheck* cancel = nullptr);
// n! / (k! (n - k)!); "0" when k > n.
std::string binomialDigits(std::uint64_t n, std::uint64_t k, const CancelCheck* cancel = nullptr);

// The greatest common divisor of a and b; gcd("0", "0") is "0".
std::string gcdDigits(std::string_view a, std::string_view b, const CancelCheck* cancel = nullptr);

// floor(m^(1/k)) for a digit string m and 1 <= k < 10^9, and whether it is
// exact (root^k = m).
struct RootDigits {
    std::string root;
    bool exact = true;
};
RootDigits rootDigits(std::string_view m, std::uint64_t k, const CancelCheck* cancel = nullptr);

// The digit string in base 2 to 36 (0-9 then a-z), and a text in such a
// base back to decimal digits ("" reads as 0; a character that is not a
// digit of the base throws std::invalid_argument).
std::string toBaseDigits(std::string_view digits, unsigned base,
                         const CancelCheck* cancel = nullptr);
std::string fromBaseDigits(std::string_view text, unsigned base,
                           const CancelCheck* cancel = nullptr);

// a^e mod m for m >= 1 (std::domain_error for m = 0).
std::string powModDigits(std::string_view a, std::string_view e, std::string_view m,
                         const CancelCheck* cancel = nullptr);

// Whether n is prime (natural.h: Primality), and the next prime after n.
enum class Primality;
Primality primalityOfDigits(std::string_view n, const CancelCheck* cancel = nullptr);
std::string nextPrimeDigits(std::string_view n, const CancelCheck* cancel = nullptr);

} // namespace longhand::fast
