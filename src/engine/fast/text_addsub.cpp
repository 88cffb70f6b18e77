// Addition and subtraction straight on the text, eight digits per 64-bit
// word. Converting to limbs and back would cost more than the sum itself.
//
// Words are loaded byte-swapped so that the last (least significant) digit
// of the eight sits in the low byte and binary carries run the right way.
// Sum: each byte holds x + y + 246 (+ the carry from below); it overflows
// exactly when the decimal digit sum reaches 10, so the binary carry chain
// is the decimal one. Bytes that did not overflow still hold digit + 246
// (high bit set) and lose the 246 afterwards. Difference: a byte of x - y
// borrows from the next one exactly when the decimal digit difference is
// negative; such bytes hold 256 + d and become d + 10 the same way.
#include "digit_chars.h"
#include "fast.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace longhand::fast {

namespace {

using u64 = std::uint64_t;
constexpr u64 kZeros = 0x3030303030303030ull;
constexpr u64 kHigh = 0x8080808080808080ull;
constexpr u64 kAdd246 = 0xF6F6F6F6F6F6F6F6ull;

void requireDigits(std::string_view s) {
    if (!allDigitChars(s)) throw std::invalid_argument("not a digit string");
}

std::string_view stripZeros(std::string_view s) {
    const std::size_t i = s.find_first_not_of('0');
    return i == std::string_view::npos ? std::string_view{} : s.substr(i);
}

// Eight digits (most significant first in memory) as a word with the last
// digit in the low byte, values 0..9.
inline u64 loadDigits(const char* p) {
    u64 v;
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v) - kZeros;
}

inline void storeDigits(char* p, u64 v) {
    v = __builtin_bswap64(v + kZeros);
    std::memcpy(p, &v, 8);
}

// Bytes holding value + 246 (high bit set) lose the 246.
inline u64 dropBias(u64 v) {
    return v - ((v & kHigh) >> 7) * 246;
}

std::string finish(std::string& out) {
    const std::size_t i = out.find_first_not_of('0');
    if (i == std::string::npos) return "0";
    if (i > 0) out.erase(0, i);
    return std::move(out);
}

} // namespace

int compareDigits(std::string_view a, std::string_view b) {
    requireDigits(a);
    requireDigits(b);
    a = stripZeros(a);
    b = stripZeros(b);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return (c > 0) - (c < 0);
}

std::string addDigits(std::string_view a, std::string_view b) {
    requireDigits(a);
    requireDigits(b);
    a = stripZeros(a);
    b = stripZeros(b);
    if (a.size() < b.size()) std::swap(a, b);
    const std::size_t la = a.size(), lb = b.size();
    std::string out(la + 1, '0');
    char* o = out.data() + 1; // o[0..la) mirrors a
    std::size_t i = 0;        // digits done, from the right
    u64 carry = 0;
    for (; i + 8 <= lb; i += 8) {
        const u64 x = loadDigits(a.data() + la - i - 8);
        const u64 y = loadDigits(b.data() + lb - i - 8);
        const u64 s1 = x + y;
        const u64 s2 = s1 + kAdd246;
        const u64 s3 = s2 + carry;
        carry = (s2 < s1) | (s3 < s2);
        storeDigits(o + la - i - 8, dropBias(s3));
    }
    for (; i < lb; ++i) {
        const unsigned s = (a[la - 1 - i] - '0') + (b[lb - 1 - i] - '0') + carry;
        carry = s >= 10;
        o[la - 1 - i] = static_cast<char>('0' + (carry ? s - 10 : s));
    }
    for (; i < la && carry; ++i) {
        const char c = a[la - 1 - i];
        carry = c == '9';
        o[la - 1 - i] = carry ? '0' : static_cast<char>(c + 1);
    }
    if (la > i) std::memcpy(o, a.data(), la - i);
    out[0] = static_cast<char>('0' + carry);
    return finish(out);
}

std::string subDigits(std::string_view a, std::string_view b) {
    if (compareDigits(a, b) < 0) throw std::domain_error("negative difference");
    a = stripZeros(a);
    b = stripZeros(b);
    const std::size_t la = a.size(), lb = b.size();
    std::string out(la, '0');
    char* o = out.data();
    std::size_t i = 0;
    u64 borrow = 0;
    for (; i + 8 <= lb; i += 8) {
        const u64 x = loadDigits(a.data() + la - i - 8);
        const u64 y = loadDigits(b.data() + lb - i - 8);
        const u64 d1 = x - y;
        const u64 d2 = d1 - borrow;
        borrow = (x < y) | (d1 < borrow);
        storeDigits(o + la - i - 8, dropBias(d2));
    }
    for (; i < lb; ++i) {
        const int d = (a[la - 1 - i] - '0') - (b[lb - 1 - i] - '0') - static_cast<int>(borrow);
        borrow = d < 0;
        o[la - 1 - i] = static_cast<char>('0' + (borrow ? d + 10 : d));
    }
    for (; i < la && borrow; ++i) {
        const char c = a[la - 1 - i];
        borrow = c == '0';
        o[la - 1 - i] = borrow ? '9' : static_cast<char>(c - 1);
    }
    if (la > i) std::memcpy(o, a.data(), la - i);
    return finish(out);
}

} // namespace longhand::fast
