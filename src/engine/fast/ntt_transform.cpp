// The transforms of ntt_transform.h: the order of the passes, the split
// into cache-sized rows, the radix-3 and radix-5 layers, and their spread
// over threads.
//
// A power-of-two transform of n <= kNttLeafPoints points is one leaf
// (ntt_kernels.h). A longer one is an R x C matrix, C = kNttLeafPoints,
// row after row in memory: the first log2(R) stages pair points of the
// same column, so they run as radix-4 passes over whole blocks with one
// twiddle per block, depth first so that the smaller blocks stay in cache.
// Row r then holds a polynomial modulo x^C - T[r]^2 (ntt_tables.h). With
// b_r^C = T[r]^2, the row's coefficients times b_r^i give a polynomial
// whose cyclic transform of length C has the same values (the points
// b_r w_C^j are the roots of x^C - T[r]^2): a twist and a leaf, with the
// leaf's small tables, instead of twiddle tables as long as the
// transform (the "six-step" idea, Bailey, "FFTs in external or hierarchical
// memory", 1990, without its transpositions). b_r = w_n^brev(r), brev the
// reversal of r's log2(R) bits, w_n of order n.
//
// A transform of 3m (5m) points starts with the radix-3 (radix-5) layer,
// after which each third (fifth) is a transform of m points of its own;
// the inverse ends with the layer. 15 * 2^k points take both layers.
#include "ntt_transform.h"

#include "ntt_kernels.h"
#include "ntt_tables.h"
#include "parallel.h"
#include "thresholds.h"

#include <algorithm>
#include <array>
#include <bit>
#include <stdexcept>

namespace longhand::fast::ntt {

namespace {

static_assert(kNttLeafPoints >= kLeafVectorPoints && std::has_single_bit(kNttLeafPoints));

struct Transform {
    const Prime& f;
    const PrimeTables& tables;
    const Kernels& kernels;
    const CancelCheck* cancel;
};

// The power-of-two transform's order-n root and the bit count of its row
// numbers, for the row twists.
struct Rows {
    u32 root, rootInverse;
    int bits;
};

std::size_t reverseBits(std::size_t r, int bits) {
    std::size_t v = 0;
    for (int i = 0; i < bits; ++i, r >>= 1)
        v = (v << 1) | (r & 1);
    return v;
}

// body(from, to) over the points of a pass, spread over the threads when
// the block is long (wide), polling between pieces.
template <class Body> void pass(const Transform& x, std::size_t count, bool wide, Body&& body) {
    if (!wide) {
        body(std::size_t{0}, count);
        return;
    }
    par::forChunks(count, kParallelGrain, 8, [&](std::size_t from, std::size_t to) {
        body(from, to);
        poll(x.cancel);
    });
}

// Block b (block numbering of ntt_tables.h) of n >= kNttLeafPoints points.
void forwardBlock(const Transform& x, u32* a, std::size_t n, std::size_t b, const Rows& rows) {
    const u32 p = x.f.p;
    if (n == kNttLeafPoints) {
        if (b != 0) {
            const u32 factor = x.f.pow(rows.root, reverseBits(b, rows.bits));
            x.kernels.twist(a, n, {1, factor}, x.f);
        }
        x.kernels.leafForward(a, n, x.tables.forward, p);
        poll(x.cancel);
        return;
    }
    const bool wide = n >= kNttParallelPoints;
    if (n >= 4 * kNttLeafPoints) {
        const std::size_t len = n / 4;
        const Radix4Twiddles w = radix4At(x.tables.forward, b);
        pass(x, len, wide, [&](std::size_t from, std::size_t to) {
            x.kernels.forward4(a + from, len, to - from, w, p);
        });
        par::forEachIf(wide, 4,
                       [&](std::size_t q) { forwardBlock(x, a + q * len, len, 4 * b + q, rows); });
    } else {
        const std::size_t len = n / 2;
        const u32 d = x.tables.forward.w[b], dq = x.tables.forward.wq[b];
        pass(x, len, wide, [&](std::size_t from, std::size_t to) {
            x.kernels.forward2(a + from, len, to - from, d, dq, p);
        });
        par::forEachIf(wide, 2,
                       [&](std::size_t q) { forwardBlock(x, a + q * len, len, 2 * b + q, rows); });
    }
}

void inverseBlock(const Transform& x, u32* a, std::size_t n, std::size_t b, const Rows& rows) {
    const u32 p = x.f.p;
    if (n == kNttLeafPoints) {
        x.kernels.leafInverse(a, n, x.tables.inverse, p);
        if (b != 0) {
            const u32 factor = x.f.pow(rows.rootInverse, reverseBits(b, rows.bits));
            x.kernels.twist(a, n, {1, factor}, x.f);
        }
        poll(x.cancel);
        return;
    }
    const bool wide = n >= kNttParallelPoints;
    if (n >= 4 * kNttLeafPoints) {
        const std::size_t len = n / 4;
        par::forEachIf(wide, 4,
                       [&](std::size_t q) { inverseBlock(x, a + q * len, len, 4 * b + q, rows); });
        const Radix4Twiddles w = radix4At(x.tables.inverse, b);
        pass(x, len, wide, [&](std::size_t from, std::size_t to) {
            x.kernels.inverse4(a + from, len, to - from, w, p);
        });
    } else {
        const std::size_t len = n / 2;
        par::forEachIf(wide, 2,
                       [&](std::size_t q) { inverseBlock(x, a + q * len, len, 2 * b + q, rows); });
        const u32 e = x.tables.inverse.w[b], eq = x.tables.inverse.wq[b];
        pass(x, len, wide, [&](std::size_t from, std::size_t to) {
            x.kernels.inverse2(a + from, len, to - from, e, eq, p);
        });
    }
}

Rows rowsOf(const Transform& x, std::size_t n) {
    return {x.tables.roots[0][0][std::countr_zero(n)], x.tables.roots[1][0][std::countr_zero(n)],
            std::countr_zero(n / kNttLeafPoints)};
}

void forwardPow2(const Transform& x, u32* a, std::size_t n) {
    if (n <= kNttLeafPoints) {
        x.kernels.leafForward(a, n, x.tables.forward, x.f.p);
        poll(x.cancel);
    } else {
        forwardBlock(x, a, n, 0, rowsOf(x, n));
    }
}

void inversePow2(const Transform& x, u32* a, std::size_t n) {
    if (n <= kNttLeafPoints) {
        x.kernels.leafInverse(a, n, x.tables.inverse, x.f.p);
        poll(x.cancel);
    } else {
        inverseBlock(x, a, n, 0, rowsOf(x, n));
    }
}

// A root of unity of order n (direction 0) or its inverse (1).
u32 rootOf(const Transform& x, std::size_t n, int direction) {
    const int k = std::countr_zero(n);
    const std::size_t odd = n >> k;
    const int i = odd == 1 ? 0 : odd == 3 ? 1 : odd == 5 ? 2 : 3;
    return x.tables.roots[direction][i][k];
}

// The radix-3 layer over the thirds of a[0..3m), twisted by the powers of
// w, a root of order 3m (its inverse for the inverse layer).
template <class Layer>
void radix3Pass(const Transform& x, u32* a, std::size_t m, int direction, Layer layer) {
    const LayerConstants& k = x.tables.layers[direction];
    const u32 w = rootOf(x, 3 * m, direction);
    pass(x, m, 3 * m >= kNttParallelPoints, [&](std::size_t from, std::size_t to) {
        const Radix3 r{k.c3, k.c3q, {from ? x.f.pow(w, from) : 1, w}};
        layer(a + from, a + m + from, a + 2 * m + from, to - from, r, x.f);
    });
}

// The radix-5 layer over the fifths of a[0..5m), likewise.
template <class Layer>
void radix5Pass(const Transform& x, u32* a, std::size_t m, int direction, Layer layer) {
    const LayerConstants& k = x.tables.layers[direction];
    const u32 w = rootOf(x, 5 * m, direction);
    pass(x, m, 5 * m >= kNttParallelPoints, [&](std::size_t from, std::size_t to) {
        const Radix5 r{
            k.a1, k.a1q, k.a2, k.a2q, k.b1, k.b1q, k.b2, k.b2q, {from ? x.f.pow(w, from) : 1, w}};
        layer(a + from, m, to - from, r, x.f);
    });
}

void forwardAny(const Transform& x, u32* a, std::size_t n) {
    const std::size_t radix = n % 3 == 0 ? 3 : n % 5 == 0 ? 5 : 1;
    if (radix == 1) return forwardPow2(x, a, n);
    const std::size_t m = n / radix;
    if (radix == 3)
        radix3Pass(x, a, m, 0, x.kernels.radix3Forward);
    else
        radix5Pass(x, a, m, 0, x.kernels.radix5Forward);
    par::forEachIf(n >= kNttParallelPoints, radix,
                   [&](std::size_t t) { forwardAny(x, a + t * m, m); });
}

void inverseAny(const Transform& x, u32* a, std::size_t n) {
    const std::size_t radix = n % 3 == 0 ? 3 : n % 5 == 0 ? 5 : 1;
    if (radix == 1) return inversePow2(x, a, n);
    const std::size_t m = n / radix;
    par::forEachIf(n >= kNttParallelPoints, radix,
                   [&](std::size_t t) { inverseAny(x, a + t * m, m); });
    if (radix == 3)
        radix3Pass(x, a, m, 1, x.kernels.radix3Inverse);
    else
        radix5Pass(x, a, m, 1, x.kernels.radix5Inverse);
}

} // namespace

namespace {

// The kinds of lengths f 2^k and what their odd layers cost.
struct Kind {
    std::size_t odd;
    double layers, setups;
};
constexpr Kind kKinds[] = {
    {1, 0.0, 0}, {3, kNttRadix3Cost, 1}, {5, kNttRadix5Cost, 1}, {15, kNttRadix15Cost, 4}};

bool allowed(const Kind& kind, std::size_t pow2) {
    // Below vector leaves the radix layers run the scalar kernels.
    return pow2 <= (std::size_t{1} << kMaxPow2Log) && (kind.odd == 1 || pow2 >= kLeafVectorPoints);
}

double costOf(const Kind& kind, std::size_t pow2) {
    const double stages = std::countr_zero(pow2) + kind.layers + kNttPointCost;
    return static_cast<double>(kind.odd * pow2) * stages + kind.setups * kNttLayerSetupCost;
}

} // namespace

std::size_t transformLength(std::size_t points) {
    // A shorter transform would wrap the convolution around and give wrong
    // limbs without a word: refuse instead.
    if (points > kMaxPoints) throw std::length_error("more points than a transform holds");
    std::size_t best = kMaxPoints;
    double bestCost = 0;
    for (const Kind& kind : kKinds) {
        const std::size_t pow2 = std::bit_ceil((points + kind.odd - 1) / kind.odd);
        if (!allowed(kind, pow2)) continue;
        const double cost = costOf(kind, pow2);
        if (bestCost == 0 || cost < bestCost) {
            best = kind.odd * pow2;
            bestCost = cost;
        }
    }
    return best;
}

double transformCost(std::size_t length) {
    const std::size_t pow2 = std::size_t{1} << std::countr_zero(length);
    for (const Kind& kind : kKinds)
        if (length / pow2 == kind.odd) return costOf(kind, pow2);
    return costOf(kKinds[0], std::bit_ceil(length)); // not a transform length
}

std::array<std::size_t, 4> lengthsBelow(std::size_t points) {
    std::array<std::size_t, 4> below{};
    for (std::size_t i = 0; i < below.size(); ++i) {
        const Kind& kind = kKinds[i];
        if (points <= kind.odd) continue;
        std::size_t pow2 = std::bit_floor((points - 1) / kind.odd);
        if (pow2 > (std::size_t{1} << kMaxPow2Log)) pow2 = std::size_t{1} << kMaxPow2Log;
        if (allowed(kind, pow2)) below[i] = kind.odd * pow2;
    }
    return below;
}

void forward(u32* a, std::size_t n, int prime, const CancelCheck* cancel) {
    forwardAny({kPrimes[prime], tablesOf(prime), kernels(), cancel}, a, n);
}

void inverse(u32* a, std::size_t n, int prime, const CancelCheck* cancel) {
    inverseAny({kPrimes[prime], tablesOf(prime), kernels(), cancel}, a, n);
}

} // namespace longhand::fast::ntt
