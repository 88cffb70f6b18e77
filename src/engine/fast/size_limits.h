// The size guard of the fast arithmetic: operations whose result would be
// unreasonably long refuse up front (std::length_error) instead of running
// the machine out of memory. The estimates use floating point for the size
// only, never for a digit of a result.
#pragma once

#include "natural.h"
#include "thresholds.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace longhand::fast {

inline void checkResultDigits(double digits) {
    if (!(digits <= kMaxResultDigits)) throw std::length_error("result too long");
}

// log10(a) for a > 0, good to about 15 digits.
inline double log10Of(const Natural& a) {
    const std::size_t n = a.size();
    double top = a[n - 1];
    if (n >= 2) top = top * kBase + a[n - 2];
    const double shift = n >= 2 ? static_cast<double>(n - 2) : 0.0;
    return std::log10(top) + shift * kLimbDigits;
}

// Digits of m^e, about (over by at most one).
inline double estimatePowerDigits(const Natural& m, std::uint64_t e) {
    return static_cast<double>(e) * log10Of(m) + 1.0;
}

inline double log10Factorial(std::uint64_t n) {
    return std::lgamma(static_cast<double>(n) + 1.0) / std::log(10.0);
}

// log10(lo (lo + 1) ... hi) for 1 <= lo <= hi, about: the product's digits.
inline double productDigits(std::uint64_t lo, std::uint64_t hi) {
    return log10Factorial(hi) - (lo > 1 ? log10Factorial(lo - 1) : 0.0);
}

} // namespace longhand::fast
