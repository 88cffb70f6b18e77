// Periods of repeating decimals against plain long division: the digits
// and the places where remainders come back, found by listing remainders
// (small denominators) or by stepping 10^k mod m with GMP (large ones).
#include "expr/display.h"
#include "expr/period.h"
#include "support/gmp.h"
#include "support/seed.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {

using namespace longhand;

// a/b by long division with a list of the remainders seen: the text as
// show() writes it, with at most `limit` places.
std::string longDivision(unsigned long a, unsigned long b, long limit) {
    std::string text = std::to_string(a / b), places;
    std::map<unsigned long, long> seen; // remainder -> place it starts
    unsigned long r = a % b;
    while (r != 0 && !seen.count(r) && static_cast<long>(places.size()) < limit + 1) {
        seen[r] = static_cast<long>(places.size());
        places += static_cast<char>('0' + r * 10 / b);
        r = r * 10 % b;
    }
    if (r == 0) return places.empty() ? text : text + "." + places;
    if (seen.count(r) && static_cast<long>(places.size()) <= limit) {
        const auto start = static_cast<std::size_t>(seen[r]);
        return text + "." + places.substr(0, start) + "(" + places.substr(start) + ")";
    }
    return text + "." + places.substr(0, static_cast<std::size_t>(limit));
}

TEST(Period, EveryFractionWithASmallDenominatorMatchesLongDivision) {
    for (const long limit : {20L, 100000L}) {
        for (unsigned long b = 1; b <= 2500; ++b) {
            for (unsigned long a : {1UL, 7UL, b + 3, 10 * b + 1}) {
                test::Q q;
                mpq_set_ui(q.get(), a, b);
                mpq_canonicalize(q.get());
                expr::Fraction f;
                f.num = std::to_string(mpz_get_ui(mpq_numref(q.get())));
                f.den = std::to_string(mpz_get_ui(mpq_denref(q.get())));
                const expr::Shown shown = expr::show(f, limit, nullptr);
                ASSERT_EQ(shown.text, longDivision(a, b, limit)) << a << "/" << b;
            }
        }
    }
}

// The order of 10 modulo m by stepping through its powers, up to `limit`.
std::optional<long> steppedOrder(const test::Z& m, long limit) {
    test::Z x(1UL);
    for (long r = 1; r <= limit; ++r) {
        mpz_mul_ui(x.get(), x.get(), 10);
        mpz_mod(x.get(), x.get(), m.get());
        if (mpz_cmp_ui(x.get(), 1) == 0) return r;
    }
    return std::nullopt;
}

TEST(Period, OrdersOfTenAgreeWithSteppingThroughThePowers) {
    std::mt19937_64 rng = test::seededRng("Period orders");
    // 64-bit moduli: number theory on the factors of lambda.
    for (int i = 0; i < 300; ++i) {
        std::uint64_t m = 3 + rng() % 2000000;
        if (m % 2 == 0 || m % 5 == 0) continue;
        const auto stepped = steppedOrder(test::Z(std::to_string(m)), 2000000);
        ASSERT_TRUE(stepped);
        ASSERT_EQ(expr::orderOfTen(m), static_cast<std::uint64_t>(*stepped)) << m;
    }
    // Products of primes with short periods, so that the
    // order often lies within reach of the limit: many beyond 64 bits,
    // where the search runs.
    const unsigned long primes[] = {3,    7,    11,    13,     17,     19,    37,  41,
                                    53,   73,   79,    101,    137,    239,   271, 4649,
                                    9091, 9901, 21649, 333667, 513239, 909091};
    for (int i = 0; i < 60; ++i) {
        test::Z m(1UL);
        const int factors = 4 + static_cast<int>(rng() % 6);
        for (int f = 0; f < factors; ++f)
            mpz_mul_ui(m.get(), m.get(), primes[rng() % std::size(primes)]);
        const long limit = 5000;
        const auto expected = steppedOrder(m, limit);
        const expr::Expansion found = expr::decimalExpansion(m.str(), limit, nullptr);
        EXPECT_EQ(found.prePeriod, 0);
        EXPECT_EQ(found.period, expected) << m.str();
    }
}

} // namespace
