// Shared helpers of the tests that hold the engine's fast paths against
// its digit-by-digit reference paths and against GMP: a printed seed,
// operand generators with the awkward shapes, and GMP integers.
#pragma once

#include "engine/crossovers.h"
#include "test_seed.h"

#include <cstdint>
#include <cstdlib>
#include <gmp.h>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <string>
#include <string_view>

namespace wiringtest {

// A generator from the test's printed, replayable seed.
inline std::mt19937_64 seededRng(const char* what) {
    return std::mt19937_64(longhand::test::testSeed(what));
}

inline std::size_t uniform(std::mt19937_64& rng, std::size_t lo, std::size_t hi) {
    return lo + static_cast<std::size_t>(rng() % (hi - lo + 1));
}

enum class Shape { Random, Nines, PowerPlusOne, PowerMinusOne, ZeroRuns, SmallTop, Count };

// len digits, no leading zero (len 0 gives ""). PowerPlusOne is
// 10^(len-1) + 1, PowerMinusOne 10^len - 1 less its last digit's worth
// ("99...98"), SmallTop a "1" and zeros before random digits.
inline std::string digits(std::mt19937_64& rng, std::size_t len, Shape shape = Shape::Random) {
    std::string s(len, '0');
    if (len == 0) return s;
    auto digit = [&] { return static_cast<char>('0' + rng() % 10); };
    switch (shape) {
    case Shape::Random:
    case Shape::Count:
        for (auto& c : s)
            c = digit();
        break;
    case Shape::Nines:
        s.assign(len, '9');
        break;
    case Shape::PowerPlusOne:
        s.back() = '1';
        break;
    case Shape::PowerMinusOne:
        s.assign(len, '9');
        s.back() = '8';
        break;
    case Shape::ZeroRuns:
        for (std::size_t i = 0; i < len;) {
            const std::size_t run = 1 + rng() % 30;
            const bool zeros = rng() % 2 != 0;
            for (std::size_t j = 0; j < run && i < len; ++j, ++i)
                s[i] = zeros ? '0' : digit();
        }
        break;
    case Shape::SmallTop:
        for (std::size_t i = len / 2; i < len; ++i)
            s[i] = digit();
        s[0] = '1';
        break;
    }
    if (s[0] == '0') s[0] = static_cast<char>('1' + rng() % 9);
    return s;
}

inline Shape anyShape(std::mt19937_64& rng) {
    return static_cast<Shape>(rng() % static_cast<std::size_t>(Shape::Count));
}

// A GMP integer that frees itself.
class Z {
  public:
    Z() { mpz_init(v_); }
    explicit Z(std::string_view digitText) {
        std::string s(digitText);
        if (s.empty()) s = "0";
        if (mpz_init_set_str(v_, s.c_str(), 10) != 0) ADD_FAILURE() << "GMP rejected " << s;
    }
    Z(const Z&) = delete;
    Z& operator=(const Z&) = delete;
    ~Z() { mpz_clear(v_); }
    mpz_ptr get() { return v_; }
    mpz_srcptr get() const { return v_; }
    std::string str() const {
        std::string s(mpz_sizeinbase(v_, 10) + 2, '\0');
        mpz_get_str(s.data(), 10, v_);
        s.resize(std::char_traits<char>::length(s.c_str()));
        return s;
    }

  private:
    mpz_t v_;
};

// floor(a 10^k / b) and whether it is exact.
inline std::string gmpScaledQuotient(std::string_view a, std::string_view b, unsigned long k,
                                     bool& exact) {
    Z x(a), y(b), q, r, p;
    mpz_ui_pow_ui(p.get(), 10, k);
    mpz_mul(x.get(), x.get(), p.get());
    mpz_tdiv_qr(q.get(), r.get(), x.get(), y.get());
    exact = mpz_sgn(r.get()) == 0;
    return q.str();
}

// A short form of a long text for failure messages.
inline std::string brief(std::string_view s) {
    if (s.size() <= 60) return std::string(s);
    return std::string(s.substr(0, 25)) + "...(" + std::to_string(s.size()) + ")..." +
           std::string(s.substr(s.size() - 25));
}

} // namespace wiringtest
