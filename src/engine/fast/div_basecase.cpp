// Schoolbook long division, TAOCP 4.3.1 Algorithm D, in base 10^9.
#include "kernels.h"
#include "thresholds.h"

#include <cassert>
#include <cstdint>

namespace longhand::fast::kern {

void divBasecase(Limb* q, Limb* u, std::size_t nu, const Limb* v, std::size_t nv,
                 const CancelCheck* cancel) {
    assert(nv >= 2 && nu > nv && v[nv - 1] >= kBase / 2);
    const Wide vTop = v[nv - 1], vNext = v[nv - 2];
    std::size_t work = 0; // limb products since the last poll
    const double rowShare = 1.0 / static_cast<double>(nu - nv);
    std::size_t rows = 0; // quotient limbs since the last poll
    for (std::size_t j = nu - nv; j-- > 0;) {
        work += nv;
        ++rows;
        if (work >= kSchoolbookPollWork) {
            poll(cancel);
            advance(cancel, static_cast<double>(rows) * rowShare);
            work = 0;
            rows = 0;
        }
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
        // D4: w -= qhat v. The limb products and their splits at 10^9 do not
        // depend on each other; only the small borrow (0, 1 or 2) runs
        // along, so the loop is not held up by a chain of divisions.
        Wide hiPrev = 0;
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < nv; ++i) {
            const Wide p = qhat * v[i];
            const Wide hi = p / kBase;
            const Wide lo = p - hi * kBase;
            std::int64_t t = static_cast<std::int64_t>(w[i]) - static_cast<std::int64_t>(lo) -
                             static_cast<std::int64_t>(hiPrev) - borrow; // > -2 * 10^9 - 2
            borrow = (t < 0) + (t < -static_cast<std::int64_t>(kBase));
            t += borrow * static_cast<std::int64_t>(kBase);
            w[i] = static_cast<Limb>(t);
            hiPrev = hi;
        }
        const Wide top = hiPrev + static_cast<Wide>(borrow);
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
