// Raw limb kernels of the fast arithmetic: pointers plus explicit sizes, no
// allocation unless stated. Every operand is little-endian base 10^9 (see
// natural.h); sizes may include high zero limbs. "r: n limbs" means the
// caller provides exactly that much room, and the kernel writes all of it.
#pragma once

#include "natural.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace longhand::fast::kern {

// --- linear kernels (linear.cpp) -------------------------------------------

// r = a + b over n limbs; returns the carry out (0 or 1). r may alias a or b.
Limb addN(Limb* r, const Limb* a, const Limb* b, std::size_t n);
// r = a - b over n limbs; returns the borrow out (0 or 1). r may alias a or b.
Limb subN(Limb* r, const Limb* a, const Limb* b, std::size_t n);
// r[0..nr) += b[0..nb), nb <= nr; returns the carry out of r. No aliasing.
Limb addTo(Limb* r, std::size_t nr, const Limb* b, std::size_t nb);
// r[0..nr) -= b[0..nb), nb <= nr; returns the borrow out of r. No aliasing.
Limb subFrom(Limb* r, std::size_t nr, const Limb* b, std::size_t nb);
// r[0..n) = 0, on every thread when long.
void zeroN(Limb* r, std::size_t n);
// Adds one limb value c (< 2^32) at r[0] and ripples; returns the carry out.
Limb addLimb(Limb* r, std::size_t nr, Limb c);
// Compares a[0..n) with b[0..n): -1, 0, 1.
int cmpN(const Limb* a, const Limb* b, std::size_t n);
// r[0..n) = a[0..n) * m + carry-in c; returns the carry out (< 10^9 + 1).
// m < 10^9, r may alias a.
Limb mulSmallN(Limb* r, const Limb* a, std::size_t n, Limb m, Limb c = 0);
// (rem 10^(9 n) + a[0..n)) / m into a[0..n) in place (1 <= m < 10^9,
// rem < m); returns the remainder.
Limb divSmallN(Limb* a, std::size_t n, Limb m, Limb rem = 0);
// Count of limbs once high zero limbs are dropped.
inline std::size_t normSize(const Limb* a, std::size_t n) {
    while (n > 0 && a[n - 1] == 0)
        --n;
    return n;
}

// --- multiplication ----------------------------------------------------------
// All products write r[0..na+nb) (squares r[0..2n)); r must not overlap the
// operands. Every kernel accepts high zero limbs in its operands.

// Schoolbook product, Knuth TAOCP 4.3.1 Algorithm M, with the carries of up
// to 18 rows gathered in 64-bit columns before one normalising pass
// (mul_basecase.cpp). Any sizes, na, nb >= 1.
void mulBasecase(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb);
// Square, each cross product computed once and doubled (mul_basecase.cpp).
void sqrBasecase(Limb* r, const Limb* a, std::size_t n);

// Karatsuba's three-product split (TAOCP 4.3.3A) for ceil(na / 2) < nb <= na;
// the sub-products go back through the front end (mul_karatsuba.cpp).
void mulKaratsuba(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
                  Scratch* scratch = nullptr, const CancelCheck* cancel = nullptr);
void sqrKaratsuba(Limb* r, const Limb* a, std::size_t n, Scratch* scratch = nullptr,
                  const CancelCheck* cancel = nullptr);

// Number-theoretic transform product (mul_ntt.cpp): one limb per point,
// three 30-bit primes joined by the Chinese remainder theorem (ntt_*.h).
// Any sizes with na + nb <= nttMaxLimbs(). The transforms' buffers come
// from scratch when one is given; long products run on every thread and
// poll the cancellation check inside their transforms.
void mulNtt(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
            Scratch* scratch = nullptr, const CancelCheck* cancel = nullptr);
void sqrNtt(Limb* r, const Limb* a, std::size_t n, Scratch* scratch = nullptr,
            const CancelCheck* cancel = nullptr);
// Largest na + nb that mulNtt accepts, in limbs.
std::size_t nttMaxLimbs();

// A factor b whose transforms are kept for several products a b, as in a
// division where the divisor and its reciprocal meet one quotient block
// after another: each product then costs one forward and one inverse
// transform instead of two forward and one inverse (mul_ntt.cpp).
class NttFactor {
  public:
    // Transforms of the length that products with up to naMax limbs need,
    // kept in memory from scratch when one is given.
    NttFactor(const Limb* b, std::size_t nb, std::size_t naMax, const CancelCheck* cancel = nullptr,
              Scratch* scratch = nullptr);
    // Transforms of the shortest length of at least `points` points, for
    // products that wrap around (multiplyWrapped); nb <= that length.
    struct Wrapping {
        std::size_t points;
    };
    NttFactor(const Limb* b, std::size_t nb, Wrapping wrap, const CancelCheck* cancel = nullptr,
              Scratch* scratch = nullptr);
    ~NttFactor();
    NttFactor(const NttFactor&) = delete;
    NttFactor& operator=(const NttFactor&) = delete;
    // True when a product with na limbs uses exactly the kept length (a
    // shorter operand would pay for the longer transform).
    bool fits(std::size_t na) const;
    // r[0..na + nb) = a b; requires fits(na). r must not overlap a.
    void multiply(Limb* r, const Limb* a, std::size_t na, Scratch* scratch = nullptr,
                  const CancelCheck* cancel = nullptr) const;
    // r[0..2 nb) = b^2 from the kept transforms; requires 2 nb - 1 points
    // at most.
    void square(Limb* r, Scratch* scratch = nullptr, const CancelCheck* cancel = nullptr) const;
    // r[0..length()) = a b mod (10^(9 length()) - 1), below that modulus:
    // the cyclic product, for a caller that knows the product's remainder
    // by a number shorter than the transforms. Requires na <= length().
    void multiplyWrapped(Limb* r, const Limb* a, std::size_t na, Scratch* scratch = nullptr,
                         const CancelCheck* cancel = nullptr) const;
    std::size_t length() const { return n_; }
    // r[0..nr) = a b + c d, the two products summed point by point before
    // one inverse transform per prime: four factors kept at one length
    // that holds the terms of both products; nr limbs hold the sum.
    static void sumOfProducts(Limb* r, std::size_t nr, const NttFactor& a, const NttFactor& b,
                              const NttFactor& c, const NttFactor& d, Scratch* scratch = nullptr,
                              const CancelCheck* cancel = nullptr);

  private:
    std::uint32_t* spectrum(int prime) const;
    // res + k length() = the inverse transform of the pointwise product of
    // a's transform (b's own when a is null) with b's, for each prime k.
    void convolve(std::uint32_t* res, const Limb* a, std::size_t na,
                  const CancelCheck* cancel) const;
    std::size_t nb_, n_;
    Scratch::Lease spectra_;
};

// The front end (mul.cpp): picks the algorithm by the thresholds of
// thresholds.h, splits unbalanced operands into balanced pieces, and polls
// the cancellation check between the pieces of long products.
void mulLimbs(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
              Scratch* scratch = nullptr, const CancelCheck* cancel = nullptr);
void sqrLimbs(Limb* r, const Limb* a, std::size_t n, Scratch* scratch = nullptr,
              const CancelCheck* cancel = nullptr);

// --- division ------------------------------------------------------------

// Schoolbook division, TAOCP 4.3.1 Algorithm D (div_basecase.cpp).
// u has nu limbs, v has nv >= 2 limbs with v[nv - 1] >= 10^9 / 2
// (normalised), nu >= nv. Writes q[0..nu-nv+1) and leaves the remainder in
// u[0..nv) (the rest of u becomes zero). No aliasing. Polls the
// cancellation check every kSchoolbookPollWork limb products.
void divBasecase(Limb* q, Limb* u, std::size_t nu, const Limb* v, std::size_t nv,
                 const CancelCheck* cancel = nullptr);

} // namespace longhand::fast::kern
