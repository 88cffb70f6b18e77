#include "period.h"

#include "digits.h"
#include "engine/fast/fast.h"
#include "fraction.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <unordered_map>

namespace longhand::expr {

namespace {

__extension__ using U128 = unsigned __int128;

std::uint64_t mulMod(std::uint64_t a, std::uint64_t b, std::uint64_t m) {
    return static_cast<std::uint64_t>(static_cast<U128>(a) * b % m);
}

std::uint64_t powMod(std::uint64_t base, std::uint64_t e, std::uint64_t m) {
    std::uint64_t result = 1 % m;
    base %= m;
    for (; e != 0; e >>= 1) {
        if (e & 1) result = mulMod(result, base, m);
        base = mulMod(base, base, m);
    }
    return result;
}

// Miller-Rabin with the first twelve primes as bases: exact below 2^64.
bool isPrime(std::uint64_t n) {
    static constexpr std::uint64_t kBases[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
    if (n < 2) return false;
    for (std::uint64_t p : kBases)
        if (n % p == 0) return n == p;
    std::uint64_t d = n - 1;
    int s = 0;
    for (; d % 2 == 0; d /= 2)
        ++s;
    for (std::uint64_t a : kBases) {
        std::uint64_t x = powMod(a, d, n);
        if (x == 1 || x == n - 1) continue;
        bool composite = true;
        for (int i = 1; i < s && composite; ++i) {
            x = mulMod(x, x, n);
            composite = x != n - 1;
        }
        if (composite) return false;
    }
    return true;
}

// A proper factor of the odd composite n, by Pollard's rho in Brent's form.
std::uint64_t properFactor(std::uint64_t n) {
    for (std::uint64_t c = 1;; ++c) {
        auto f = [&](std::uint64_t x) { return (mulMod(x, x, n) + c) % n; };
        std::uint64_t x = 2, y = 2, d = 1, product = 1;
        for (std::uint64_t power = 1; d == 1; power *= 2) {
            x = y;
            for (std::uint64_t i = 0; i < power && d == 1; i += 64) {
                const std::uint64_t steps = std::min<std::uint64_t>(64, power - i);
                const std::uint64_t start = y;
                for (std::uint64_t k = 0; k < steps; ++k) {
                    y = f(y);
                    product = mulMod(product, x > y ? x - y : y - x, n);
                }
                d = std::gcd(product, n);
                if (d == n) { // the batch overshot: redo it one step at a time
                    y = start;
                    do {
                        y = f(y);
                        d = std::gcd(x > y ? x - y : y - x, n);
                    } while (d == 1);
                }
            }
        }
        if (d != n) return d;
    }
}

void factorInto(std::uint64_t n, std::map<std::uint64_t, int>& primes) {
    for (std::uint64_t p = 2; p < 100 && n > 1; ++p)
        for (; n % p == 0; n /= p)
            ++primes[p];
    if (n == 1) return;
    if (isPrime(n)) {
        ++primes[n];
        return;
    }
    const std::uint64_t d = properFactor(n);
    factorInto(d, primes);
    factorInto(n / d, primes);
}

std::string modMul(std::string_view a, std::string_view b, std::string_view m,
                   const fast::CancelCheck* cancel) {
    return digits::divide(digits::mul(a, b, cancel), m, cancel).r;
}

std::string tenToThe(std::uint64_t e, std::string_view m, const fast::CancelCheck* cancel) {
    std::string result = "1", base = digits::divide("10", m, cancel).r;
    for (; e != 0; e >>= 1) {
        if (e & 1) result = modMul(result, base, m, cancel);
        if (e > 1) base = modMul(base, base, m, cancel);
    }
    return result;
}

} // namespace

std::uint64_t orderOfTen(std::uint64_t m) {
    std::map<std::uint64_t, int> primes;
    factorInto(m, primes);
    // Carmichael's lambda of an odd m: the lcm of p^(k-1) (p - 1), at most m.
    std::uint64_t lambda = 1;
    for (const auto& [p, k] : primes) {
        std::uint64_t part = p - 1;
        for (int i = 1; i < k; ++i)
            part *= p;
        lambda = lambda / std::gcd(lambda, part) * part;
    }
    std::map<std::uint64_t, int> lambdaPrimes;
    factorInto(lambda, lambdaPrimes);
    std::uint64_t order = lambda;
    for (const auto& [q, k] : lambdaPrimes)
        while (order % q == 0 && powMod(10, order / q, m) == 1)
            order /= q;
    return order;
}

std::optional<std::int64_t> orderOfTen(std::string_view m, std::int64_t maxOrder,
                                       const fast::CancelCheck* cancel) {
    // The baby steps are products by 10: a small share of the work.
    constexpr double kBabyShare = 0.05;
    // 10^r - 1 >= m, so the order has at least as many digits as m.
    if (maxOrder < static_cast<std::int64_t>(m.size())) return std::nullopt;
    const auto steps =
        static_cast<std::int64_t>(std::ceil(std::sqrt(static_cast<double>(maxOrder))));
    std::unordered_multimap<std::size_t, std::int64_t> baby;
    baby.reserve(static_cast<std::size_t>(steps));
    const std::hash<std::string_view> hash;
    std::string x = "1";
    {
        const fast::CancelCheck part = fast::partOf(cancel, kBabyShare);
        for (std::int64_t j = 0; j < steps; ++j) {
            if (j > 0 && x == "1") return j;
            baby.emplace(hash(x), j);
            x = digits::divide(x + "0", m, &part).r;
        }
        part.finish();
    }
    const std::string giant = x; // 10^steps mod m
    std::string y = giant;
    const double giants = std::ceil(static_cast<double>(maxOrder) / static_cast<double>(steps));
    for (std::int64_t i = 1; (i - 1) * steps < maxOrder; ++i) {
        fast::poll(cancel);
        const fast::CancelCheck part = fast::partOf(cancel, (1 - kBabyShare) / giants);
        std::optional<std::int64_t> found;
        auto [from, to] = baby.equal_range(hash(y));
        for (auto it = from; it != to; ++it) {
            const std::int64_t r = i * steps - it->second;
            if (r >= 1 && r <= maxOrder && (!found || r < *found) &&
                tenToThe(static_cast<std::uint64_t>(r), m, &part) == "1")
                found = r;
        }
        if (found) return found;
        y = modMul(y, giant, m, &part);
        part.finish();
    }
    return std::nullopt;
}

Expansion decimalExpansion(std::string_view den, std::int64_t limit,
                           const fast::CancelCheck* cancel) {
    constexpr std::int64_t kAll = std::numeric_limits<std::int64_t>::max();
    // Removing the factors 2 and 5 takes a few divisions at most.
    constexpr double kStripShare = 0.1;
    std::string m(den);
    std::int64_t twos = 0, fives = 0;
    {
        const fast::CancelCheck part = fast::partOf(cancel, kStripShare);
        twos = stripFactor(m, 2, kAll, &part);
        fives = stripFactor(m, 5, kAll, &part);
        part.finish();
    }
    Expansion e;
    e.prePeriod = std::max(twos, fives);
    if (m == "1") {
        e.ends = true;
        return e;
    }
    const std::int64_t room = limit - e.prePeriod;
    if (room < static_cast<std::int64_t>(m.size())) return e;
    if (m.size() <= 19 && fast::compareDigits(m, "18446744073709551615") <= 0) {
        const std::uint64_t order = orderOfTen(std::stoull(m));
        if (order <= static_cast<std::uint64_t>(room)) e.period = static_cast<std::int64_t>(order);
        return e;
    }
    const fast::CancelCheck part = fast::partOf(cancel, 1 - kStripShare);
    e.period = orderOfTen(m, room, &part);
    return e;
}

} // namespace longhand::expr
