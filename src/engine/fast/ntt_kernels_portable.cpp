// The portable kernel set of the transforms (contract in ntt_kernels.h),
// and the choice of the set the transforms use.
//
// The AVX2 set computes exactly what this code computes, lane for lane:
// the same lazy reductions, the same products, the same order of the
// leaf's last stages, so that the two sets give identical words.
#include "ntt_kernels.h"

#include <atomic>

namespace longhand::fast::ntt {

namespace portable {

inline void forwardButterfly(u32& x, u32& y, u32 d, u32 dq, u32 p) {
    const u32 t = mulShoup(y, d, dq, p);
    const u32 s = x + t, u = x - t + 2 * p; // [0, 4p), (0, 4p)
    x = reduceOnce(s, 2 * p);
    y = reduceOnce(u, 2 * p);
}

inline void inverseButterfly(u32& x, u32& y, u32 e, u32 eq, u32 p) {
    const u32 s = x + y, u = x - y + 2 * p; // [0, 4p), (0, 4p)
    x = reduceOnce(s, 2 * p);
    y = mulShoup(u, e, eq, p);
}

// The butterfly of one direction.
template <bool Inverse> inline void butterfly(u32& x, u32& y, u32 w, u32 wq, u32 p) {
    if constexpr (Inverse)
        inverseButterfly(x, y, w, wq, p);
    else
        forwardButterfly(x, y, w, wq, p);
}

// One radix-4 pass: forward, the halves with T[b] then the quarters with
// T[2b] and T[2b + 1]; inverse, the same butterflies in the opposite order.
template <bool Inverse>
void radix4(u32* a, std::size_t len, std::size_t count, const Radix4Twiddles& t, u32 p) {
    u32 *a1 = a + len, *a2 = a + 2 * len, *a3 = a + 3 * len;
    for (std::size_t j = 0; j < count; ++j) {
        if constexpr (!Inverse) {
            butterfly<Inverse>(a[j], a2[j], t.a, t.aq, p);
            butterfly<Inverse>(a1[j], a3[j], t.a, t.aq, p);
        }
        butterfly<Inverse>(a[j], a1[j], t.b0, t.b0q, p);
        butterfly<Inverse>(a2[j], a3[j], t.b1, t.b1q, p);
        if constexpr (Inverse) {
            butterfly<Inverse>(a[j], a2[j], t.a, t.aq, p);
            butterfly<Inverse>(a1[j], a3[j], t.a, t.aq, p);
        }
    }
}

template <bool Inverse>
void radix2(u32* a, std::size_t len, std::size_t count, u32 w, u32 wq, u32 p) {
    for (std::size_t j = 0; j < count; ++j)
        butterfly<Inverse>(a[j], a[j + len], w, wq, p);
}

constexpr auto forward4 = radix4<false>;
constexpr auto inverse4 = radix4<true>;
constexpr auto forward2 = radix2<false>;
constexpr auto inverse2 = radix2<true>;

// Transforms shorter than kLeafVectorPoints: radix-2 stages in place.
void smallForward(u32* a, std::size_t n, const BlockTwiddles& t, u32 p) {
    for (std::size_t size = n, blocks = 1; size >= 2; size /= 2, blocks *= 2)
        for (std::size_t b = 0; b < blocks; ++b)
            forward2(a + b * size, size / 2, size / 2, t.w[b], t.wq[b], p);
}

void smallInverse(u32* a, std::size_t n, const BlockTwiddles& t, u32 p) {
    for (std::size_t size = 2, blocks = n / 2; size <= n; size *= 2, blocks /= 2)
        for (std::size_t b = 0; b < blocks; ++b)
            inverse2(a + b * size, size / 2, size / 2, t.w[b], t.wq[b], p);
}

// The last three stages of a leaf on the 64 points of group g (blocks of
// eight 8g ... 8g + 7): v[k][l] is point k of block 8g + l, as if the
// group were an 8 x 8 matrix transposed into eight vectors. The result
// stays in that order: a[8k + l] = v[k][l]. The inverse reads that order,
// runs the same butterflies backwards and writes the points back in place.
template <bool Inverse> void bottom(u32* a, std::size_t g, const BlockTwiddles& t, u32 p) {
    u32 v[8][8];
    for (std::size_t k = 0; k < 8; ++k)
        for (std::size_t l = 0; l < 8; ++l)
            v[k][l] = Inverse ? a[8 * k + l] : a[8 * l + k];
    for (std::size_t l = 0; l < 8; ++l) {
        const std::size_t i4 = 8 * g + l, i2 = 16 * g + l, i1 = 32 * g + l;
        auto quarters = [&] {
            for (std::size_t k = 0; k < 4; ++k)
                butterfly<Inverse>(v[k][l], v[k + 4][l], t.w[i4], t.wq[i4], p);
        };
        auto pairs = [&] {
            for (std::size_t h = 0; h < 4; ++h)
                butterfly<Inverse>(v[2 * h][l], v[2 * h + 1][l], t.w1[i1 + 8 * h],
                                   t.w1q[i1 + 8 * h], p);
        };
        Inverse ? pairs() : quarters();
        for (std::size_t h = 0; h < 2; ++h)
            for (std::size_t k = 4 * h; k < 4 * h + 2; ++k)
                butterfly<Inverse>(v[k][l], v[k + 2][l], t.w2[i2 + 8 * h], t.w2q[i2 + 8 * h], p);
        Inverse ? quarters() : pairs();
    }
    for (std::size_t k = 0; k < 8; ++k)
        for (std::size_t l = 0; l < 8; ++l)
            (Inverse ? a[8 * l + k] : a[8 * k + l]) = v[k][l];
}

// The steps of leafStages (ntt_kernels.h) in one direction.
template <bool Inverse> struct Steps {
    const BlockTwiddles& t;
    u32 p;
    void radix2(u32* a, std::size_t len, std::size_t count, u32 w, u32 wq) const {
        portable::radix2<Inverse>(a, len, count, w, wq, p);
    }
    void radix4(u32* a, std::size_t len, std::size_t count, const Radix4Twiddles& w) const {
        portable::radix4<Inverse>(a, len, count, w, p);
    }
    void bottom(u32* a, std::size_t g) const { portable::bottom<Inverse>(a, g, t, p); }
};

void leafForward(u32* a, std::size_t n, const BlockTwiddles& t, u32 p) {
    if (n < kLeafVectorPoints) return smallForward(a, n, t, p);
    leafStages<false>(Steps<false>{t, p}, a, n, t);
}

void leafInverse(u32* a, std::size_t n, const BlockTwiddles& t, u32 p) {
    if (n < kLeafVectorPoints) return smallInverse(a, n, t, p);
    leafStages<true>(Steps<true>{t, p}, a, n, t);
}

void twist(u32* a, std::size_t n, const Twist& x, const Prime& f) {
    u32 v = f.toMont(x.start);
    const u32 r = f.toMont(x.ratio);
    for (std::size_t i = 0; i < n; ++i) {
        a[i] = montMul(a[i], v, f);
        v = reduceOnce(montMul(v, r, f), f.p); // exactly start ratio^(i+1) 2^32 mod p
    }
}

// The three-point combination of Radix3 on one point.
inline void threePoint(u32& x0, u32& x1, u32& x2, u32 c, u32 cq, u32 p) {
    const u32 p2 = 2 * p;
    const u32 s = reduceOnce(x1 + x2, p2);
    const u32 d = mulShoup(x1 - x2 + p2, c, cq, p); // c (x1 - x2), [0, 2p)
    const u32 t1 = reduceOnce(x0 + p2 - x2, p2);    // x0 - x2
    const u32 t2 = reduceOnce(x0 + p2 - x1, p2);    // x0 - x1
    x0 = reduceOnce(x0 + s, p2);                    // x0 + x1 + x2
    x1 = reduceOnce(t1 + d, p2);                    // x0 + c x1 + c^2 x2
    x2 = reduceOnce(t2 + p2 - d, p2);               // x0 + c^2 x1 + c x2
}

// One radix-3 pass: the forward pass combines the three points and then
// twists the second and third, the inverse twists first and then combines.
template <bool Inverse>
void radix3(u32* a0, u32* a1, u32* a2, std::size_t n, const Radix3& r, const Prime& f) {
    const u32 p = f.p;
    u32 v1 = f.toMont(r.factors.start), v2 = f.toMont(f.mul(r.factors.start, r.factors.start));
    const u32 s1 = f.toMont(r.factors.ratio),
              s2 = f.toMont(f.mul(r.factors.ratio, r.factors.ratio));
    for (std::size_t j = 0; j < n; ++j) {
        u32 x0 = a0[j], x1 = a1[j], x2 = a2[j];
        if constexpr (Inverse) {
            x1 = montMul(x1, v1, f);
            x2 = montMul(x2, v2, f);
        }
        threePoint(x0, x1, x2, r.c, r.cq, p);
        if constexpr (!Inverse) {
            x1 = montMul(x1, v1, f);
            x2 = montMul(x2, v2, f);
        }
        a0[j] = x0;
        a1[j] = x1;
        a2[j] = x2;
        v1 = reduceOnce(montMul(v1, s1, f), p);
        v2 = reduceOnce(montMul(v2, s2, f), p);
    }
}

constexpr auto radix3Forward = radix3<false>;
constexpr auto radix3Inverse = radix3<true>;

// The five-point combination of Radix5 on one point.
inline void fivePoint(u32* x, const Radix5& r, u32 p) {
    const u32 p2 = 2 * p;
    const u32 u1 = reduceOnce(x[1] + x[4], p2), v1 = x[1] - x[4] + p2; // v: (0, 4p)
    const u32 u2 = reduceOnce(x[2] + x[3], p2), v2 = x[2] - x[3] + p2;
    const u32 sa = reduceOnce(mulShoup(u1, r.a1, r.a1q, p) + mulShoup(u2, r.a2, r.a2q, p), p2);
    const u32 sb = reduceOnce(mulShoup(u1, r.a2, r.a2q, p) + mulShoup(u2, r.a1, r.a1q, p), p2);
    const u32 dc = reduceOnce(mulShoup(v1, r.b1, r.b1q, p) + mulShoup(v2, r.b2, r.b2q, p), p2);
    const u32 dd = reduceOnce(mulShoup(v1, r.b2, r.b2q, p) + p2 - mulShoup(v2, r.b1, r.b1q, p), p2);
    const u32 x0 = x[0];
    const u32 s1 = reduceOnce(x0 + sa, p2), s2 = reduceOnce(x0 + sb, p2);
    x[0] = reduceOnce(x0 + reduceOnce(u1 + u2, p2), p2);
    x[1] = reduceOnce(s1 + dc, p2);
    x[4] = reduceOnce(s1 + p2 - dc, p2);
    x[2] = reduceOnce(s2 + dd, p2);
    x[3] = reduceOnce(s2 + p2 - dd, p2);
}

// Montgomery forms of the twist factors w^(t j0) and ratios w^t, t = 1..4.
void fifthFactors(const Twist& x, const Prime& f, u32* start, u32* ratio) {
    u32 s = 1, r = 1;
    for (int t = 1; t <= 4; ++t) {
        s = f.mul(s, x.start);
        r = f.mul(r, x.ratio);
        start[t] = f.toMont(s);
        ratio[t] = f.toMont(r);
    }
}

// x[t] times its twist factor, t = 1..4, and the factors one step on.
inline void twistFifths(u32* x, u32* v, const u32* step, const Prime& f) {
    for (std::size_t t = 1; t < 5; ++t) {
        x[t] = montMul(x[t], v[t], f);
        v[t] = reduceOnce(montMul(v[t], step[t], f), f.p);
    }
}

// One radix-5 pass, twisting after the combination (forward) or before it
// (inverse), as radix3.
template <bool Inverse>
void radix5(u32* a, std::size_t m, std::size_t n, const Radix5& r, const Prime& f) {
    u32 v[5], step[5];
    fifthFactors(r.factors, f, v, step);
    for (std::size_t j = 0; j < n; ++j) {
        u32 x[5];
        for (std::size_t t = 0; t < 5; ++t)
            x[t] = a[t * m + j];
        if constexpr (Inverse) twistFifths(x, v, step, f);
        fivePoint(x, r, f.p);
        if constexpr (!Inverse) twistFifths(x, v, step, f);
        for (std::size_t t = 0; t < 5; ++t)
            a[t * m + j] = x[t];
    }
}

constexpr auto radix5Forward = radix5<false>;
constexpr auto radix5Inverse = radix5<true>;

void multiply(u32* f, const u32* g, std::size_t n, const Prime& p) {
    for (std::size_t i = 0; i < n; ++i)
        f[i] = montMul(f[i], g[i], p);
}

void square(u32* f, std::size_t n, const Prime& p) {
    for (std::size_t i = 0; i < n; ++i)
        f[i] = montMul(f[i], f[i], p);
}

void garner(u32* r1, u32* r2, u32* r3, std::size_t n, const GarnerConstants& c) {
    const u32 p1 = kPrimes[0].p, p2 = kPrimes[1].p, p3 = kPrimes[2].p;
    for (std::size_t i = 0; i < n; ++i) {
        const u32 x1 = reduceOnce(mulShoup(r1[i], c.s1, c.s1q, p1), p1);
        u32 y2 = mulShoup(r2[i], c.k2, c.k2q, p2) + mulShoup(x1, c.m2, c.m2q, p2); // < 4 p2
        y2 = reduceOnce(reduceOnce(y2, 2 * p2), p2);
        u32 y3 =
            reduceOnce(mulShoup(r3[i], c.k3, c.k3q, p3) + mulShoup(x1, c.m3, c.m3q, p3), 2 * p3);
        y3 = reduceOnce(y3 + mulShoup(y2, c.n3, c.n3q, p3), 2 * p3);
        r1[i] = x1;
        r2[i] = y2;
        r3[i] = reduceOnce(y3, p3);
    }
}

constexpr Kernels kPortable = {
    .name = "portable",
    .forward4 = forward4,
    .inverse4 = inverse4,
    .forward2 = forward2,
    .inverse2 = inverse2,
    .leafForward = leafForward,
    .leafInverse = leafInverse,
    .twist = twist,
    .radix3Forward = radix3Forward,
    .radix3Inverse = radix3Inverse,
    .radix5Forward = radix5Forward,
    .radix5Inverse = radix5Inverse,
    .multiply = multiply,
    .square = square,
    .garner = garner,
};

} // namespace portable

namespace {

using namespace portable;

const Kernels* bestKernels() {
    if (const Kernels* k = avx2Kernels()) return k;
    return &kPortable;
}

std::atomic<const Kernels*>& chosen() {
    static std::atomic<const Kernels*> k{bestKernels()};
    return k;
}

} // namespace

const Kernels& portableKernels() {
    return kPortable;
}

const Kernels& kernels() {
    return *chosen().load(std::memory_order_relaxed);
}

void useKernels(const Kernels& k) {
    chosen().store(&k, std::memory_order_relaxed);
}

} // namespace longhand::fast::ntt
