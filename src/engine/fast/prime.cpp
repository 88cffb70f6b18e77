// Primality: trial division by the small primes, then Miller's test with
// the first thirteen prime bases, which proves primality below
// 3 317 044 064 679 887 385 961 981 (Sorenson and Webster, "Strong
// pseudoprimes to twelve prime bases", Math. Comp. 86, 2017); above it the
// Baillie-PSW test: Miller's test to base 2 and the strong Lucas test with
// Selfridge's parameters (Baillie and Wagstaff, "Lucas pseudoprimes", Math.
// Comp. 35, 1980), for which no composite is known.
#include "fast.h"
#include "modular.h"
#include "size_limits.h"

#include <array>
#include <cstdint>

namespace longhand::fast {

namespace {

constexpr std::array<Limb, 13> kProvingBases = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41};
// 3317044064679887385961981 in limbs, least significant first.
const Natural kProvenBelow = {385961981u, 64679887u, 3317044u};

std::vector<Limb> smallPrimes() {
    std::vector<Limb> primes;
    for (Limb p = 2; p < 3000; ++p) {
        bool prime = true;
        for (Limb q : primes) {
            if (q * q > p) break;
            if (p % q == 0) {
                prime = false;
                break;
            }
        }
        if (prime) primes.push_back(p);
    }
    return primes;
}

const std::vector<Limb>& primesBelow3000() {
    static const std::vector<Limb> primes = smallPrimes();
    return primes;
}

Limb remainder(const Natural& n, Limb d) {
    std::uint64_t r = 0;
    for (std::size_t i = n.size(); i-- > 0;)
        r = (r * kBase + n[i]) % d;
    return static_cast<Limb>(r);
}

bool isOne(const Natural& a) {
    return a.size() == 1 && a[0] == 1;
}

// Miller's test of odd n > 3 to one base: false proves n composite.
bool strongProbablePrime(const Modulus& mod, const Natural& nMinus1, const Natural& d,
                         std::size_t s, Limb base, const CancelCheck* progress) {
    Natural x = mod.canonical(mod.power(Natural{base}, bitsOf(d), progress));
    if (isOne(x) || x == nMinus1) return true;
    for (std::size_t r = 1; r < s; ++r) {
        x = mod.canonical(mod.sqr(x));
        if (x == nMinus1) return true;
        if (isOne(x)) return false;
        poll(progress);
    }
    return false;
}

// Jacobi symbol (a / n) for odd n.
int jacobi(std::uint64_t a, std::uint64_t n) {
    int t = 1;
    a %= n;
    while (a != 0) {
        while (a % 2 == 0) {
            a /= 2;
            const std::uint64_t r = n % 8;
            if (r == 3 || r == 5) t = -t;
        }
        std::swap(a, n);
        if (a % 4 == 3 && n % 4 == 3) t = -t;
        a %= n;
    }
    return n == 1 ? t : 0;
}

// (D / n) for odd n and small D of either sign.
int jacobiOf(std::int64_t D, const Natural& n) {
    const auto a = static_cast<std::uint64_t>(D < 0 ? -D : D);
    // (a / n) = (n mod a / a) times the reciprocity sign.
    int t = 1;
    std::uint64_t odd = a;
    const Limb n8 = remainder(n, 8);
    while (odd % 2 == 0) {
        odd /= 2;
        if (n8 == 3 || n8 == 5) t = -t;
    }
    if (odd > 1) {
        if (odd % 4 == 3 && n8 % 4 == 3) t = -t;
        t *= jacobi(remainder(n, static_cast<Limb>(odd)), odd);
    }
    if (D < 0 && n8 % 4 == 3) t = -t; // (-1 / n)
    return t;
}

// The strong Lucas test of odd n > 3, not a square, with P = 1 and Q = (1 - D) / 4.
bool strongLucasProbablePrime(const Natural& n, std::int64_t D, const CancelCheck* progress) {
    const Modulus mod(n, progress);
    auto fromSigned = [&](std::int64_t v) {
        const Natural a = mod.canonical(fromU64(static_cast<std::uint64_t>(v < 0 ? -v : v)));
        return v < 0 && !a.empty() ? fast::sub(n, a) : a;
    };
    const Natural qMod = fromSigned((1 - D) / 4);
    auto half = [&](Natural x) { // x / 2 modulo n
        if (x.empty() ? false : (x[0] & 1)) addInPlace(x, n);
        divSmallInPlace(x, 2);
        return x;
    };
    // n + 1 = d 2^s with d odd.
    Natural d = add(n, Natural{1});
    std::size_t s = 0;
    while ((d[0] & 1) == 0) {
        divSmallInPlace(d, 2);
        ++s;
    }
    const std::string bits = bitsOf(d);
    const std::int64_t Q = (1 - D) / 4;
    Natural U{1}, V{1}, Qk = qMod; // k = 1: U_1 = 1, V_1 = P = 1
    Natural UV, VV;
    for (std::size_t i = 1; i < bits.size(); ++i) {
        // k -> 2k: U_2k = U_k V_k, V_2k = V_k^2 - 2 Q^k (V's transforms
        // serve both products).
        mod.mulAndSqr(V, U, UV, VV);
        U = std::move(UV);
        V = mod.sub(VV, mod.add(Qk, Qk));
        Qk = mod.sqr(Qk);
        if (bits[i] == '1') { // 2k -> 2k + 1: D and Q are short
            const Natural u = U;
            U = mod.canonical(half(mod.canonical(mod.add(u, V))));
            V = mod.canonical(half(mod.canonical(mod.add(mod.mulSigned(u, D), V))));
            Qk = mod.mulSigned(Qk, Q);
        }
        advance(progress, 0.5 / static_cast<double>(bits.size()));
        poll(progress);
    }
    if (mod.canonical(U).empty() || mod.canonical(V).empty()) return true;
    for (std::size_t r = 1; r < s; ++r) {
        V = mod.sub(mod.sqr(V), mod.add(Qk, Qk));
        Qk = mod.sqr(Qk);
        if (mod.canonical(V).empty()) return true;
    }
    return false;
}

// Selfridge's D for odd n > 3: the first of 5, -7, 9, -11, ... with
// (D / n) = -1. False when n is composite by the way: it shares a factor
// with a D, or it is a square (which has no such D).
bool selfridge(const Natural& n, std::int64_t& D, const CancelCheck* cancel) {
    D = 5;
    for (int tries = 0;; ++tries) {
        const int j = jacobiOf(D, n);
        if (j == -1) return true;
        if (j == 0 && compare(n, fromU64(static_cast<std::uint64_t>(D < 0 ? -D : D))) != 0)
            return false;
        if (tries == 8) {
            bool exact = false;
            root(n, 2, &exact, cancel);
            if (exact) return false;
        }
        D = D > 0 ? -(D + 2) : -D + 2;
    }
}

// n - 1 = d 2^s with d odd.
std::size_t oddPart(const Natural& nMinus1, Natural& d) {
    d = nMinus1;
    std::size_t s = 0;
    while ((d[0] & 1) == 0) {
        divSmallInPlace(d, 2);
        ++s;
    }
    return s;
}

Primality test(const Natural& n, const CancelCheck* cancel) {
    if (n.empty() || isOne(n)) return Primality::Neither;
    for (Limb p : primesBelow3000()) {
        if (n.size() == 1 && n[0] == p) return Primality::Prime;
        if (remainder(n, p) == 0) return Primality::Composite;
    }
    if (n.size() == 1 && n[0] < 3000u * 3000u) return Primality::Prime;
    const CancelCheck quiet = partOf(cancel, 0);
    const Modulus mod(n, &quiet);
    const Natural nMinus1 = sub(n, Natural{1});
    Natural d;
    const std::size_t s = oddPart(nMinus1, d);
    if (compare(n, kProvenBelow) < 0) {
        for (Limb base : kProvingBases)
            if (!strongProbablePrime(mod, nMinus1, d, s, base, &quiet)) return Primality::Composite;
        return Primality::Prime;
    }
    {
        const CancelCheck millers = partOf(cancel, 1.0 / 3);
        if (!strongProbablePrime(mod, nMinus1, d, s, 2, &millers)) return Primality::Composite;
    }
    std::int64_t D = 0;
    if (!selfridge(n, D, &quiet)) return Primality::Composite;
    const CancelCheck lucas = partOf(cancel, 2.0 / 3);
    if (!strongLucasProbablePrime(n, D, &lucas)) return Primality::Composite;
    return Primality::ProbablePrime;
}

} // namespace

bool millerTest(const Natural& n, Limb base, const CancelCheck* cancel) {
    const Modulus mod(n, cancel);
    const Natural nMinus1 = sub(n, Natural{1});
    Natural d;
    const std::size_t s = oddPart(nMinus1, d);
    return strongProbablePrime(mod, nMinus1, d, s, base, cancel);
}

bool strongLucasTest(const Natural& n, const CancelCheck* cancel) {
    std::int64_t D = 0;
    return selfridge(n, D, cancel) && strongLucasProbablePrime(n, D, cancel);
}

Primality primality(const Natural& n, const CancelCheck* cancel) {
    const Primality p = test(n, cancel);
    finish(cancel);
    return p;
}

Natural nextPrime(const Natural& n, const CancelCheck* cancel) {
    if (compare(n, Natural{2}) < 0) return {2};
    Natural c = add(n, Natural{1});
    if ((c[0] & 1) == 0) addInPlace(c, Natural{1});
    // Residues of the candidate by the small primes, moved along with it,
    // so that most candidates cost no test at all.
    const std::vector<Limb>& primes = primesBelow3000();
    std::vector<Limb> rest(primes.size());
    for (std::size_t i = 0; i < primes.size(); ++i)
        rest[i] = remainder(c, primes[i]);
    const double expected = 2.3 * log10Of(c) + 1; // about the gap to the next prime
    const CancelCheck quiet = partOf(cancel, 0);
    for (;;) {
        bool sieved = false;
        for (std::size_t i = 1; i < primes.size(); ++i)
            if (rest[i] == 0 && !(c.size() == 1 && c[0] == primes[i])) {
                sieved = true;
                break;
            }
        if (!sieved) {
            const Primality p = test(c, &quiet);
            if (p == Primality::Prime || p == Primality::ProbablePrime) break;
            advance(cancel, 1 / expected);
        }
        poll(cancel);
        addInPlace(c, Natural{2});
        for (std::size_t i = 1; i < primes.size(); ++i)
            rest[i] = (rest[i] + 2) % primes[i];
    }
    finish(cancel);
    return c;
}

Primality primalityOfDigits(std::string_view n, const CancelCheck* cancel) {
    return primality(fromDigits(n, cancel), cancel);
}

std::string nextPrimeDigits(std::string_view n, const CancelCheck* cancel) {
    const Natural x = fromDigits(n, cancel);
    const CancelCheck computing = partOf(cancel, 0.99);
    const Natural p = nextPrime(x, &computing);
    computing.finish();
    std::string out = toDigits(p, 0, cancel);
    finish(cancel);
    return out;
}

} // namespace longhand::fast
