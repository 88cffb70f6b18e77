// GMP, the independent oracle of the tests: integers and rationals that
// free themselves, read from and written as decimal text, and the few
// results the tests compare with.
#pragma once

#include <gmp.h>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace longhand::test {

// A GMP integer. Text in: digits with an optional "-"; the empty text is 0.
class Z {
  public:
    Z() { mpz_init(v_); }
    explicit Z(unsigned long v) { mpz_init_set_ui(v_, v); }
    explicit Z(std::string_view digits) {
        std::string s(digits);
        if (s.empty()) s = "0";
        if (mpz_init_set_str(v_, s.c_str(), 10) != 0) {
            mpz_clear(v_);
            throw std::invalid_argument("GMP rejected " + s.substr(0, 40));
        }
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

// The exact value of a number text (an optional "-", digits, at most one
// "."; "", "-" and "." are zero) as a GMP rational.
class Q {
  public:
    Q() { mpq_init(v_); }
    explicit Q(std::string_view text) {
        mpq_init(v_);
        const bool negative = !text.empty() && text.front() == '-';
        if (negative) text.remove_prefix(1);
        std::string digits;
        unsigned long places = 0;
        bool afterPoint = false;
        for (char c : text) {
            if (c == '.') {
                afterPoint = true;
                continue;
            }
            digits += c;
            places += afterPoint ? 1 : 0;
        }
        Z num(digits), den;
        if (negative) mpz_neg(num.get(), num.get());
        mpz_ui_pow_ui(den.get(), 10, places);
        mpq_set_num(v_, num.get());
        mpq_set_den(v_, den.get());
        mpq_canonicalize(v_);
    }
    Q(const Q&) = delete;
    Q& operator=(const Q&) = delete;
    ~Q() { mpq_clear(v_); }
    mpq_ptr get() { return v_; }
    mpq_srcptr get() const { return v_; }
    bool operator==(const Q& other) const { return mpq_equal(v_, other.v_) != 0; }
    std::string str() const {
        char* s = mpq_get_str(nullptr, 10, v_);
        std::string out(s);
        void (*release)(void*, std::size_t) = nullptr;
        mp_get_memory_functions(nullptr, nullptr, &release);
        release(s, out.size() + 1);
        return out;
    }

  private:
    mpq_t v_;
};

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

inline std::string gmpMul(std::string_view a, std::string_view b) {
    Z x(a), y(b), r;
    mpz_mul(r.get(), x.get(), y.get());
    return r.str();
}

struct GmpQR {
    std::string q, r;
};

// Floor division.
inline GmpQR gmpDiv(std::string_view a, std::string_view b) {
    Z x(a), y(b), q, r;
    mpz_fdiv_qr(q.get(), r.get(), x.get(), y.get());
    return {q.str(), r.str()};
}

inline std::string gmpPow(std::string_view base, unsigned long e) {
    Z x(base), r;
    mpz_pow_ui(r.get(), x.get(), e);
    return r.str();
}

inline std::string gmpFactorial(unsigned long n) {
    Z f;
    mpz_fac_ui(f.get(), n);
    return f.str();
}

// lo (lo + 1) ... hi; "1" for an empty run.
inline std::string gmpRun(std::string_view lo, std::string_view hi) {
    Z i(lo), end(hi), product(1);
    for (; mpz_cmp(i.get(), end.get()) <= 0; mpz_add_ui(i.get(), i.get(), 1)) {
        mpz_mul(product.get(), product.get(), i.get());
        if (mpz_sgn(product.get()) == 0) break;
    }
    return product.str();
}

// The factorial store that holds exactly the factorials of `keys`, in the
// exact format: records `n,"n!"` separated by CR LF, none after the last.
inline std::string storeOf(const std::set<unsigned long>& keys) {
    std::string out;
    for (unsigned long k : keys) {
        if (!out.empty()) out += "\r\n";
        out += std::to_string(k) + ",\"" + gmpFactorial(k) + "\"";
    }
    return out;
}

} // namespace longhand::test
