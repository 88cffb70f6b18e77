// The prime fields of the number-theoretic transforms.
//
// Three primes p < 2^30 with p - 1 = c 2^k, 15 | c, so that transforms of
// length 2^j, 3 * 2^j, 5 * 2^j and 15 * 2^j exist (Crandall & Pomerance,
// "Prime Numbers", 9.5.6). One limb (< 10^9) is one transform point; a product of n-limb
// operands has convolution terms below n (10^9 - 1)^2, and the product of
// the primes (about 2^89) exceeds that for every length the transforms
// reach, so the Chinese remainder theorem recovers each term exactly.
//
// Arithmetic in 32 bits, values kept "lazy" in [0, 2p) (which needs
// 4p < 2^32): Montgomery's reduction for products of two variables and
// Shoup's precomputed quotients for products with a known factor (Harvey,
// "Faster arithmetic for number-theoretic transforms", 2014). Limbs are
// below 10^9 < 2p, so they enter a transform as they are.
#pragma once

#include <cstddef>
#include <cstdint>

namespace longhand::fast::ntt {

using u32 = std::uint32_t;
using u64 = std::uint64_t;

inline constexpr int kPrimeCount = 3;
// The largest power of two dividing all three p - 1.
inline constexpr int kMaxPow2Log = 22;
// Longest transform: 15 * 2^22 points.
inline constexpr std::size_t kMaxPoints = std::size_t{15} << kMaxPow2Log;

constexpr u32 mulMod(u32 a, u32 b, u32 p) {
    return static_cast<u32>(static_cast<u64>(a) * b % p);
}

constexpr u32 powMod(u32 b, u64 e, u32 p) {
    u32 r = 1 % p;
    for (b %= p; e; e >>= 1) {
        if (e & 1) r = mulMod(r, b, p);
        b = mulMod(b, b, p);
    }
    return r;
}

constexpr u32 inverseMod(u32 a, u32 p) {
    return powMod(a, p - 2, p);
}

struct Prime {
    u32 p;
    u32 negInv; // -p^-1 mod 2^32, for Montgomery's reduction
    u32 r1;     // 2^32 mod p: a value's Montgomery form is a r1 mod p
    u32 root;   // a generator of the multiplicative group mod p

    constexpr Prime(u32 prime, u32 generator)
        : p(prime), negInv(0), r1(static_cast<u32>((u64{1} << 32) % prime)), root(generator) {
        u32 inv = prime; // Newton's iteration for p^-1 mod 2^32
        for (int i = 0; i < 5; ++i)
            inv *= 2 - prime * inv;
        negInv = 0 - inv;
    }
    // A primitive n-th root of unity, n | p - 1.
    constexpr u32 rootOfUnity(u64 n) const { return powMod(root, (p - 1) / n, p); }
    // x in Montgomery form.
    constexpr u32 toMont(u32 x) const { return mulMod(x, r1, p); }
};

// p - 1 = 45 * 2^24, 105 * 2^23, 225 * 2^22.
inline constexpr Prime kPrimes[kPrimeCount] = {
    {754974721u, 11u}, {880803841u, 26u}, {943718401u, 7u}};

static_assert(kPrimes[0].p < (1u << 30) && kPrimes[1].p < (1u << 30) && kPrimes[2].p < (1u << 30));
static_assert(kPrimes[0].p > 500000000u && kPrimes[1].p > 500000000u &&
              kPrimes[2].p > 500000000u); // limbs below 2p
static_assert(kPrimes[0].p * kPrimes[0].negInv == 0u - 1u);
static_assert((kPrimes[0].p - 1) % kMaxPoints == 0 && (kPrimes[1].p - 1) % kMaxPoints == 0 &&
              (kPrimes[2].p - 1) % kMaxPoints == 0);

inline constexpr u32 reduceOnce(u32 x, u32 m) {
    return x >= m ? x - m : x;
}

// Shoup's quotient floor(w 2^32 / p) for w < p.
constexpr u32 shoupQuotient(u32 w, u32 p) {
    return static_cast<u32>((static_cast<u64>(w) << 32) / p);
}

// x w mod p in [0, 2p) for any x < 2^32, given w < p and wq its quotient.
inline u32 mulShoup(u32 x, u32 w, u32 wq, u32 p) {
    const u32 q = static_cast<u32>((static_cast<u64>(x) * wq) >> 32);
    return x * w - q * p;
}

// a b 2^-32 mod p in [0, 2p) for a b < p 2^32 (a, b < 2p will do).
inline u32 montMul(u32 a, u32 b, const Prime& f) {
    const u64 t = static_cast<u64>(a) * b;
    const u32 m = static_cast<u32>(t) * f.negInv;
    return static_cast<u32>((t + static_cast<u64>(m) * f.p) >> 32);
}

} // namespace longhand::fast::ntt
