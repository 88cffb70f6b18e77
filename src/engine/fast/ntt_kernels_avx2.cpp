// The AVX2 kernel set of the transforms (contract in ntt_kernels.h): eight
// 32-bit residues per vector, word for word what the portable set
// computes. Compiled for AVX2 function by function (target attribute), so
// the rest of the program still runs on any x86-64; avx2Kernels() hands
// the set out only when the processor has AVX2.
#include "ntt_kernels.h"

#if defined(__x86_64__) && defined(__GNUC__)
#define LONGHAND_NTT_AVX2 1
#include <immintrin.h>
#endif

namespace longhand::fast::ntt {

#ifdef LONGHAND_NTT_AVX2

namespace avx2 {

#define AVX2 __attribute__((target("avx2")))

using V = __m256i;

AVX2 inline V splat(u32 x) {
    return _mm256_set1_epi32(static_cast<int>(x));
}
AVX2 inline V load(const u32* p) {
    return _mm256_loadu_si256(reinterpret_cast<const V*>(p));
}
AVX2 inline void store(u32* p, V v) {
    _mm256_storeu_si256(reinterpret_cast<V*>(p), v);
}
// x - m where x >= m, else x (for x < 2m): the unsigned minimum picks it.
AVX2 inline V reduce(V x, V m) {
    return _mm256_min_epu32(x, _mm256_sub_epi32(x, m));
}
AVX2 inline V add(V a, V b) {
    return _mm256_add_epi32(a, b);
}
AVX2 inline V sub(V a, V b) {
    return _mm256_sub_epi32(a, b);
}

// The high words of the 64-bit lane products x q, lane by lane.
AVX2 inline V mulHigh(V x, V q) {
    const V even = _mm256_mul_epu32(x, q);
    const V odd = _mm256_mul_epu32(_mm256_srli_epi64(x, 32), _mm256_srli_epi64(q, 32));
    return _mm256_blend_epi32(_mm256_srli_epi64(even, 32), odd, 0xAA);
}

// mulShoup of ntt_field.h in every lane.
AVX2 inline V mulShoup(V x, V w, V wq, V p) {
    return sub(_mm256_mullo_epi32(x, w), _mm256_mullo_epi32(mulHigh(x, wq), p));
}

// montMul of ntt_field.h in every lane: t = a b, m = t (-p^-1) mod 2^32,
// (t + m p) / 2^32.
AVX2 inline V montMul(V a, V b, V p, V negInv) {
    const V te = _mm256_mul_epu32(a, b);
    const V to = _mm256_mul_epu32(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32));
    const V re = _mm256_add_epi64(te, _mm256_mul_epu32(_mm256_mul_epu32(te, negInv), p));
    const V ro = _mm256_add_epi64(to, _mm256_mul_epu32(_mm256_mul_epu32(to, negInv), p));
    return _mm256_blend_epi32(_mm256_srli_epi64(re, 32), ro, 0xAA);
}

struct Mod {
    V p, p2, negInv;
    AVX2 explicit Mod(const Prime& f)
        : p(splat(f.p)), p2(splat(2 * f.p)), negInv(splat(f.negInv)) {}
    AVX2 explicit Mod(u32 prime) : p(splat(prime)), p2(splat(2 * prime)), negInv(splat(0)) {}
};

AVX2 inline void forwardButterfly(V& x, V& y, V d, V dq, const Mod& m) {
    const V t = mulShoup(y, d, dq, m.p);
    const V s = add(x, t), u = add(sub(x, t), m.p2);
    x = reduce(s, m.p2);
    y = reduce(u, m.p2);
}

AVX2 inline void inverseButterfly(V& x, V& y, V e, V eq, const Mod& m) {
    const V s = add(x, y), u = add(sub(x, y), m.p2);
    x = reduce(s, m.p2);
    y = mulShoup(u, e, eq, m.p);
}

template <bool Inverse> AVX2 inline void butterfly(V& x, V& y, V w, V wq, const Mod& m) {
    if constexpr (Inverse)
        inverseButterfly(x, y, w, wq, m);
    else
        forwardButterfly(x, y, w, wq, m);
}

// One radix-4 pass, as the portable set's.
template <bool Inverse>
AVX2 void radix4(u32* a, std::size_t len, std::size_t count, const Radix4Twiddles& t, u32 p) {
    const Mod m(p);
    const V wa = splat(t.a), waq = splat(t.aq), wb0 = splat(t.b0), wb0q = splat(t.b0q),
            wb1 = splat(t.b1), wb1q = splat(t.b1q);
    u32 *a1 = a + len, *a2 = a + 2 * len, *a3 = a + 3 * len;
    for (std::size_t j = 0; j < count; j += 8) {
        V x0 = load(a + j), x1 = load(a1 + j), x2 = load(a2 + j), x3 = load(a3 + j);
        if constexpr (!Inverse) {
            butterfly<Inverse>(x0, x2, wa, waq, m);
            butterfly<Inverse>(x1, x3, wa, waq, m);
        }
        butterfly<Inverse>(x0, x1, wb0, wb0q, m);
        butterfly<Inverse>(x2, x3, wb1, wb1q, m);
        if constexpr (Inverse) {
            butterfly<Inverse>(x0, x2, wa, waq, m);
            butterfly<Inverse>(x1, x3, wa, waq, m);
        }
        store(a + j, x0);
        store(a1 + j, x1);
        store(a2 + j, x2);
        store(a3 + j, x3);
    }
}

template <bool Inverse>
AVX2 void radix2(u32* a, std::size_t len, std::size_t count, u32 w, u32 wq, u32 p) {
    const Mod m(p);
    const V vw = splat(w), vwq = splat(wq);
    for (std::size_t j = 0; j < count; j += 8) {
        V x = load(a + j), y = load(a + len + j);
        butterfly<Inverse>(x, y, vw, vwq, m);
        store(a + j, x);
        store(a + len + j, y);
    }
}

constexpr auto forward4 = radix4<false>;
constexpr auto inverse4 = radix4<true>;
constexpr auto forward2 = radix2<false>;
constexpr auto inverse2 = radix2<true>;

// Rows r0..r7 of an 8 x 8 matrix become its columns.
AVX2 inline void transpose(V* r) {
    V t[8], u[8];
    for (int i = 0; i < 4; ++i) {
        t[2 * i] = _mm256_unpacklo_epi32(r[2 * i], r[2 * i + 1]);
        t[2 * i + 1] = _mm256_unpackhi_epi32(r[2 * i], r[2 * i + 1]);
    }
    for (int i = 0; i < 2; ++i) {
        u[4 * i] = _mm256_unpacklo_epi64(t[4 * i], t[4 * i + 2]);
        u[4 * i + 1] = _mm256_unpackhi_epi64(t[4 * i], t[4 * i + 2]);
        u[4 * i + 2] = _mm256_unpacklo_epi64(t[4 * i + 1], t[4 * i + 3]);
        u[4 * i + 3] = _mm256_unpackhi_epi64(t[4 * i + 1], t[4 * i + 3]);
    }
    for (int i = 0; i < 4; ++i) {
        r[i] = _mm256_permute2x128_si256(u[i], u[i + 4], 0x20);
        r[i + 4] = _mm256_permute2x128_si256(u[i], u[i + 4], 0x31);
    }
}

// Stages of the leaf's last three: the quarters of each block of eight
// (twiddles T[8g + l] across the lanes), and its pairs (from w1).
template <bool Inverse>
AVX2 inline void quarterStage(V* v, const BlockTwiddles& t, std::size_t g, const Mod& m) {
    const V w = load(&t.w[8 * g]), wq = load(&t.wq[8 * g]);
    for (int k = 0; k < 4; ++k)
        butterfly<Inverse>(v[k], v[k + 4], w, wq, m);
}

template <bool Inverse>
AVX2 inline void pairStage(V* v, const BlockTwiddles& t, std::size_t g, const Mod& m) {
    for (int h = 0; h < 4; ++h) {
        const V w = load(&t.w1[32 * g + 8 * h]), wq = load(&t.w1q[32 * g + 8 * h]);
        butterfly<Inverse>(v[2 * h], v[2 * h + 1], w, wq, m);
    }
}

// The leaf's last three stages on group g, as the portable set's bottom.
template <bool Inverse>
AVX2 inline void bottom(u32* a, std::size_t g, const BlockTwiddles& t, const Mod& m) {
    V v[8];
    for (int k = 0; k < 8; ++k)
        v[k] = load(a + 8 * k);
    if constexpr (Inverse) {
        pairStage<Inverse>(v, t, g, m);
    } else {
        transpose(v);
        quarterStage<Inverse>(v, t, g, m);
    }
    for (int h = 0; h < 2; ++h) {
        const V w = load(&t.w2[16 * g + 8 * h]), wq = load(&t.w2q[16 * g + 8 * h]);
        butterfly<Inverse>(v[4 * h], v[4 * h + 2], w, wq, m);
        butterfly<Inverse>(v[4 * h + 1], v[4 * h + 3], w, wq, m);
    }
    if constexpr (Inverse) {
        quarterStage<Inverse>(v, t, g, m);
        transpose(v);
    } else {
        pairStage<Inverse>(v, t, g, m);
    }
    for (int k = 0; k < 8; ++k)
        store(a + 8 * k, v[k]);
}

// The steps of leafStages (ntt_kernels.h) in one direction.
template <bool Inverse> struct Steps {
    const BlockTwiddles& t;
    u32 p;
    Mod m;
    AVX2 void radix2(u32* a, std::size_t len, std::size_t count, u32 w, u32 wq) const {
        avx2::radix2<Inverse>(a, len, count, w, wq, p);
    }
    AVX2 void radix4(u32* a, std::size_t len, std::size_t count, const Radix4Twiddles& w) const {
        avx2::radix4<Inverse>(a, len, count, w, p);
    }
    AVX2 void bottom(u32* a, std::size_t g) const { avx2::bottom<Inverse>(a, g, t, m); }
};

AVX2 void leafForward(u32* a, std::size_t n, const BlockTwiddles& t, u32 p) {
    if (n < kLeafVectorPoints) return portableKernels().leafForward(a, n, t, p);
    leafStages<false>(Steps<false>{t, p, Mod(p)}, a, n, t);
}

AVX2 void leafInverse(u32* a, std::size_t n, const BlockTwiddles& t, u32 p) {
    if (n < kLeafVectorPoints) return portableKernels().leafInverse(a, n, t, p);
    leafStages<true>(Steps<true>{t, p, Mod(p)}, a, n, t);
}

// Montgomery forms of start ratio^i for i < count, and of ratio^count
// (exactly the portable kernels' chain values: all canonical).
void factorRun(const Twist& x, const Prime& f, u32* out, std::size_t count, u32& step) {
    const u32 r = f.toMont(x.ratio);
    u32 v = f.toMont(x.start), power = f.r1 % f.p;
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = v;
        v = reduceOnce(montMul(v, r, f), f.p);
        power = reduceOnce(montMul(power, r, f), f.p);
    }
    step = power;
}

// Four chains of eight factors each, so that the next factors are ready
// before the points need them.
AVX2 void twist(u32* a, std::size_t n, const Twist& x, const Prime& f) {
    if (n % 8 != 0) return portableKernels().twist(a, n, x, f);
    const Mod m(f);
    u32 first[32], step;
    factorRun(x, f, first, 32, step);
    V v[4];
    for (int c = 0; c < 4; ++c)
        v[c] = load(first + 8 * c);
    const V s = splat(step);
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32)
        for (int c = 0; c < 4; ++c) {
            store(a + i + 8 * c, montMul(load(a + i + 8 * c), v[c], m.p, m.negInv));
            v[c] = reduce(montMul(v[c], s, m.p, m.negInv), m.p);
        }
    for (int c = 0; i < n; i += 8, ++c)
        store(a + i, montMul(load(a + i), v[c], m.p, m.negInv));
}

AVX2 inline void threePoint(V& x0, V& x1, V& x2, V c, V cq, const Mod& m) {
    const V s = reduce(add(x1, x2), m.p2);
    const V d = mulShoup(add(sub(x1, x2), m.p2), c, cq, m.p);
    const V t1 = reduce(sub(add(x0, m.p2), x2), m.p2);
    const V t2 = reduce(sub(add(x0, m.p2), x1), m.p2);
    x0 = reduce(add(x0, s), m.p2);
    x1 = reduce(add(t1, d), m.p2);
    x2 = reduce(sub(add(t2, m.p2), d), m.p2);
}

// One radix-3 pass: the forward pass combines the three points and then
// twists the second and third, the inverse twists first and then combines.
template <bool Inverse>
AVX2 void radix3(u32* a0, u32* a1, u32* a2, std::size_t n, const Radix3& r, const Prime& f) {
    if (n % 8 != 0) {
        const Kernels& portable = portableKernels();
        return (Inverse ? portable.radix3Inverse : portable.radix3Forward)(a0, a1, a2, n, r, f);
    }
    const Mod m(f);
    const Twist second{f.mul(r.factors.start, r.factors.start),
                       f.mul(r.factors.ratio, r.factors.ratio)};
    u32 first1[8], first2[8], step1, step2;
    factorRun(r.factors, f, first1, 8, step1);
    factorRun(second, f, first2, 8, step2);
    V v1 = load(first1), v2 = load(first2);
    const V s1 = splat(step1), s2 = splat(step2), c = splat(r.c), cq = splat(r.cq);
    for (std::size_t j = 0; j < n; j += 8) {
        V x0 = load(a0 + j), x1 = load(a1 + j), x2 = load(a2 + j);
        if constexpr (Inverse) {
            x1 = montMul(x1, v1, m.p, m.negInv);
            x2 = montMul(x2, v2, m.p, m.negInv);
        }
        threePoint(x0, x1, x2, c, cq, m);
        if constexpr (!Inverse) {
            x1 = montMul(x1, v1, m.p, m.negInv);
            x2 = montMul(x2, v2, m.p, m.negInv);
        }
        store(a0 + j, x0);
        store(a1 + j, x1);
        store(a2 + j, x2);
        v1 = reduce(montMul(v1, s1, m.p, m.negInv), m.p);
        v2 = reduce(montMul(v2, s2, m.p, m.negInv), m.p);
    }
}

constexpr auto radix3Forward = radix3<false>;
constexpr auto radix3Inverse = radix3<true>;

AVX2 inline void fivePoint(V* x, const V* k, const Mod& m) {
    // k: a1, a1q, a2, a2q, b1, b1q, b2, b2q
    const V u1 = reduce(add(x[1], x[4]), m.p2), v1 = add(sub(x[1], x[4]), m.p2);
    const V u2 = reduce(add(x[2], x[3]), m.p2), v2 = add(sub(x[2], x[3]), m.p2);
    const V sa = reduce(add(mulShoup(u1, k[0], k[1], m.p), mulShoup(u2, k[2], k[3], m.p)), m.p2);
    const V sb = reduce(add(mulShoup(u1, k[2], k[3], m.p), mulShoup(u2, k[0], k[1], m.p)), m.p2);
    const V dc = reduce(add(mulShoup(v1, k[4], k[5], m.p), mulShoup(v2, k[6], k[7], m.p)), m.p2);
    const V dd =
        reduce(sub(add(mulShoup(v1, k[6], k[7], m.p), m.p2), mulShoup(v2, k[4], k[5], m.p)), m.p2);
    const V x0 = x[0];
    const V s1 = reduce(add(x0, sa), m.p2), s2 = reduce(add(x0, sb), m.p2);
    x[0] = reduce(add(x0, reduce(add(u1, u2), m.p2)), m.p2);
    x[1] = reduce(add(s1, dc), m.p2);
    x[4] = reduce(sub(add(s1, m.p2), dc), m.p2);
    x[2] = reduce(add(s2, dd), m.p2);
    x[3] = reduce(sub(add(s2, m.p2), dd), m.p2);
}

// Eight lanes of twist factors for each of y1..y4, and their steps.
struct FifthChains {
    V v[5], step[5];
    AVX2 FifthChains(const Twist& x, const Prime& f) {
        u32 s = 1, r = 1;
        for (int t = 1; t <= 4; ++t) {
            s = f.mul(s, x.start);
            r = f.mul(r, x.ratio);
            u32 lanes[8], stepWord;
            factorRun({s, r}, f, lanes, 8, stepWord);
            v[t] = load(lanes);
            step[t] = splat(stepWord);
        }
    }
    // x[t] times its lanes of factors, t = 1..4, and the factors one step on.
    AVX2 void twist(V* x, const Mod& m) {
        for (int t = 1; t < 5; ++t) {
            x[t] = montMul(x[t], v[t], m.p, m.negInv);
            v[t] = reduce(montMul(v[t], step[t], m.p, m.negInv), m.p);
        }
    }
};

// One radix-5 pass, twisting after the combination (forward) or before it
// (inverse), as radix3.
template <bool Inverse>
AVX2 void radix5(u32* a, std::size_t m, std::size_t n, const Radix5& r, const Prime& f) {
    if (n % 8 != 0) {
        const Kernels& portable = portableKernels();
        return (Inverse ? portable.radix5Inverse : portable.radix5Forward)(a, m, n, r, f);
    }
    const Mod md(f);
    const V k[8] = {splat(r.a1), splat(r.a1q), splat(r.a2), splat(r.a2q),
                    splat(r.b1), splat(r.b1q), splat(r.b2), splat(r.b2q)};
    FifthChains c(r.factors, f);
    for (std::size_t j = 0; j < n; j += 8) {
        V x[5];
        for (std::size_t t = 0; t < 5; ++t)
            x[t] = load(a + t * m + j);
        if constexpr (Inverse) c.twist(x, md);
        fivePoint(x, k, md);
        if constexpr (!Inverse) c.twist(x, md);
        for (std::size_t t = 0; t < 5; ++t)
            store(a + t * m + j, x[t]);
    }
}

constexpr auto radix5Forward = radix5<false>;
constexpr auto radix5Inverse = radix5<true>;

AVX2 void multiply(u32* f, const u32* g, std::size_t n, const Prime& p) {
    const Mod m(p);
    const std::size_t whole = n / 8 * 8;
    for (std::size_t i = 0; i < whole; i += 8)
        store(f + i, montMul(load(f + i), load(g + i), m.p, m.negInv));
    portableKernels().multiply(f + whole, g + whole, n - whole, p);
}

AVX2 void square(u32* f, std::size_t n, const Prime& p) {
    const Mod m(p);
    const std::size_t whole = n / 8 * 8;
    for (std::size_t i = 0; i < whole; i += 8) {
        const V x = load(f + i);
        store(f + i, montMul(x, x, m.p, m.negInv));
    }
    portableKernels().square(f + whole, n - whole, p);
}

AVX2 void garner(u32* r1, u32* r2, u32* r3, std::size_t n, const GarnerConstants& c) {
    const std::size_t whole = n / 8 * 8;
    const Mod m1(kPrimes[0].p), m2(kPrimes[1].p), m3(kPrimes[2].p);
    const V s1 = splat(c.s1), s1q = splat(c.s1q), k2 = splat(c.k2), k2q = splat(c.k2q),
            n2 = splat(c.m2), n2q = splat(c.m2q), k3 = splat(c.k3), k3q = splat(c.k3q),
            l3 = splat(c.m3), l3q = splat(c.m3q), q3 = splat(c.n3), q3q = splat(c.n3q);
    for (std::size_t i = 0; i < whole; i += 8) {
        const V x1 = reduce(mulShoup(load(r1 + i), s1, s1q, m1.p), m1.p);
        V y2 = add(mulShoup(load(r2 + i), k2, k2q, m2.p), mulShoup(x1, n2, n2q, m2.p));
        y2 = reduce(reduce(y2, m2.p2), m2.p);
        V y3 =
            reduce(add(mulShoup(load(r3 + i), k3, k3q, m3.p), mulShoup(x1, l3, l3q, m3.p)), m3.p2);
        y3 = reduce(add(y3, mulShoup(y2, q3, q3q, m3.p)), m3.p2);
        store(r1 + i, x1);
        store(r2 + i, y2);
        store(r3 + i, reduce(y3, m3.p));
    }
    portableKernels().garner(r1 + whole, r2 + whole, r3 + whole, n - whole, c);
}

#undef AVX2

} // namespace avx2

namespace {

using namespace avx2;

constexpr Kernels kAvx2 = {
    .name = "avx2",
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

} // namespace

const Kernels* avx2Kernels() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has ? &kAvx2 : nullptr;
}

#else

const Kernels* avx2Kernels() {
    return nullptr;
}

#endif

} // namespace longhand::fast::ntt
