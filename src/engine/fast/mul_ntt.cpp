// Multiplication by number-theoretic transforms (Schönhage–Strassen style
// convolution over prime fields; Crandall & Pomerance, "Prime Numbers",
// 9.5): for each of the three primes the operands' limbs are transformed
// (ntt_transform.h), multiplied point by point, and transformed back; the
// three residues of every convolution term then give the term exactly
// and the carries give the limbs (ntt_recombine.h).
//
// Working memory: the three residue arrays (one word a term) and, for a
// product of two different operands, the second operand's transform (a
// square: the short transforms of its top terms), 4 bytes a point each.
// The primes follow one another, each transform spreading over the
// threads; a product's two forward transforms run side by side, and a
// square's three primes do.
#include "kernels.h"
#include "ntt_kernels.h"
#include "ntt_recombine.h"
#include "ntt_transform.h"
#include "parallel.h"
#include "thresholds.h"

#include <algorithm>

namespace longhand::fast::kern {

namespace {

using ntt::u32;

static_assert(sizeof(Limb) == sizeof(u32));

// f[0..n) = the limbs a[0..na), then zeros. Limbs are below 2p. In
// pieces over the threads, polling between them: the first touch of a long
// transform's memory takes a while.
void pack(u32* f, std::size_t n, const Limb* a, std::size_t na, const CancelCheck* cancel) {
    par::forChunks(n, kParallelGrain, 1, [&](std::size_t from, std::size_t to) {
        for (std::size_t at = from; at < to; at += kConvertPollLimbs) {
            const std::size_t end = std::min(to, at + kConvertPollLimbs);
            if (at < na) std::copy(a + at, a + std::min(end, na), f + at);
            if (end > na) std::fill(f + std::max(at, na), f + end, u32{0});
            poll(cancel);
        }
    });
}

// f = f g (or f^2 with g null), point by point.
void pointwise(u32* f, const u32* g, std::size_t n, int prime, const CancelCheck* cancel) {
    const ntt::Kernels& k = ntt::kernels();
    const ntt::Prime& field = ntt::kPrimes[prime];
    par::forChunks(n, kParallelGrain, 8, [&](std::size_t from, std::size_t to) {
        if (g)
            k.multiply(f + from, g + from, to - from, field);
        else
            k.square(f + from, to - from, field);
        poll(cancel);
    });
}

// The working memory of one product: u32 words from scratch when given.
class Workspace {
  public:
    Workspace(std::size_t points, Scratch* scratch) : lease_(scratch, (points + 1) / 2) {}
    u32* get() const { return reinterpret_cast<u32*>(lease_.get()); }

  private:
    Scratch::Lease lease_;
};

// Where a product's terms go. The transform lengths come in steps (up to
// a quarter apart), and a product just past one would pay for the whole
// next step; instead, its cyclic convolution of n < terms points wraps the
// top terms c(n + i), i < top, onto c(i), and a second, short convolution
// of the operands' top parts (the limbs from n - nb + 1 and n - na + 1,
// top of each: every pair of limbs whose indices sum to n or more) gives
// those top terms on their own, so that they can be taken off again. The
// layout with the least cost wins (thresholds.h); top = 0 is the plain one.
struct Layout {
    std::size_t n, top, small; // points, terms past them, the short transform's points
};

Layout layoutOf(std::size_t na, std::size_t nb) {
    const std::size_t terms = na + nb - 1;
    Layout best{ntt::transformLength(terms), 0, 0};
    double bestCost = ntt::transformCost(best.n);
    for (const std::size_t n : ntt::lengthsBelow(terms)) {
        // Each operand must fit the n points whole.
        if (n < std::max(na, nb) || terms - n > n / kNttTopShare) continue;
        const std::size_t top = terms - n;
        const std::size_t small = ntt::transformLength(std::max(2 * top - 1, kLeafVectorPoints));
        const double cost = ntt::transformCost(n) + ntt::transformCost(small);
        if (cost < bestCost) {
            best = {n, top, small};
            bestCost = cost;
        }
    }
    return best;
}

// For one prime, f[0..n) the cyclic convolution of a and b (b = a for a
// square, t null): puts the top terms' residues at f[n..n + top) and takes
// them off f[0..top). s and t hold `small` words each.
void takeOffTop(u32* f, const Layout& lay, const Limb* a, std::size_t na, const Limb* b,
                std::size_t nb, u32* s, u32* t, int prime, const CancelCheck* cancel) {
    const std::size_t n = lay.n, top = lay.top, m = lay.small;
    pack(s, m, a + (n - nb + 1), top, cancel);
    ntt::forward(s, m, prime, cancel);
    if (t) {
        pack(t, m, b + (n - na + 1), top, cancel);
        ntt::forward(t, m, prime, cancel);
    }
    pointwise(s, t, m, prime, cancel);
    ntt::inverse(s, m, prime, cancel);
    // The top parts' terms top - 1 .. 2 top - 2 are c(n) .. c(n + top - 1),
    // at the scale m 2^-32 of their transform: brought to f's n 2^-32.
    const ntt::Prime& field = ntt::kPrimes[prime];
    const u32 scale =
        field.toMont(field.mul(static_cast<u32>(n % field.p), field.inverse(static_cast<u32>(m))));
    const u32 twice = 2 * field.p;
    for (std::size_t i = 0; i < top; ++i) {
        const u32 high = ntt::montMul(s[top - 1 + i], scale, field); // [0, 2p)
        f[n + i] = high;
        const u32 low = f[i] + twice - high; // [0, 4p)
        f[i] = low >= twice ? low - twice : low;
    }
}

void product(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
             Scratch* scratch, const CancelCheck* cancel) {
    const bool square = b == nullptr;
    if (square) nb = na;
    const std::size_t terms = na + nb - 1;
    const Layout lay = layoutOf(na, nb);
    const std::size_t n = lay.n, stride = n + lay.top;
    const bool wide = n >= kNttParallelPoints;
    // Each prime's residues, stride words; then the second operand's
    // transform (the top terms' two reuse it), or a square's top terms'
    // one for each prime.
    const std::size_t extra = square ? 3 * lay.small : std::max(n, 2 * lay.small);
    const Workspace work(3 * stride + extra, scratch);
    u32* res = work.get();
    // The share of the work in each transform, the recombination counting
    // as one more.
    const double step = 1.0 / ((square ? 2 : 3) * ntt::kPrimeCount + 1);
    if (square) {
        auto prime = [&](std::size_t k) {
            u32* f = res + k * stride;
            const int p = static_cast<int>(k);
            pack(f, n, a, na, cancel);
            ntt::forward(f, n, p, cancel);
            advance(cancel, step);
            pointwise(f, nullptr, n, p, cancel);
            ntt::inverse(f, n, p, cancel);
            if (lay.top) {
                u32* s = res + 3 * stride + k * lay.small;
                takeOffTop(f, lay, a, na, a, na, s, nullptr, p, cancel);
            }
            advance(cancel, step);
        };
        par::forEachIf(wide, ntt::kPrimeCount, prime);
    } else {
        u32* g = res + 3 * stride;
        for (int k = 0; k < ntt::kPrimeCount; ++k) {
            u32* f = res + static_cast<std::size_t>(k) * stride;
            par::invoke(
                wide,
                [&] {
                    pack(f, n, a, na, cancel);
                    ntt::forward(f, n, k, cancel);
                    advance(cancel, step);
                },
                [&] {
                    pack(g, n, b, nb, cancel);
                    ntt::forward(g, n, k, cancel);
                    advance(cancel, step);
                });
            pointwise(f, g, n, k, cancel);
            ntt::inverse(f, n, k, cancel);
            if (lay.top) takeOffTop(f, lay, a, na, b, nb, g, g + lay.small, k, cancel);
            advance(cancel, step);
        }
    }
    ntt::recombine(res, stride, n, terms, r, na + nb, cancel);
    finish(cancel);
}

} // namespace

std::size_t nttMaxLimbs() {
    return ntt::kMaxPoints + 1;
}

void mulNtt(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb, Scratch* scratch,
            const CancelCheck* cancel) {
    product(r, a, na, b, nb, scratch, cancel);
}

void sqrNtt(Limb* r, const Limb* a, std::size_t n, Scratch* scratch, const CancelCheck* cancel) {
    product(r, a, n, nullptr, 0, scratch, cancel);
}

NttFactor::NttFactor(const Limb* b, std::size_t nb, std::size_t naMax, const CancelCheck* cancel,
                     Scratch* scratch)
    : NttFactor(b, nb, Wrapping{naMax + nb - 1}, cancel, scratch) {}

NttFactor::NttFactor(const Limb* b, std::size_t nb, Wrapping wrap, const CancelCheck* cancel,
                     Scratch* scratch)
    : nb_(nb), n_(ntt::transformLength(wrap.points)),
      spectra_(scratch, (ntt::kPrimeCount * n_ + 1) / 2) {
    par::forEachIf(n_ >= kNttParallelPoints, ntt::kPrimeCount, [&](std::size_t k) {
        u32* f = spectrum(static_cast<int>(k));
        pack(f, n_, b, nb, cancel);
        ntt::forward(f, n_, static_cast<int>(k), cancel);
        advance(cancel, 1.0 / ntt::kPrimeCount);
    });
}

NttFactor::~NttFactor() = default;

u32* NttFactor::spectrum(int prime) const {
    return reinterpret_cast<u32*>(spectra_.get()) + static_cast<std::size_t>(prime) * n_;
}

bool NttFactor::fits(std::size_t na) const {
    return na > 0 && ntt::transformLength(na + nb_ - 1) == n_;
}

void NttFactor::convolve(u32* res, const Limb* a, std::size_t na, const CancelCheck* cancel) const {
    const double step = 1.0 / (2 * ntt::kPrimeCount + 1); // as in product()
    par::forEachIf(n_ >= kNttParallelPoints, ntt::kPrimeCount, [&](std::size_t i) {
        const int k = static_cast<int>(i);
        u32* f = res + i * n_;
        if (a) {
            pack(f, n_, a, na, cancel);
            ntt::forward(f, n_, k, cancel);
            pointwise(f, spectrum(k), n_, k, cancel);
        } else {
            std::copy(spectrum(k), spectrum(k) + n_, f);
            pointwise(f, nullptr, n_, k, cancel);
        }
        advance(cancel, step);
        ntt::inverse(f, n_, k, cancel);
        advance(cancel, step);
    });
}

void NttFactor::multiply(Limb* r, const Limb* a, std::size_t na, Scratch* scratch,
                         const CancelCheck* cancel) const {
    const Workspace work(ntt::kPrimeCount * n_, scratch);
    convolve(work.get(), a, na, cancel);
    ntt::recombine(work.get(), n_, na + nb_ - 1, r, na + nb_, cancel);
    finish(cancel);
}

void NttFactor::square(Limb* r, Scratch* scratch, const CancelCheck* cancel) const {
    const Workspace work(ntt::kPrimeCount * n_, scratch);
    convolve(work.get(), nullptr, 0, cancel);
    ntt::recombine(work.get(), n_, 2 * nb_ - 1, r, 2 * nb_, cancel);
    finish(cancel);
}

void NttFactor::sumOfProducts(Limb* r, std::size_t nr, const NttFactor& a, const NttFactor& b,
                              const NttFactor& c, const NttFactor& d, Scratch* scratch,
                              const CancelCheck* cancel) {
    const std::size_t n = a.n_;
    const Workspace work(2 * ntt::kPrimeCount * n, scratch);
    u32* res = work.get();
    u32* other = res + ntt::kPrimeCount * n;
    par::forEachIf(n >= kNttParallelPoints, ntt::kPrimeCount, [&](std::size_t i) {
        const int k = static_cast<int>(i);
        u32 *f = res + i * n, *g = other + i * n;
        std::copy(a.spectrum(k), a.spectrum(k) + n, f);
        pointwise(f, b.spectrum(k), n, k, cancel);
        std::copy(c.spectrum(k), c.spectrum(k) + n, g);
        pointwise(g, d.spectrum(k), n, k, cancel);
        // Both in [0, 2p): their sum below 4p < 2^32, brought back below 2p.
        const u32 twice = 2 * ntt::kPrimes[k].p;
        for (std::size_t j = 0; j < n; ++j) {
            const u32 sum = f[j] + g[j];
            f[j] = sum >= twice ? sum - twice : sum;
        }
        ntt::inverse(f, n, k, cancel);
    });
    const std::size_t terms = std::max(a.nb_ + b.nb_, c.nb_ + d.nb_) - 1;
    ntt::recombine(res, n, terms, r, nr, cancel);
    finish(cancel);
}

void NttFactor::multiplyWrapped(Limb* r, const Limb* a, std::size_t na, Scratch* scratch,
                                const CancelCheck* cancel) const {
    const Workspace work(ntt::kPrimeCount * n_, scratch);
    u32* res = work.get();
    convolve(res, a, na, cancel);
    // The transforms are cyclic: term i holds every product term of index
    // i modulo n_, and 10^(9 n_) = 1 modulo 10^(9 n_) - 1. The terms of a
    // full circle take two limbs more than n_; they fold back onto the
    // bottom.
    Natural wide(n_ + 2);
    ntt::recombine(res, n_, std::min(n_, na + nb_ - 1), wide.data(), n_ + 2, cancel);
    finish(cancel);
    std::copy(wide.begin(), wide.begin() + static_cast<std::ptrdiff_t>(n_), r);
    Limb carry = addTo(r, n_, wide.data() + n_, 2);
    while (carry)
        carry = addLimb(r, n_, carry);
    // 10^(9 n_) - 1 itself (all nines) is zero.
    if (std::all_of(r, r + n_, [](Limb x) { return x == kBase - 1; }))
        std::fill(r, r + n_, Limb{0});
}

} // namespace longhand::fast::kern
