// The test of digit characters eight at a time, for the loops that read
// long texts: the engine's checks of number texts and the fast layer's
// readers share it.
#pragma once

#include "thresholds.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace longhand::fast {

// True when the 8 bytes of v are all '0'..'9': each byte's high half is 3,
// and adding 6 to its low half does not carry into the high half.
inline bool eightDigits(std::uint64_t v) {
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull, kSix = 0x0606060606060606ull;
    constexpr std::uint64_t kThrees = 0x3333333333333333ull;
    return ((v & kHigh) | (((v + kSix) & kHigh) >> 4)) == kThrees;
}

// The count of '0'..'9' characters at the start of p[0..n), eight at a
// time; n when all are digits.
inline std::size_t digitRun(const char* p, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t v;
        std::memcpy(&v, p + i, 8);
        if (!eightDigits(v)) break;
    }
    for (; i < n; ++i)
        if (p[i] < '0' || p[i] > '9') return i;
    return n;
}

// The offset of the first character of text that is not '0'..'9', or
// std::string_view::npos; long texts are scanned on every thread.
std::size_t firstNonDigit(std::string_view text);

// True when every character of text is '0'..'9' (the empty text included).
inline bool allDigitChars(std::string_view text) {
    if (text.size() >= kParallelScanBytes) return firstNonDigit(text) == std::string_view::npos;
    return digitRun(text.data(), text.size()) == text.size();
}

} // namespace longhand::fast
