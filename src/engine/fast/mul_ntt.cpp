// Multiplication by number-theoretic transforms (Schönhage–Strassen style
// convolution over prime fields, three primes joined by the Chinese
// remainder theorem; see Crandall & Pomerance, "Prime Numbers", 9.5).
//
// Two base-10^9 limbs make one coefficient below 10^18. A cyclic
// convolution of length N of such coefficients has terms below
// N * 10^36 < 2^152 for N <= 2^32, less than the product of the three
// primes (about 2^186), so each term is recovered exactly (Garner's
// method), then carried in base 10^18.
//
// The transforms follow Harvey, "Faster arithmetic for number-theoretic
// transforms" (2014): twiddles with Shoup's precomputed quotients and lazy
// reduction, values kept in [0, 2p) forward and [0, 4p) backward, which
// needs 4p < 2^64. The forward transform is decimation in frequency from
// natural order to bit-reversed order, the inverse is decimation in time
// from bit-reversed order back, so no permutation pass is needed. Both
// recurse depth first so that the inner stages run in cache.
#include "kernels.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace longhand::fast::kern {

namespace {

using u64 = std::uint64_t;
__extension__ typedef unsigned __int128 u128;

// p = c * 3 * 2^32 + 1 < 2^62, with a primitive root each. Descending.
constexpr u64 kPrimes[3] = {4611685692009873409ull, 4611685318347718657ull, 4611685125074190337ull};
constexpr u64 kRoots[3] = {19, 5, 5};
constexpr int kMaxLog = 32;
constexpr u64 kCoefBase = 1000000000000000000ull; // 10^18
// Sub-transforms of at most this many points run stage by stage.
constexpr std::size_t kLeafPoints = 1024;

inline u64 mulhi(u64 a, u64 b) {
    return static_cast<u64>((static_cast<u128>(a) * b) >> 64);
}

// (hi * 2^64 + lo) / d for hi < d; the remainder goes to rem.
inline u64 div128(u64 hi, u64 lo, u64 d, u64& rem) {
#if defined(__x86_64__)
    u64 q;
    __asm__("divq %[d]" : "=a"(q), "=d"(rem) : "a"(lo), "d"(hi), [d] "rm"(d) : "cc");
    return q;
#else
    u128 n = (static_cast<u128>(hi) << 64) | lo;
    rem = static_cast<u64>(n % d);
    return static_cast<u64>(n / d);
#endif
}

inline u64 mulMod(u64 a, u64 b, u64 p) {
    return static_cast<u64>((static_cast<u128>(a) * b) % p);
}

u64 powMod(u64 b, u64 e, u64 p) {
    u64 r = 1;
    b %= p;
    while (e) {
        if (e & 1) r = mulMod(r, b, p);
        b = mulMod(b, b, p);
        e >>= 1;
    }
    return r;
}

// Shoup's quotient floor(w 2^64 / p) for w < p.
inline u64 shoupQuotient(u64 w, u64 p) {
    u64 rem;
    return div128(w, 0, p, rem);
}

// x w mod p in [0, 2p) for any x < 2^64, given wq = shoupQuotient(w).
inline u64 mulShoup(u64 x, u64 w, u64 wq, u64 p) {
    return x * w - mulhi(x, wq) * p;
}

inline u64 reduceOnce(u64 x, u64 m) {
    return x >= m ? x - m : x;
}

struct Field {
    u64 p;
    u64 pinv; // p^-1 mod 2^64, for Montgomery reduction
    explicit Field(u64 prime) : p(prime), pinv(prime) {
        for (int i = 0; i < 5; ++i)
            pinv *= 2 - p * pinv;
    }
    // a b 2^-64 mod p in [0, p) for a b < p 2^64.
    u64 montMul(u64 a, u64 b) const {
        u128 t = static_cast<u128>(a) * b;
        u64 m = static_cast<u64>(t) * pinv;
        u64 hi = static_cast<u64>(t >> 64);
        u64 u = mulhi(m, p);
        return hi >= u ? hi - u : hi - u + p;
    }
};

// Shoup quotients without a division per entry: floor(w 2^64 / p) from the
// precomputed v = floor(2^128 / p), estimated low by at most 2, then fixed.
class QuotientMaker {
  public:
    explicit QuotientMaker(u64 p) : p_(p) {
        const u128 v = ~static_cast<u128>(0) / p; // p odd: floor(2^128 / p)
        vhi_ = static_cast<u64>(v >> 64);
        vlo_ = static_cast<u64>(v);
    }
    u64 operator()(u64 w) const {
        u64 q = w * vhi_ + mulhi(w, vlo_);
        u64 r = 0 - q * p_; // w 2^64 - q p, below 3p
        // Two branch-free corrections (the estimate is low by at most 2).
        const u64 c1 = r >= p_;
        q += c1;
        r -= c1 * p_;
        return q + (r >= p_);
    }

  private:
    u64 p_, vhi_, vlo_;
};

// Twiddles for one prime and one power-of-two length N: entry len + j
// holds w_(2 len)^j for each power of two len < N and j < len.
// The table lives in caller-provided storage of words(n) words, so that the
// three primes of one product reuse the same memory.
struct Twiddles {
    static std::size_t words(std::size_t n) { return 2 * std::max<std::size_t>(n, 2); }
    u64* w;
    u64* wq;
    Twiddles(u64 p, u64 root, std::size_t n, u64* storage)
        : w(storage), wq(storage + std::max<std::size_t>(n, 2)) {
        const std::size_t half = n / 2;
        if (half == 0) return;
        const QuotientMaker quotient(p);
        const u64 step = powMod(root, (p - 1) / n, p);
        const u64 stepq = quotient(step);
        u64 x = 1;
        for (std::size_t j = 0; j < half; ++j) {
            w[half + j] = x;
            wq[half + j] = quotient(x);
            x = reduceOnce(mulShoup(x, step, stepq, p), p);
        }
        for (std::size_t len = half / 2; len >= 1; len /= 2)
            for (std::size_t j = 0; j < len; ++j) {
                w[len + j] = w[2 * len + 2 * j];
                wq[len + j] = wq[2 * len + 2 * j];
            }
    }
};

// The radix-3 layer of a transform of length N = 3M: w_N^j and w_N^(2j)
// for j < M with their Shoup quotients, and the cube root of unity
// w_3 = w_N^M. The inverse layer reuses the same table (see radix3Inverse).
struct Radix3 {
    std::size_t m;
    u64* t;             // 4 arrays of m: w1, w1q, w2, w2q (caller's storage)
    u64 c, cq, ic, icq; // w_3 and w_3^-1 = w_3^2
    static std::size_t words(std::size_t n) { return 4 * (n / 3); }
    Radix3(u64 p, u64 root, std::size_t n, u64* storage) : m(n / 3), t(storage) {
        const QuotientMaker quotient(p);
        const u64 step = powMod(root, (p - 1) / n, p);
        const u64 step2 = mulMod(step, step, p);
        const u64 stepq = quotient(step), step2q = quotient(step2);
        u64 x = 1, x2 = 1;
        for (std::size_t j = 0; j < m; ++j) {
            t[j] = x;
            t[m + j] = quotient(x);
            t[2 * m + j] = x2;
            t[3 * m + j] = quotient(x2);
            x = reduceOnce(mulShoup(x, step, stepq, p), p);
            x2 = reduceOnce(mulShoup(x2, step2, step2q, p), p);
        }
        c = powMod(root, (p - 1) / 3, p);
        ic = mulMod(c, c, p);
        cq = quotient(c);
        icq = quotient(ic);
    }
};

// One forward stage on a block of 2 len points; values stay in [0, 2p).
inline void difBlock(u64* a, std::size_t len, const u64* w, const u64* wq, u64 p) {
    const u64 p2 = 2 * p;
    u64* b = a + len;
    for (std::size_t j = 0; j < len; ++j) {
        u64 x = a[j], y = b[j];
        a[j] = reduceOnce(x + y, p2);
        b[j] = mulShoup(x - y + p2, w[j], wq[j], p);
    }
}

void dif(u64* a, std::size_t n, const Twiddles& t, u64 p) {
    if (n <= kLeafPoints) {
        for (std::size_t len = n / 2; len >= 1; len /= 2)
            for (std::size_t blk = 0; blk < n; blk += 2 * len)
                difBlock(a + blk, len, &t.w[len], &t.wq[len], p);
        return;
    }
    difBlock(a, n / 2, &t.w[n / 2], &t.wq[n / 2], p);
    dif(a, n / 2, t, p);
    dif(a + n / 2, n / 2, t, p);
}

// One inverse stage on a block of 2 len points; values stay in [0, 4p).
// w_(2 len)^-j = -w_(2 len)^(len - j), so the forward table serves with the
// two outputs swapped.
inline void ditBlock(u64* a, std::size_t len, const u64* w, const u64* wq, u64 p) {
    const u64 p2 = 2 * p;
    u64* b = a + len;
    {
        u64 x = reduceOnce(a[0], p2), y = reduceOnce(b[0], p2);
        a[0] = x + y;
        b[0] = x - y + p2;
    }
    for (std::size_t j = 1; j < len; ++j) {
        u64 x = reduceOnce(a[j], p2);
        u64 y = mulShoup(b[j], w[len - j], wq[len - j], p);
        a[j] = x - y + p2;
        b[j] = x + y;
    }
}

void dit(u64* a, std::size_t n, const Twiddles& t, u64 p) {
    if (n <= kLeafPoints) {
        for (std::size_t len = 1; len < n; len *= 2)
            for (std::size_t blk = 0; blk < n; blk += 2 * len)
                ditBlock(a + blk, len, &t.w[len], &t.wq[len], p);
        return;
    }
    dit(a, n / 2, t, p);
    dit(a + n / 2, n / 2, t, p);
    ditBlock(a, n / 2, &t.w[n / 2], &t.wq[n / 2], p);
}

// Radix-3 forward layer (inputs in [0, p)): the three thirds become
//   y0 = x0 + x1 + x2, y1 = (x0 + c x1 + c^2 x2) w^j, y2 = (x0 + c^2 x1 + c x2) w^2j,
// using c^2 = -1 - c: x0 + c x1 + c^2 x2 = x0 - x2 + c (x1 - x2). Outputs in [0, 2p).
void radix3Forward(u64* a, const Radix3& r, u64 p) {
    const std::size_t m = r.m;
    const u64* t = r.t;
    u64 *a1 = a + m, *a2 = a + 2 * m;
    for (std::size_t j = 0; j < m; ++j) {
        const u64 x0 = a[j], x1 = a1[j], x2 = a2[j];
        const u64 d = reduceOnce(mulShoup(x1 - x2 + p, r.c, r.cq, p), p); // c (x1 - x2)
        a[j] = reduceOnce(reduceOnce(x0 + x1 + x2, 2 * p), 2 * p);
        a1[j] = mulShoup(x0 - x2 + p + d, t[j], t[m + j], p);
        a2[j] = mulShoup(x0 - x1 + 2 * p - d, t[2 * m + j], t[3 * m + j], p);
    }
}

// Radix-3 inverse layer (inputs in [0, 4p)). With c' = c^-1 the outputs
// are x_m = z0 + c'^m w^-j z1 + c'^2m w^-2j z2. Since w^-j = c' w^(M-j),
// write u1 = w^(M-j) z1 and u2 = w^(2(M-j)) z2 (for j = 0: c z1 and c' z2),
// which the forward table holds; then
//   x0 = z0 + c' u1 + c'^2 u2,  x1 = z0 + c'^2 u1 + c' u2,  x2 = z0 + u1 + u2,
// and c'^2 = -1 - c' as forward. Outputs below 3p.
void radix3Inverse(u64* a, const Radix3& r, u64 p) {
    const std::size_t m = r.m;
    const u64* t = r.t;
    u64 *a1 = a + m, *a2 = a + 2 * m;
    for (std::size_t j = 0; j < m; ++j) {
        const u64 z0 = reduceOnce(reduceOnce(a[j], 2 * p), p);
        u64 u1, u2;
        if (j == 0) {
            u1 = reduceOnce(mulShoup(a1[0], r.c, r.cq, p), p);
            u2 = reduceOnce(mulShoup(a2[0], r.ic, r.icq, p), p);
        } else {
            u1 = reduceOnce(mulShoup(a1[j], t[m - j], t[2 * m - j], p), p);
            u2 = reduceOnce(mulShoup(a2[j], t[3 * m - j], t[4 * m - j], p), p);
        }
        const u64 d = reduceOnce(mulShoup(u1 - u2 + p, r.ic, r.icq, p), p); // c' (u1 - u2)
        a[j] = z0 - u2 + p + d;
        a1[j] = z0 - u1 + 2 * p - d;
        a2[j] = z0 + u1 + u2;
    }
}

// A transform of length n = 2^k or 3 * 2^k.
// Its tables live in storage of words(n) words.
struct Plan {
    std::size_t n, m; // m: the power-of-two part
    Twiddles tw;
    std::optional<Radix3> r3;
    static std::size_t words(std::size_t len) {
        return len % 3 == 0 ? Twiddles::words(len / 3) + Radix3::words(len) : Twiddles::words(len);
    }
    Plan(u64 p, u64 root, std::size_t len, u64* storage)
        : n(len), m(len % 3 == 0 ? len / 3 : len), tw(p, root, m, storage) {
        if (len % 3 == 0) r3.emplace(p, root, len, storage + Twiddles::words(m));
    }
    void forward(u64* a, u64 p) const {
        if (r3) {
            radix3Forward(a, *r3, p);
            for (int i = 0; i < 3; ++i)
                dif(a + i * m, m, tw, p);
        } else {
            dif(a, n, tw, p);
        }
    }
    void inverse(u64* a, u64 p) const {
        if (r3) {
            for (int i = 0; i < 3; ++i)
                dit(a + i * m, m, tw, p);
            radix3Inverse(a, *r3, p);
        } else {
            dit(a, n, tw, p);
        }
    }
};

// Coefficients below 10^18 from pairs of limbs, zero padded to n.
void pack(u64* f, std::size_t n, const Limb* a, std::size_t na) {
    std::size_t i = 0;
    for (; 2 * i + 1 < na; ++i)
        f[i] = a[2 * i] + u64{a[2 * i + 1]} * kBase;
    if (na % 2) f[i++] = a[na - 1];
    std::fill(f + i, f + n, u64{0});
}

// Smallest 2^k or 3 * 2^k (k >= 2) that holds the product's coefficients.
std::size_t transformLength(std::size_t coefs) {
    std::size_t n = 1;
    while (n < coefs)
        n *= 2;
    const std::size_t three = n / 4 * 3;
    return three >= coefs && three >= 12 ? three : n;
}

// Garner's recombination of the three residues, then the carry pass in
// base 10^18 into r[0..nr).
void recombine(const u64* res, std::size_t n, std::size_t coefs, Limb* r, std::size_t nr) {
    const u64 p1 = kPrimes[0], p2 = kPrimes[1], p3 = kPrimes[2];
    const u64* r1s = res;
    const u64* r2s = res + n;
    const u64* r3s = res + 2 * n;
    const u64 c12 = powMod(p1 % p2, p2 - 2, p2); // p1^-1 mod p2
    const u64 c12q = shoupQuotient(c12, p2);
    const u64 p1m3 = p1 % p3;
    const u64 p1m3q = shoupQuotient(p1m3, p3);
    const u64 c123 = powMod(mulMod(p1m3, p2 % p3, p3), p3 - 2, p3); // (p1 p2)^-1 mod p3
    const u64 c123q = shoupQuotient(c123, p3);
    const u128 p12 = static_cast<u128>(p1) * p2;
    const u64 p12lo = static_cast<u64>(p12), p12hi = static_cast<u64>(p12 >> 64);

    u128 carry = 0;
    std::size_t k = 0;
    auto put = [&](u64 digit) {
        if (k < nr) r[k++] = static_cast<Limb>(digit % kBase);
        if (k < nr) r[k++] = static_cast<Limb>(digit / kBase);
    };
    for (std::size_t i = 0; i < coefs; ++i) {
        const u64 a1 = r1s[i], a2 = r2s[i], a3 = r3s[i];
        const u64 a1m2 = reduceOnce(a1, p2);
        const u64 d2 = a2 >= a1m2 ? a2 - a1m2 : a2 + p2 - a1m2;
        const u64 y2 = reduceOnce(mulShoup(d2, c12, c12q, p2), p2);
        const u64 a1m3 = reduceOnce(a1, p3);
        const u64 t = reduceOnce(mulShoup(y2, p1m3, p1m3q, p3), p3);
        u64 d3 = a3 + 2 * p3 - a1m3 - t;
        d3 = reduceOnce(reduceOnce(d3, p3), p3);
        const u64 y3 = reduceOnce(mulShoup(d3, c123, c123q, p3), p3);
        // x = a1 + p1 y2 + p1 p2 y3, as three words w2:w1:w0.
        u128 lo = static_cast<u128>(p1) * y2 + a1;
        u128 m0 = static_cast<u128>(p12lo) * y3;
        u128 m1 = static_cast<u128>(p12hi) * y3;
        u128 s0 = static_cast<u128>(static_cast<u64>(lo)) + static_cast<u64>(m0) +
                  static_cast<u64>(carry);
        u128 s1 = (lo >> 64) + (m0 >> 64) + static_cast<u64>(m1) + (carry >> 64) + (s0 >> 64);
        u64 w0 = static_cast<u64>(s0);
        u64 w1 = static_cast<u64>(s1);
        u64 w2 = static_cast<u64>(m1 >> 64) + static_cast<u64>(s1 >> 64);
        u64 rem;
        u64 qhi = div128(w2, w1, kCoefBase, rem);
        u64 qlo = div128(rem, w0, kCoefBase, rem);
        carry = (static_cast<u128>(qhi) << 64) | qlo;
        put(rem);
    }
    while (carry != 0 && k < nr) {
        put(static_cast<u64>(carry % kCoefBase));
        carry /= kCoefBase;
    }
    std::fill(r + k, r + nr, Limb{0});
}

// The convolution of a with b modulo one prime, left in f (length n, in
// [0, p)). The other factor is given either as limbs (b, nb; null b means a
// itself) or as its forward transform (spectrum, values in [0, 2p)).
void convolveModP(int prime, u64* f, u64* g, u64* planStorage, std::size_t n, const Limb* a,
                  std::size_t na, const Limb* b, std::size_t nb, const u64* spectrum = nullptr) {
    const u64 p = kPrimes[prime];
    const Field field(p);
    const Plan plan(p, kRoots[prime], n, planStorage);
    pack(f, n, a, na);
    plan.forward(f, p);
    if (spectrum) {
        for (std::size_t i = 0; i < n; ++i)
            f[i] = field.montMul(f[i], spectrum[i]);
    } else if (b) {
        pack(g, n, b, nb);
        plan.forward(g, p);
        for (std::size_t i = 0; i < n; ++i)
            f[i] = field.montMul(f[i], g[i]);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            f[i] = field.montMul(f[i], f[i]);
    }
    plan.inverse(f, p);
    // Undo the Montgomery factor 2^-64 and the transform's factor n.
    const u64 r64 = static_cast<u64>((static_cast<u128>(1) << 64) % p);
    const u64 scale = mulMod(r64, powMod(n % p, p - 2, p), p);
    const u64 scaleq = QuotientMaker(p)(scale);
    for (std::size_t i = 0; i < n; ++i)
        f[i] = reduceOnce(mulShoup(f[i], scale, scaleq, p), p);
}

std::size_t coefsOf(std::size_t na, std::size_t nb) {
    return (na + 1) / 2 + (nb + 1) / 2 - 1;
}

// The three residues, the second factor's transform and the tables, in
// one block of memory: from scratch when given, else allocated here. Left
// uninitialised: pack() and the tables write every word before use.
class Workspace {
  public:
    Workspace(std::size_t words, Scratch* scratch)
        : own_(scratch ? nullptr : new u64[words]),
          p_(scratch ? scratch->words(words) : own_.get()) {}
    u64* get() const { return p_; }

  private:
    std::unique_ptr<u64[]> own_;
    u64* p_;
};

void product(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
             Scratch* scratch) {
    const std::size_t coefs = coefsOf(na, b ? nb : na);
    const std::size_t n = transformLength(coefs);
    const Workspace work(3 * n + (b ? n : 0) + Plan::words(n), scratch);
    u64* res = work.get();
    u64* tables = res + 3 * n;
    u64* tmp = b ? tables + Plan::words(n) : nullptr;
    for (int k = 0; k < 3; ++k)
        convolveModP(k, res + k * n, tmp, tables, n, a, na, b, nb);
    recombine(res, n, coefs, r, na + (b ? nb : na));
}

} // namespace

std::size_t nttMaxLimbs() {
    return (std::size_t{1} << kMaxLog) * 2 - 2;
}

void mulNtt(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
            Scratch* scratch) {
    product(r, a, na, b, nb, scratch);
}

void sqrNtt(Limb* r, const Limb* a, std::size_t n, Scratch* scratch) {
    product(r, a, n, nullptr, 0, scratch);
}

NttFactor::NttFactor(const Limb* b, std::size_t nb, std::size_t naMax)
    : nb_(nb), n_(transformLength(coefsOf(naMax, nb))), spectra_(new u64[3 * n_]) {
    std::unique_ptr<u64[]> tables(new u64[Plan::words(n_)]);
    for (int k = 0; k < 3; ++k) {
        const u64 p = kPrimes[k];
        u64* f = spectra_.get() + k * n_;
        pack(f, n_, b, nb);
        Plan(p, kRoots[k], n_, tables.get()).forward(f, p);
    }
}

NttFactor::~NttFactor() = default;

bool NttFactor::fits(std::size_t na) const {
    return na > 0 && transformLength(coefsOf(na, nb_)) == n_;
}

void NttFactor::multiply(Limb* r, const Limb* a, std::size_t na, Scratch* scratch) const {
    const std::size_t coefs = coefsOf(na, nb_);
    const Workspace work(3 * n_ + Plan::words(n_), scratch);
    u64* res = work.get();
    u64* tables = res + 3 * n_;
    for (int k = 0; k < 3; ++k)
        convolveModP(k, res + k * n_, nullptr, tables, n_, a, na, nullptr, 0,
                     spectra_.get() + k * n_);
    recombine(res, n_, coefs, r, na + nb_);
}

} // namespace longhand::fast::kern
