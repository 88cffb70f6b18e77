// The digit-string entry points: parse, compute on limbs, print.
#include "fast.h"

#include "natural.h"
#include "size_limits.h"

#include <stdexcept>

namespace longhand::fast {

namespace {

double limbsOf(std::size_t digits) {
    return static_cast<double>(digits) / kLimbDigits;
}

// How an entry point's work divides between reading the text, the
// arithmetic and writing the result's text (limb counts and productWork
// units, as weighed in cancel.h).
struct Shares {
    double read, arithmetic, write;
};

Shares sharesOf(double readLimbs, double arithmeticWork, double writeLimbs) {
    const double in = conversionWork(readLimbs), out = conversionWork(writeLimbs);
    const double total = in + arithmeticWork + out;
    return {in / total, arithmeticWork / total, out / total};
}

// An operation on numbers: parse, compute, print, each its share of the
// check's work.
template <class Arithmetic>
std::string measured(const CancelCheck* cancel, const Shares& shares, Arithmetic arithmetic,
                     std::size_t width = 0) {
    const CancelCheck computing = partOf(cancel, shares.arithmetic);
    const Natural r = arithmetic(&computing);
    computing.finish();
    std::string text = toDigits(r, width, cancel);
    finish(cancel);
    return text;
}

// q and r of x / y as texts, the division and the writing measured as
// their shares of the work; the operands were read already.
QuotRem measuredQuotRem(const Natural& x, const Natural& y, const Shares& shares,
                        const CancelCheck* cancel) {
    Natural q, r;
    {
        const CancelCheck dividing = partOf(cancel, shares.arithmetic);
        divMod(x, y, q, r, &dividing);
        dividing.finish();
    }
    QuotRem qr{toDigits(q, 0, cancel), toDigits(r, 0, cancel)};
    finish(cancel);
    return qr;
}

} // namespace

std::string mulDigits(std::string_view a, std::string_view b, const CancelCheck* cancel,
                      std::size_t width, const std::function<void()>& textsRead) {
    const MemoryScope scope;
    const double la = limbsOf(a.size()), lb = limbsOf(b.size());
    const Shares shares = sharesOf(la + lb, productWork(la + lb), la + lb);
    const bool square = a == b; // the square needs one transform less
    Natural x = fromDigits(a, cancel);
    Natural y = square ? Natural() : fromDigits(b, cancel);
    if (textsRead) textsRead();
    advance(cancel, shares.read);
    Natural r;
    {
        const CancelCheck computing = partOf(cancel, shares.arithmetic);
        r = square ? sqr(x, &computing) : mul(x, y, &computing);
        computing.finish();
    }
    // The operands' limbs go before the text is laid out beside the
    // product's limbs.
    Natural().swap(x);
    Natural().swap(y);
    std::string text = toDigits(r, width, cancel);
    finish(cancel);
    return text;
}

std::string sqrDigits(std::string_view a, const CancelCheck* cancel) {
    const MemoryScope scope;
    const double la = limbsOf(a.size());
    const Shares shares = sharesOf(la, productWork(2 * la), 2 * la);
    const Natural x = fromDigits(a, cancel);
    advance(cancel, shares.read);
    return measured(cancel, shares, [&](const CancelCheck* c) { return sqr(x, c); });
}

QuotRem divDigits(std::string_view a, std::string_view b, const CancelCheck* cancel) {
    const MemoryScope scope;
    const double la = limbsOf(a.size()), lb = limbsOf(b.size());
    const Shares shares = sharesOf(la + lb, divisionWork(la), la + lb);
    const Natural x = fromDigits(a, cancel);
    const Natural y = fromDigits(b, cancel);
    advance(cancel, shares.read);
    return measuredQuotRem(x, y, shares, cancel);
}

QuotRem divScaled(std::string_view a, std::string_view b, std::int64_t k,
                  const CancelCheck* cancel) {
    const MemoryScope scope;
    const std::uint64_t shift =
        k >= 0 ? static_cast<std::uint64_t>(k) : 0 - static_cast<std::uint64_t>(k);
    checkResultDigits(static_cast<double>(a.size()) + static_cast<double>(shift));
    const double la = limbsOf(a.size()), lb = limbsOf(b.size()), ls = limbsOf(shift);
    const double dividend = k >= 0 ? la + ls : la, divisor = k >= 0 ? lb : lb + ls;
    const Shares shares =
        sharesOf(la + lb, divisionWork(dividend), dividend - divisor + 1 + divisor);
    Natural x = fromDigits(a, cancel);
    Natural y = fromDigits(b, cancel);
    if (y.empty()) throw std::domain_error("division by zero");
    if (k >= 0)
        x = shiftDecimal(x, shift, cancel);
    else
        y = shiftDecimal(y, shift, cancel);
    poll(cancel);
    advance(cancel, shares.read);
    return measuredQuotRem(x, y, shares, cancel);
}

std::string powDigits(std::string_view base, std::uint64_t e, const CancelCheck* cancel) {
    const MemoryScope scope;
    const Natural m = fromDigits(base, cancel);
    const double limbs = m.empty() || e == 0 ? 0 : estimatePowerDigits(m, e) / kLimbDigits;
    const Shares shares = sharesOf(limbsOf(base.size()), treeWork(limbs), limbs);
    advance(cancel, shares.read);
    return measured(cancel, shares, [&](const CancelCheck* c) { return power(m, e, c); });
}

std::string rangeProductDigits(std::uint64_t lo, std::uint64_t hi, const CancelCheck* cancel) {
    const MemoryScope scope;
    const double limbs = lo == 0 || lo > hi ? 0 : productDigits(lo, hi) / kLimbDigits;
    return measured(cancel, sharesOf(0, treeWork(limbs), limbs),
                    [&](const CancelCheck* c) { return consecutiveProduct(lo, hi, c); });
}

std::string factorialDigits(std::uint64_t n, const CancelCheck* cancel) {
    const MemoryScope scope;
    const double limbs = n == 0 ? 0 : productDigits(1, n) / kLimbDigits;
    return measured(cancel, sharesOf(0, treeWork(limbs), limbs),
                    [&](const CancelCheck* c) { return factorial(n, c); });
}

std::string binomialDigits(std::uint64_t n, std::uint64_t k, const CancelCheck* cancel) {
    const MemoryScope scope;
    const double limbs =
        k > n ? 0 : (log10Factorial(n) - log10Factorial(k) - log10Factorial(n - k)) / kLimbDigits;
    return measured(cancel, sharesOf(0, treeWork(limbs), limbs),
                    [&](const CancelCheck* c) { return binomial(n, k, c); });
}

} // namespace longhand::fast
