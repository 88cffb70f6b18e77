// Powers by left-to-right binary exponentiation (TAOCP 4.6.3, Algorithm A
// read from the top bit): one square per bit, one product by the base per
// set bit. Decimal zeros at the end of the base are split off first and
// put back as a shift, so 1000^e costs nothing.
#include "natural.h"
#include "size_limits.h"

#include <bit>

namespace longhand::fast {

namespace {

// a = m 10^z with m not divisible by 10; returns z and leaves m in a.
std::uint64_t stripDecimalZeros(Natural& a) {
    std::size_t limbs = 0;
    while (limbs < a.size() && a[limbs] == 0)
        ++limbs;
    std::uint64_t z = limbs * kLimbDigits;
    if (limbs) a.erase(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(limbs));
    Limb low = a.empty() ? 1 : a[0], div = 1;
    while (low % 10 == 0) {
        low /= 10;
        div *= 10;
        ++z;
    }
    if (div > 1) divSmallInPlace(a, div);
    return z;
}

} // namespace

Natural power(const Natural& base, std::uint64_t e, const CancelCheck* cancel) {
    if (e == 0) return {1};
    if (base.empty()) return {};
    Natural m = base;
    const std::uint64_t z = stripDecimalZeros(m);
    checkResultDigits(estimatePowerDigits(m, e) + static_cast<double>(z) * static_cast<double>(e));
    Natural r = m;
    Scratch scratch; // shared by the squares and products
    for (int bit = std::bit_width(e) - 2; bit >= 0; --bit) {
        r = sqr(r, cancel, &scratch);
        if ((e >> bit) & 1) r = mul(r, m, cancel, &scratch);
    }
    return z ? shiftDecimal(r, z * e) : r;
}

} // namespace longhand::fast
