// Schoolbook long division, TAOCP 4.3.1 Algorithm D, in base 10^9.
#include "kernels.h"

#include <cassert>

namespace longhand::fast::kern {

void divBasecase(Limb* q, Limb* u, std::size_t nu, const Limb* v, std::size_t nv) {
    assert(nv >= 2 && nu > nv && v[nv - 1] >= kBase / 2);
    const Wide vTop = v[nv - 1], vNext = v[nv - 2];
    for (std::size_t j = nu - nv; j-- > 0;) {
        Limb* w = u + j; // the window w[0..nv], w[nv] the top limb
        // D3: estimate the quotient limb from the top two limbs, then make it
        // at most one too large with the third (Knuth's test).
        const Wide num = Wide{w[nv]} * kBase + w[nv - 1];
        Wide qhat = num / vTop, rhat = num % vTop;
        while (qhat >= kBase || qhat * vNext > rhat * kBase + w[nv - 2]) {
            --qhat;
            rhat += vTop;
            if (rhat >= kBase) break;
        }
        // D4: w -= qhat v.
        Wide carry = 0;
        Limb borrow = 0;
        for (std::size_t i = 0; i < nv; ++i) {
            const Wide p = qhat * v[i] + carry;
            carry = p / kBase;
            const Limb sub = static_cast<Limb>(p % kBase) + borrow;
            borrow = w[i] < sub;
            w[i] = borrow ? w[i] + kBase - sub : w[i] - sub;
        }
        const Wide top = carry + borrow;
        // D5/D6: the estimate was one too large (rare): add v back.
        if (Wide{w[nv]} < top) {
            --qhat;
            const Limb c = addN(w, w, v, nv);
            w[nv] = static_cast<Limb>(Wide{w[nv]} + c - top); // wraps to 0
        } else {
            w[nv] = static_cast<Limb>(w[nv] - top);
        }
        q[j] = static_cast<Limb>(qhat);
    }
}

} // namespace longhand::fast::kern
