// Shared helpers of the fast-arithmetic tests: GMP as the oracle, seeded
// operand generators with the awkward shapes (all nines, 10^k +- 1, runs
// of zeros, limb boundaries).
#pragma once

#include "test_seed.h"

#include <cstdint>
#include <cstdlib>
#include <gmp.h>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <string>
#include <string_view>

namespace fasttest {

// A GMP integer that frees itself.
class Z {
  public:
    Z() { mpz_init(v_); }
    explicit Z(std::string_view digits) {
        mpz_init(v_);
        std::string s(digits);
        if (s.empty()) s = "0";
        if (mpz_set_str(v_, s.c_str(), 10) != 0)
            ADD_FAILURE() << "GMP rejected " << s.substr(0, 40);
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

inline std::string gmpMul(std::string_view a, std::string_view b) {
    Z x(a), y(b), r;
    mpz_mul(r.get(), x.get(), y.get());
    return r.str();
}

inline std::string gmpAdd(std::string_view a, std::string_view b) {
    Z x(a), y(b), r;
    mpz_add(r.get(), x.get(), y.get());
    return r.str();
}

inline std::string gmpSub(std::string_view a, std::string_view b) {
    Z x(a), y(b), r;
    mpz_sub(r.get(), x.get(), y.get());
    return r.str();
}

struct GmpQR {
    std::string q, r;
};

inline GmpQR gmpDiv(std::string_view a, std::string_view b) {
    Z x(a), y(b), q, r;
    mpz_fdiv_qr(q.get(), r.get(), x.get(), y.get());
    return {q.str(), r.str()};
}

using longhand::test::testSeed;

enum class Shape { Random, Nines, PowerPlusOne, PowerMinusOne, ZeroRuns, OneDigitTop, Count };

// A digit string of exactly len digits (no leading zero unless len is 0)
// of the given shape. PowerMinusOne is all nines; PowerPlusOne is 10^(len-1) + 1.
inline std::string makeDigits(std::mt19937_64& rng, std::size_t len, Shape shape) {
    if (len == 0) return "";
    std::string s(len, '0');
    auto digit = [&] { return static_cast<char>('0' + rng() % 10); };
    switch (shape) {
    case Shape::Random:
    case Shape::Count:
        for (auto& c : s)
            c = digit();
        break;
    case Shape::Nines:
    case Shape::PowerMinusOne:
        s.assign(len, '9');
        break;
    case Shape::PowerPlusOne:
        s.back() = '1';
        break;
    case Shape::ZeroRuns:
        for (std::size_t i = 0; i < len;) {
            const std::size_t run = 1 + rng() % 40;
            const bool zeros = rng() % 2;
            for (std::size_t j = 0; j < run && i < len; ++j, ++i)
                s[i] = zeros ? '0' : digit();
        }
        break;
    case Shape::OneDigitTop:
        break;
    }
    if (s[0] == '0') s[0] = static_cast<char>('1' + rng() % 9);
    return s;
}

inline Shape shapeOf(std::size_t i) {
    return static_cast<Shape>(i % static_cast<std::size_t>(Shape::Count));
}

// Lengths in digits around a limb count: 9 n - 1, 9 n, 9 n + 1.
inline std::size_t digitsAround(std::size_t limbs, int delta) {
    const std::int64_t d = static_cast<std::int64_t>(limbs) * 9 + delta;
    return d < 1 ? 1 : static_cast<std::size_t>(d);
}

} // namespace fasttest
