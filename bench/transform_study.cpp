// How many decimal digits one transformed word should carry. Three
// candidates compute the cyclic convolution of the same operands, from
// 10^9 limbs to 10^9 limbs:
//   Engine30x3       the engine's own transform, called step by step (one
//                    9-digit limb a point, three 30-bit primes in 32-bit
//                    words, AVX2 kernels), and EngineMulNtt, its whole
//                    product call with its own buffers;
//   Prime62x2        two primes below 2^62 in 64-bit words, 14 digits a
//                    point, Shoup's lazy butterflies (Harvey, "Faster
//                    arithmetic for number-theoretic transforms", 2014) in
//                    scalar code: AVX2 has no 64-bit high product;
//   Prime50x2Ifma    two primes below 2^50 in the eight 64-bit lanes of
//                    AVX-512 IFMA, 11 digits a point (or 9: one limb);
//   DoubleFft        a complex transform in doubles (AVX2), 3 or 4 digits
//                    a point, as many as its proven error bound allows at
//                    the length; it reports the bound and the largest
//                    distance of a computed term to its integer.
// The setup of every size checks each candidate's product limb for limb
// against the engine's mulNtt and aborts on a difference.
//
// Each run times, on one thread, the three steps of a product: cutting the
// operands into points, the transforms (two forward, the pointwise
// product, one inverse, for each prime) and the way back (Chinese
// remainders, carries, limbs). Counters give nanoseconds of process CPU
// time per decimal digit of the product (and wall time), with the
// transform's length and fill. EngineJump times the engine's product on
// either side of each change of its transform length.
//
//   LONGHAND_THREADS=1 build/bench/bin/transform_study
//       --benchmark_repetitions=3 --benchmark_enable_random_interleaving=true
//
// The 62-bit and 50-bit transforms are study code: power-of-two lengths
// only, the way in and out in plain scalar code.
//
// Coefficient bounds: a convolution term of operands of na and nb points
// below B is at most min(na, nb) (B - 1)^2, which must stay below p1 p2.
// The primes found below give p1 p2 > 2^123.99 (62-bit) and 2^99.99
// (50-bit): 14 digits a point hold up to 2^30.9 points an operand, 11
// digits 2^26.9 (12 digits would hold only 2^20.3, too few for the 10^8
// digit product).
#include "engine/fast/kernels.h"
#include "engine/fast/ntt_kernels.h"
#include "engine/fast/ntt_recombine.h"
#include "engine/fast/ntt_transform.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <immintrin.h>
#include <map>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

namespace lf = longhand::fast;
using lf::Limb;
using u64 = std::uint64_t;
using u32 = std::uint32_t;
__extension__ using u128 = unsigned __int128;

// --- timing -------------------------------------------------------------

double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double wallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// CPU seconds of the three steps, summed over the runs.
struct Steps {
    double cut = 0, transforms = 0, back = 0, wall = 0;
};

class StepClock {
  public:
    explicit StepClock(Steps& s) : steps_(s), wall_(wallSeconds()), last_(processSeconds()) {}
    void lap(double Steps::*step) {
        const double now = processSeconds();
        steps_.*step += now - last_;
        last_ = now;
    }
    ~StepClock() { steps_.wall += wallSeconds() - wall_; }

  private:
    Steps& steps_;
    double wall_, last_;
};

void report(benchmark::State& state, const Steps& s, double resultDigits, std::size_t points,
            std::size_t terms) {
    const double runs = static_cast<double>(state.iterations());
    const double perDigit = 1e9 / (runs * resultDigits);
    state.counters["cpu_ns_digit"] = (s.cut + s.transforms + s.back) * perDigit;
    state.counters["wall_ns_digit"] = s.wall * perDigit;
    state.counters["cut_ns_digit"] = s.cut * perDigit;
    state.counters["transforms_ns_digit"] = s.transforms * perDigit;
    state.counters["back_ns_digit"] = s.back * perDigit;
    state.counters["points"] = static_cast<double>(points);
    state.counters["fill"] = static_cast<double>(terms) / static_cast<double>(points);
}

// --- operands and the engine's product ----------------------------------

struct Operands {
    std::vector<Limb> a, b, product; // product by the engine's mulNtt
};

// Operands of `digits` decimal digits each (whole limbs), and their
// product, made once a size.
const Operands& operands(std::size_t digits) {
    static std::map<std::size_t, std::unique_ptr<Operands>> made;
    auto& slot = made[digits];
    if (!slot) {
        slot = std::make_unique<Operands>();
        const std::size_t n = (digits + 8) / 9;
        std::mt19937_64 rng(digits);
        for (auto* v : {&slot->a, &slot->b}) {
            v->resize(n);
            for (auto& x : *v)
                x = static_cast<Limb>(rng() % lf::kBase);
            v->back() = 700000000u + static_cast<Limb>(rng() % 100000000u);
        }
        slot->product.resize(2 * n);
        lf::kern::mulNtt(slot->product.data(), slot->a.data(), n, slot->b.data(), n);
    }
    return *slot;
}

void checkSame(const std::vector<Limb>& got, const std::vector<Limb>& want, const char* who) {
    if (got != want) {
        std::fprintf(stderr, "%s: the product differs from the engine's\n", who);
        std::abort();
    }
}

// --- (a) the engine's transform, step by step --------------------------

void BM_Engine30x3(benchmark::State& state) {
    const auto digits = static_cast<std::size_t>(state.range(0));
    const Operands& x = operands(digits);
    const std::size_t na = x.a.size(), nb = x.b.size(), terms = na + nb - 1;
    const std::size_t n = lf::ntt::transformLength(terms);
    const auto& kernels = lf::ntt::kernels();
    constexpr int kPrimes = lf::ntt::kPrimeCount;
    std::vector<u32> res(kPrimes * n), g(n);
    std::vector<Limb> r(na + nb);
    Steps steps;
    for (auto _ : state) {
        StepClock clock(steps);
        for (int k = 0; k < kPrimes; ++k) {
            u32* f = res.data() + static_cast<std::size_t>(k) * n;
            std::copy(x.a.begin(), x.a.end(), f);
            std::fill(f + na, f + n, 0u);
            std::copy(x.b.begin(), x.b.end(), g.begin());
            std::fill(g.begin() + static_cast<std::ptrdiff_t>(nb), g.end(), 0u);
            clock.lap(&Steps::cut);
            lf::ntt::forward(f, n, k);
            lf::ntt::forward(g.data(), n, k);
            kernels.multiply(f, g.data(), n, lf::ntt::kPrimes[k]);
            lf::ntt::inverse(f, n, k);
            clock.lap(&Steps::transforms);
        }
        lf::ntt::recombine(res.data(), n, terms, r.data(), na + nb, nullptr);
        clock.lap(&Steps::back);
    }
    checkSame(r, x.product, "engine steps");
    report(state, steps, 18.0 * static_cast<double>(na), n, terms);
}

// The engine's whole product call, for reference (its own buffers and
// their first touch included).
void BM_EngineMulNtt(benchmark::State& state) {
    const auto digits = static_cast<std::size_t>(state.range(0));
    const Operands& x = operands(digits);
    const std::size_t na = x.a.size(), nb = x.b.size();
    std::vector<Limb> r(na + nb);
    Steps steps;
    for (auto _ : state) {
        StepClock clock(steps);
        lf::kern::mulNtt(r.data(), x.a.data(), na, x.b.data(), nb);
        clock.lap(&Steps::transforms);
    }
    checkSame(r, x.product, "engine mulNtt");
    report(state, steps, 18.0 * static_cast<double>(na), lf::ntt::transformLength(na + nb - 1),
           na + nb - 1);
}

constexpr u64 power10(int k) {
    u64 r = 1;
    for (int i = 0; i < k; ++i)
        r *= 10;
    return r;
}

// --- (b) two 62-bit primes, 14 digits a point ----------------------------

u64 mulMod(u64 a, u64 b, u64 p) {
    return static_cast<u64>(static_cast<u128>(a) * b % p);
}

u64 powMod(u64 b, u64 e, u64 p) {
    u64 r = 1;
    for (b %= p; e; e >>= 1, b = mulMod(b, b, p))
        if (e & 1) r = mulMod(r, b, p);
    return r;
}

bool isPrime(u64 n) {
    if (n < 2) return false;
    u64 d = n - 1;
    int s = 0;
    while (d % 2 == 0)
        d /= 2, ++s;
    for (u64 a : {2ull, 3ull, 5ull, 7ull, 11ull, 13ull, 17ull, 19ull, 23ull, 29ull, 31ull, 37ull}) {
        if (a % n == 0) continue;
        u64 x = powMod(a, d, n);
        if (x == 1 || x == n - 1) continue;
        bool composite = true;
        for (int i = 1; i < s && composite; ++i)
            if ((x = mulMod(x, x, n)) == n - 1) composite = false;
        if (composite) return false;
    }
    return true;
}

// q = (hi 2^64 + lo) / d for hi < d, and the remainder.
inline u64 divide(u64 hi, u64 lo, u64 d, u64& rem) {
    u64 q;
    asm("divq %4" : "=a"(q), "=d"(rem) : "a"(lo), "d"(hi), "rm"(d));
    return q;
}

// x w mod p in [0, 2p) for any 64-bit x, wq = floor(w 2^64 / p).
inline u64 mulShoup(u64 x, u64 w, u64 wq, u64 p) {
    const u64 q = static_cast<u64>((static_cast<u128>(x) * wq) >> 64);
    return x * w - q * p;
}

inline u64 shoupQuotient(u64 w, u64 p) {
    return static_cast<u64>((static_cast<u128>(w) << 64) / p);
}

inline u64 reduce(u64 x, u64 m) {
    return x >= m ? x - m : x;
}

// The rows of a long transform: a transform of n > kRowPoints points is
// R x C with C = kRowPoints, as in the engine (column passes, then a twist
// and a cyclic transform per row, in cache).
constexpr int kRowLog = 10;
constexpr std::size_t kRowPoints = std::size_t{1} << kRowLog;
constexpr int kMaxLog = 30; // p - 1 divisible by 2^32
// Block numbers the tables cover: rows of transforms up to 2^26 points.
constexpr std::size_t kTwiddles = std::size_t{1} << 16;
// Eight rows: the block the vector transform splits into rows.
constexpr std::size_t kGroupPoints = 8 * kRowPoints;

std::size_t reverseBits(std::size_t r, int bits) {
    std::size_t v = 0;
    for (int i = 0; i < bits; ++i, r >>= 1)
        v = (v << 1) | (r & 1);
    return v;
}

struct Field62 {
    u64 p, negInv;
    // Block twiddles T[b] = rho^brev(b) (brev over kMaxLog - 1 bits, rho of
    // order 2^kMaxLog) and their inverses, with Shoup quotients.
    std::vector<u64> w, wq, v, vq;
    u64 roots[kMaxLog + 1]; // primitive 2^k-th roots, all powers of rho

    explicit Field62(u64 prime) : p(prime) {
        u64 inv = p;
        for (int i = 0; i < 6; ++i)
            inv *= 2 - p * inv;
        negInv = 0 - inv;
        u64 rho = 0;
        for (u64 x = 3;; ++x) {
            rho = powMod(x, (p - 1) >> kMaxLog, p);
            if (powMod(rho, u64{1} << (kMaxLog - 1), p) != 1) break;
        }
        for (int k = kMaxLog; k >= 0; --k)
            roots[k] = powMod(rho, u64{1} << (kMaxLog - k), p);
        w.resize(kTwiddles), wq.resize(kTwiddles), v.resize(kTwiddles), vq.resize(kTwiddles);
        for (std::size_t b = 0; b < kTwiddles; ++b) {
            w[b] = powMod(rho, reverseBits(b, kMaxLog - 1), p);
            v[b] = powMod(w[b], p - 2, p);
            wq[b] = shoupQuotient(w[b], p);
            vq[b] = shoupQuotient(v[b], p);
        }
    }

    // a b 2^-64 mod p in [0, 2p) for a b < p 2^64.
    u64 mont(u64 a, u64 b) const {
        const u128 t = static_cast<u128>(a) * b;
        const u64 m = static_cast<u64>(t) * negInv;
        return static_cast<u64>((t + static_cast<u128>(m) * p) >> 64);
    }
    u64 toMont(u64 x) const { return static_cast<u64>((static_cast<u128>(x) << 64) % p); }
};

// Two primes just below 2^62 with 2^32 | p - 1.
const Field62& field(int k) {
    static const std::vector<Field62> fields = [] {
        std::vector<Field62> f;
        for (u64 c = (u64{1} << 30) - 1; f.size() < 2; --c)
            if (isPrime((c << 32) + 1)) f.emplace_back((c << 32) + 1);
        return f;
    }();
    return fields[static_cast<std::size_t>(k)];
}

// Forward radix-4 pass over the quadruples a[j + i len] of block b, values
// kept in [0, 4p) (Harvey's lazy butterflies): stage A pairs the halves
// with T[b], stage B the quarters with T[2b] and T[2b + 1].
inline void forward4(u64* a, std::size_t len, std::size_t b, const Field62& f) {
    const u64 p = f.p, p2 = 2 * p;
    const u64 d = f.w[b], dq = f.wq[b], d0 = f.w[2 * b], d0q = f.wq[2 * b], d1 = f.w[2 * b + 1],
              d1q = f.wq[2 * b + 1];
    u64 *a0 = a, *a1 = a + len, *a2 = a + 2 * len, *a3 = a + 3 * len;
    for (std::size_t j = 0; j < len; ++j) {
        const u64 x0 = reduce(a0[j], p2), x1 = reduce(a1[j], p2);
        const u64 t2 = mulShoup(a2[j], d, dq, p), t3 = mulShoup(a3[j], d, dq, p);
        const u64 y0 = reduce(x0 + t2, p2), y2 = reduce(x0 - t2 + p2, p2);
        const u64 y1 = x1 + t3, y3 = x1 - t3 + p2;
        const u64 s1 = mulShoup(y1, d0, d0q, p), s3 = mulShoup(y3, d1, d1q, p);
        a0[j] = y0 + s1;
        a1[j] = y0 - s1 + p2;
        a2[j] = y2 + s3;
        a3[j] = y2 - s3 + p2;
    }
}

inline void forward2(u64* a, std::size_t len, std::size_t b, const Field62& f) {
    const u64 p = f.p, p2 = 2 * p, d = f.w[b], dq = f.wq[b];
    for (std::size_t j = 0; j < len; ++j) {
        const u64 x = reduce(a[j], p2), t = mulShoup(a[j + len], d, dq, p);
        a[j] = x + t;
        a[j + len] = x - t + p2;
    }
}

// The inverse passes, values in [0, 2p): (x, y) -> (x + y, (x - y) T^-1).
inline void inverse4(u64* a, std::size_t len, std::size_t b, const Field62& f) {
    const u64 p = f.p, p2 = 2 * p;
    const u64 e = f.v[b], eq = f.vq[b], e0 = f.v[2 * b], e0q = f.vq[2 * b], e1 = f.v[2 * b + 1],
              e1q = f.vq[2 * b + 1];
    u64 *a0 = a, *a1 = a + len, *a2 = a + 2 * len, *a3 = a + 3 * len;
    for (std::size_t j = 0; j < len; ++j) {
        const u64 x0 = a0[j], x1 = a1[j], x2 = a2[j], x3 = a3[j];
        const u64 y0 = reduce(x0 + x1, p2), y1 = mulShoup(x0 - x1 + p2, e0, e0q, p);
        const u64 y2 = reduce(x2 + x3, p2), y3 = mulShoup(x2 - x3 + p2, e1, e1q, p);
        a0[j] = reduce(y0 + y2, p2);
        a2[j] = mulShoup(y0 - y2 + p2, e, eq, p);
        a1[j] = reduce(y1 + y3, p2);
        a3[j] = mulShoup(y1 - y3 + p2, e, eq, p);
    }
}

inline void inverse2(u64* a, std::size_t len, std::size_t b, const Field62& f) {
    const u64 p = f.p, p2 = 2 * p, e = f.v[b], eq = f.vq[b];
    for (std::size_t j = 0; j < len; ++j) {
        const u64 x = a[j], y = a[j + len];
        a[j] = reduce(x + y, p2);
        a[j + len] = mulShoup(x - y + p2, e, eq, p);
    }
}

// A cyclic transform of n <= kRowPoints points, stage by stage in cache.
void leafForward(u64* a, std::size_t n, const Field62& f) {
    std::size_t size = n;
    if (std::countr_zero(n) % 2) {
        forward2(a, n / 2, 0, f);
        size /= 2;
    }
    for (; size >= 4; size /= 4)
        for (std::size_t b = 0; b < n / size; ++b)
            forward4(a + b * size, size / 4, b, f);
}

void leafInverse(u64* a, std::size_t n, const Field62& f) {
    const std::size_t top = std::countr_zero(n) % 2 ? n / 2 : n;
    for (std::size_t size = 4; size <= top; size *= 4)
        for (std::size_t b = 0; b < n / size; ++b)
            inverse4(a + b * size, size / 4, b, f);
    if (top != n) inverse2(a, n / 2, 0, f);
}

// a[i] = a[i] x^i for i < n, x in Montgomery form; from [0, 4p) to [0, 2p).
void twist(u64* a, std::size_t n, u64 xMont, const Field62& f) {
    u64 t = f.toMont(1);
    for (std::size_t i = 0; i < n; ++i) {
        a[i] = f.mont(a[i], t);
        t = reduce(f.mont(t, xMont), f.p);
    }
}

struct Plan62 {
    std::size_t n;
    int rowBits; // log2 of the row count
};

// Block b of `size` points of a transform of plan.n points.
void forwardBlock(u64* a, std::size_t size, std::size_t b, const Plan62& plan, const Field62& f) {
    if (size == kRowPoints) {
        // Row b holds the polynomial modulo x^C - T[b]^2 = x^C - beta^C with
        // beta = w_n^brev(b): twisted by beta^i it is cyclic.
        if (b != 0) {
            const u64 beta =
                powMod(f.roots[std::countr_zero(plan.n)], reverseBits(b, plan.rowBits), f.p);
            twist(a, size, f.toMont(beta), f);
        }
        leafForward(a, size, f);
        return;
    }
    if (size >= 4 * kRowPoints) {
        forward4(a, size / 4, b, f);
        for (std::size_t q = 0; q < 4; ++q)
            forwardBlock(a + q * (size / 4), size / 4, 4 * b + q, plan, f);
    } else {
        forward2(a, size / 2, b, f);
        for (std::size_t q = 0; q < 2; ++q)
            forwardBlock(a + q * (size / 2), size / 2, 2 * b + q, plan, f);
    }
}

void inverseBlock(u64* a, std::size_t size, std::size_t b, const Plan62& plan, const Field62& f) {
    if (size == kRowPoints) {
        leafInverse(a, size, f);
        if (b != 0) {
            const u64 beta =
                powMod(f.roots[std::countr_zero(plan.n)], reverseBits(b, plan.rowBits), f.p);
            twist(a, size, f.toMont(powMod(beta, f.p - 2, f.p)), f);
        }
        return;
    }
    if (size >= 4 * kRowPoints) {
        for (std::size_t q = 0; q < 4; ++q)
            inverseBlock(a + q * (size / 4), size / 4, 4 * b + q, plan, f);
        inverse4(a, size / 4, b, f);
    } else {
        for (std::size_t q = 0; q < 2; ++q)
            inverseBlock(a + q * (size / 2), size / 2, 2 * b + q, plan, f);
        inverse2(a, size / 2, b, f);
    }
}

Plan62 plan62(std::size_t n) {
    return {n, n > kRowPoints ? std::countr_zero(n) - kRowLog : 0};
}

void forward62(u64* a, std::size_t n, const Field62& f) {
    if (n <= kRowPoints)
        leafForward(a, n, f);
    else
        forwardBlock(a, n, 0, plan62(n), f);
}

// Leaves n times the input, in [0, 2p).
void inverse62(u64* a, std::size_t n, const Field62& f) {
    if (n <= kRowPoints)
        leafInverse(a, n, f);
    else
        inverseBlock(a, n, 0, plan62(n), f);
}

// The digits of in[0..nin) (units of `from` digits, least significant
// first) re-cut into units of `to` digits, out[0..nout), zeros beyond.
template <class In, class Out>
void recut(const In* in, std::size_t nin, int from, Out* out, std::size_t nout, int to) {
    if (from == to) {
        const std::size_t m = std::min(nin, nout);
        std::copy(in, in + m, out);
        std::fill(out + m, out + nout, Out{0});
        return;
    }
    static const u64 kPow[] = {
        1ull,           10ull,           100ull,           1000ull,           10000ull,
        100000ull,      1000000ull,      10000000ull,      100000000ull,      1000000000ull,
        10000000000ull, 100000000000ull, 1000000000000ull, 10000000000000ull, 100000000000000ull};
    const u64 unit = kPow[to];
    u128 acc = 0;
    int have = 0;
    std::size_t j = 0;
    for (std::size_t i = 0; i < nin && j < nout; ++i) {
        acc += static_cast<u128>(in[i]) * kPow[have];
        have += from;
        while (have >= to && j < nout) {
            u64 rem;
            const u64 q = divide(static_cast<u64>(acc >> 64), static_cast<u64>(acc), unit, rem);
            out[j++] = static_cast<Out>(rem);
            acc = q;
            have -= to;
        }
    }
    // have < to here, so what is left is one unit (acc < unit).
    if (j < nout) out[j++] = static_cast<Out>(acc);
    std::fill(out + j, out + nout, Out{0});
}

// The steps of a product over two primes p1 > p2 whose transforms leave
// residues r_k = s_k^-1 v mod p_k in [0, 2p_k) for each convolution term v,
// s_k = n m_k^-1 with m_k the Montgomery factor of the pointwise product
// (2^64 or 2^52).
struct TwoPrimes {
    u64 p1, p2;
    u64 montOne1, montOne2; // m_k mod p_k
};

// What a transform family supplies to the driver below.
struct Family {
    const char* name;
    TwoPrimes primes;
    // h = inverse(forward(h) forward(g)) for prime k (g is overwritten).
    void (*convolve)(u64* h, u64* g, std::size_t n, int prime);
};

template <int Digits> void runTwoPrimes(benchmark::State& state, const Family& family) {
    constexpr u64 kBaseB = power10(Digits);
    // D = B^m, the largest power of the points' base below 2^64.
    constexpr int kSplitDigits = 19 / Digits;
    constexpr u64 kSplit = power10(Digits * kSplitDigits);
    const TwoPrimes& t = family.primes;
    const auto digits = static_cast<std::size_t>(state.range(0));
    const Operands& x = operands(digits);
    const std::size_t na = x.a.size(), nb = x.b.size(), d = Digits;
    const std::size_t pa = (9 * na + d - 1) / d, pb = (9 * nb + d - 1) / d, terms = pa + pb - 1;
    const std::size_t n = std::max(std::bit_ceil(terms), kGroupPoints);
    if (n / kRowPoints > kTwiddles) {
        state.SkipWithError("longer than the twiddle tables reach");
        return;
    }
    // The coefficient bound: every term below p1 p2.
    const u128 most = static_cast<u128>(std::min(pa, pb)) * (kBaseB - 1) * (kBaseB - 1);
    if (most >= static_cast<u128>(t.p1) * t.p2) {
        std::fprintf(stderr, "%s: terms above p1 p2\n", family.name);
        std::abort();
    }
    auto scale = [n](u64 p, u64 montOne) { return mulMod(montOne, powMod(n % p, p - 2, p), p); };
    const u64 p1 = t.p1, q2 = t.p2;
    const u64 c = powMod(p1 % q2, q2 - 2, q2), cq = shoupQuotient(c, q2); // p1^-1 mod p2
    const u64 s1 = scale(p1, t.montOne1), s1q = shoupQuotient(s1, p1);
    const u64 k2 = mulMod(scale(q2, t.montOne2), c, q2), k2q = shoupQuotient(k2, q2);

    std::vector<u64> r1(n), r2(n), g(n), gb(n), points(terms + 8);
    const bool oneDivision = static_cast<u64>(most >> 64) < kSplit;
    // Digits of the quotient by D, at most: a fixed count, so that the
    // loop's branch is always guessed right.
    int quotientDigits = 0;
    for (u128 q = most / kSplit; q; q /= kBaseB)
        ++quotientDigits;
    auto term = [&](std::size_t i) {
        const u64 x1 = reduce(mulShoup(r1[i], s1, s1q, p1), p1);
        u64 y = mulShoup(r2[i], k2, k2q, q2) + 2 * q2 - mulShoup(x1, c, cq, q2);
        y = reduce(reduce(y, 2 * q2), q2);
        return x1 + static_cast<u128>(p1) * y;
    };
    std::vector<Limb> r(na + nb);
    Steps steps;
    for (auto _ : state) {
        StepClock clock(steps);
        recut(x.a.data(), na, 9, r1.data(), n, Digits);
        std::copy(r1.begin(), r1.end(), r2.begin());
        recut(x.b.data(), nb, 9, gb.data(), n, Digits);
        clock.lap(&Steps::cut);
        for (int k = 0; k < 2; ++k) {
            std::copy(gb.begin(), gb.end(), g.begin());
            clock.lap(&Steps::cut);
            family.convolve((k == 0 ? r1 : r2).data(), g.data(), n, k);
            clock.lap(&Steps::transforms);
        }
        // v = x1 + p1 y with x1 = v mod p1, y = (v - x1) p1^-1 mod p2, then
        // the carries in the points' base and the cut back into limbs.
        if (oneDivision) {
            // Each term split into digits on its own (one hardware division
            // by D = B^m < 2^64, then divisions by constants), the digits
            // added into their places, then one carry pass: no division
            // waits for the one before.
            std::fill(points.begin(), points.end(), u64{0});
            for (std::size_t i = 0; i < terms; ++i) {
                const u128 v = term(i);
                u64 rem;
                u64 q = divide(static_cast<u64>(v >> 64), static_cast<u64>(v), kSplit, rem);
                u64* at = points.data() + i;
                for (int j = 0; j < kSplitDigits; ++j, rem /= kBaseB)
                    *at++ += rem % kBaseB;
                for (int j = 0; j < quotientDigits; ++j, q /= kBaseB)
                    *at++ += q % kBaseB;
            }
            u64 carry = 0;
            for (auto& x : points) {
                const u64 sum = x + carry;
                x = sum % kBaseB;
                carry = sum / kBaseB;
            }
        } else {
            u128 carry = 0;
            for (std::size_t i = 0; i < terms; ++i) {
                const u128 v = term(i) + carry;
                u64 rem;
                const u64 top = divide(0, static_cast<u64>(v >> 64), kBaseB, rem);
                const u64 low = divide(rem, static_cast<u64>(v), kBaseB, rem);
                points[i] = rem;
                carry = (static_cast<u128>(top) << 64) | low;
            }
            for (std::size_t i = terms; i < points.size(); ++i) {
                points[i] = static_cast<u64>(carry % kBaseB);
                carry /= kBaseB;
            }
        }
        recut(points.data(), points.size(), Digits, r.data(), na + nb, 9);
        clock.lap(&Steps::back);
    }
    checkSame(r, x.product, family.name);
    report(state, steps, 18.0 * static_cast<double>(na), n, terms);
}

void convolve62(u64* h, u64* g, std::size_t n, int prime) {
    const Field62& f = field(prime);
    forward62(h, n, f);
    forward62(g, n, f);
    const u64 p2 = 2 * f.p;
    for (std::size_t i = 0; i < n; ++i)
        h[i] = f.mont(reduce(h[i], p2), reduce(g[i], p2));
    inverse62(h, n, f);
}

void BM_Prime62x2(benchmark::State& state) {
    const Field62 &f1 = field(0), &f2 = field(1);
    const Family family{"62-bit transform", {f1.p, f2.p, f1.toMont(1), f2.toMont(1)}, convolve62};
    runTwoPrimes<14>(state, family);
}

// --- (b') two 50-bit primes in the eight 64-bit lanes of AVX-512 IFMA -----
//
// The 52-bit multiplies of IFMA give Shoup's product in three
// instructions: q = hi52(x wq), x w - q p = lo52(x w) + lo52(q (2^52 - p))
// mod 2^52, with wq = floor(w 2^52 / p); lazy values below 4p < 2^52 need
// p < 2^50. Two such primes hold terms below p1 p2 > 2^99.9: 11 digits a
// point, min(na, nb) (10^11 - 1)^2 < 2^26.9 2^73.1, so operands up to
// 2^26 points. Column passes run over eight consecutive points; the rows
// run eight at a time, interleaved point by point in a scratch block so
// that every stage of a row transform works on whole vectors, each lane
// one row with its own twist.

#define STUDY_IFMA __attribute__((target("avx512f,avx512ifma")))

using V = __m512i;

struct Field50 {
    u64 p, negInv;                 // -p^-1 mod 2^52
    std::vector<u64> w, wq, v, vq; // block twiddles as Field62, quotients for 2^52
    u64 roots[kMaxLog + 1];
    // For the transform length of the last plan: the twist ratios of each
    // row and their inverses, in Montgomery form (x 2^52 mod p).
    std::size_t planned = 0;
    std::vector<u64> rowRatio, rowRatioInv;

    explicit Field50(u64 prime) : p(prime) {
        u64 inv = p;
        for (int i = 0; i < 6; ++i)
            inv *= 2 - p * inv;
        negInv = (0 - inv) & kMask52;
        u64 rho = 0;
        for (u64 x = 3;; ++x) {
            rho = powMod(x, (p - 1) >> kMaxLog, p);
            if (powMod(rho, u64{1} << (kMaxLog - 1), p) != 1) break;
        }
        for (int k = kMaxLog; k >= 0; --k)
            roots[k] = powMod(rho, u64{1} << (kMaxLog - k), p);
        w.resize(kTwiddles), wq.resize(kTwiddles), v.resize(kTwiddles), vq.resize(kTwiddles);
        for (std::size_t b = 0; b < kTwiddles; ++b) {
            w[b] = powMod(rho, reverseBits(b, kMaxLog - 1), p);
            v[b] = powMod(w[b], p - 2, p);
            wq[b] = static_cast<u64>((static_cast<u128>(w[b]) << 52) / p);
            vq[b] = static_cast<u64>((static_cast<u128>(v[b]) << 52) / p);
        }
    }
    static constexpr u64 kMask52 = (u64{1} << 52) - 1;
    u64 toMont(u64 x) const { return static_cast<u64>((static_cast<u128>(x) << 52) % p); }

    // The row twists of a transform of n points (outside the timing: a
    // table of n / kRowPoints entries a direction).
    void plan(std::size_t n) {
        if (planned == n) return;
        planned = n;
        const std::size_t rows = n / kRowPoints;
        const int bits = std::countr_zero(rows);
        rowRatio.resize(rows), rowRatioInv.resize(rows);
        for (std::size_t r = 0; r < rows; ++r) {
            const u64 beta = powMod(roots[std::countr_zero(n)], reverseBits(r, bits), p);
            rowRatio[r] = toMont(beta);
            rowRatioInv[r] = toMont(powMod(beta, p - 2, p));
        }
    }
};

Field50& field50(int k) {
    static std::vector<Field50> fields = [] {
        std::vector<Field50> f;
        for (u64 c = (u64{1} << 18) - 1; f.size() < 2; --c)
            if (isPrime((c << 32) + 1)) f.emplace_back((c << 32) + 1);
        return f;
    }();
    return fields[static_cast<std::size_t>(k)];
}

Field50& plannedField50(int k, std::size_t n) {
    Field50& f = field50(k);
    f.plan(n);
    return f;
}

struct Lanes {
    V p, p2, negp, negInv, mask, one;
};

STUDY_IFMA inline Lanes lanes(const Field50& f) {
    return {_mm512_set1_epi64(static_cast<long long>(f.p)),
            _mm512_set1_epi64(static_cast<long long>(2 * f.p)),
            _mm512_set1_epi64(static_cast<long long>((u64{1} << 52) - f.p)),
            _mm512_set1_epi64(static_cast<long long>(f.negInv)),
            _mm512_set1_epi64(static_cast<long long>(Field50::kMask52)),
            _mm512_set1_epi64(1)};
}

STUDY_IFMA inline V broadcast(u64 x) {
    return _mm512_set1_epi64(static_cast<long long>(x));
}

// x w mod p in [0, 2p) for x < 2^52.
STUDY_IFMA inline V shoupV(V x, V w, V wq, const Lanes& l) {
    const V zero = _mm512_setzero_si512();
    const V q = _mm512_madd52hi_epu64(zero, x, wq);
    const V r = _mm512_madd52lo_epu64(_mm512_madd52lo_epu64(zero, x, w), q, l.negp);
    return _mm512_and_si512(r, l.mask);
}

STUDY_IFMA inline V reduceV(V x, V m) {
    return _mm512_mask_sub_epi64(x, _mm512_cmpge_epu64_mask(x, m), x, m);
}

// a b 2^-52 mod p in [0, 2p) for a b < p 2^52.
STUDY_IFMA inline V montV(V a, V b, const Lanes& l) {
    const V zero = _mm512_setzero_si512();
    const V lo = _mm512_madd52lo_epu64(zero, a, b);
    const V hi = _mm512_madd52hi_epu64(zero, a, b);
    const V m = _mm512_and_si512(_mm512_madd52lo_epu64(zero, lo, l.negInv), l.mask);
    const V r = _mm512_madd52hi_epu64(hi, m, l.p);
    return _mm512_mask_add_epi64(r, _mm512_cmpneq_epu64_mask(lo, zero), r, l.one);
}

// The passes of Field62's transform on eight points a vector; len is a
// multiple of 8 (in words).
STUDY_IFMA void forward4V(u64* a, std::size_t len, std::size_t b, const Field50& f) {
    const Lanes l = lanes(f);
    const V d = broadcast(f.w[b]), dq = broadcast(f.wq[b]), d0 = broadcast(f.w[2 * b]),
            d0q = broadcast(f.wq[2 * b]), d1 = broadcast(f.w[2 * b + 1]),
            d1q = broadcast(f.wq[2 * b + 1]);
    u64 *a0 = a, *a1 = a + len, *a2 = a + 2 * len, *a3 = a + 3 * len;
    for (std::size_t j = 0; j < len; j += 8) {
        const V x0 = reduceV(_mm512_loadu_si512(a0 + j), l.p2);
        const V x1 = reduceV(_mm512_loadu_si512(a1 + j), l.p2);
        const V t2 = shoupV(_mm512_loadu_si512(a2 + j), d, dq, l);
        const V t3 = shoupV(_mm512_loadu_si512(a3 + j), d, dq, l);
        const V y0 = reduceV(_mm512_add_epi64(x0, t2), l.p2);
        const V y2 = reduceV(_mm512_add_epi64(_mm512_sub_epi64(x0, t2), l.p2), l.p2);
        const V y1 = _mm512_add_epi64(x1, t3);
        const V y3 = _mm512_add_epi64(_mm512_sub_epi64(x1, t3), l.p2);
        const V s1 = shoupV(y1, d0, d0q, l), s3 = shoupV(y3, d1, d1q, l);
        _mm512_storeu_si512(a0 + j, _mm512_add_epi64(y0, s1));
        _mm512_storeu_si512(a1 + j, _mm512_add_epi64(_mm512_sub_epi64(y0, s1), l.p2));
        _mm512_storeu_si512(a2 + j, _mm512_add_epi64(y2, s3));
        _mm512_storeu_si512(a3 + j, _mm512_add_epi64(_mm512_sub_epi64(y2, s3), l.p2));
    }
}

STUDY_IFMA void forward2V(u64* a, std::size_t len, std::size_t b, const Field50& f) {
    const Lanes l = lanes(f);
    const V d = broadcast(f.w[b]), dq = broadcast(f.wq[b]);
    for (std::size_t j = 0; j < len; j += 8) {
        const V x = reduceV(_mm512_loadu_si512(a + j), l.p2);
        const V t = shoupV(_mm512_loadu_si512(a + j + len), d, dq, l);
        _mm512_storeu_si512(a + j, _mm512_add_epi64(x, t));
        _mm512_storeu_si512(a + j + len, _mm512_add_epi64(_mm512_sub_epi64(x, t), l.p2));
    }
}

STUDY_IFMA void inverse4V(u64* a, std::size_t len, std::size_t b, const Field50& f) {
    const Lanes l = lanes(f);
    const V e = broadcast(f.v[b]), eq = broadcast(f.vq[b]), e0 = broadcast(f.v[2 * b]),
            e0q = broadcast(f.vq[2 * b]), e1 = broadcast(f.v[2 * b + 1]),
            e1q = broadcast(f.vq[2 * b + 1]);
    u64 *a0 = a, *a1 = a + len, *a2 = a + 2 * len, *a3 = a + 3 * len;
    for (std::size_t j = 0; j < len; j += 8) {
        const V x0 = _mm512_loadu_si512(a0 + j), x1 = _mm512_loadu_si512(a1 + j);
        const V x2 = _mm512_loadu_si512(a2 + j), x3 = _mm512_loadu_si512(a3 + j);
        const V y0 = reduceV(_mm512_add_epi64(x0, x1), l.p2);
        const V y1 = shoupV(_mm512_add_epi64(_mm512_sub_epi64(x0, x1), l.p2), e0, e0q, l);
        const V y2 = reduceV(_mm512_add_epi64(x2, x3), l.p2);
        const V y3 = shoupV(_mm512_add_epi64(_mm512_sub_epi64(x2, x3), l.p2), e1, e1q, l);
        _mm512_storeu_si512(a0 + j, reduceV(_mm512_add_epi64(y0, y2), l.p2));
        _mm512_storeu_si512(a2 + j,
                            shoupV(_mm512_add_epi64(_mm512_sub_epi64(y0, y2), l.p2), e, eq, l));
        _mm512_storeu_si512(a1 + j, reduceV(_mm512_add_epi64(y1, y3), l.p2));
        _mm512_storeu_si512(a3 + j,
                            shoupV(_mm512_add_epi64(_mm512_sub_epi64(y1, y3), l.p2), e, eq, l));
    }
}

STUDY_IFMA void inverse2V(u64* a, std::size_t len, std::size_t b, const Field50& f) {
    const Lanes l = lanes(f);
    const V e = broadcast(f.v[b]), eq = broadcast(f.vq[b]);
    for (std::size_t j = 0; j < len; j += 8) {
        const V x = _mm512_loadu_si512(a + j), y = _mm512_loadu_si512(a + j + len);
        _mm512_storeu_si512(a + j, reduceV(_mm512_add_epi64(x, y), l.p2));
        _mm512_storeu_si512(a + j + len,
                            shoupV(_mm512_add_epi64(_mm512_sub_epi64(x, y), l.p2), e, eq, l));
    }
}

// Eight rows of kRowPoints points each (row l at a + l kRowPoints) to and
// from the interleaved block s (point c of row l at s[8 c + l]): an 8 x 8
// transpose of each column of eight points.
STUDY_IFMA void transpose8(const u64* in, std::size_t inStride, u64* out, std::size_t outStride) {
    V r[8];
    for (int i = 0; i < 8; ++i)
        r[i] = _mm512_loadu_si512(in + static_cast<std::size_t>(i) * inStride);
    V t[8];
    const V evens = _mm512_set_epi64(14, 6, 12, 4, 10, 2, 8, 0);
    const V odds = _mm512_set_epi64(15, 7, 13, 5, 11, 3, 9, 1);
    for (int i = 0; i < 4; ++i) {
        t[2 * i] = _mm512_permutex2var_epi64(r[2 * i], evens, r[2 * i + 1]);
        t[2 * i + 1] = _mm512_permutex2var_epi64(r[2 * i], odds, r[2 * i + 1]);
    }
    // t[0]: r0_0 r1_0 r0_2 r1_2 r0_4 r1_4 r0_6 r1_6; t[1] the odd columns.
    const V lowPairs = _mm512_set_epi64(13, 12, 5, 4, 9, 8, 1, 0);
    const V highPairs = _mm512_set_epi64(15, 14, 7, 6, 11, 10, 3, 2);
    V u[8];
    for (int h = 0; h < 2; ++h) {     // rows 0-3, rows 4-7
        for (int o = 0; o < 2; ++o) { // even, odd columns
            const V x = t[4 * h + o], y = t[4 * h + 2 + o];
            u[4 * h + o] = _mm512_permutex2var_epi64(x, lowPairs, y);      // columns o, o + 4
            u[4 * h + 2 + o] = _mm512_permutex2var_epi64(x, highPairs, y); // o + 2, o + 6
        }
    }
    // u[4h + c] (c < 4): rows 4h..4h+3 of columns c (low half) and c + 4.
    const V lowHalves = _mm512_set_epi64(11, 10, 9, 8, 3, 2, 1, 0);
    const V highHalves = _mm512_set_epi64(15, 14, 13, 12, 7, 6, 5, 4);
    for (int c = 0; c < 4; ++c) {
        _mm512_storeu_si512(out + static_cast<std::size_t>(c) * outStride,
                            _mm512_permutex2var_epi64(u[c], lowHalves, u[4 + c]));
        _mm512_storeu_si512(out + static_cast<std::size_t>(c + 4) * outStride,
                            _mm512_permutex2var_epi64(u[c], highHalves, u[4 + c]));
    }
}

STUDY_IFMA void interleave(const u64* a, u64* s) {
    for (std::size_t c = 0; c < kRowPoints; c += 8)
        transpose8(a + c, kRowPoints, s + 8 * c, 8);
}

STUDY_IFMA void deinterleave(const u64* s, u64* a) {
    for (std::size_t c = 0; c < kRowPoints; c += 8)
        transpose8(s + 8 * c, 8, a + c, kRowPoints);
}

// s[8 c + l] times ratio_l^c, ratios in Montgomery form; [0, 4p) to [0, 2p).
STUDY_IFMA void twistV(u64* s, const u64* ratios, const Field50& f) {
    const Lanes l = lanes(f);
    const V ratio = _mm512_loadu_si512(ratios);
    V t = broadcast(f.toMont(1));
    for (std::size_t c = 0; c < kRowPoints; ++c) {
        _mm512_storeu_si512(s + 8 * c, montV(_mm512_loadu_si512(s + 8 * c), t, l));
        t = reduceV(montV(t, ratio, l), l.p);
    }
}

// The cyclic transform of each lane of the interleaved block: block size
// in points, len in words (8 a point).
STUDY_IFMA void leafForwardV(u64* s, const Field50& f) {
    std::size_t size = kRowPoints;
    if (kRowLog % 2) {
        forward2V(s, 8 * (size / 2), 0, f);
        size /= 2;
    }
    for (; size >= 4; size /= 4)
        for (std::size_t b = 0; b < kRowPoints / size; ++b)
            forward4V(s + 8 * b * size, 8 * (size / 4), b, f);
}

STUDY_IFMA void leafInverseV(u64* s, const Field50& f) {
    const std::size_t top = kRowLog % 2 ? kRowPoints / 2 : kRowPoints;
    for (std::size_t size = 4; size <= top; size *= 4)
        for (std::size_t b = 0; b < kRowPoints / size; ++b)
            inverse4V(s + 8 * b * size, 8 * (size / 4), b, f);
    if (top != kRowPoints) inverse2V(s, 8 * (kRowPoints / 2), 0, f);
}

// Block b of `size` points; groups of eight rows (size kGroupPoints) are
// split into their rows and those transformed together.
STUDY_IFMA void forwardBlockV(u64* a, std::size_t size, std::size_t b, const Field50& f, u64* s) {
    if (size == kGroupPoints) {
        forward4V(a, 2 * kRowPoints, b, f);
        for (std::size_t q = 0; q < 4; ++q)
            forward2V(a + q * 2 * kRowPoints, kRowPoints, 4 * b + q, f);
        interleave(a, s);
        twistV(s, f.rowRatio.data() + 8 * b, f);
        leafForwardV(s, f);
        deinterleave(s, a);
        return;
    }
    if (size >= 4 * kGroupPoints) {
        forward4V(a, size / 4, b, f);
        for (std::size_t q = 0; q < 4; ++q)
            forwardBlockV(a + q * (size / 4), size / 4, 4 * b + q, f, s);
    } else {
        forward2V(a, size / 2, b, f);
        for (std::size_t q = 0; q < 2; ++q)
            forwardBlockV(a + q * (size / 2), size / 2, 2 * b + q, f, s);
    }
}

STUDY_IFMA void inverseBlockV(u64* a, std::size_t size, std::size_t b, const Field50& f, u64* s) {
    if (size == kGroupPoints) {
        interleave(a, s);
        leafInverseV(s, f);
        twistV(s, f.rowRatioInv.data() + 8 * b, f);
        deinterleave(s, a);
        for (std::size_t q = 0; q < 4; ++q)
            inverse2V(a + q * 2 * kRowPoints, kRowPoints, 4 * b + q, f);
        inverse4V(a, 2 * kRowPoints, b, f);
        return;
    }
    if (size >= 4 * kGroupPoints) {
        for (std::size_t q = 0; q < 4; ++q)
            inverseBlockV(a + q * (size / 4), size / 4, 4 * b + q, f, s);
        inverse4V(a, size / 4, b, f);
    } else {
        for (std::size_t q = 0; q < 2; ++q)
            inverseBlockV(a + q * (size / 2), size / 2, 2 * b + q, f, s);
        inverse2V(a, size / 2, b, f);
    }
}

STUDY_IFMA void pointwiseV(u64* h, const u64* g, std::size_t n, const Field50& f) {
    const Lanes l = lanes(f);
    for (std::size_t i = 0; i < n; i += 8) {
        const V x = reduceV(_mm512_loadu_si512(h + i), l.p2);
        const V y = reduceV(_mm512_loadu_si512(g + i), l.p2);
        _mm512_storeu_si512(h + i, montV(x, y, l));
    }
}

void convolve50(u64* h, u64* g, std::size_t n, int prime) {
    static std::vector<u64> scratch(8 * kRowPoints);
    const Field50& f = plannedField50(prime, n);
    forwardBlockV(h, n, 0, f, scratch.data());
    forwardBlockV(g, n, 0, f, scratch.data());
    pointwiseV(h, g, n, f);
    inverseBlockV(h, n, 0, f, scratch.data());
}

// Digits a point: 11 (the most the bound allows), or 9, one limb a point,
// with nothing to re-cut on the way in or out.
template <int Digits> void BM_Prime50x2Ifma(benchmark::State& state) {
    if (!__builtin_cpu_supports("avx512ifma")) {
        state.SkipWithError("no AVX-512 IFMA on this processor");
        return;
    }
    const auto digits = static_cast<std::size_t>(state.range(0));
    // The row twists of the length this size takes, before the timing.
    const std::size_t limbs = (digits + 8) / 9, points = (9 * limbs + Digits - 1) / Digits;
    const std::size_t n = std::max(std::bit_ceil(2 * points - 1), kGroupPoints);
    const Field50 &f1 = plannedField50(0, n), &f2 = plannedField50(1, n);
    const Family family{
        "50-bit IFMA transform", {f1.p, f2.p, f1.toMont(1), f2.toMont(1)}, convolve50};
    runTwoPrimes<Digits>(state, family);
}

// --- (c) a complex double-precision transform, 3 or 4 digits a point -----
//
// The operands are cut into balanced digits of base B = 10^D, each in
// [-B/2, B/2), a in the real parts and b in the imaginary parts of
// one complex vector z of N = 2^k points. One forward transform, the
// pointwise square and one inverse give z^2 = a^2 - b^2 + 2 i (a b)
// modulo x^N - 1: half the imaginary part is the wanted convolution, for
// two transforms of N points in all.
//
// The transform splits x^m - c^2 into x^(m/2) - c and x^(m/2) + c, block
// b of a stage taking the constant c = T[b] = exp(i pi brev(b) / 2^j)
// (brev over j bits, any j with b < 2^j): every butterfly is u + c v,
// u - c v with |c| = 1, one complex product and one addition a point and
// stage, and the inverse (u + v, (u - v) conj(c)) the same; the 1 / N at
// the end is exact. Two stages run in one pass over the data (quarters of
// a block in registers), the arithmetic that of radix 2; blocks recurse
// depth first, so that the inner stages stay in cache.
//
// The error bound (C. Percival, "Rapid multiplication modulo the sum and
// difference of highly composite numbers", Math. Comp. 72, 2003, for
// radix-2 stages of this kind): the computed cyclic convolution of
// x and y over 2^k points differs from the exact one by at most
//     |x| |y| delta,
//     delta = (1 + e)^3k (1 + e sqrt 5)^(3k + 1) (1 + t)^3k - 1
// (Euclidean norms, e = 2^-53, t a bound on the error of a computed
// twiddle). Here x = y = z and the result is halved, so the terms are
// rounded right while |z|^2 delta / 2 < 1/2, with |z|^2 at most
// (pa + pb) (B / 2)^2. The twiddles are computed in long double and
// rounded: t = 2^-53 holds with room (the table's largest error is
// measured and checked against it).

// AVX2 without FMA: every product and sum rounds once, as the bound
// counts them.
#define STUDY_AVX2 __attribute__((target("avx2")))

using D4 = __m256d;

// T[b] for b < size, as separate real and imaginary parts.
struct Twiddles {
    std::vector<double> re, im;
    double largestError = 0; // max |T - exp(...)|, against long double
};

const Twiddles& twiddles(std::size_t size) {
    static Twiddles t;
    if (t.re.size() >= size) return t;
    const int bits = std::countr_zero(size);
    t.re.resize(size), t.im.resize(size);
    const long double pi = 3.14159265358979323846264338327950288L;
    for (std::size_t b = 0; b < size; ++b) {
        const long double angle =
            pi * static_cast<long double>(reverseBits(b, bits)) / static_cast<long double>(size);
        const long double c = cosl(angle), s = sinl(angle);
        t.re[b] = static_cast<double>(c);
        t.im[b] = static_cast<double>(s);
        const long double dr = t.re[b] - c, di = t.im[b] - s;
        t.largestError = std::max(t.largestError, static_cast<double>(sqrtl(dr * dr + di * di)));
    }
    return t;
}

struct FftData {
    double *re, *im;
    const double *tr, *ti;
};

STUDY_AVX2 inline void cmulV(D4 xr, D4 xi, D4 cr, D4 ci, D4& outR, D4& outI) {
    outR = _mm256_sub_pd(_mm256_mul_pd(xr, cr), _mm256_mul_pd(xi, ci));
    outI = _mm256_add_pd(_mm256_mul_pd(xr, ci), _mm256_mul_pd(xi, cr));
}

// One stage on block b (offset o, half h, a multiple of 4).
STUDY_AVX2 void stage2V(const FftData& d, std::size_t o, std::size_t h, std::size_t b,
                        bool inverse) {
    const D4 cr = _mm256_set1_pd(d.tr[b]), ci = _mm256_set1_pd(inverse ? -d.ti[b] : d.ti[b]);
    double *r = d.re + o, *i = d.im + o;
    for (std::size_t j = 0; j < h; j += 4) {
        const D4 ur = _mm256_loadu_pd(r + j), ui = _mm256_loadu_pd(i + j);
        D4 vr = _mm256_loadu_pd(r + j + h), vi = _mm256_loadu_pd(i + j + h);
        if (inverse) {
            _mm256_storeu_pd(r + j, _mm256_add_pd(ur, vr));
            _mm256_storeu_pd(i + j, _mm256_add_pd(ui, vi));
            cmulV(_mm256_sub_pd(ur, vr), _mm256_sub_pd(ui, vi), cr, ci, vr, vi);
            _mm256_storeu_pd(r + j + h, vr);
            _mm256_storeu_pd(i + j + h, vi);
        } else {
            cmulV(vr, vi, cr, ci, vr, vi);
            _mm256_storeu_pd(r + j, _mm256_add_pd(ur, vr));
            _mm256_storeu_pd(i + j, _mm256_add_pd(ui, vi));
            _mm256_storeu_pd(r + j + h, _mm256_sub_pd(ur, vr));
            _mm256_storeu_pd(i + j + h, _mm256_sub_pd(ui, vi));
        }
    }
}

// Two forward stages of block b (size m, quarter q a multiple of 4): the
// halves with T[b], then each half's halves with T[2b] and T[2b + 1].
STUDY_AVX2 void forward4D(const FftData& d, std::size_t o, std::size_t q, std::size_t b) {
    const D4 cr = _mm256_set1_pd(d.tr[b]), ci = _mm256_set1_pd(d.ti[b]);
    const D4 c0r = _mm256_set1_pd(d.tr[2 * b]), c0i = _mm256_set1_pd(d.ti[2 * b]);
    const D4 c1r = _mm256_set1_pd(d.tr[2 * b + 1]), c1i = _mm256_set1_pd(d.ti[2 * b + 1]);
    double *r = d.re + o, *i = d.im + o;
    for (std::size_t j = 0; j < q; j += 4) {
        const D4 x0r = _mm256_loadu_pd(r + j), x0i = _mm256_loadu_pd(i + j);
        const D4 x1r = _mm256_loadu_pd(r + j + q), x1i = _mm256_loadu_pd(i + j + q);
        D4 x2r = _mm256_loadu_pd(r + j + 2 * q), x2i = _mm256_loadu_pd(i + j + 2 * q);
        D4 x3r = _mm256_loadu_pd(r + j + 3 * q), x3i = _mm256_loadu_pd(i + j + 3 * q);
        cmulV(x2r, x2i, cr, ci, x2r, x2i);
        cmulV(x3r, x3i, cr, ci, x3r, x3i);
        const D4 y0r = _mm256_add_pd(x0r, x2r), y0i = _mm256_add_pd(x0i, x2i);
        const D4 y2r = _mm256_sub_pd(x0r, x2r), y2i = _mm256_sub_pd(x0i, x2i);
        D4 y1r = _mm256_add_pd(x1r, x3r), y1i = _mm256_add_pd(x1i, x3i);
        D4 y3r = _mm256_sub_pd(x1r, x3r), y3i = _mm256_sub_pd(x1i, x3i);
        cmulV(y1r, y1i, c0r, c0i, y1r, y1i);
        cmulV(y3r, y3i, c1r, c1i, y3r, y3i);
        _mm256_storeu_pd(r + j, _mm256_add_pd(y0r, y1r));
        _mm256_storeu_pd(i + j, _mm256_add_pd(y0i, y1i));
        _mm256_storeu_pd(r + j + q, _mm256_sub_pd(y0r, y1r));
        _mm256_storeu_pd(i + j + q, _mm256_sub_pd(y0i, y1i));
        _mm256_storeu_pd(r + j + 2 * q, _mm256_add_pd(y2r, y3r));
        _mm256_storeu_pd(i + j + 2 * q, _mm256_add_pd(y2i, y3i));
        _mm256_storeu_pd(r + j + 3 * q, _mm256_sub_pd(y2r, y3r));
        _mm256_storeu_pd(i + j + 3 * q, _mm256_sub_pd(y2i, y3i));
    }
}

// Its inverse (without the factor 4).
STUDY_AVX2 void inverse4D(const FftData& d, std::size_t o, std::size_t q, std::size_t b) {
    const D4 cr = _mm256_set1_pd(d.tr[b]), ci = _mm256_set1_pd(-d.ti[b]);
    const D4 c0r = _mm256_set1_pd(d.tr[2 * b]), c0i = _mm256_set1_pd(-d.ti[2 * b]);
    const D4 c1r = _mm256_set1_pd(d.tr[2 * b + 1]), c1i = _mm256_set1_pd(-d.ti[2 * b + 1]);
    double *r = d.re + o, *i = d.im + o;
    for (std::size_t j = 0; j < q; j += 4) {
        const D4 x0r = _mm256_loadu_pd(r + j), x0i = _mm256_loadu_pd(i + j);
        const D4 x1r = _mm256_loadu_pd(r + j + q), x1i = _mm256_loadu_pd(i + j + q);
        const D4 x2r = _mm256_loadu_pd(r + j + 2 * q), x2i = _mm256_loadu_pd(i + j + 2 * q);
        const D4 x3r = _mm256_loadu_pd(r + j + 3 * q), x3i = _mm256_loadu_pd(i + j + 3 * q);
        const D4 y0r = _mm256_add_pd(x0r, x1r), y0i = _mm256_add_pd(x0i, x1i);
        D4 y1r, y1i, y3r, y3i;
        cmulV(_mm256_sub_pd(x0r, x1r), _mm256_sub_pd(x0i, x1i), c0r, c0i, y1r, y1i);
        const D4 y2r = _mm256_add_pd(x2r, x3r), y2i = _mm256_add_pd(x2i, x3i);
        cmulV(_mm256_sub_pd(x2r, x3r), _mm256_sub_pd(x2i, x3i), c1r, c1i, y3r, y3i);
        D4 zr, zi;
        _mm256_storeu_pd(r + j, _mm256_add_pd(y0r, y2r));
        _mm256_storeu_pd(i + j, _mm256_add_pd(y0i, y2i));
        cmulV(_mm256_sub_pd(y0r, y2r), _mm256_sub_pd(y0i, y2i), cr, ci, zr, zi);
        _mm256_storeu_pd(r + j + 2 * q, zr);
        _mm256_storeu_pd(i + j + 2 * q, zi);
        _mm256_storeu_pd(r + j + q, _mm256_add_pd(y1r, y3r));
        _mm256_storeu_pd(i + j + q, _mm256_add_pd(y1i, y3i));
        cmulV(_mm256_sub_pd(y1r, y3r), _mm256_sub_pd(y1i, y3i), cr, ci, zr, zi);
        _mm256_storeu_pd(r + j + 3 * q, zr);
        _mm256_storeu_pd(i + j + 3 * q, zi);
    }
}

// A 4 x 4 transpose of doubles (its own inverse).
STUDY_AVX2 inline void transpose4(D4& r0, D4& r1, D4& r2, D4& r3) {
    const D4 t0 = _mm256_unpacklo_pd(r0, r1), t1 = _mm256_unpackhi_pd(r0, r1);
    const D4 t2 = _mm256_unpacklo_pd(r2, r3), t3 = _mm256_unpackhi_pd(r2, r3);
    r0 = _mm256_permute2f128_pd(t0, t2, 0x20);
    r1 = _mm256_permute2f128_pd(t1, t3, 0x20);
    r2 = _mm256_permute2f128_pd(t0, t2, 0x31);
    r3 = _mm256_permute2f128_pd(t1, t3, 0x31);
}

// The twiddles of the four 4-point blocks 4b .. 4b + 3: c[k] = T[4b + k]
// and the constants of their halves, T[8b + 2k] and T[8b + 2k + 1].
struct LeafTwiddles {
    D4 cr, ci, c0r, c0i, c1r, c1i;
};

// t[0..8) into its even and its odd entries.
STUDY_AVX2 inline void splitEvenOdd(const double* t, D4& even, D4& odd) {
    const D4 lo = _mm256_loadu_pd(t), hi = _mm256_loadu_pd(t + 4);
    even = _mm256_permute4x64_pd(_mm256_unpacklo_pd(lo, hi), 0xD8);
    odd = _mm256_permute4x64_pd(_mm256_unpackhi_pd(lo, hi), 0xD8);
}

STUDY_AVX2 inline LeafTwiddles leafTwiddles(const FftData& d, std::size_t b, bool inverse) {
    LeafTwiddles t;
    t.cr = _mm256_loadu_pd(d.tr + 4 * b);
    t.ci = _mm256_loadu_pd(d.ti + 4 * b);
    splitEvenOdd(d.tr + 8 * b, t.c0r, t.c1r);
    splitEvenOdd(d.ti + 8 * b, t.c0i, t.c1i);
    if (inverse) {
        const D4 zero = _mm256_setzero_pd();
        t.ci = _mm256_sub_pd(zero, t.ci);
        t.c0i = _mm256_sub_pd(zero, t.c0i);
        t.c1i = _mm256_sub_pd(zero, t.c1i);
    }
    return t;
}

// A block of 16 points: its two stages in vectors, then its four 4-point
// blocks side by side, one in each lane, after a transpose.
STUDY_AVX2 void forwardLeaf16(const FftData& d, std::size_t o, std::size_t b) {
    forward4D(d, o, 4, b);
    const LeafTwiddles t = leafTwiddles(d, b, false);
    double *r = d.re + o, *i = d.im + o;
    D4 x0r = _mm256_loadu_pd(r), x1r = _mm256_loadu_pd(r + 4), x2r = _mm256_loadu_pd(r + 8),
       x3r = _mm256_loadu_pd(r + 12);
    D4 x0i = _mm256_loadu_pd(i), x1i = _mm256_loadu_pd(i + 4), x2i = _mm256_loadu_pd(i + 8),
       x3i = _mm256_loadu_pd(i + 12);
    transpose4(x0r, x1r, x2r, x3r);
    transpose4(x0i, x1i, x2i, x3i);
    cmulV(x2r, x2i, t.cr, t.ci, x2r, x2i);
    cmulV(x3r, x3i, t.cr, t.ci, x3r, x3i);
    const D4 y0r = _mm256_add_pd(x0r, x2r), y0i = _mm256_add_pd(x0i, x2i);
    const D4 y2r = _mm256_sub_pd(x0r, x2r), y2i = _mm256_sub_pd(x0i, x2i);
    D4 y1r = _mm256_add_pd(x1r, x3r), y1i = _mm256_add_pd(x1i, x3i);
    D4 y3r = _mm256_sub_pd(x1r, x3r), y3i = _mm256_sub_pd(x1i, x3i);
    cmulV(y1r, y1i, t.c0r, t.c0i, y1r, y1i);
    cmulV(y3r, y3i, t.c1r, t.c1i, y3r, y3i);
    x0r = _mm256_add_pd(y0r, y1r), x0i = _mm256_add_pd(y0i, y1i);
    x1r = _mm256_sub_pd(y0r, y1r), x1i = _mm256_sub_pd(y0i, y1i);
    x2r = _mm256_add_pd(y2r, y3r), x2i = _mm256_add_pd(y2i, y3i);
    x3r = _mm256_sub_pd(y2r, y3r), x3i = _mm256_sub_pd(y2i, y3i);
    transpose4(x0r, x1r, x2r, x3r);
    transpose4(x0i, x1i, x2i, x3i);
    _mm256_storeu_pd(r, x0r), _mm256_storeu_pd(r + 4, x1r), _mm256_storeu_pd(r + 8, x2r),
        _mm256_storeu_pd(r + 12, x3r);
    _mm256_storeu_pd(i, x0i), _mm256_storeu_pd(i + 4, x1i), _mm256_storeu_pd(i + 8, x2i),
        _mm256_storeu_pd(i + 12, x3i);
}

STUDY_AVX2 void inverseLeaf16(const FftData& d, std::size_t o, std::size_t b) {
    const LeafTwiddles t = leafTwiddles(d, b, true);
    double *r = d.re + o, *i = d.im + o;
    D4 x0r = _mm256_loadu_pd(r), x1r = _mm256_loadu_pd(r + 4), x2r = _mm256_loadu_pd(r + 8),
       x3r = _mm256_loadu_pd(r + 12);
    D4 x0i = _mm256_loadu_pd(i), x1i = _mm256_loadu_pd(i + 4), x2i = _mm256_loadu_pd(i + 8),
       x3i = _mm256_loadu_pd(i + 12);
    transpose4(x0r, x1r, x2r, x3r);
    transpose4(x0i, x1i, x2i, x3i);
    const D4 y0r = _mm256_add_pd(x0r, x1r), y0i = _mm256_add_pd(x0i, x1i);
    const D4 y2r = _mm256_add_pd(x2r, x3r), y2i = _mm256_add_pd(x2i, x3i);
    D4 y1r, y1i, y3r, y3i;
    cmulV(_mm256_sub_pd(x0r, x1r), _mm256_sub_pd(x0i, x1i), t.c0r, t.c0i, y1r, y1i);
    cmulV(_mm256_sub_pd(x2r, x3r), _mm256_sub_pd(x2i, x3i), t.c1r, t.c1i, y3r, y3i);
    x0r = _mm256_add_pd(y0r, y2r), x0i = _mm256_add_pd(y0i, y2i);
    x1r = _mm256_add_pd(y1r, y3r), x1i = _mm256_add_pd(y1i, y3i);
    cmulV(_mm256_sub_pd(y0r, y2r), _mm256_sub_pd(y0i, y2i), t.cr, t.ci, x2r, x2i);
    cmulV(_mm256_sub_pd(y1r, y3r), _mm256_sub_pd(y1i, y3i), t.cr, t.ci, x3r, x3i);
    transpose4(x0r, x1r, x2r, x3r);
    transpose4(x0i, x1i, x2i, x3i);
    _mm256_storeu_pd(r, x0r), _mm256_storeu_pd(r + 4, x1r), _mm256_storeu_pd(r + 8, x2r),
        _mm256_storeu_pd(r + 12, x3r);
    _mm256_storeu_pd(i, x0i), _mm256_storeu_pd(i + 4, x1i), _mm256_storeu_pd(i + 8, x2i),
        _mm256_storeu_pd(i + 12, x3i);
    inverse4D(d, o, 4, b);
}

// Blocks of 4^j points, j >= 2.
void forwardFft(const FftData& d, std::size_t o, std::size_t m, std::size_t b) {
    if (m == 16) return forwardLeaf16(d, o, b);
    const std::size_t q = m / 4;
    forward4D(d, o, q, b);
    for (std::size_t k = 0; k < 4; ++k)
        forwardFft(d, o + k * q, q, 4 * b + k);
}

void inverseFft(const FftData& d, std::size_t o, std::size_t m, std::size_t b) {
    if (m == 16) return inverseLeaf16(d, o, b);
    const std::size_t q = m / 4;
    for (std::size_t k = 0; k < 4; ++k)
        inverseFft(d, o + k * q, q, 4 * b + k);
    inverse4D(d, o, q, b);
}

// n = 2^k points, n >= 32: an odd k takes one radix-2 stage first.
void forwardTop(const FftData& d, std::size_t n) {
    if (std::countr_zero(n) % 2 == 0) return forwardFft(d, 0, n, 0);
    stage2V(d, 0, n / 2, 0, false);
    forwardFft(d, 0, n / 2, 0);
    forwardFft(d, n / 2, n / 2, 1);
}

void inverseTop(const FftData& d, std::size_t n) {
    if (std::countr_zero(n) % 2 == 0) return inverseFft(d, 0, n, 0);
    inverseFft(d, 0, n / 2, 0);
    inverseFft(d, n / 2, n / 2, 1);
    stage2V(d, 0, n / 2, 0, true);
}

// Each term im[j] / 2n rounded to the nearest integer (|x| < 2^51: the
// sum with 1.5 2^52 holds it in its low mantissa bits); returns the
// largest distance to it.
STUDY_AVX2 double roundTerms(const double* im, std::size_t n, double scale, std::int64_t* out) {
    const D4 s = _mm256_set1_pd(scale), magic = _mm256_set1_pd(0x1.8p52);
    const D4 sign = _mm256_set1_pd(-0.0);
    const __m256i magicBits = _mm256_castpd_si256(magic);
    D4 largest = _mm256_setzero_pd();
    for (std::size_t j = 0; j < n; j += 4) {
        const D4 v = _mm256_mul_pd(_mm256_loadu_pd(im + j), s);
        const D4 r = _mm256_round_pd(v, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
        largest = _mm256_max_pd(largest, _mm256_andnot_pd(sign, _mm256_sub_pd(v, r)));
        const __m256i bits =
            _mm256_sub_epi64(_mm256_castpd_si256(_mm256_add_pd(r, magic)), magicBits);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + j), bits);
    }
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, largest);
    return std::max(std::max(lanes[0], lanes[1]), std::max(lanes[2], lanes[3]));
}

// z^2 point by point.
STUDY_AVX2 void squareV(double* re, double* im, std::size_t n) {
    for (std::size_t j = 0; j < n; j += 4) {
        const D4 r = _mm256_loadu_pd(re + j), i = _mm256_loadu_pd(im + j);
        _mm256_storeu_pd(re + j, _mm256_sub_pd(_mm256_mul_pd(r, r), _mm256_mul_pd(i, i)));
        const D4 ri = _mm256_mul_pd(r, i);
        _mm256_storeu_pd(im + j, _mm256_add_pd(ri, ri));
    }
}

// delta of the bound for 2^k points.
double percivalDelta(int k, double twiddleError) {
    const long double e = 0x1p-53L, t = twiddleError;
    return static_cast<double>(
        powl(1 + e, 3 * k) * powl(1 + e * sqrtl(5.0L), 3 * k + 1) * powl(1 + t, 3 * k) - 1);
}

// The digits of limbs v[0..n) in balanced base 10^D (each in [-B/2, B/2)),
// into out[0..count), zeros beyond; returns the points used.
template <int Digits>
std::size_t balancedDigits(const Limb* v, std::size_t n, double* out, std::size_t count,
                           std::vector<u64>& scratch) {
    constexpr std::int64_t kB = static_cast<std::int64_t>(power10(Digits));
    const std::size_t points = (9 * n + Digits - 1) / Digits;
    std::int64_t carry = 0;
    auto put = [&](std::size_t j, std::int64_t digit) {
        digit += carry;
        carry = digit >= kB / 2;
        out[j] = static_cast<double>(digit - carry * kB);
    };
    if constexpr (Digits == 3) {
        for (std::size_t i = 0; i < n; ++i) {
            const Limb x = v[i];
            put(3 * i, x % 1000);
            put(3 * i + 1, x / 1000 % 1000);
            put(3 * i + 2, x / 1000000);
        }
    } else {
        scratch.resize(points);
        recut(v, n, 9, scratch.data(), points, Digits);
        for (std::size_t j = 0; j < points; ++j)
            put(j, static_cast<std::int64_t>(scratch[j]));
    }
    out[points] = static_cast<double>(carry);
    std::fill(out + points + 1, out + count, 0.0);
    return points + 1;
}

template <int Digits> void BM_DoubleFft(benchmark::State& state) {
    if (!__builtin_cpu_supports("avx2")) {
        state.SkipWithError("no AVX2 on this processor");
        return;
    }
    constexpr double kB = static_cast<double>(power10(Digits));
    const auto digits = static_cast<std::size_t>(state.range(0));
    const Operands& x = operands(digits);
    const std::size_t na = x.a.size(), nb = x.b.size();
    const std::size_t pa = (9 * na + Digits - 1) / Digits + 1,
                      pb = (9 * nb + Digits - 1) / Digits + 1, terms = pa + pb - 1;
    const std::size_t n = std::max(std::bit_ceil(terms), std::size_t{32});
    const int k = std::countr_zero(n);
    const Twiddles& t = twiddles(n / 2);
    if (t.largestError > 0x1p-53) {
        std::fprintf(stderr, "double transform: twiddles off by %g\n", t.largestError);
        std::abort();
    }
    // The largest |z|^2 of operands of this length, and the bound.
    const double norm2 = static_cast<double>(pa + pb) * (kB / 2) * (kB / 2);
    const double bound = norm2 * percivalDelta(k, 0x1p-53) / 2;
    state.counters["error_bound"] = bound;
    state.counters["twiddle_error"] = t.largestError;
    if (bound >= 0.5) {
        state.SkipWithError("the error bound does not allow this many digits at this length");
        return;
    }
    std::vector<double> re(n), im(n);
    std::vector<u64> scratch, out;
    std::vector<std::int64_t> rounded(n);
    std::vector<Limb> r(na + nb);
    const FftData d{re.data(), im.data(), t.re.data(), t.im.data()};
    const double scale = 1.0 / (2.0 * static_cast<double>(n)); // exact
    const std::size_t outDigits = (9 * (na + nb) + Digits - 1) / Digits;
    double largest = 0;
    Steps steps;
    for (auto _ : state) {
        StepClock clock(steps);
        balancedDigits<Digits>(x.a.data(), na, re.data(), n, scratch);
        balancedDigits<Digits>(x.b.data(), nb, im.data(), n, scratch);
        clock.lap(&Steps::cut);
        forwardTop(d, n);
        squareV(re.data(), im.data(), n);
        inverseTop(d, n);
        clock.lap(&Steps::transforms);
        // Round each term, carry in base B (floor division: terms may be
        // negative), and put the digits back into limbs.
        std::int64_t carry = 0;
        constexpr auto kBase = static_cast<std::int64_t>(power10(Digits));
        largest = std::max(largest, roundTerms(im.data(), n, scale, rounded.data()));
        auto digit = [&](std::size_t j) {
            std::int64_t v = carry + (j < n ? rounded[j] : 0);
            std::int64_t q = v / kBase, rem = v - q * kBase;
            if (rem < 0) rem += kBase, --q;
            carry = q;
            return static_cast<Limb>(rem);
        };
        if constexpr (Digits == 3) {
            for (std::size_t i = 0; i < na + nb; ++i) {
                const Limb d0 = digit(3 * i), d1 = digit(3 * i + 1), d2 = digit(3 * i + 2);
                r[i] = d0 + 1000 * d1 + 1000000 * d2;
            }
        } else {
            out.resize(outDigits);
            for (std::size_t j = 0; j < outDigits; ++j)
                out[j] = digit(j);
            recut(out.data(), outDigits, Digits, r.data(), na + nb, 9);
        }
        // Balanced terms may reach past the product's digits and cancel
        // there: what is left above them must come to zero.
        bool spill = false;
        for (std::size_t j = (Digits == 3 ? 3 * (na + nb) : outDigits); j < terms; ++j)
            spill |= digit(j) != 0;
        if (spill || carry != 0) {
            std::fprintf(stderr, "double transform: a carry out of the product\n");
            std::abort();
        }
        clock.lap(&Steps::back);
    }
    checkSame(r, x.product, "double transform");
    state.counters["largest_error"] = largest;
    report(state, steps, 18.0 * static_cast<double>(na), n, terms);
}

} // namespace

// Operand digits (m whole limbs) whose 6 m + 1 terms at 3 digits a point
// just fill 2^k points of the double transform.
constexpr long filling3(int k) {
    return 9 * (((1L << k) - 1) / 6);
}

// The product sizes, in decimal digits an operand: 10^6, 10^7, 10^8, and
// the sizes just under a full power-of-two length of the 62-bit transform
// (7 2^k digits an operand fill 2^k points of 14 digits) and of the 50-bit
// one with 11 digits a point (11 2^k digits, 2^(k + 1) points), and of the
// double transform with 3 digits a point. The candidates are registered
// size by size, one after another, so that a run alternates them; longer
// products run fewer times.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const long sizes[] = {1000000L,         10000000L,       100000000L,       (7L << 17) - 18,
                          (7L << 20) - 18,  (7L << 23) - 18, (11L << 17) - 18, (11L << 20) - 18,
                          (11L << 23) - 18, filling3(20),    filling3(23)};
    for (const long d : sizes) {
        const long runs = d < 2000000 ? 10 : d < 20000000 ? 3 : 1;
        for (const auto& [name, run] :
             {std::pair{"Engine30x3", &BM_Engine30x3}, std::pair{"Prime62x2", &BM_Prime62x2},
              std::pair{"Prime50x2Ifma11", &BM_Prime50x2Ifma<11>},
              std::pair{"Prime50x2Ifma9", &BM_Prime50x2Ifma<9>},
              std::pair{"EngineMulNtt", &BM_EngineMulNtt},
              std::pair{"DoubleFft3", &BM_DoubleFft<3>}, std::pair{"DoubleFft4", &BM_DoubleFft<4>}})
            benchmark::RegisterBenchmark(name, run)->Arg(d)->Iterations(runs)->Unit(
                benchmark::kMillisecond);
    }
    // The jumps of the engine's lengths between 2^20 and 2^22 points: where
    // the length it picks changes, the product of equal operands just
    // before the change and the one just after.
    for (std::size_t terms = std::size_t{1} << 20; terms <= (std::size_t{1} << 22); ++terms) {
        const std::size_t length = lf::ntt::transformLength(terms);
        if (lf::ntt::transformLength(terms + 1) == length) continue;
        // terms is the last count `length` takes; 2 m - 1 terms for m-limb operands.
        for (const std::size_t limbs : {(terms + 1) / 2, (terms + 1) / 2 + 1})
            benchmark::RegisterBenchmark("EngineJump", &BM_EngineMulNtt)
                ->Arg(static_cast<long>(9 * limbs))
                ->Iterations(3)
                ->Unit(benchmark::kMillisecond);
    }
    // Products whose terms fall between 3 2^(k+2) and 15 2^k, the range in
    // which the engine can take 15 2^k or 2^(k+4) points, for the choice
    // between them (thresholds.h, kNttRadix15Cost).
    for (const std::size_t length : {std::size_t{15} << 16, std::size_t{15} << 17})
        for (const double share : {0.82, 0.9, 0.99})
            benchmark::RegisterBenchmark("EngineNear15", &BM_EngineMulNtt)
                ->Arg(static_cast<long>(9 * (static_cast<std::size_t>(share * length) / 2)))
                ->Iterations(3)
                ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
