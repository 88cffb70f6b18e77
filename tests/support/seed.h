// The seed of a randomized test: LONGHAND_TEST_SEED from the environment,
// else a fresh random one. It is printed, so that any failing run can be
// replayed exactly by setting the variable to the printed value.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>

namespace longhand::test {

inline std::uint64_t testSeed(const char* what) {
    std::uint64_t seed;
    if (const char* s = std::getenv("LONGHAND_TEST_SEED"))
        seed = std::strtoull(s, nullptr, 10);
    else
        seed = (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}();
    std::cout << "[ seed     ] " << what << " LONGHAND_TEST_SEED=" << seed << std::endl;
    return seed;
}

// A generator from the printed, replayable seed.
inline std::mt19937_64 seededRng(const char* what) {
    return std::mt19937_64(testSeed(what));
}

} // namespace longhand::test
