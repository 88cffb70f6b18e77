// Building the twiddle tables of ntt_tables.h.
#include "ntt_tables.h"

#include "thresholds.h"

#include <algorithm>
#include <array>

namespace longhand::fast::ntt {

namespace {

// T[b] for b < count from T[0] = 1 and, level by level,
// T[2^s + j] = T[2^s] T[j] for j < 2^s: the bit reversal of 2^s + j is
// that of 2^s plus that of j. T[2^s] = rho^(2^(K - 2 - s)), K =
// kMaxPow2Log.
std::vector<u32> blockRoots(u32 rho, std::size_t count, u32 p) {
    std::vector<u32> t(count);
    t[0] = 1;
    for (std::size_t half = 1, s = 0; half < count; half *= 2, ++s) {
        const u32 step = powMod(rho, u64{1} << (kMaxPow2Log - 2 - s), p);
        for (std::size_t j = 0; j < half && half + j < count; ++j)
            t[half + j] = mulMod(step, t[j], p);
    }
    return t;
}

BlockTwiddles twiddlesFrom(const std::vector<u32>& t, u32 p) {
    BlockTwiddles b;
    const std::size_t n = t.size();
    b.w = t;
    b.wq.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        b.wq[i] = shoupQuotient(t[i], p);
    // Entry i of w2 is T[16 g + 2 l + h] for i = 16 g + 8 h + l; of w1,
    // T[32 g + 4 l + h] for i = 32 g + 8 h + l (n is a multiple of 32).
    b.w2.resize(n);
    b.w1.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t l = i % 8;
        b.w2[i] = t[i / 16 * 16 + 2 * l + i % 16 / 8];
        b.w1[i] = t[i / 32 * 32 + 4 * l + i % 32 / 8];
    }
    b.w2q.resize(n);
    b.w1q.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        b.w2q[i] = shoupQuotient(b.w2[i], p);
        b.w1q[i] = shoupQuotient(b.w1[i], p);
    }
    return b;
}

// c3 = c5^0 ... : the cube root c3 and the fifth root c5 of one direction.
LayerConstants layerConstants(u32 c3, u32 c5, u32 p) {
    const u32 c2 = mulMod(c5, c5, p), c3of5 = mulMod(c2, c5, p), c4 = mulMod(c3of5, c5, p);
    const u32 half = (p + 1) / 2; // 2^-1
    LayerConstants k{};
    k.c3 = c3;
    k.a1 = mulMod((c5 + c4) % p, half, p);
    k.a2 = mulMod((c2 + c3of5) % p, half, p);
    k.b1 = mulMod((c5 + p - c4) % p, half, p);
    k.b2 = mulMod((c2 + p - c3of5) % p, half, p);
    k.c3q = shoupQuotient(k.c3, p);
    k.a1q = shoupQuotient(k.a1, p);
    k.a2q = shoupQuotient(k.a2, p);
    k.b1q = shoupQuotient(k.b1, p);
    k.b2q = shoupQuotient(k.b2, p);
    return k;
}

PrimeTables build(const Prime& f) {
    const u32 rho = f.rootOfUnity(u64{1} << kMaxPow2Log);
    const std::size_t n = twiddleCount();
    PrimeTables t;
    t.forward = twiddlesFrom(blockRoots(rho, n, f.p), f.p);
    t.inverse = twiddlesFrom(blockRoots(inverseMod(rho, f.p), n, f.p), f.p);
    const u32 c3 = f.rootOfUnity(3), c5 = f.rootOfUnity(5);
    t.layers[0] = layerConstants(c3, c5, f.p);
    t.layers[1] = layerConstants(inverseMod(c3, f.p), inverseMod(c5, f.p), f.p);
    const u64 odd[4] = {1, 3, 5, 15};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k <= kMaxPow2Log; ++k) {
            t.roots[0][i][k] = f.rootOfUnity(odd[i] << k);
            t.roots[1][i][k] = inverseMod(t.roots[0][i][k], f.p);
        }
    return t;
}

} // namespace

std::size_t twiddleCount() {
    constexpr std::size_t columns = (std::size_t{1} << kMaxPow2Log) / kNttLeafPoints;
    return std::max<std::size_t>(std::max(kNttLeafPoints, columns) / 2, 32);
}

const PrimeTables& tablesOf(int prime) {
    static const std::array<PrimeTables, kPrimeCount> all = {build(kPrimes[0]), build(kPrimes[1]),
                                                             build(kPrimes[2])};
    return all[static_cast<std::size_t>(prime)];
}

} // namespace longhand::fast::ntt
