// The digit-string entry points: parse, compute on limbs, print.
#include "fast.h"

#include "natural.h"
#include "size_limits.h"

#include <stdexcept>

namespace longhand::fast {

std::string mulDigits(std::string_view a, std::string_view b, const CancelCheck* cancel) {
    const Natural x = fromDigits(a);
    poll(cancel);
    if (a == b) // the square needs one transform less
        return toDigits(sqr(x, cancel));
    return toDigits(mul(x, fromDigits(b), cancel));
}

std::string sqrDigits(std::string_view a, const CancelCheck* cancel) {
    return toDigits(sqr(fromDigits(a), cancel));
}

QuotRem divDigits(std::string_view a, std::string_view b, const CancelCheck* cancel) {
    const Natural x = fromDigits(a);
    poll(cancel);
    Natural q, r;
    divMod(x, fromDigits(b), q, r, cancel);
    poll(cancel);
    return {toDigits(q), toDigits(r)};
}

QuotRem divScaled(std::string_view a, std::string_view b, std::int64_t k,
                  const CancelCheck* cancel) {
    const std::uint64_t shift =
        k >= 0 ? static_cast<std::uint64_t>(k) : 0 - static_cast<std::uint64_t>(k);
    checkResultDigits(static_cast<double>(a.size()) + static_cast<double>(shift));
    Natural x = fromDigits(a);
    poll(cancel);
    Natural y = fromDigits(b);
    if (y.empty()) throw std::domain_error("division by zero");
    if (k >= 0)
        x = shiftDecimal(x, shift);
    else
        y = shiftDecimal(y, shift);
    Natural q, r;
    divMod(x, y, q, r, cancel);
    poll(cancel);
    return {toDigits(q), toDigits(r)};
}

std::string powDigits(std::string_view base, std::uint64_t e, const CancelCheck* cancel) {
    return toDigits(power(fromDigits(base), e, cancel));
}

std::string rangeProductDigits(std::uint64_t lo, std::uint64_t hi, const CancelCheck* cancel) {
    return toDigits(rangeProduct(lo, hi, cancel));
}

std::string factorialDigits(std::uint64_t n, const CancelCheck* cancel) {
    return toDigits(factorial(n, cancel));
}

std::string binomialDigits(std::uint64_t n, std::uint64_t k, const CancelCheck* cancel) {
    return toDigits(binomial(n, k, cancel));
}

} // namespace longhand::fast
