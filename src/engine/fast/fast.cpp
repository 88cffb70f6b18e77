// The digit-string entry points: parse, compute on limbs, print.
#include "fast.h"

#include "natural.h"
#include "size_limits.h"

#include <stdexcept>

namespace longhand::fast {

std::string mulDigits(std::string_view a, std::string_view b) {
    const Natural x = fromDigits(a);
    if (a == b) // the square needs one transform less
        return toDigits(sqr(x));
    return toDigits(mul(x, fromDigits(b)));
}

std::string sqrDigits(std::string_view a) {
    return toDigits(sqr(fromDigits(a)));
}

QuotRem divDigits(std::string_view a, std::string_view b) {
    Natural q, r;
    divMod(fromDigits(a), fromDigits(b), q, r);
    return {toDigits(q), toDigits(r)};
}

QuotRem divScaled(std::string_view a, std::string_view b, std::int64_t k) {
    const std::uint64_t shift =
        k >= 0 ? static_cast<std::uint64_t>(k) : 0 - static_cast<std::uint64_t>(k);
    checkResultDigits(static_cast<double>(a.size()) + static_cast<double>(shift));
    Natural x = fromDigits(a), y = fromDigits(b);
    if (y.empty()) throw std::domain_error("division by zero");
    if (k >= 0)
        x = shiftDecimal(x, shift);
    else
        y = shiftDecimal(y, shift);
    Natural q, r;
    divMod(x, y, q, r);
    return {toDigits(q), toDigits(r)};
}

std::string powDigits(std::string_view base, std::uint64_t e) {
    return toDigits(power(fromDigits(base), e));
}

std::string rangeProductDigits(std::uint64_t lo, std::uint64_t hi) {
    return toDigits(rangeProduct(lo, hi));
}

std::string factorialDigits(std::uint64_t n) {
    return toDigits(factorial(n));
}

std::string binomialDigits(std::uint64_t n, std::uint64_t k) {
    return toDigits(binomial(n, k));
}

} // namespace longhand::fast
