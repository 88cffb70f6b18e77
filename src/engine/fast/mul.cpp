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
               Scratch* scratch) {
    std::fill(r, r + na + nb, Limb{0});
    Natural part(2 * nb); // written by each product before use
    for (std::size_t off = 0; off < na; off += nb) {
        const std::size_t len = std::min(nb, na - off);
        mulLimbs(part.data(), a + off, len, b, nb, scratch);
        addTo(r + off, na + nb - off, part.data(), len + nb);
    }
}

} // namespace

void mulLimbs(Limb* r, const Limb* a, std::size_t na, const Limb* b, std::size_t nb,
              Scratch* scratch) {
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    const bool balanced = nb > (na + 1) / 2;
    if (nb == 0)
        std::fill(r, r + na, Limb{0});
    else if (nb < kMulKaratsubaThreshold)
        mulBasecase(r, a, na, b, nb);
    else if (nb >= kMulNttThreshold && na + nb <= nttMaxLimbs())
        mulNtt(r, a, na, b, nb, scratch);
    else if (balanced)
        mulKaratsuba(r, a, na, b, nb, scratch);
    else
        mulSliced(r, a, na, b, nb, scratch);
}

void sqrLimbs(Limb* r, const Limb* a, std::size_t n, Scratch* scratch) {
    if (n == 0) return;
    if (n < kSqrKaratsubaThreshold)
        sqrBasecase(r, a, n);
    else if (n >= kSqrNttThreshold && 2 * n <= nttMaxLimbs())
        sqrNtt(r, a, n, scratch);
    else
        sqrKaratsuba(r, a, n, scratch);
}

} // namespace kern

Natural mul(const Natural& a, const Natural& b, const CancelCheck* cancel, Scratch* scratch) {
    poll(cancel);
    if (a.empty() || b.empty()) return {};
    if (&a == &b) return sqr(a, cancel, scratch);
    Natural r(a.size() + b.size());
    kern::mulLimbs(r.data(), a.data(), a.size(), b.data(), b.size(), scratch);
    trim(r);
    return r;
}

Natural sqr(const Natural& a, const CancelCheck* cancel, Scratch* scratch) {
    poll(cancel);
    if (a.empty()) return {};
    Natural r(2 * a.size());
    kern::sqrLimbs(r.data(), a.data(), a.size(), scratch);
    trim(r);
    return r;
}

} // namespace longhand::fast
