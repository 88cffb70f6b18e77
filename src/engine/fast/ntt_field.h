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

inline constexpr u32 reduceOnce(u32 x, u32 m) {
    return x >= m ? x - m : x;
}

// a b 2^-32 mod p in [0, 2p) for a b < p 2^32 (a, b < 2p will do).
constexpr u32 montMul(u32 a, u32 b, u32 p, u32 negInv) {
    const u64 t = static_cast<u64>(a) * b;
    const u32 m = static_cast<u32>(t) * negInv;
    return static_cast<u32>((t + static_cast<u64>(m) * p) >> 32);
}

struct Prime {
    u32 p;
    u32 negInv; // -p^-1 mod 2^32, for Montgomery's reduction
    u32 r1;     // 2^32 mod p: a value's Montgomery form is a r1 mod p
    u32 r2;     // 2^64 mod p
    u32 root;   // a generator of the multiplicative group mod p

    constexpr Prime(u32 prime, u32 generator)
        : p(prime), negInv(0), r1(static_cast<u32>((u64{1} << 32) % prime)),
          r2(mulMod(r1, r1, prime)), root(generator) {
        u32 inv = prime; // Newton's iteration for p^-1 mod 2^32
        for (int i = 0; i < 5; ++i)
            inv *= 2 - prime * inv;
        negInv = 0 - inv;
    }

    // The operations below run without a division: Montgomery products
    // (canonical results in [0, p)), for the constants each transform
    // works out before its loops.

    // x in Montgomery form, x 2^32 mod p, and back.
    constexpr u32 toMont(u32 x) const { return reduceOnce(montMul(x, r2, p, negInv), p); }
    constexpr u32 fromMont(u32 x) const { return reduceOnce(montMul(x, 1, p, negInv), p); }
    // a b mod p.
    constexpr u32 mul(u32 a, u32 b) const {
        return reduceOnce(montMul(montMul(a % p, b % p, p, negInv), r2, p, negInv), p);
    }
    // b^e mod p.
    constexpr u32 pow(u32 b, u64 e) const {
        u32 r = r1 % p, x = toMont(b % p); // Montgomery forms of 1 and b
        for (; e; e >>= 1) {
            if (e & 1) r = reduceOnce(montMul(r, x, p, negInv), p);
            x = reduceOnce(montMul(x, x, p, negInv), p);
        }
        return fromMont(r);
    }
    // a^-1 mod p for a not divisible by p.
    constexpr u32 inverse(u32 a) const { return pow(a, p - 2); }
    // A primitive n-th root of unity, n | p - 1.
    constexpr u32 rootOfUnity(u64 n) const { return pow(root, (p - 1) / n); }
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

// Shoup's quotient floor(w 2^32 / p) for w < p.
constexpr u32 shoupQuotient(u32 w, u32 p) {
    return static_cast<u32>((static_cast<u64>(w) << 32) / p);
}

// x w mod p in [0, 2p) for any x < 2^32, given w < p and wq its quotient.
inline u32 mulShoup(u32 x, u32 w, u32 wq, u32 p) {
    const u32 q = static_cast<u32>((static_cast<u64>(x) * wq) >> 32);
    return x * w - q * p;
}

inline u32 montMul(u32 a, u32 b, const Prime& f) {
    return montMul(a, b, f.p, f.negInv);
}

} // namespace longhand::fast::ntt
