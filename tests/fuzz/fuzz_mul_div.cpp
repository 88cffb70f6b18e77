// libFuzzer target: the fast multiplication, division, addition and
// subtraction against GMP. Built with tiny thresholds
// (LONGHAND_SMALL_THRESHOLDS) so that short inputs reach Karatsuba, the
// transforms and Newton division.
//
// Input layout: byte 0 picks where the bytes split into the two operands,
// every further byte gives one digit (its value mod 10). A mismatch aborts.
#include "engine/fast/fast.h"
#include "support/gmp.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using longhand::test::Z;

constexpr std::size_t kMaxDigits = 3000;

[[noreturn]] void mismatch(const char* what, std::string_view a, std::string_view b) {
    std::fprintf(stderr, "%s mismatch: a=%.*s b=%.*s\n", what, static_cast<int>(a.size()), a.data(),
                 static_cast<int>(b.size()), b.data());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fast = longhand::fast;
    using longhand::test::gmpAdd;
    using longhand::test::gmpDiv;
    using longhand::test::gmpMul;
    using longhand::test::gmpSub;
    if (size < 2 || size > 2 * kMaxDigits) return 0;
    std::string digits(size - 1, '0');
    for (std::size_t i = 1; i < size; ++i)
        digits[i - 1] = static_cast<char>('0' + data[i] % 10);
    const std::size_t split = std::min<std::size_t>(digits.size(), data[0] * digits.size() / 255);
    const std::string_view a(digits.data(), split);
    const std::string_view b(digits.data() + split, digits.size() - split);

    if (fast::mulDigits(a, b) != gmpMul(a, b)) mismatch("product", a, b);
    if (fast::sqrDigits(b) != gmpMul(b, b)) mismatch("square", b, b);
    if (b.find_first_not_of('0') != std::string_view::npos) {
        const fast::QuotRem got = fast::divDigits(a, b);
        const longhand::test::GmpQR want = gmpDiv(a, b);
        if (got.q != want.q || got.r != want.r) mismatch("quotient", a, b);
        // The quotient cut to k places, as the long-division drivers want it.
        const std::size_t k = data[0] % 23;
        const fast::QuotRem scaled = fast::divScaled(a, b, static_cast<std::int64_t>(k));
        const longhand::test::GmpQR wantScaled = gmpDiv(std::string(a) + std::string(k, '0'), b);
        if (scaled.q != wantScaled.q || scaled.r != wantScaled.r) mismatch("scaled quotient", a, b);
    }
    if (fast::addDigits(a, b) != gmpAdd(a, b)) mismatch("sum", a, b);
    const bool aFirst = fast::compareDigits(a, b) >= 0;
    const std::string difference = aFirst ? gmpSub(a, b) : gmpSub(b, a);
    if ((aFirst ? fast::subDigits(a, b) : fast::subDigits(b, a)) != difference)
        mismatch("difference", a, b);
    return 0;
}
