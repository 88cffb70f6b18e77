// Text <-> limb conversion: one linear pass each way, eight digits per step
// with SWAR (several digits inside one 64-bit word) arithmetic. Every limb
// is nine characters of its own, so long texts are split over the threads.
#include "digit_chars.h"
#include "natural.h"
#include "parallel.h"
#include "thresholds.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace longhand::fast {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;

// Value of eight digit characters, the first one most significant.
inline std::uint32_t parse8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    if (!eightDigits(v)) throw std::invalid_argument("not a digit string");
    v = (v & 0x0F0F0F0F0F0F0F0Full) * 2561 >> 8;
    v = (v & 0x00FF00FF00FF00FFull) * 6553601 >> 16;
    return static_cast<std::uint32_t>((v & 0x0000FFFF0000FFFFull) * 42949672960001ull >> 32);
}

inline std::uint32_t parseShort(const char* p, std::size_t n) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned d = static_cast<unsigned char>(p[i]) - '0';
        if (d > 9) throw std::invalid_argument("not a digit string");
        v = v * 10 + d;
    }
    return v;
}

// Eight characters of x < 10^8, zero padded.
inline void write8(char* out, std::uint32_t x) {
    std::uint64_t hi = x / 10000, lo = x % 10000;
    std::uint64_t v = hi | (lo << 32);
    std::uint64_t q = ((v * 10486) >> 20) & 0x0000007F0000007Full;
    v = q | ((v - q * 100) << 16);
    q = ((v * 103) >> 10) & 0x000F000F000F000Full;
    v = q | ((v - q * 10) << 8);
    v += 0x30 * kOnes;
    std::memcpy(out, &v, 8);
}

// Nine characters of one limb, zero padded.
inline void write9(char* out, Limb x) {
    out[0] = static_cast<char>('0' + x / 100000000u);
    write8(out + 1, x % 100000000u);
}

// n <= 9 low characters of x, zero padded.
inline void writeShort(char* out, Limb x, std::size_t n) {
    for (std::size_t i = n; i-- > 0;) {
        out[i] = static_cast<char>('0' + x % 10);
        x /= 10;
    }
}

inline std::size_t limbDigits(Limb x) {
    std::size_t n = 1;
    while (x >= 10) {
        x /= 10;
        ++n;
    }
    return n;
}

} // namespace

Natural fromDigits(std::string_view s, const CancelCheck* cancel) {
    const std::size_t full = s.size() / kLimbDigits;
    const std::size_t head = s.size() % kLimbDigits;
    Natural a(full + (head ? 1 : 0));
    const char* end = s.data() + s.size();
    par::forChunks(full, kParallelGrain, 1, [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if ((i - from) % kConvertPollLimbs == kConvertPollLimbs - 1) poll(cancel);
            const char* p = end - (i + 1) * kLimbDigits;
            a[i] = parseShort(p, 1) * 100000000u + parse8(p + 1);
        }
    });
    if (head) a[full] = parseShort(s.data(), head);
    trim(a);
    return a;
}

std::size_t digitCount(const Natural& a) {
    if (a.empty()) return 0;
    return (a.size() - 1) * kLimbDigits + limbDigits(a.back());
}

void writeDigits(const Natural& a, char* out, std::size_t width, const CancelCheck* cancel) {
    const std::size_t n = a.size();
    const std::size_t used = std::min(width, n * kLimbDigits);
    std::memset(out, '0', width - used);
    char* end = out + width;
    const std::size_t full = used / kLimbDigits;
    par::forChunks(full, kParallelGrain, 1, [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if ((i - from) % kConvertPollLimbs == kConvertPollLimbs - 1) poll(cancel);
            write9(end - (i + 1) * kLimbDigits, a[i]);
        }
    });
    if (std::size_t rest = used % kLimbDigits) writeShort(end - used, a[full], rest);
}

std::string toDigits(const Natural& a, std::size_t minWidth, const CancelCheck* cancel) {
    std::size_t width = std::max(digitCount(a), minWidth);
    if (width == 0) return "0";
    // Laid out in pieces, polling between them: the first touch of a long
    // text's memory takes a while. writeDigits then writes every character.
    // The memory kept from the arithmetic goes under the text where it
    // can (its pages are faulted in already), the rest back to the system
    // before the text's own pages come in.
    std::string s;
    if (width >= kLargeBytes && width < kLendableBytes) MemoryScope::release();
    // Two characters more: a sign and a point that the caller may still
    // put in move the text within its room instead of copying it.
    s.reserve(width + 2);
    if (width >= kLendableBytes) {
        MemoryScope::lendKept(s.data(), width);
        MemoryScope::release();
    }
    if (width >= kLargeBytes) prefault(s.data(), width, cancel);
    for (std::size_t at = 0; at < width; at += kConvertPollLimbs * kLimbDigits) {
        s.append(std::min(kConvertPollLimbs * kLimbDigits, width - at), '0');
        poll(cancel);
    }
    writeDigits(a, s.data(), width, cancel);
    return s;
}

} // namespace longhand::fast
