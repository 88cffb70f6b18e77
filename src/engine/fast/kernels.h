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

// --- linear kernels (addsub.cpp) -------------------------------------------

// r = a + b over n limbs; returns the carry out (0 or 1). r may alias a or b.
Limb addN(Limb* r, const Limb* a, const Limb* b, std::size_t n);
// r = a - b over n limbs; returns the borrow out (0 or 1). r may alias a or b.
Limb subN(Limb* r, const Limb* a, const Limb* b, std::size_t n);
// r[0..nr) += b[0..nb), nb <= nr; returns the carry out of r. No aliasing.
Limb addTo(Limb* r, std::size_t nr, const Limb* b, std::size_t nb);
// r[0..nr) -= b[0..nb), nb <= nr; returns the borrow out of r. No aliasing.
Limb subFrom(Limb* r, std::size_t nr, const Limb* b, std::size_t nb);
// Adds one limb value c (< 2^32) at r[0] and ripples; returns the carry out.
Limb addLimb(Limb* r, std::size_t nr, Limb c);
// Compares a[0..n) with b[0..n): -1, 0, 1.
int cmpN(const Limb* a, const Limb* b, std::size_t n);
// r[0..n) = a[0..n) * m + carry-in c; returns the carry out (< 10^9 + 1).
// m < 10^9, r may alias a.
Limb mulSmallN(Limb* r, const Limb* a, std::size_t n, Limb m, Limb c = 0);
// a[0..n) /= m in place (1 <= m < 10^9); returns the remainder.
Limb divSmallN(Limb* a, std::size_t n, Limb m);
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
                  Scratch* scratch = nullptr);
void sqrKaratsuba(Limb* r, const Limb* a, std::size_t n, Scratch* scratch = nullptr);

// Number-theoretic transform product over three 62-bit primes with the
// Chinese remainder theorem (mul_ntt.cpp). Two limbs form one coefficient
// below 10^18. Any sizes; the transform length is a power of two up to 2^32.
// The transforms' buffers come from scratch when one is given.
void mulNtt(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
            Scratch* scratch = nullptr);
void sqrNtt(Limb* r, const Limb* a, std::size_t n, Scratch* scratch = nullptr);
// Largest na + nb that mulNtt accepts, in limbs.
std::size_t nttMaxLimbs();

// A factor b whose transforms are kept for several products a b, as in a
// division where the divisor and its reciprocal meet one quotient block
// after another: each product then costs one forward and one inverse
// transform instead of two forward and one inverse (mul_ntt.cpp).
class NttFactor {
  public:
    // Transforms of the length that products with up to naMax limbs need.
    NttFactor(const Limb* b, std::size_t nb, std::size_t naMax);
    ~NttFactor();
    NttFactor(const NttFactor&) = delete;
    NttFactor& operator=(const NttFactor&) = delete;
    // True when a product with na limbs uses exactly the kept length (a
    // shorter operand would pay for the longer transform).
    bool fits(std::size_t na) const;
    // r[0..na + nb) = a b; requires fits(na). r must not overlap a.
    void multiply(Limb* r, const Limb* a, std::size_t na, Scratch* scratch = nullptr) const;

  private:
    std::size_t nb_, n_;
    std::unique_ptr<std::uint64_t[]> spectra_;
};

// The front end (mul.cpp): picks the algorithm by the thresholds of
// thresholds.h, splits unbalanced operands into balanced pieces.
void mulLimbs(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
              Scratch* scratch = nullptr);
void sqrLimbs(Limb* r, const Limb* a, std::size_t n, Scratch* scratch = nullptr);

// --- division ------------------------------------------------------------

// Schoolbook division, TAOCP 4.3.1 Algorithm D (div_basecase.cpp).
// u has nu limbs, v has nv >= 2 limbs with v[nv - 1] >= 10^9 / 2
// (normalised), nu >= nv. Writes q[0..nu-nv+1) and leaves the remainder in
// u[0..nv) (the rest of u becomes zero). No aliasing.
void divBasecase(Limb* q, Limb* u, std::size_t nu, const Limb* v, std::size_t nv);

} // namespace longhand::fast::kern
