// Karatsuba multiplication (TAOCP 4.3.3, equation (2)):
//   (a1 X + a0)(b1 X + b0) = z2 X^2 + (z1 - z2 - z0) X + z0,
//   z0 = a0 b0, z2 = a1 b1, z1 = (a0 + a1)(b0 + b1), X = 10^(9 h).
// The three half-size products go back through the front end, so they use
// whichever algorithm suits their size.
#include "kernels.h"
#include "thresholds.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace longhand::fast::kern {

// The half sums have h + 1 limbs; below 4 limbs that is no smaller than
// the operand and the recursion would not end.
static_assert(kMulKaratsubaThreshold >= 4 && kSqrKaratsubaThreshold >= 4);

void mulKaratsuba(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
                  Scratch* scratch, const CancelCheck* cancel) {
    const std::size_t h = (na + 1) / 2;
    assert(nb <= na && nb > h);
    const std::size_t na1 = na - h, nb1 = nb - h, n = na + nb;

    // A third of the work in each product (the front end may finish the
    // check it is given).
    const CancelCheck z0Part = partOf(cancel, 1.0 / 3), z2Part = partOf(cancel, 1.0 / 3);
    const CancelCheck z1Part = partOf(cancel, 1.0 / 3);
    mulLimbs(r, a, h, b, h, scratch, &z0Part);                     // z0 -> r[0, 2h)
    mulLimbs(r + 2 * h, a + h, na1, b + h, nb1, scratch, &z2Part); // z2 -> r[2h, n)

    Natural buf(4 * h + 4); // every limb written before it is read
    Limb* sa = buf.data();
    Limb* sb = sa + (h + 1);
    Limb* z1 = sb + (h + 1);
    std::copy(a, a + h, sa);
    sa[h] = addTo(sa, h, a + h, na1);
    std::copy(b, b + h, sb);
    sb[h] = addTo(sb, h, b + h, nb1);
    mulLimbs(z1, sa, h + 1, sb, h + 1, scratch, &z1Part); // 2h + 2 limbs

    subFrom(z1, 2 * h + 2, r, 2 * h);
    subFrom(z1, 2 * h + 2, r + 2 * h, n - 2 * h);
    // z1 = a0 b1 + a1 b0 < 10^(9 (n - h)): its limbs from n - h up are zero.
    addTo(r + h, n - h, z1, std::min(2 * h + 2, n - h));
}

void sqrKaratsuba(Limb* r, const Limb* a, std::size_t n, Scratch* scratch,
                  const CancelCheck* cancel) {
    const std::size_t h = (n + 1) / 2;
    const std::size_t n1 = n - h;
    const CancelCheck z0Part = partOf(cancel, 1.0 / 3), z2Part = partOf(cancel, 1.0 / 3);
    const CancelCheck z1Part = partOf(cancel, 1.0 / 3);
    sqrLimbs(r, a, h, scratch, &z0Part);              // z0 -> r[0, 2h)
    sqrLimbs(r + 2 * h, a + h, n1, scratch, &z2Part); // z2 -> r[2h, 2n)

    Natural buf(3 * h + 3);
    Limb* s = buf.data();
    Limb* z1 = s + (h + 1);
    std::copy(a, a + h, s);
    s[h] = addTo(s, h, a + h, n1);
    sqrLimbs(z1, s, h + 1, scratch, &z1Part);

    subFrom(z1, 2 * h + 2, r, 2 * h);
    subFrom(z1, 2 * h + 2, r + 2 * h, 2 * n1);
    addTo(r + h, 2 * n - h, z1, std::min(2 * h + 2, 2 * n - h));
}

} // namespace longhand::fast::kern
