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
    // Each step's share of the work, by the length of the power so far,
    // which grows with the exponent bits read.
    const double baseLimbs = static_cast<double>(m.size());
    auto squareWork = [&](int bit) {
        return productWork(2 * baseLimbs * static_cast<double>(e >> (bit + 1)));
    };
    auto timesBaseWork = [&](int bit) {
        return (e >> bit) & 1 ? productWork(baseLimbs * static_cast<double>(e >> bit)) : 0.0;
    };
    double total = 0;
    for (int bit = std::bit_width(e) - 2; bit >= 0; --bit)
        total += squareWork(bit) + timesBaseWork(bit);
    for (int bit = std::bit_width(e) - 2; bit >= 0; --bit) {
        const CancelCheck squaring = partOf(cancel, squareWork(bit) / total);
        r = sqr(r, &squaring, &scratch);
        squaring.finish();
        if ((e >> bit) & 1) {
            const CancelCheck multiplying = partOf(cancel, timesBaseWork(bit) / total);
            r = mul(r, m, &multiplying, &scratch);
            multiplying.finish();
        }
    }
    return z ? shiftDecimal(r, z * e, cancel) : r;
}

} // namespace longhand::fast
