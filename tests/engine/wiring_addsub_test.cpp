// Long sums and differences on the fast layer's text arithmetic against
// the digit-by-digit loops, byte for byte (zero operands written with
// points and zeros, leading zeros, malformed texts), and against GMP.
#include "engine/addsub.h"
#include "wiring_support.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

using namespace wiringtest;

// A number text of about len digits in one of the forms the operand boxes
// can hold, input checking on or off.
std::string operand(std::mt19937_64& rng, std::size_t len) {
    std::string t = digits(rng, len, anyShape(rng));
    switch (rng() % 9) {
    case 0:
        t.insert(uniform(rng, 0, t.size()), 1, '.');
        break;
    case 1:
        t = "-" + t;
        break;
    case 2:
        t = "0." + std::string(len, '0');
        break; // zero with many places
    case 3:
        t = std::string(uniform(rng, 1, 5), '0') + t;
        break;
    case 4:
        t = "-" + t.insert(uniform(rng, 0, t.size()), 1, '.');
        break;
    case 5:
        t = "." + t;
        break;
    case 6: // malformed: a second point, an inner "-" or a letter
        t[uniform(rng, 1, t.size() - 1)] = ".-x"[rng() % 3];
        break;
    case 7:
        t = "0";
        break;
    default:
        break;
    }
    return t;
}

TEST(WiringAddSub, MatchesTheDigitLoops) {
    auto rng = seededRng("WiringAddSub.MatchesTheDigitLoops");
    for (int i = 0; i < 3000; ++i) {
        const std::size_t la = uniform(rng, 2, 300);
        const std::size_t lb = rng() % 2 ? la : uniform(rng, 2, 300);
        const std::string a = operand(rng, la), b = operand(rng, lb);
        ASSERT_EQ(rcAdd(a, b), rcAddReference(a, b)) << a << " + " << b;
        ASSERT_EQ(rcSub(a, b), rcSubReference(a, b)) << a << " - " << b;
    }
}

TEST(WiringAddSub, LongOperandsMatchGmp) {
    auto rng = seededRng("WiringAddSub.LongOperandsMatchGmp");
    for (std::size_t len : {1000u, 100000u, 1000000u}) {
        const std::string a = digits(rng, len, anyShape(rng));
        const std::string b = digits(rng, uniform(rng, len / 2, len), anyShape(rng));
        Z x(a), y(b), s, d;
        mpz_add(s.get(), x.get(), y.get());
        mpz_sub(d.get(), y.get(), x.get());
        EXPECT_EQ(rcAdd(a, b), s.str()) << len;
        EXPECT_EQ(rcSub(b, a), d.str()) << len;
        EXPECT_EQ(rcSub(a, b), rcAdd("-" + b, a)) << len;
    }
}

} // namespace
} // namespace longhand
