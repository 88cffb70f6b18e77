// Products on the fast layer against the schoolbook, byte for byte, across
// the crossovers (the engine's, and the fast layer's Karatsuba and
// transform sizes), squares included; long ones against GMP.
#include "engine/multiply.h"
#include "engine/recording_host.h"
#include "wiring_support.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

using namespace wiringtest;

// Lengths around the crossovers: the engine's, and 9 digits per limb times
// the fast layer's Karatsuba and transform thresholds, give or take.
std::size_t lengthNearACrossover(std::mt19937_64& rng) {
    const std::size_t marks[] = {kFastMultiplyDigits, 9 * 112, 9 * 192, 9 * 416, 9 * 448};
    const std::size_t mark = marks[rng() % std::size(marks)];
    const std::size_t spread = 1 + mark / 8;
    const std::size_t len = mark + uniform(rng, 0, 2 * spread);
    return len > spread ? len - spread : 1;
}

TEST(WiringMultiply, DigitProductMatchesTheSchoolbook) {
    auto rng = seededRng("WiringMultiply.DigitProductMatchesTheSchoolbook");
    for (int i = 0; i < 160; ++i) {
        const std::size_t la = i % 2 ? lengthNearACrossover(rng) : uniform(rng, 1, 200);
        const std::size_t lb = i % 3 ? lengthNearACrossover(rng) : uniform(rng, 1, 5000);
        std::string a = digits(rng, la, anyShape(rng));
        std::string b = i % 5 == 0 ? a : digits(rng, lb, anyShape(rng)); // squares
        if (i % 7 == 0) a.insert(0, uniform(rng, 1, 12), '0');           // leading zeros
        if (i % 11 == 0) b.assign(b.size(), '0');                        // a zero
        ASSERT_EQ(multiplyDigits(a, b), multiplyDigitsReference(a, b))
            << brief(a) << " * " << brief(b);
    }
    // Characters that are not digits count as 0, on every path.
    const std::string longer(200, '7');
    EXPECT_EQ(multiplyDigits(longer + "x", longer), multiplyDigitsReference(longer + "x", longer));
}

// A number text around a digit string: a point, a sign, zeros at either end.
std::string dress(std::mt19937_64& rng, std::string d) {
    switch (rng() % 6) {
    case 0:
        d.insert(uniform(rng, 0, d.size()), 1, '.');
        break;
    case 1:
        d.append(uniform(rng, 1, 30), '0');
        break;
    case 2:
        d = "0." + std::string(uniform(rng, 0, 4), '0') + d;
        break;
    case 3:
        d = "-" + d;
        break;
    case 4:
        d = "-" + d.insert(uniform(rng, 0, d.size()), 1, '.') + "0";
        break;
    default:
        break;
    }
    return d;
}

TEST(WiringMultiply, BigMultiflyMatchesTheReference) {
    auto rng = seededRng("WiringMultiply.BigMultiflyMatchesTheReference");
    for (int i = 0; i < 400; ++i) {
        const std::string a = dress(rng, digits(rng, uniform(rng, 1, 400), anyShape(rng)));
        const std::string b =
            i % 6 == 0 ? a : dress(rng, digits(rng, uniform(rng, 1, 400), anyShape(rng)));
        test::RecordingHost fastHost, referenceHost;
        ASSERT_EQ(bigMultifly(a, b, fastHost), bigMultiflyReference(a, b, referenceHost))
            << a << " * " << b;
        EXPECT_EQ(fastHost.messages, referenceHost.messages);
    }
}

TEST(WiringMultiply, LongProductsMatchGmp) {
    auto rng = seededRng("WiringMultiply.LongProductsMatchGmp");
    const std::size_t sizes[][2] = {{100000, 100000}, {250000, 30}, {70000, 180000}, {400000, 0}};
    for (const auto& size : sizes) {
        const std::string a = digits(rng, size[0], anyShape(rng));
        const std::string b = size[1] ? digits(rng, size[1], anyShape(rng)) : a;
        Z x(a), y(b), p;
        mpz_mul(p.get(), x.get(), y.get());
        EXPECT_EQ(bigMultifly(a, b), p.str()) << size[0] << " x " << size[1];
    }
    // With points: the product's digits, the point at the sum of the places.
    const std::string a = digits(rng, 30000) + "1", b = digits(rng, 20000) + "3";
    Z x(a), y(b), p;
    mpz_mul(p.get(), x.get(), y.get());
    std::string expected = p.str();
    expected.insert(expected.size() - 25000, 1, '.');
    EXPECT_EQ(bigMultifly(a.substr(0, a.size() - 10000) + "." + a.substr(a.size() - 10000),
                          b.substr(0, b.size() - 15000) + "." + b.substr(b.size() - 15000)),
              expected);
}

TEST(WiringMultiply, ALongProductStopsWhenCancelled) {
    auto rng = seededRng("WiringMultiply.ALongProductStopsWhenCancelled");
    const std::string a = digits(rng, 300000), b = digits(rng, 300000);
    test::RecordingHost host;
    host.cancelAfterPolls = 0;
    const std::string p = multiplyDigits(a, b, &host);
    EXPECT_GT(host.polls, 0);
    EXPECT_EQ(p, std::string(a.size() + b.size(), '0')); // given up
}

} // namespace
} // namespace longhand
