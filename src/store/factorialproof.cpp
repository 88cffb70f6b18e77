#include "factorialproof.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>
#include <vector>

namespace longhand {

namespace {

// Primes below 2^32: a residue times a number below 2^32 fits in 64 bits,
// and the constant moduli let the compiler reduce without dividing.
constexpr std::uint64_t kP0 = 4294967291u;
constexpr std::uint64_t kP1 = 4294967279u;
constexpr std::uint64_t kP2 = 4294967231u;

// Digits folded at a time: a residue times 10^8 plus 8 digits stays below
// 2^59, and 8 digit characters are one 64-bit word.
constexpr int kChunkDigits = 8;

constexpr std::uint64_t kPowersOfTen[kChunkDigits + 1] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// The number that 8 digit characters spell, the first one highest: pairs,
// then fours, then the eight combined by multiplications within the word.
std::uint64_t eightDigitValue(const char* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        v -= 0x3030303030303030u;
        v = (v * 10) + (v >> 8);
        return (((v & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
                (((v >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >>
               32;
    } else {
        std::uint64_t v = 0;
        for (int i = 0; i < kChunkDigits; ++i)
            v = v * 10 + static_cast<std::uint64_t>(p[i] - '0');
        return v;
    }
}

void fold(FactorialResidue& r, std::uint64_t chunk, int digits) {
    const std::uint64_t shift = kPowersOfTen[digits];
    r[0] = (r[0] * shift + chunk) % kP0;
    r[1] = (r[1] * shift + chunk) % kP1;
    r[2] = (r[2] * shift + chunk) % kP2;
}

// Every kCheckpointStride-th factorial's residues, kept for the whole run as
// they are first reached, so that a proof of a large n steps on from the
// nearest one below it instead of from 1.
constexpr std::uint64_t kCheckpointStride = std::uint64_t{1} << 14;

struct Checkpoints {
    std::mutex mutex;
    std::vector<FactorialResidue> residues{FactorialResidue{1, 1, 1}}; // [i]: (i * stride)!
};

Checkpoints& checkpoints() {
    static Checkpoints known;
    return known;
}

} // namespace

void DigitResidues::add(std::string_view digits) {
    const char* p = digits.data();
    const char* const end = p + digits.size();
    // Whole chunks of 8 digits are read as one word.
    while (pending_ > 0 && p < end) {
        chunk_ = chunk_ * 10 + static_cast<std::uint64_t>(*p++ - '0');
        if (++pending_ == kChunkDigits) {
            fold(folded_, chunk_, kChunkDigits);
            chunk_ = 0;
            pending_ = 0;
        }
    }
    for (; end - p >= kChunkDigits; p += kChunkDigits)
        fold(folded_, eightDigitValue(p), kChunkDigits);
    for (; p < end; ++p) {
        chunk_ = chunk_ * 10 + static_cast<std::uint64_t>(*p - '0');
        ++pending_;
    }
}

FactorialResidue DigitResidues::residues() const {
    FactorialResidue r = folded_;
    if (pending_ > 0) fold(r, chunk_, pending_);
    return r;
}

const FactorialResidue& FactorialResidues::at(std::uint64_t n) {
    // From n = p on, p divides n!; so every k multiplied in below is under
    // 2^32, and a residue times k fits in 64 bits.
    if (n >= kP0) {
        n_ = n;
        residues_ = {0, 0, 0};
        return residues_;
    }
    if (n < n_) {
        n_ = 1;
        residues_ = {1, 1, 1};
    }
    Checkpoints& known = checkpoints();
    if (n - n_ >= kCheckpointStride) {
        const std::lock_guard<std::mutex> lock(known.mutex);
        const std::size_t i = static_cast<std::size_t>(
            std::min<std::uint64_t>(n / kCheckpointStride, known.residues.size() - 1));
        if (i * kCheckpointStride > n_) {
            n_ = i * kCheckpointStride;
            residues_ = known.residues[i];
        }
    }
    while (n_ < n) {
        const std::uint64_t boundary = (n_ / kCheckpointStride + 1) * kCheckpointStride;
        const std::uint64_t to = std::min(n, boundary);
        for (std::uint64_t k = n_ + 1; k <= to; ++k) {
            residues_[0] = residues_[0] * k % kP0;
            residues_[1] = residues_[1] * k % kP1;
            residues_[2] = residues_[2] * k % kP2;
        }
        n_ = to;
        if (to == boundary) {
            const std::lock_guard<std::mutex> lock(known.mutex);
            if (known.residues.size() == to / kCheckpointStride)
                known.residues.push_back(residues_);
        }
    }
    return residues_;
}

} // namespace longhand
