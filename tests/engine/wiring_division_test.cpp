// The division's fast drivers against the digit-by-digit ones, byte for
// byte: quotients that end, that repeat (the remainder coming back to the
// dividend, with and without an integer digit), that need the zero-filling
// pass past the last place, across the crossover sizes; and long quotients
// against GMP.
#include "engine/division.h"
#include "engine/recording_host.h"
#include "wiring_support.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

using namespace wiringtest;

// A divisor that divides 10^p - 1, so that quotients by it repeat with a
// period of at most p places: (10^p - 1) / c for a c that divides it,
// sometimes times 2^a 5^b (the period then starts later).
std::string repeatingDivisor(std::mt19937_64& rng, unsigned long p) {
    Z x, c, r;
    mpz_ui_pow_ui(x.get(), 10, p);
    mpz_sub_ui(x.get(), x.get(), 1);
    for (int attempt = 0; attempt < 40; ++attempt) {
        mpz_set_ui(c.get(), 1 + rng() % 100000);
        if (mpz_divisible_p(x.get(), c.get())) {
            mpz_divexact(x.get(), x.get(), c.get());
            break;
        }
    }
    if (rng() % 4 == 0) mpz_mul_ui(x.get(), x.get(), rng() % 2 ? 2 : 5);
    return x.str();
}

// A dividend for n: shorter, or as long and smaller or larger, sometimes
// ending in zeros.
std::string dividendFor(std::mt19937_64& rng, const std::string& n) {
    std::string m;
    switch (rng() % 4) {
    case 0:
        m = digits(rng, uniform(rng, 1, n.size()), anyShape(rng));
        break;
    case 1:
        m = digits(rng, n.size(), anyShape(rng));
        break;
    case 2: // 1 and zeros: a remainder that returns only after zero-filling passes
        m = "1" + std::string(uniform(rng, 0, n.size() - 1), '0');
        break;
    default: // n's leading digits and zeros
        m = n.substr(0, uniform(rng, 1, n.size()));
        m.back() = static_cast<char>('0' + rng() % 10);
        m.append(n.size() - m.size(), '0');
        break;
    }
    if (m == n) m = "1";
    return m;
}

TEST(WiringDivision, SmallQuotientMatchesTheDriver) {
    auto rng = seededRng("WiringDivision.SmallQuotientMatchesTheDriver");
    for (int i = 0; i < 1500; ++i) {
        std::string n;
        if (i % 2 == 0) {
            n = repeatingDivisor(rng, static_cast<unsigned long>(uniform(rng, 2, 110)));
        } else {
            n = digits(rng, uniform(rng, 1, 110), anyShape(rng));
        }
        const std::string m = dividendFor(rng, n);
        const Count ln = static_cast<Count>(n.size());
        Count places;
        switch (i % 3) {
        case 0:
            places = ln < 16 ? 20 : ln + 10;
            break; // bigdivision's rule
        case 1:
            places = ln + 2 + static_cast<Count>(rng() % (ln + 40));
            break;
        default:
            places = static_cast<Count>(rng() % (ln + 3));
            break; // short counts
        }
        ASSERT_EQ(smallQuotient(m, n, places), smallQuotientReference(m, n, places))
            << m << " / " << n << " places " << places;
    }
}

// Hand-picked: the remainder back at the dividend before the zero-filling
// pass would run past the last place (the period copied to exactly the
// places), and the same without the return.
TEST(WiringDivision, SmallQuotientPeriodOrZeroFilling) {
    const std::string nines40(40, '9');
    const std::string threes40(40, '3');
    struct Case {
        std::string m, n;
        Count places;
    };
    const Case cases[] = {
        {"1", "9999", 22},
        {"10", "33", 23},
        {"10", "3333", 23},
        {"10", "123456789", 20},
        {"1", nines40, 50},
        {"1", nines40, 79},
        {"1" + std::string(39, '0'), threes40, 50},
        {"1" + std::string(38, '0'), threes40, 90},
        {"2" + std::string(39, '0'), "1" + std::string(38, '1') + "0", 60},
        {"3" + std::string(39, '0'), "1" + std::string(39, '0'), 55},
    };
    for (const auto& c : cases)
        EXPECT_EQ(smallQuotient(c.m, c.n, c.places), smallQuotientReference(c.m, c.n, c.places))
            << c.m << " / " << c.n << " places " << c.places;
    // The zero-filling pass of the spelled-out example writes three zeros past the 20th place.
    EXPECT_EQ(smallQuotient("10", "123456789", 20), "0.00000008100000073710000");
}

TEST(WiringDivision, UpperLowerMatchesTheDriver) {
    auto rng = seededRng("WiringDivision.UpperLowerMatchesTheDriver");
    for (int i = 0; i < 1500; ++i) {
        const std::string b = i % 3 == 0 ? repeatingDivisor(rng, uniform(rng, 1, 60))
                                         : digits(rng, uniform(rng, 1, 80), anyShape(rng));
        std::string a;
        if (i % 5 == 0) { // a multiple of b: the quotient ends, maybe within the places
            Z x(b), y(digits(rng, uniform(rng, 1, 60), anyShape(rng)));
            mpz_mul(x.get(), x.get(), y.get());
            if (rng() % 2) mpz_tdiv_q_ui(x.get(), x.get(), rng() % 2 ? 8 : 25);
            a = x.str();
        } else {
            a = digits(rng, b.size() + uniform(rng, 1, 90), anyShape(rng));
        }
        while (a.size() <= b.size())
            a += "7";
        const Count la = static_cast<Count>(a.size());
        Count places;
        switch (i % 4) {
        case 0:
            places = la + 1;
            break;
        case 1:
            places = static_cast<Count>(rng() % 200);
            break;
        case 2:
            places = static_cast<Count>(rng() % 4) - 1;
            break;
        default:
            places = 1;
            break;
        }
        ASSERT_EQ(UpperLower(a, b, places), UpperLowerReference(a, b, places))
            << a << " / " << b << " places " << places;
    }
}

// A number text around a digit string: a sign, a point anywhere, leading zeros.
std::string dress(std::mt19937_64& rng, std::string d) {
    if (rng() % 3 == 0) d.insert(uniform(rng, 0, d.size()), 1, '.');
    if (rng() % 6 == 0) d.insert(0, uniform(rng, 1, 3), '0');
    if (rng() % 4 == 0) d.insert(0, 1, '-');
    return d;
}

TEST(WiringDivision, BigdivisionMatchesTheReference) {
    auto rng = seededRng("WiringDivision.BigdivisionMatchesTheReference");
    for (int i = 0; i < 2000; ++i) {
        std::string n = i % 4 == 0 ? repeatingDivisor(rng, uniform(rng, 1, 70))
                                   : digits(rng, uniform(rng, 1, 90), anyShape(rng));
        std::string m =
            i % 2 ? dividendFor(rng, n) : digits(rng, uniform(rng, 1, 150), anyShape(rng));
        if (i % 7 == 0) n.append(uniform(rng, 1, 60), '0'); // a point moved far
        m = dress(rng, m);
        n = dress(rng, n);
        ASSERT_EQ(bigdivision(m, n), bigdivisionReference(m, n)) << m << " / " << n;
    }
}

// The quotient text of integers by the drivers' rules: digits of
// floor(M 10^k / N) with the point k places from the right, trailing
// fraction zeros and a bare point dropped, "0." kept below 1.
std::string expectedQuotient(const std::string& m, const std::string& n) {
    const unsigned long k = m.size() > n.size() ? m.size() + 1 : n.size() < 16 ? 20 : n.size() + 10;
    bool exact = false;
    std::string q = gmpScaledQuotient(m, n, k, exact);
    if (q.size() <= k) q.insert(0, k + 1 - q.size(), '0');
    q.insert(q.size() - k, 1, '.');
    while (q.back() == '0')
        q.pop_back();
    if (q.back() == '.') q.pop_back();
    return q;
}

TEST(WiringDivision, LongQuotientsMatchGmp) {
    auto rng = seededRng("WiringDivision.LongQuotientsMatchGmp");
    const std::size_t sizes[] = {500, 1000, 3000, 9000, 30000};
    for (std::size_t size : sizes) {
        for (int i = 0; i < 6; ++i) {
            const std::string n = i == 5 ? repeatingDivisor(rng, size)
                                         : digits(rng, uniform(rng, size / 2, size), anyShape(rng));
            const std::string m = i % 2
                                      ? digits(rng, n.size() + uniform(rng, 1, size), anyShape(rng))
                                      : dividendFor(rng, n);
            ASSERT_EQ(bigdivision(m, n), expectedQuotient(m, n)) << brief(m) << " / " << brief(n);
        }
    }
}

TEST(WiringDivision, ALongQuotientStopsWhenCancelled) {
    auto rng = seededRng("WiringDivision.ALongQuotientStopsWhenCancelled");
    const std::string n = digits(rng, 200000);
    const std::string m = digits(rng, 400000);
    test::RecordingHost host;
    host.cancelAfterPolls = 0;
    const std::string q = bigdivision(m, n, host);
    EXPECT_GT(host.polls, 0);
    EXPECT_LT(q.size(), 200000u); // given up: no quotient of 200,000 digits
}

} // namespace
} // namespace longhand
