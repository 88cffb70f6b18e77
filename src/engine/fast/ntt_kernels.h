// The inner loops of the number-theoretic transforms, in two sets with
// the same contract and the same results word for word: portable C++
// (ntt_kernels_portable.cpp) and AVX2 (ntt_kernels_avx2.cpp), the latter
// chosen at run time on processors that have it.
//
// Every array holds residues modulo one prime p of ntt_field.h in [0, 2p)
// and gets them back in [0, 2p). Arrays do not overlap unless stated.
// Counts of points handed to a kernel are multiples of 8 (except in leaf
// transforms shorter than kLeafVectorPoints, which run the same scalar
// code in both sets).
//
// Butterflies (ntt_tables.h for the block twiddles d):
//   forward, x and y the two halves' points:  (x, y) -> (x + d y, x - d y)
//   inverse, e = d^-1:                        (x, y) -> (x + y, (x - y) e)
// An inverse stage undoes its forward stage up to a factor 2, so a whole
// inverse transform returns n times the input.
#pragma once

#include "ntt_field.h"
#include "ntt_tables.h"
#include "thresholds.h"

#include <bit>
#include <cstddef>

namespace longhand::fast::ntt {

// The twiddles of one radix-4 pass over a block b: stage A pairs the
// block's halves with T[b], stage B the quarters with T[2b] (first half)
// and T[2b + 1] (second half). For the inverse pass they hold the
// inverses, and the stages run B then A.
struct Radix4Twiddles {
    u32 a, aq, b0, b0q, b1, b1q;
};

inline Radix4Twiddles radix4At(const BlockTwiddles& t, std::size_t b) {
    return {t.w[b], t.wq[b], t.w[2 * b], t.wq[2 * b], t.w[2 * b + 1], t.wq[2 * b + 1]};
}

// The factors x^i (i < n) of a twist, as start x^i0 and ratio x.
struct Twist {
    u32 start, ratio;
};

// The radix-3 layer of a transform of length 3m on thirds a0, a1, a2:
// forward, for each point j
//   y0 = x0 + x1 + x2, y1 = (x0 + c x1 + c^2 x2) w^j, y2 = (x0 + c^2 x1 + c x2) w^2j
// with c = cube root of unity; inverse, with c and w replaced by their
// inverses, first the twist of z1, z2 by w^-j, w^-2j, then the same
// three-point combination. `factors` gives w^j0 and w for the first point
// j0 of the range handed over; the second twist uses their squares.
struct Radix3 {
    u32 c, cq;
    Twist factors;
};

// The radix-5 layer of a transform of length 5m on its fifths a + s m,
// s = 0..4: forward, for each point j, y_t = w^tj sum_s x_s c^st with c a
// fifth root of unity; inverse, with c and w inverted, first the twist of
// z_t by w^-tj, then the same five-point combination. That combination
// pairs x1 with x4 and x2 with x3 (u their sum, v their difference): with
// a_k = (c^k + c^-k) / 2 and b_k = (c^k - c^-k) / 2,
//   y1, y4 = x0 + a1 u1 + a2 u2 +- (b1 v1 + b2 v2),
//   y2, y3 = x0 + a2 u1 + a1 u2 +- (b2 v1 - b1 v2),
// eight products for five points. `factors` gives w^j0 and w for the
// first point j0 of the range; the twist of y_t uses their t-th powers.
struct Radix5 {
    u32 a1, a1q, a2, a2q, b1, b1q, b2, b2q;
    Twist factors;
};

// Constants of Garner's recombination for the three primes, from
// residues r_k = s_k^-1 v mod p_k of the convolution term v (s_k being the
// transforms' scale, the point count times the Montgomery factor 2^-32).
struct GarnerConstants {
    u32 s1, s1q;                   // x1 = r1 s1 mod p1, in [0, p1)
    u32 k2, k2q, m2, m2q;          // y2 = r2 k2 + x1 m2 mod p2 = (v - x1) / p1 mod p2
    u32 k3, k3q, m3, m3q, n3, n3q; // y3 = r3 k3 + x1 m3 + y2 n3 mod p3
};

// Leaf transforms of kLeafVectorPoints (thresholds.h) and more run their
// last three stages across the lanes of eight vectors (the output order
// then differs from that of a plain radix-2 transform, but forward and
// inverse agree on it, which is all a convolution needs).

// A leaf of n >= kLeafVectorPoints points has log2(n) - 3 stages above its
// last three; an odd count starts with one radix-2 stage, the rest go in
// radix-4 passes down to blocks of eight.
inline bool oddStageCount(std::size_t n) {
    return (std::countr_zero(n) - 3) % 2 != 0;
}

// The order of a leaf's stages, shared by the kernel sets: forward, an
// odd first radix-2 stage, radix-4 passes down to blocks of eight, then the
// last three stages on each group of 64 points; the inverse undoes them
// in the opposite order. `s` supplies the steps over the whole leaf:
// radix2(a, len, count, w, wq), radix4(a, len, count, twiddles) in the
// direction asked for, and bottom(a, g) on group g at a. Always inlined,
// so that the steps inline into each set's own code.
template <bool Inverse, class Steps>
[[gnu::always_inline]] inline void leafStages(const Steps& s, u32* a, std::size_t n,
                                              const BlockTwiddles& t) {
    const bool odd = oddStageCount(n);
    const std::size_t top = odd ? n / 2 : n;
    if (!Inverse && odd) s.radix2(a, n / 2, n / 2, t.w[0], t.wq[0]);
    if constexpr (!Inverse)
        for (std::size_t size = top; size > 8; size /= 4)
            for (std::size_t b = 0; b < n / size; ++b)
                s.radix4(a + b * size, size / 4, size / 4, radix4At(t, b));
    for (std::size_t g = 0; g < n / 64; ++g)
        s.bottom(a + 64 * g, g);
    if constexpr (Inverse)
        for (std::size_t size = 32; size <= top; size *= 4)
            for (std::size_t b = 0; b < n / size; ++b)
                s.radix4(a + b * size, size / 4, size / 4, radix4At(t, b));
    if (Inverse && odd) s.radix2(a, n / 2, n / 2, t.w[0], t.wq[0]);
}

struct Kernels {
    const char* name;
    // One radix-4 pass over points j < count of a block of 4 len points
    // (a its start plus j0): the quadruples a[j + i len], i = 0..3.
    void (*forward4)(u32* a, std::size_t len, std::size_t count, const Radix4Twiddles& t, u32 p);
    void (*inverse4)(u32* a, std::size_t len, std::size_t count, const Radix4Twiddles& t, u32 p);
    // One radix-2 stage: the pairs a[j], a[j + len] for j < count.
    void (*forward2)(u32* a, std::size_t len, std::size_t count, u32 d, u32 dq, u32 p);
    void (*inverse2)(u32* a, std::size_t len, std::size_t count, u32 e, u32 eq, u32 p);
    // A whole transform of n = 2^k points (n <= the tables' reach, 2
    // twiddleCount()), starting at block 0. The inverse leaves n times
    // the input.
    void (*leafForward)(u32* a, std::size_t n, const BlockTwiddles& t, u32 p);
    void (*leafInverse)(u32* a, std::size_t n, const BlockTwiddles& t, u32 p);
    // a[i] = a[i] start ratio^i for i < n.
    void (*twist)(u32* a, std::size_t n, const Twist& x, const Prime& f);
    // The radix-3 layer over points j < n of the thirds.
    void (*radix3Forward)(u32* a0, u32* a1, u32* a2, std::size_t n, const Radix3& r,
                          const Prime& f);
    void (*radix3Inverse)(u32* a0, u32* a1, u32* a2, std::size_t n, const Radix3& r,
                          const Prime& f);
    // The radix-5 layer over points j < n of the fifths a + s m.
    void (*radix5Forward)(u32* a, std::size_t m, std::size_t n, const Radix5& r, const Prime& f);
    void (*radix5Inverse)(u32* a, std::size_t m, std::size_t n, const Radix5& r, const Prime& f);
    // Pointwise products in Montgomery's form: f[i] = f[i] g[i] 2^-32
    // (and f[i]^2 2^-32).
    void (*multiply)(u32* f, const u32* g, std::size_t n, const Prime& p);
    void (*square)(u32* f, std::size_t n, const Prime& p);
    // Garner's step over n points: the residues r1, r2, r3 (of the three
    // primes, in [0, 2p_k)) are replaced by the mixed-radix digits x1 <
    // p1, y2 < p2, y3 < p3 with v = x1 + p1 y2 + p1 p2 y3.
    void (*garner)(u32* r1, u32* r2, u32* r3, std::size_t n, const GarnerConstants& c);
};

const Kernels& portableKernels();
// The AVX2 set, or null when the processor lacks AVX2.
const Kernels* avx2Kernels();

// The kernels the transforms use: the fastest set the processor runs.
const Kernels& kernels();
// Makes the transforms use k from now on (tests compare the sets). Not
// for use while a product runs.
void useKernels(const Kernels& k);

} // namespace longhand::fast::ntt
