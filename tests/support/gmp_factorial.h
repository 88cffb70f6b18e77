// n! from GMP, the independent oracle for every factorial the tests check.
#pragma once

#include <cstdlib>
#include <gmp.h>
#include <set>
#include <string>

namespace longhand::test {

inline std::string gmpFactorial(unsigned long n) {
    mpz_t f;
    mpz_init(f);
    mpz_fac_ui(f, n);
    char* digits = mpz_get_str(nullptr, 10, f);
    std::string out(digits);
    std::free(digits);
    mpz_clear(f);
    return out;
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
