// Recombination by Garner's algorithm (Knuth, TAOCP 4.3.2, mixed-radix
// form of the Chinese remainder theorem), then one carry pass in base 10^9.
//
// Each term is v = x1 + p1 y2 + p1 p2 y3 with digits x1 < p1, y2 < p2, y3
// < p3 (the garner kernel). With p1 < 10^9 and p1 p2 = Q1 10^9 + Q0 < 10^18,
// v = (x1 + p1 y2 + Q0 y3) + Q1 y3 10^9: a low part c0 at the term's own
// limb and c1 = Q1 y3 at the next, so limb i gathers a(i) = c0(i) +
// c1(i - 1).
//
// The carry bound. A term sums at most m = (kMaxPoints + 1) / 2 products
// of two limbs (na + nb - 1 <= kMaxPoints), so v <= m (10^9 - 1)^2 and
// y3 = floor(v / (p1 p2)) <= kMostY3 = 47,305,273. Hence c0 < p1 p2 + Q0
// kMostY3 and c1 <= Q1 kMostY3, and a(i) <= kMostLimbSum, about 7.0 10^17:
// below 10^18. Split a = H 10^9 + L: H < 10^9 is a limb value, and limb i
// = L(i) + H(i - 1) + carry <= 2 (10^9 - 1) + 1, so the carry into the
// next limb is 0 or 1: the only chain from limb to limb is that single
// bit. (Without the bound on v, only a < 2^61 and a two-limb H, with a
// sum that could reach 2 10^9, would follow.) Debug and sanitizer builds
// check a(i) against the bound on every limb.
// Pieces of the product are carried on separate threads and their carries
// out added in order afterwards.
#include "ntt_recombine.h"

#include "kernels.h"
#include "ntt_kernels.h"
#include "parallel.h"
#include "thresholds.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace longhand::fast::ntt {

namespace {

constexpr u64 kP1 = kPrimes[0].p;
constexpr u64 kP12 = kP1 * kPrimes[1].p;
constexpr u64 kQ0 = kP12 % kBase, kQ1 = kP12 / kBase;
static_assert(kP1 < kBase && kP12 < u64{kBase} * kBase);

// The bounds of the comment above.
__extension__ using u128 = unsigned __int128;
constexpr u64 kMostProducts = (kMaxPoints + 1) / 2;
constexpr u64 kMostY3 = static_cast<u64>(u128{kMostProducts} * (kBase - 1) * (kBase - 1) / kP12);
constexpr u64 kMostLimbSum = kP12 - 1 + kQ0 * kMostY3 + kQ1 * kMostY3;
static_assert(kMostY3 == 47305273 && kMostY3 < kPrimes[2].p);
static_assert(kMostLimbSum < u64{kBase} * kBase);

#if !defined(NDEBUG) || defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kCheckBound = true;
#else
constexpr bool kCheckBound = false;
#endif

// a(i) within the bound, checked where the builds check.
inline void checkLimbSum(u64 a) {
    if constexpr (kCheckBound) {
        if (a > kMostLimbSum) {
            std::fprintf(stderr, "recombination: limb sum %llu above the bound\n",
                         static_cast<unsigned long long>(a));
            std::abort();
        }
    }
}

GarnerConstants garnerConstants(std::size_t n) {
    const Prime &f1 = kPrimes[0], &f2 = kPrimes[1], &f3 = kPrimes[2];
    // s_k = 2^32 n^-1 mod p_k
    auto scale = [n](const Prime& f) { return f.mul(f.r1, f.inverse(static_cast<u32>(n % f.p))); };
    const u32 u12 = f2.inverse(f1.p % f2.p);                       // p1^-1 mod p2
    const u32 u123 = f3.inverse(f3.mul(f1.p % f3.p, f2.p % f3.p)); // (p1 p2)^-1 mod p3
    GarnerConstants c{};
    c.s1 = scale(f1);
    c.k2 = f2.mul(scale(f2), u12);
    c.m2 = (f2.p - u12) % f2.p;
    c.k3 = f3.mul(scale(f3), u123);
    c.m3 = (f3.p - u123) % f3.p;
    c.n3 = (f3.p - f3.mul(f1.p % f3.p, u123)) % f3.p;
    c.s1q = shoupQuotient(c.s1, f1.p);
    c.k2q = shoupQuotient(c.k2, f2.p);
    c.m2q = shoupQuotient(c.m2, f2.p);
    c.k3q = shoupQuotient(c.k3, f3.p);
    c.m3q = shoupQuotient(c.m3, f3.p);
    c.n3q = shoupQuotient(c.n3, f3.p);
    return c;
}

struct Digits {
    const u32 *x1, *y2, *y3;
    std::size_t terms;
    // a(i) = c0(i) + c1(i - 1); zero outside [0, terms].
    u64 a(std::size_t i) const {
        u64 v = 0;
        if (i < terms) v = x1[i] + kP1 * y2[i] + kQ0 * y3[i];
        if (i >= 1 && i - 1 < terms) v += kQ1 * y3[i - 1];
        return v;
    }
};

// Limbs r[from..to) without any carry from below `from`; returns the
// carry out of limb to - 1.
Limb carryPiece(const Digits& d, Limb* r, std::size_t from, std::size_t to) {
    u32 high = 0; // H(i - 1)
    if (from >= 1) high = static_cast<u32>(d.a(from - 1) / kBase);
    Limb carry = 0;
    auto step = [&](std::size_t i, u64 a) {
        checkLimbSum(a);
        const u64 h = a / kBase;
        const u32 sum = static_cast<u32>(a - h * kBase) + high + carry; // < 2 10^9
        carry = sum >= kBase;
        r[i] = sum - carry * kBase;
        high = static_cast<u32>(h);
    };
    // The terms with a neighbour below, without the bounds checks of a().
    std::size_t i = from;
    if (i == 0 && i < to) step(i, d.a(i)), ++i;
    const std::size_t inner = std::min(to, d.terms);
    if (i < inner) {
        u64 below = kQ1 * d.y3[i - 1]; // c1 of the term below
        for (; i < inner; ++i) {
            const u64 c0 = d.x1[i] + kP1 * d.y2[i] + kQ0 * d.y3[i];
            step(i, c0 + below);
            below = kQ1 * d.y3[i];
        }
    }
    for (; i < to; ++i)
        step(i, d.a(i));
    return carry;
}

} // namespace

void recombine(u32* res, std::size_t n, std::size_t terms, Limb* r, std::size_t nr,
               const CancelCheck* cancel) {
    recombine(res, n, n, terms, r, nr, cancel);
}

void recombine(u32* res, std::size_t stride, std::size_t n, std::size_t terms, Limb* r,
               std::size_t nr, const CancelCheck* cancel) {
    const GarnerConstants c = garnerConstants(n);
    const Kernels& k = kernels();
    u32 *r1 = res, *r2 = res + stride, *r3 = res + 2 * stride;
    par::forChunks(terms, kParallelGrain, 8, [&](std::size_t from, std::size_t to) {
        k.garner(r1 + from, r2 + from, r3 + from, to - from, c);
        poll(cancel);
    });
    const Digits d{r1, r2, r3, terms};
    const par::Pieces pieces = par::piecesOf(nr, kParallelGrain);
    std::vector<Limb> carries(pieces.count);
    par::forEach(pieces.count, [&](std::size_t i) {
        carries[i] = carryPiece(d, r, pieces.edge(i), pieces.edge(i + 1));
        poll(cancel);
    });
    for (std::size_t i = 0; i + 1 < pieces.count; ++i) {
        const std::size_t to = pieces.edge(i + 1);
        if (carries[i]) kern::addLimb(r + to, nr - to, carries[i]);
    }
}

} // namespace longhand::fast::ntt
