// The multiplication front end: one flat ladder over the thresholds of
// thresholds.h, plus the Natural-level product and square.
#include "kernels.h"
#include "natural.h"
#include "thresholds.h"

#include <algorithm>
#include <vector>

namespace longhand::fast {

namespace kern {

namespace {

// a (na limbs) times b (nb limbs), na > nb, as products of nb-limb slices
// of a, each added into place.
void mulSliced(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
               Scratch* scratch, const CancelCheck* cancel) {
    zeroN(r, na + nb);
    Natural part(2 * nb); // written by each product before use
    for (std::size_t off = 0; off < na; off += nb) {
        const std::size_t len = std::min(nb, na - off);
        const CancelCheck slice =
            partOf(cancel, static_cast<double>(len) / static_cast<double>(na));
        mulLimbs(part.data(), a + off, len, b, nb, scratch, &slice);
        addTo(r + off, na + nb - off, part.data(), len + nb);
        slice.finish();
        poll(cancel);
    }
}

// a (na limbs) times b (nb limbs), na much longer than nb and nb long
// enough for transforms: pieces of a of kNttSlicePieces nb limbs, each
// multiplied by b's transforms computed once (NttFactor). Shorter
// transforms than one over the whole product, and far less memory.
void mulSlicedNtt(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
                  Scratch* scratch, const CancelCheck* cancel) {
    const std::size_t piece = kNttSlicePieces * nb;
    // b's three transforms against seven for each piece of a.
    const double pieces = static_cast<double>((na + piece - 1) / piece);
    const double keptShare = 3.0 / (3.0 + 7.0 * pieces);
    const CancelCheck keeping = partOf(cancel, keptShare);
    const NttFactor kept(b, nb, piece, &keeping, scratch);
    keeping.finish();
    zeroN(r, na + nb);
    Natural part(piece + nb); // written by each product before use
    for (std::size_t off = 0; off < na; off += piece) {
        const std::size_t len = std::min(piece, na - off);
        const CancelCheck slice = partOf(cancel, (1.0 - keptShare) / pieces);
        if (kept.fits(len))
            kept.multiply(part.data(), a + off, len, scratch, &slice);
        else
            mulLimbs(part.data(), a + off, len, b, nb, scratch, &slice);
        addTo(r + off, na + nb - off, part.data(), len + nb);
        slice.finish();
        poll(cancel);
    }
}

// The schoolbook product of a long a by a short b in pieces of a, so that
// the cancellation check is heard between them.
void mulBasecaseLong(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
                     const CancelCheck* cancel) {
    const std::size_t piece = std::max(kSchoolbookPollWork / nb, nb);
    if (na <= piece) return mulBasecase(r, a, na, b, nb);
    zeroN(r, na + nb);
    Natural part(piece + nb);
    for (std::size_t off = 0; off < na; off += piece) {
        const std::size_t len = std::min(piece, na - off);
        mulBasecase(part.data(), a + off, len, b, nb);
        addTo(r + off, na + nb - off, part.data(), len + nb);
        advance(cancel, static_cast<double>(len) / static_cast<double>(na));
        poll(cancel);
    }
}

} // namespace

// Which sizes go where (nb <= na):
//   nb < kMulKaratsubaThreshold                 schoolbook (in pieces of a)
//   nb >= kMulNttThreshold, na >= kNttSliceRatio nb
//                                               transforms on pieces of a
//   nb >= kMulNttThreshold, within reach        number-theoretic transform
//   nb > na / 2                                 Karatsuba
//   else                                        nb-limb slices of a
void mulLimbs(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
              Scratch* scratch, const CancelCheck* cancel) {
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    const bool balanced = nb > (na + 1) / 2;
    if (nb == 0)
        zeroN(r, na);
    else if (nb < kMulKaratsubaThreshold)
        mulBasecaseLong(r, a, na, b, nb, cancel);
    else if (nb >= kMulNttThreshold && na >= kNttSliceRatio * nb &&
             (kNttSlicePieces + 1) * nb <= nttMaxLimbs())
        mulSlicedNtt(r, a, na, b, nb, scratch, cancel);
    else if (nb >= kMulNttThreshold && na + nb <= nttMaxLimbs())
        mulNtt(r, a, na, b, nb, scratch, cancel);
    else if (balanced)
        mulKaratsuba(r, a, na, b, nb, scratch, cancel);
    else
        mulSliced(r, a, na, b, nb, scratch, cancel);
}

void sqrLimbs(Limb* r, const Limb* a, std::size_t n, Scratch* scratch, const CancelCheck* cancel) {
    if (n == 0) return;
    if (n < kSqrKaratsubaThreshold)
        sqrBasecase(r, a, n);
    else if (n >= kSqrNttThreshold && 2 * n <= nttMaxLimbs())
        sqrNtt(r, a, n, scratch, cancel);
    else
        sqrKaratsuba(r, a, n, scratch, cancel);
}

} // namespace kern

Natural mul(const Natural& a, const Natural& b, const CancelCheck* cancel, Scratch* scratch) {
    poll(cancel);
    if (a.empty() || b.empty()) return {};
    if (&a == &b) return sqr(a, cancel, scratch);
    Natural r(a.size() + b.size());
    kern::mulLimbs(r.data(), a.data(), a.size(), b.data(), b.size(), scratch, cancel);
    trim(r);
    return r;
}

Natural sqr(const Natural& a, const CancelCheck* cancel, Scratch* scratch) {
    poll(cancel);
    if (a.empty()) return {};
    Natural r(2 * a.size());
    kern::sqrLimbs(r.data(), a.data(), a.size(), scratch, cancel);
    trim(r);
    return r;
}

} // namespace longhand::fast
