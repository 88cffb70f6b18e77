// Linear limb arithmetic: addition, subtraction, comparison, and the
// single-limb multiplication and division (TAOCP 4.3.1, Algorithms A, S and
// the short division of exercise 16).
#include "cancel.h"
#include "kernels.h"
#include "natural.h"
#include "parallel.h"
#include "thresholds.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace longhand::fast {

namespace {

bool worthPieces(std::size_t n) {
    return n >= 2 * kParallelLinearLimbs && par::threads() > 1;
}

// A linear pass over [0, n) in pieces side by side: step(from, to) works
// its piece as if no carry came in and returns the carry out of it; then
// each carry is rippled into the piece above (ripple(at, end, carry)
// returns what runs off the end), in turn, which touches a limb or two a
// piece. Returns the carry out of the top.
template <class Step, class Ripple>
Limb inPieces(std::size_t n, Step&& step, Ripple&& ripple, const CancelCheck* cancel) {
    const par::Pieces pieces = par::piecesOf(n, kParallelLinearLimbs);
    std::vector<Limb> carry(pieces.count, 0);
    par::forEach(pieces.count, [&](std::size_t k) {
        carry[k] = step(pieces.edge(k), pieces.edge(k + 1));
        poll(cancel);
    });
    for (std::size_t k = 1; k < pieces.count; ++k)
        carry[k] += ripple(pieces.edge(k), pieces.edge(k + 1), carry[k - 1]);
    return carry.back();
}

// The borrow b (0 or 1) taken from r[0..n); returns the borrow out.
Limb takeBorrow(Limb* r, std::size_t n, Limb b) {
    for (std::size_t i = 0; i < n && b; ++i) {
        b = r[i] == 0;
        r[i] = b ? kBase - 1 : r[i] - 1;
    }
    return b;
}

// r[0..n) = a[0..n) + b[0..n) (subtract: - b); returns the carry (borrow).
Limb addOrSub(Limb* r, const Limb* a, const Limb* b, std::size_t n, bool subtract,
              const CancelCheck* cancel = nullptr) {
    if (!worthPieces(n)) return subtract ? kern::subN(r, a, b, n) : kern::addN(r, a, b, n);
    return inPieces(
        n,
        [&](std::size_t from, std::size_t to) {
            return subtract ? kern::subN(r + from, a + from, b + from, to - from)
                            : kern::addN(r + from, a + from, b + from, to - from);
        },
        [&](std::size_t at, std::size_t end, Limb c) {
            return subtract ? takeBorrow(r + at, end - at, c) : kern::addLimb(r + at, end - at, c);
        },
        cancel);
}

// r[0..n) = a[0..n), on every thread when long.
void copyLimbs(Limb* r, const Limb* a, std::size_t n) {
    if (n == 0) return;
    if (!worthPieces(n)) {
        std::memmove(r, a, n * sizeof(Limb));
        return;
    }
    par::forChunks(n, kParallelLinearLimbs, 1, [&](std::size_t from, std::size_t to) {
        std::memcpy(r + from, a + from, (to - from) * sizeof(Limb));
    });
}

} // namespace

namespace kern {

Limb addN(Limb* r, const Limb* a, const Limb* b, std::size_t n) {
    Limb c = 0;
    for (std::size_t i = 0; i < n; ++i) {
        Limb s = a[i] + b[i] + c; // < 2 * 10^9 + 1 < 2^32
        c = s >= kBase;
        r[i] = c ? s - kBase : s;
    }
    return c;
}

Limb subN(Limb* r, const Limb* a, const Limb* b, std::size_t n) {
    Limb br = 0;
    for (std::size_t i = 0; i < n; ++i) {
        Limb t = b[i] + br;
        br = a[i] < t;
        r[i] = br ? a[i] + kBase - t : a[i] - t;
    }
    return br;
}

Limb addLimb(Limb* r, std::size_t nr, Limb c) {
    for (std::size_t i = 0; i < nr && c; ++i) {
        Wide s = Wide{r[i]} + c;
        r[i] = static_cast<Limb>(s % kBase);
        c = static_cast<Limb>(s / kBase);
    }
    return c;
}

Limb addTo(Limb* r, std::size_t nr, const Limb* b, std::size_t nb) {
    Limb c = addOrSub(r, r, b, nb, false);
    return addLimb(r + nb, nr - nb, c);
}

Limb subFrom(Limb* r, std::size_t nr, const Limb* b, std::size_t nb) {
    return takeBorrow(r + nb, nr - nb, addOrSub(r, r, b, nb, true));
}

void zeroN(Limb* r, std::size_t n) {
    if (!worthPieces(n)) {
        std::fill(r, r + n, Limb{0});
        return;
    }
    par::forChunks(n, kParallelLinearLimbs, 1,
                   [&](std::size_t from, std::size_t to) { std::fill(r + from, r + to, Limb{0}); });
}

int cmpN(const Limb* a, const Limb* b, std::size_t n) {
    for (std::size_t i = n; i-- > 0;)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

Limb mulSmallN(Limb* r, const Limb* a, std::size_t n, Limb m, Limb c) {
    Wide carry = c;
    for (std::size_t i = 0; i < n; ++i) {
        Wide t = Wide{a[i]} * m + carry;
        r[i] = static_cast<Limb>(t % kBase);
        carry = t / kBase;
    }
    return static_cast<Limb>(carry);
}

Limb divSmallN(Limb* a, std::size_t n, Limb m, Limb rem0) {
    Wide rem = rem0;
    for (std::size_t i = n; i-- > 0;) {
        Wide t = rem * kBase + a[i];
        a[i] = static_cast<Limb>(t / m);
        rem = t % m;
    }
    return static_cast<Limb>(rem);
}

} // namespace kern

int compare(const Natural& a, const Natural& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return kern::cmpN(a.data(), b.data(), a.size());
}

void addInPlace(Natural& a, const Natural& b) {
    if (a.size() < b.size()) a.resize(b.size(), 0);
    Limb c = addOrSub(a.data(), a.data(), b.data(), b.size(), false);
    c = kern::addLimb(a.data() + b.size(), a.size() - b.size(), c);
    if (c) a.push_back(c);
}

void subInPlace(Natural& a, const Natural& b) {
    if (compare(a, b) < 0) throw std::domain_error("negative difference");
    const Limb borrow = addOrSub(a.data(), a.data(), b.data(), b.size(), true);
    takeBorrow(a.data() + b.size(), a.size() - b.size(), borrow);
    trim(a);
}

Natural add(const Natural& a, const Natural& b) {
    const Natural& lo = a.size() >= b.size() ? b : a;
    const Natural& hi = a.size() >= b.size() ? a : b;
    Natural r;
    r.reserve(hi.size() + 1);
    r.resize(hi.size());
    copyLimbs(r.data() + lo.size(), hi.data() + lo.size(), hi.size() - lo.size());
    Limb c = addOrSub(r.data(), hi.data(), lo.data(), lo.size(), false);
    c = kern::addLimb(r.data() + lo.size(), r.size() - lo.size(), c);
    if (c) r.push_back(c);
    return r;
}

Natural sub(const Natural& a, const Natural& b) {
    if (compare(a, b) < 0) throw std::domain_error("negative difference");
    Natural r(a.size());
    copyLimbs(r.data() + b.size(), a.data() + b.size(), a.size() - b.size());
    const Limb borrow = addOrSub(r.data(), a.data(), b.data(), b.size(), true);
    takeBorrow(r.data() + b.size(), r.size() - b.size(), borrow);
    trim(r);
    return r;
}

namespace {

// r[0..n) = a[0..n) m + c in pieces, polling between them; returns the
// carry out.
Limb mulSmallPieces(Limb* r, const Limb* a, std::size_t n, Limb m, Limb c,
                    const CancelCheck* cancel) {
    if (worthPieces(n)) {
        // Carries of a product by one limb are below 10^9: the one into a
        // piece plus the piece's own still fits a limb.
        const Limb top = inPieces(
            n,
            [&](std::size_t from, std::size_t to) {
                return kern::mulSmallN(r + from, a + from, to - from, m, from == 0 ? c : 0);
            },
            [&](std::size_t at, std::size_t end, Limb carry) {
                return kern::addLimb(r + at, end - at, carry);
            },
            cancel);
        return top;
    }
    for (std::size_t at = 0; at < n; at += kConvertPollLimbs) {
        const std::size_t len = std::min(kConvertPollLimbs, n - at);
        c = kern::mulSmallN(r + at, a + at, len, m, c);
        poll(cancel);
    }
    return c;
}

} // namespace

Natural mulSmall(const Natural& a, Limb m, const CancelCheck* cancel) {
    if (a.empty() || m == 0) return {};
    Natural r(a.size() + 1);
    r.back() = mulSmallPieces(r.data(), a.data(), a.size(), m, 0, cancel);
    trim(r);
    return r;
}

Limb divSmallInPlace(Natural& a, Limb m) {
    if (m == 0) throw std::domain_error("division by zero");
    Limb rem = kern::divSmallN(a.data(), a.size(), m);
    trim(a);
    return rem;
}

Natural fromU64(std::uint64_t v) {
    Natural a;
    while (v) {
        a.push_back(static_cast<Limb>(v % kBase));
        v /= kBase;
    }
    return a;
}

Natural pow10(std::uint64_t k) {
    Natural a(k / kLimbDigits + 1, 0);
    Limb top = 1;
    for (std::uint64_t i = 0; i < k % kLimbDigits; ++i)
        top *= 10;
    a.back() = top;
    return a;
}

Natural shiftDecimal(const Natural& a, std::uint64_t k, const CancelCheck* cancel) {
    if (a.empty()) return {};
    const std::size_t limbs = k / kLimbDigits;
    Limb m = 1;
    for (std::uint64_t i = 0; i < k % kLimbDigits; ++i)
        m *= 10;
    Natural r(limbs + a.size() + 1);
    par::forChunks(limbs, kConvertPollLimbs, 1, [&](std::size_t from, std::size_t to) {
        std::fill(r.begin() + static_cast<std::ptrdiff_t>(from),
                  r.begin() + static_cast<std::ptrdiff_t>(to), Limb{0});
        poll(cancel);
    });
    r.back() = mulSmallPieces(r.data() + limbs, a.data(), a.size(), m, 0, cancel);
    trim(r);
    return r;
}

} // namespace longhand::fast
