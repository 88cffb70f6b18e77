// The peer of the expression benchmark's reduction: a fraction of two
// integers read as decimal text, reduced with GMP's mpz_gcd and written as
// "a/b" ("a" for a whole number), text in and text out like longhand-calc.
//
//   gmp_reduce FILE_A FILE_B OUT
#include <fstream>
#include <gmp.h>
#include <iostream>
#include <sstream>
#include <string>

namespace {

std::string readDigits(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string s = ss.str();
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}

std::string text(mpz_srcptr v) {
    std::string s(mpz_sizeinbase(v, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, v);
    s.resize(std::char_traits<char>::length(s.c_str()));
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: gmp_reduce FILE_A FILE_B OUT\n";
        return 2;
    }
    mpz_t a, b, g;
    mpz_inits(a, b, g, nullptr);
    if (mpz_set_str(a, readDigits(argv[1]).c_str(), 10) != 0 ||
        mpz_set_str(b, readDigits(argv[2]).c_str(), 10) != 0 || mpz_sgn(b) == 0) {
        std::cerr << "gmp_reduce: not a fraction of two integers\n";
        return 2;
    }
    mpz_gcd(g, a, b);
    mpz_divexact(a, a, g);
    mpz_divexact(b, b, g);
    std::string out = text(a);
    if (mpz_cmp_ui(b, 1) != 0) out += "/" + text(b);
    std::ofstream(argv[3], std::ios::binary) << out << '\n';
    mpz_clears(a, b, g, nullptr);
    return 0;
}
