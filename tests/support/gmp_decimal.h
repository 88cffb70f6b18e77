// Decimal questions asked of GMP rationals: powers, cutting and rounding at
// a number of places, and the shape of a number text. The oracle of the
// text-layer fuzz target; every answer comes from mpq arithmetic on the
// exact values, never from the engine's digit work.
#pragma once

#include "gmp.h"

#include <string_view>

namespace longhand::test {

// 10^k as a rational.
inline void qTenPower(Q& r, long k) {
    Z p;
    mpz_ui_pow_ui(p.get(), 10, static_cast<unsigned long>(k < 0 ? -k : k));
    mpq_set_z(r.get(), p.get());
    if (k < 0) mpq_inv(r.get(), r.get());
}

// base ^ e.
inline void qPow(Q& r, const Q& base, unsigned long e) {
    Z num, den;
    mpz_pow_ui(num.get(), mpq_numref(base.get()), e);
    mpz_pow_ui(den.get(), mpq_denref(base.get()), e);
    mpq_set_num(r.get(), num.get());
    mpq_set_den(r.get(), den.get());
    mpq_canonicalize(r.get());
}

// |x| cut (toward zero) after `places` fraction digits, sign kept.
inline void qTruncate(Q& r, const Q& x, long places) {
    Q scale, scaled;
    qTenPower(scale, places);
    mpq_mul(scaled.get(), x.get(), scale.get());
    Z whole;
    mpz_tdiv_q(whole.get(), mpq_numref(scaled.get()), mpq_denref(scaled.get()));
    mpq_set_z(r.get(), whole.get());
    mpq_div(r.get(), r.get(), scale.get());
}

// x rounded to `places` fraction digits, halves away from zero.
inline void qRoundHalfAway(Q& r, const Q& x, long places) {
    Q scale, scaled, half;
    qTenPower(scale, places);
    mpq_mul(scaled.get(), x.get(), scale.get());
    mpq_set_ui(half.get(), 1, 2);
    if (mpq_sgn(scaled.get()) < 0)
        mpq_sub(scaled.get(), scaled.get(), half.get());
    else
        mpq_add(scaled.get(), scaled.get(), half.get());
    Z whole;
    mpz_tdiv_q(whole.get(), mpq_numref(scaled.get()), mpq_denref(scaled.get()));
    mpq_set_z(r.get(), whole.get());
    mpq_div(r.get(), r.get(), scale.get());
}

// True when `cut` is x cut after `places` fraction digits (a cut may
// leave out trailing zeros, so `places` is the larger of the places the
// operation promises and the fraction digits the text shows).
inline bool isCutOf(const Q& cut, const Q& x, long places) {
    Q want;
    qTruncate(want, x, places);
    return want == cut;
}

// A number text: an optional leading "-", digits and at most one ".".
inline bool isNumberShape(std::string_view s) {
    if (!s.empty() && s.front() == '-') s.remove_prefix(1);
    bool point = false;
    for (char c : s) {
        if (c == '.') {
            if (point) return false;
            point = true;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// A shown result: a number text with a digit, no trailing point and no
// trailing fraction zeros.
inline bool isTidyResult(std::string_view s) {
    if (!isNumberShape(s) || s.find_first_of("0123456789") == std::string_view::npos) return false;
    if (s.find('.') == std::string_view::npos) return true;
    return s.back() != '.' && s.back() != '0';
}

} // namespace longhand::test
