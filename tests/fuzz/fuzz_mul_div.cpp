// libFuzzer target: the fast multiplication, division, addition and
// subtraction against plain digit-by-digit reference arithmetic written
// here, independent of the fast code. Built with tiny thresholds
// (LONGHAND_SMALL_THRESHOLDS) so that short inputs reach Karatsuba, the
// transforms and Newton division.
//
// Input layout: byte 0 picks where the bytes split into the two operands,
// every further byte gives one digit (its value mod 10). A mismatch aborts.
#include "engine/fast/fast.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kMaxDigits = 3000; // keeps the quadratic reference quick

std::string stripped(std::string s) {
    const std::size_t i = s.find_first_not_of('0');
    return i == std::string::npos ? "0" : s.substr(i);
}

// Schoolbook product, one decimal digit per cell.
std::string referenceMul(std::string_view a, std::string_view b) {
    std::vector<unsigned> cells(a.size() + b.size() + 1, 0);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j)
            cells[i + j] += static_cast<unsigned>(a[a.size() - 1 - i] - '0') *
                            static_cast<unsigned>(b[b.size() - 1 - j] - '0');
    std::string out(cells.size(), '0');
    unsigned carry = 0;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const unsigned v = cells[k] + carry;
        out[cells.size() - 1 - k] = static_cast<char>('0' + v % 10);
        carry = v / 10;
    }
    return stripped(out);
}

// rem >= div for digit strings without leading zeros ("0" for zero).
bool notLess(const std::string& rem, const std::string& div) {
    if (rem.size() != div.size()) return rem.size() > div.size();
    return rem >= div;
}

// rem - div for rem >= div, both without leading zeros.
std::string minus(const std::string& rem, const std::string& div) {
    std::string out = rem;
    int borrow = 0;
    for (std::size_t k = 0; k < out.size(); ++k) {
        const std::size_t i = out.size() - 1 - k;
        int d = (rem[i] - '0') - borrow - (k < div.size() ? div[div.size() - 1 - k] - '0' : 0);
        borrow = d < 0;
        out[i] = static_cast<char>('0' + (borrow ? d + 10 : d));
    }
    return stripped(out);
}

// Sum, digit by digit with carry.
std::string plus(const std::string& a, const std::string& b) {
    std::string out(std::max(a.size(), b.size()) + 1, '0');
    int carry = 0;
    for (std::size_t k = 0; k < out.size(); ++k) {
        int d = carry;
        if (k < a.size()) d += a[a.size() - 1 - k] - '0';
        if (k < b.size()) d += b[b.size() - 1 - k] - '0';
        carry = d >= 10;
        out[out.size() - 1 - k] = static_cast<char>('0' + d % 10);
    }
    return stripped(out);
}

// Long division, one quotient digit at a time by repeated subtraction.
std::pair<std::string, std::string> referenceDiv(std::string_view a, const std::string& b) {
    std::string q, rem = "0";
    for (char c : a) {
        rem = stripped(rem + c);
        char digit = '0';
        while (notLess(rem, b)) {
            rem = minus(rem, b);
            ++digit;
        }
        q += digit;
    }
    return {stripped(q), rem};
}

[[noreturn]] void mismatch(const char* what, std::string_view a, std::string_view b) {
    std::fprintf(stderr, "%s mismatch: a=%.*s b=%.*s\n", what, static_cast<int>(a.size()), a.data(),
                 static_cast<int>(b.size()), b.data());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 2 * kMaxDigits) return 0;
    std::string digits(size - 1, '0');
    for (std::size_t i = 1; i < size; ++i)
        digits[i - 1] = static_cast<char>('0' + data[i] % 10);
    const std::size_t split = std::min<std::size_t>(digits.size(), data[0] * digits.size() / 255);
    const std::string_view a(digits.data(), split);
    const std::string_view b(digits.data() + split, digits.size() - split);

    const std::string sa = stripped(std::string(a)), sb = stripped(std::string(b));
    if (longhand::fast::mulDigits(a, b) != referenceMul(sa, sb)) mismatch("product", a, b);
    if (longhand::fast::sqrDigits(b) != referenceMul(sb, sb)) mismatch("square", b, b);
    if (sb != "0") {
        const longhand::fast::QuotRem got = longhand::fast::divDigits(a, b);
        const auto want = referenceDiv(sa, sb);
        if (got.q != want.first || got.r != want.second) mismatch("quotient", a, b);
        // The quotient cut to k places, as the long-division drivers want it.
        const std::size_t k = data[0] % 23;
        const longhand::fast::QuotRem scaled =
            longhand::fast::divScaled(a, b, static_cast<std::int64_t>(k));
        const auto wantScaled = referenceDiv(sa + std::string(k, '0'), sb);
        if (scaled.q != wantScaled.first || scaled.r != wantScaled.second)
            mismatch("scaled quotient", a, b);
    }
    if (longhand::fast::addDigits(a, b) != plus(sa, sb)) mismatch("sum", a, b);
    const bool aFirst = notLess(sa, sb);
    const std::string diff = aFirst ? minus(sa, sb) : minus(sb, sa);
    if ((aFirst ? longhand::fast::subDigits(a, b) : longhand::fast::subDigits(b, a)) != diff)
        mismatch("difference", a, b);
    return 0;
}
