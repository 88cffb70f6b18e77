// One workload of the peer comparison, text in -> text out, timed in
// process. bench/peers.py runs it once per peer and workload.
//
//   peer_driver PEER OP [ARGS...] [--reps N] [--out FILE]
//     PEER  longhand | gmp | gmp-arith | fast
//     OP    mul FILE_A FILE_B      a * b
//           add FILE_A FILE_B      a + b
//           div FILE_A FILE_B      a / b cut to len(a) + 1 places (the digits of
//                                  floor(a 10^(len(a)+1) / b)), len(a) being
//                                  the dividend's length
//           pow BASE EXP           BASE^EXP
//           fac N                  N!
//           binom N K              C(N, K)
//
// Operand files hold digit strings; reading them is not timed. Each
// repetition starts from the operand texts and ends with the result text.
// Prints one line: "times <seconds> <seconds> ..." and writes the last
// result to --out when given.
//
// The longhand column calls the engine's public operations, as the windows
// and longhand-calc do: multiply, add, divide, power, factorial and
// combinations. The quotient comes back as the division
// writes it ("123.45", trailing zeros dropped); after the timing it is
// written out as the digits of floor(a 10^(len(a)+1) / b), like the peers'.
// "fast" times the digit-string layer underneath on its own. "gmp-arith"
// times GMP's arithmetic alone: the operands are converted before the clock
// starts and the result is never turned into text (nothing is written).
#include "engine/addition.h"
#include "engine/combinatorics.h"
#include "engine/division.h"
#include "engine/factorial.h"
#include "engine/fast/fast.h"
#include "engine/multiply.h"
#include "engine/power.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <gmp.h>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace lf = longhand::fast;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << path << "\n";
        std::exit(2);
    }
    std::stringstream ss;
    ss << in.rdbuf();
    std::string s = ss.str();
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}

struct Args {
    std::string peer, op;
    std::vector<std::string> operands;
    int reps = 5;
    std::string out;
};

// Operands as given (files already read) and the engine's operation.
std::function<std::string()> longhandRun(const Args& a, const std::vector<std::string>& v) {
    static longhand::Progress progress;
    if (a.op == "mul") return [&v] { return longhand::multiply(v[0], v[1], progress); };
    if (a.op == "add") return [&v] { return longhand::add(v[0], v[1]); };
    if (a.op == "div") return [&v] { return longhand::divide(v[0], v[1], progress); };
    if (a.op == "pow") return [&v] { return longhand::power(v[0], v[1], progress).text; };
    if (a.op == "fac") return [&v] { return longhand::factorial(v[0], nullptr, progress).text; };
    if (a.op == "binom")
        return [&v] { return longhand::combinations(v[0], v[1], 0, nullptr, progress).text; };
    return {};
}

// The division's text "I.F" (or "I") as the digits of I F followed by
// zeros up to `places` fraction digits.
std::string scaledQuotient(std::string q, std::size_t places) {
    const std::size_t point = q.find('.');
    std::size_t fraction = 0;
    if (point != std::string::npos) {
        fraction = q.size() - point - 1;
        q.erase(point, 1);
    }
    if (fraction < places) q.append(places - fraction, '0');
    const std::size_t lead = q.find_first_not_of('0');
    return lead == std::string::npos ? "0" : q.substr(lead);
}

// The same workloads on the digit-string layer alone.
std::function<std::string()> fastRun(const Args& a, const std::vector<std::string>& v) {
    if (a.op == "mul") return [&v] { return lf::mulDigits(v[0], v[1]); };
    if (a.op == "add") return [&v] { return lf::addDigits(v[0], v[1]); };
    if (a.op == "div")
        return [&v] {
            return lf::divScaled(v[0], v[1], static_cast<std::int64_t>(v[0].size()) + 1).q;
        };
    if (a.op == "pow") return [&v] { return lf::powDigits(v[0], std::stoull(v[1])); };
    if (a.op == "fac") return [&v] { return lf::factorialDigits(std::stoull(v[0])); };
    if (a.op == "binom")
        return [&v] { return lf::binomialDigits(std::stoull(v[0]), std::stoull(v[1])); };
    return {};
}

std::string gmpText(const mpz_t x) {
    std::string s(mpz_sizeinbase(x, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, x);
    s.resize(std::strlen(s.c_str()));
    return s;
}

// The mathematical functions' peers, text in and out; operands are files
// except the places of msqrt and the degree of mroot.
//   msqrt X PLACES   floor(sqrt(X 10^(2 PLACES))), the root cut after PLACES decimals
//   mroot FILE K     floor(FILE^(1/K))
//   mgcd FILE FILE   mpz_gcd
//   mhex FILE        to hexadecimal text and back to decimal text
//   mpowm A E M      mpz_powm (files)
//   misprime FILE    mpz_probab_prime_p(n, 25): 2, 1 or 0
std::function<std::string()> gmpMathRun(const Args& a, const std::vector<std::string>& v) {
    auto number = [](const std::string& text) {
        auto* z = new __mpz_struct;
        mpz_init_set_str(z, text.c_str(), 10);
        return z;
    };
    auto release = [](__mpz_struct* z) {
        mpz_clear(z);
        delete z;
    };
    if (a.op == "msqrt")
        return [&v, number, release] {
            auto* x = number(v[0]);
            mpz_t p;
            mpz_init(p);
            mpz_ui_pow_ui(p, 10, 2 * std::stoul(v[1]));
            mpz_mul(x, x, p);
            mpz_sqrt(x, x);
            std::string s = gmpText(x);
            mpz_clear(p);
            release(x);
            return s;
        };
    if (a.op == "mroot")
        return [&v, number, release] {
            auto* x = number(readFile(v[0]));
            mpz_root(x, x, std::stoul(v[1]));
            std::string s = gmpText(x);
            release(x);
            return s;
        };
    if (a.op == "mgcd")
        return [&v, number, release] {
            auto* x = number(readFile(v[0]));
            auto* y = number(readFile(v[1]));
            mpz_gcd(x, x, y);
            std::string s = gmpText(x);
            release(x);
            release(y);
            return s;
        };
    if (a.op == "mhex")
        return [&v, number, release] {
            auto* x = number(readFile(v[0]));
            char* hex = mpz_get_str(nullptr, 16, x);
            mpz_set_str(x, hex, 16);
            void (*freeFn)(void*, std::size_t) = nullptr;
            mp_get_memory_functions(nullptr, nullptr, &freeFn);
            freeFn(hex, std::strlen(hex) + 1);
            std::string s = gmpText(x);
            release(x);
            return s;
        };
    if (a.op == "mpowm")
        return [&v, number, release] {
            auto* x = number(readFile(v[0]));
            auto* e = number(readFile(v[1]));
            auto* m = number(readFile(v[2]));
            mpz_powm(x, x, e, m);
            std::string s = gmpText(x);
            release(x);
            release(e);
            release(m);
            return s;
        };
    if (a.op == "misprime")
        return [&v, number, release] {
            auto* x = number(readFile(v[0]));
            std::string s = std::to_string(mpz_probab_prime_p(x, 25));
            release(x);
            return s;
        };
    return {};
}

std::function<std::string()> gmpRun(const Args& a, const std::vector<std::string>& v) {
    auto binary = [&v](void (*op)(mpz_ptr, mpz_srcptr, mpz_srcptr)) {
        return [&v, op] {
            mpz_t x, y, r;
            mpz_inits(x, y, r, nullptr);
            mpz_set_str(x, v[0].c_str(), 10);
            mpz_set_str(y, v[1].c_str(), 10);
            op(r, x, y);
            std::string s = gmpText(r);
            mpz_clears(x, y, r, nullptr);
            return s;
        };
    };
    if (a.op == "mul") return binary(mpz_mul);
    if (a.op == "add") return binary(mpz_add);
    if (a.op == "div")
        return [&v] {
            mpz_t x, y, r;
            mpz_inits(x, y, r, nullptr);
            mpz_set_str(x, v[0].c_str(), 10);
            mpz_set_str(y, v[1].c_str(), 10);
            mpz_ui_pow_ui(r, 10, v[0].size() + 1);
            mpz_mul(x, x, r);
            mpz_tdiv_q(r, x, y);
            std::string s = gmpText(r);
            mpz_clears(x, y, r, nullptr);
            return s;
        };
    if (a.op == "pow")
        return [&v] {
            mpz_t b, r;
            mpz_inits(b, r, nullptr);
            mpz_set_str(b, v[0].c_str(), 10);
            mpz_pow_ui(r, b, std::stoul(v[1]));
            std::string s = gmpText(r);
            mpz_clears(b, r, nullptr);
            return s;
        };
    if (a.op == "fac")
        return [&v] {
            mpz_t r;
            mpz_init(r);
            mpz_fac_ui(r, std::stoul(v[0]));
            std::string s = gmpText(r);
            mpz_clear(r);
            return s;
        };
    if (a.op == "binom")
        return [&v] {
            mpz_t r;
            mpz_init(r);
            mpz_bin_uiui(r, std::stoul(v[0]), std::stoul(v[1]));
            std::string s = gmpText(r);
            mpz_clear(r);
            return s;
        };
    return gmpMathRun(a, v);
}

// GMP's arithmetic alone on operands converted beforehand: the returned
// function times one operation and returns its seconds.
std::function<double()> gmpArithmetic(const Args& a, const std::vector<std::string>& v) {
    auto seconds = [](auto&& body) {
        const auto t0 = std::chrono::steady_clock::now();
        body();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    };
    auto binary = [&v, seconds](void (*op)(mpz_ptr, mpz_srcptr, mpz_srcptr)) {
        return [&v, seconds, op] {
            mpz_t x, y, r;
            mpz_inits(x, y, r, nullptr);
            mpz_set_str(x, v[0].c_str(), 10);
            mpz_set_str(y, v[1].c_str(), 10);
            const double t = seconds([&] { op(r, x, y); });
            mpz_clears(x, y, r, nullptr);
            return t;
        };
    };
    if (a.op == "mul") return binary(mpz_mul);
    if (a.op == "add") return binary(mpz_add);
    if (a.op == "pow")
        return [&v, seconds] {
            mpz_t b, r;
            mpz_inits(b, r, nullptr);
            mpz_set_str(b, v[0].c_str(), 10);
            const double t = seconds([&] { mpz_pow_ui(r, b, std::stoul(v[1])); });
            mpz_clears(b, r, nullptr);
            return t;
        };
    if (a.op == "fac")
        return [&v, seconds] {
            mpz_t r;
            mpz_init(r);
            const double t = seconds([&] { mpz_fac_ui(r, std::stoul(v[0])); });
            mpz_clear(r);
            return t;
        };
    if (a.op == "binom")
        return [&v, seconds] {
            mpz_t r;
            mpz_init(r);
            const double t = seconds([&] { mpz_bin_uiui(r, std::stoul(v[0]), std::stoul(v[1])); });
            mpz_clear(r);
            return t;
        };
    return {};
}

} // namespace

int main(int argc, char** argv) {
    Args a;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string s = argv[i];
        if (s == "--reps" && i + 1 < argc)
            a.reps = std::atoi(argv[++i]);
        else if (s == "--out" && i + 1 < argc)
            a.out = argv[++i];
        else
            positional.push_back(s);
    }
    if (positional.size() < 3) {
        std::cerr << "usage: peer_driver longhand|gmp|gmp-arith|fast OP ARGS... [--reps N] [--out "
                     "FILE]\n";
        return 2;
    }
    a.peer = positional[0];
    a.op = positional[1];
    std::vector<std::string> v(positional.begin() + 2, positional.end());
    const bool fileOperands = a.op == "mul" || a.op == "add" || a.op == "div";
    if (fileOperands)
        for (auto& s : v)
            s = readFile(s);
    if (a.peer == "gmp-arith") {
        const auto arithmetic = gmpArithmetic(a, v);
        if (!arithmetic || (fileOperands && v.size() < 2)) {
            std::cerr << "unknown operation " << a.op << "\n";
            return 2;
        }
        std::cout << "times";
        for (int r = 0; r < a.reps; ++r)
            std::cout << ' ' << arithmetic();
        std::cout << std::endl;
        return 0;
    }
    const auto run = a.peer == "gmp"    ? gmpRun(a, v)
                     : a.peer == "fast" ? fastRun(a, v)
                                        : longhandRun(a, v);
    if (!run || (fileOperands && v.size() < 2)) {
        std::cerr << "unknown operation " << a.op << "\n";
        return 2;
    }
    std::string result;
    std::cout << "times";
    for (int r = 0; r < a.reps; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        result = run();
        const auto t1 = std::chrono::steady_clock::now();
        std::cout << ' ' << std::chrono::duration<double>(t1 - t0).count();
    }
    std::cout << std::endl;
    if (a.peer == "longhand" && a.op == "div") result = scaledQuotient(result, v[0].size() + 1);
    if (!a.out.empty()) std::ofstream(a.out, std::ios::binary) << result;
    return 0;
}
