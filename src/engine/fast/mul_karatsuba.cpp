// Karatsuba multiplication, subtractive form (TAOCP 4.3.3, equation (2)
// with the differences):
//   (a1 X + a0)(b1 X + b0) = z2 X^2 + (z0 + z2 - s z1) X + z0,
//   z0 = a0 b0, z2 = a1 b1, z1 = |a0 - a1| |b0 - b1|, X = 10^(9 h),
//   s the sign of (a0 - a1)(b0 - b1).
// The differences have h limbs where sums would have h + 1, and they fit
// in the room of z0 in the result before z0 is computed; so the only
// working memory is z1's 2h + 1 limbs, half of what the additive form
// needs for its two sums and their product. That half is what lets the
// longest products (past the transforms' reach) fit beside their operands.
// The three half-size products go back through the front end, so they use
// whichever algorithm suits their size.
#include "kernels.h"
#include "thresholds.h"

#include <algorithm>
#include <cassert>

namespace longhand::fast::kern {

// Below 4 limbs a half is no smaller than the operand and the recursion
// would not end.
static_assert(kMulKaratsubaThreshold >= 4 && kSqrKaratsubaThreshold >= 4);

namespace {

// d[0..h) = |x - y| for x of h limbs and y of ny <= h limbs; returns
// true when x < y.
bool absDiff(Limb* d, const Limb* x, std::size_t h, const Limb* y, std::size_t ny) {
    const bool yHigh =
        std::any_of(x + ny, x + h, [](Limb v) { return v != 0; }) ? false : cmpN(x, y, ny) < 0;
    if (!yHigh) {
        std::copy(x, x + h, d);
        subFrom(d, h, y, ny);
    } else {
        std::copy(y, y + ny, d); // x's limbs from ny up are zero
        subFrom(d, ny, x, ny);
        std::fill(d + ny, d + h, Limb{0});
    }
    return yHigh;
}

// z1[0..2h] = z0 + z2 - z1 when subtract, else z0 + z2 + z1: the middle
// coefficient a0 b1 + a1 b0, which is below 2 X^2, so its top limb is 0 or
// 1. z1 holds 2h limbs on entry (the room of the top one is written here),
// z0 2h limbs, z2 nz2 <= 2h limbs.
void middle(Limb* z1, const Limb* z0, std::size_t h, const Limb* z2, std::size_t nz2,
            bool subtract) {
    const std::size_t n = 2 * h;
    if (subtract) {
        const Limb borrow = subN(z1, z0, z1, n);
        const Limb carry = addTo(z1, n, z2, nz2);
        z1[n] = carry - borrow; // the value is not negative
    } else {
        const Limb carry = addN(z1, z0, z1, n);
        z1[n] = carry + addTo(z1, n, z2, nz2);
    }
}

} // namespace

void mulKaratsuba(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
                  Scratch* scratch, const CancelCheck* cancel) {
    const std::size_t h = (na + 1) / 2;
    assert(nb <= na && nb > h);
    const std::size_t na1 = na - h, nb1 = nb - h, n = na + nb;

    // A third of the work in each product (the front end may finish the
    // check it is given).
    const CancelCheck z1Part = partOf(cancel, 1.0 / 3), z0Part = partOf(cancel, 1.0 / 3);
    const CancelCheck z2Part = partOf(cancel, 1.0 / 3);
    // The differences in r[0, 2h) (n >= 3h), their product aside.
    const bool aSign = absDiff(r, a, h, a + h, na1);
    const bool bSign = absDiff(r + h, b, h, b + h, nb1);
    Natural z1(2 * h + 1); // every limb written before it is read
    mulLimbs(z1.data(), r, h, r + h, h, scratch, &z1Part);
    mulLimbs(r, a, h, b, h, scratch, &z0Part);                     // z0 -> r[0, 2h)
    mulLimbs(r + 2 * h, a + h, na1, b + h, nb1, scratch, &z2Part); // z2 -> r[2h, n)

    middle(z1.data(), r, h, r + 2 * h, n - 2 * h, aSign == bSign);
    // The middle coefficient is below 10^(9 (n - h)): its limbs from n - h
    // up are zero.
    addTo(r + h, n - h, z1.data(), std::min(2 * h + 1, n - h));
}

void sqrKaratsuba(Limb* r, const Limb* a, std::size_t n, Scratch* scratch,
                  const CancelCheck* cancel) {
    const std::size_t h = (n + 1) / 2;
    const std::size_t n1 = n - h;
    const CancelCheck z1Part = partOf(cancel, 1.0 / 3), z0Part = partOf(cancel, 1.0 / 3);
    const CancelCheck z2Part = partOf(cancel, 1.0 / 3);
    absDiff(r, a, h, a + h, n1);
    Natural z1(2 * h + 1);
    sqrLimbs(z1.data(), r, h, scratch, &z1Part);
    sqrLimbs(r, a, h, scratch, &z0Part);              // z0 -> r[0, 2h)
    sqrLimbs(r + 2 * h, a + h, n1, scratch, &z2Part); // z2 -> r[2h, 2n)

    middle(z1.data(), r, h, r + 2 * h, 2 * n1, true);
    addTo(r + h, 2 * n - h, z1.data(), std::min(2 * h + 1, 2 * n - h));
}

} // namespace longhand::fast::kern
