// Seeded operands for the benchmarks: n random digits led by a 7, so every
// operand has its full length and the same seed gives the same number in
// every benchmark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace longhand::bench {

inline std::string digits(std::size_t n, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::string s(n, '0');
    for (auto& c : s)
        c = static_cast<char>('0' + rng() % 10);
    s[0] = '7';
    return s;
}

} // namespace longhand::bench
