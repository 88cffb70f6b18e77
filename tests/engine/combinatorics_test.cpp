#include "engine/combinatorics.h"
#include "engine/factorial.h"
#include "engine/power.h"
#include "engine/rangeproduct.h"
#include "engine/recording_host.h"
#include "test_seed.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gmp.h>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace longhand {
namespace {

std::string textOf(const mpz_t v) {
    std::string s(mpz_sizeinbase(v, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, v);
    s.resize(std::char_traits<char>::length(s.c_str()));
    return s;
}

// The counts by GMP, for n given as text and small r.
struct Oracle {
    std::string permutations, withRepetition, combinations, multisets;
};

Oracle oracle(const std::string& n, unsigned long r) {
    mpz_t nv, a, b;
    mpz_init_set_str(nv, n.c_str(), 10);
    mpz_inits(a, b, nullptr);
    Oracle o;
    // n (n-1) ... (n-r+1): zero once a factor is zero.
    mpz_set_ui(a, 1);
    for (unsigned long i = 0; i < r; ++i) {
        mpz_sub_ui(b, nv, i);
        if (mpz_sgn(b) <= 0) {
            mpz_set_ui(a, 0);
            break;
        }
        mpz_mul(a, a, b);
    }
    o.permutations = textOf(a);
    mpz_pow_ui(a, nv, r);
    o.withRepetition = textOf(a);
    mpz_bin_ui(a, nv, r);
    o.combinations = textOf(a);
    // C(n + r - 1, r), which is 1 for r = 0 and 0 for n = 0 < r.
    if (r == 0) {
        mpz_set_ui(a, 1);
    } else {
        mpz_add_ui(b, nv, r - 1);
        mpz_bin_ui(a, b, r);
    }
    o.multisets = textOf(a);
    mpz_clears(nv, a, b, nullptr);
    return o;
}

struct CountCase {
    const char* n;
    const char* r;
    int flag;
    const char* permutations;
    const char* combinations;
};

TEST(Combinatorics, ExamplesAndEdges) {
    const CountCase cases[] = {
        {"5", "3", 0, "60", "10"},  {"5", "3", 1, "125", "35"},        {"5", "5", 0, "120", "1"},
        {"5", "0", 0, "1", "1"},    {"5", "0", 1, "1", "1"},           {"5", "1", 0, "5", "5"},
        {"2", "2", 1, "4", "3"},    {"5", "5", 2, "120", "1"}, // flags 2 to 9 mean no repetition
        {"5", "3", 2, "60", "10"},  {"5", "3", 9, "60", "10"},         {"007", "2", 0, "42", "21"},
        {"7", "9", 0, "0", "0"},    {"7", "9", 1, "40353607", "5005"}, {"0", "0", 0, "1", "1"},
        {"0", "3", 0, "0", "0"},    {"0", "3", 1, "0", "0"},           {"0", "1", 1, "0", "0"},
        {"000", "00", 0, "1", "1"}, {"0", "0", 1, "1", "1"}, // one way to choose nothing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(perMutation(c.n, c.r, c.flag), c.permutations)
            << "p(" << c.n << "," << c.r << "," << c.flag << ")";
        EXPECT_EQ(combination(c.n, c.r, c.flag), c.combinations)
            << "c(" << c.n << "," << c.r << "," << c.flag << ")";
    }
}

TEST(Combinatorics, ArgumentsOfAnyLengthAreExact) {
    const std::string big = "100000000000000000000";
    EXPECT_EQ(perMutation(big, "3", 0), oracle(big, 3).permutations);
    EXPECT_EQ(perMutation("000" + big, "3", 0), oracle(big, 3).permutations);
    EXPECT_EQ(combination(big, "3", 0), oracle(big, 3).combinations);
    EXPECT_EQ(combination(big, "4", 1), oracle(big, 4).multisets);
    EXPECT_EQ(perMutation(big, "5", 1), oracle(big, 5).withRepetition);
    // r beyond n by far: zero at once, no walk through the run.
    EXPECT_EQ(perMutation("7", big, 0), "0");
    // Longer than any double: still exact.
    const std::string huge = "1" + std::string(400, '0') + "7";
    EXPECT_EQ(perMutation(huge, "3", 0), oracle(huge, 3).permutations);
    EXPECT_EQ(combination(huge, "3", 0), oracle(huge, 3).combinations);
    EXPECT_EQ(combination("7", big, 0), "0");
}

TEST(Combinatorics, CountsTooLongAreRefused) {
    test::RecordingHost host;
    EXPECT_EQ(perMutation("100000000000000000000", "10000000", 0, host), "");
    EXPECT_EQ(combination("100000000000000000000", "10000000", 0, host), "");
    EXPECT_EQ(perMutation("10", "1000000000", 1, host), "");
    EXPECT_EQ(perMutation("40000000", "40000000", 0, host), "");
    EXPECT_EQ(host.messages, (std::vector<std::string>{kProductTooLong, kProductTooLong,
                                                       kPowerTooLong, kProductTooLong}));
}

TEST(Combinatorics, NonWholeArgumentsGiveNothing) {
    for (const char* bad : {"", "-5", "5.5", "5.", "+5", "x", "1e3", " 5"}) {
        EXPECT_EQ(perMutation(bad, "2", 0), "") << bad;
        EXPECT_EQ(perMutation("5", bad, 1), "") << bad;
        EXPECT_EQ(combination(bad, "2", 0), "") << bad;
        EXPECT_EQ(combination("5", bad, 1), "") << bad;
    }
}

TEST(Combinatorics, RandomCountsMatchGmp) {
    const auto seed = static_cast<unsigned>(test::testSeed("Combinatorics.RandomCountsMatchGmp"));
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 rng(seed);
    for (int round = 0; round < 300; ++round) {
        std::string n;
        if (round % 3 == 0) {
            // a long n, up to 40 digits
            const int digits = 1 + static_cast<int>(rng() % 40);
            n.push_back(static_cast<char>('1' + rng() % 9));
            for (int i = 1; i < digits; ++i)
                n.push_back(static_cast<char>('0' + rng() % 10));
        } else {
            n = std::to_string(rng() % 200);
        }
        const unsigned long r = rng() % (round % 3 == 0 ? 25 : 220);
        const std::string rt = std::to_string(r);
        const Oracle o = oracle(n, r);
        ASSERT_EQ(perMutation(n, rt, 0), o.permutations) << "p(" << n << "," << r << ",0)";
        ASSERT_EQ(perMutation(n, rt, 1), o.withRepetition) << "p(" << n << "," << r << ",1)";
        ASSERT_EQ(combination(n, rt, 0), o.combinations) << "c(" << n << "," << r << ",0)";
        ASSERT_EQ(combination(n, rt, 1), o.multisets) << "c(" << n << "," << r << ",1)";
    }
}

// Through the factorial store the counts stay right, nothing is asked, and
// what the store gains are true factorials.
TEST(Combinatorics, CountsThroughTheFactorialStore) {
    const fs::path dir =
        fs::temp_directory_path() / ("longhand-comb-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / kFacDataFileName).string();
    std::ofstream(path, std::ios::binary)
        << "1,\"1\"\r\n50,\"" << oracle("50", 50).permutations << "\"";
    test::RecordingHost host;
    host.dataPath = path;
    host.upper = "50";
    host.answers.assign(10, true); // a Yes ready for any question; none may come
    EXPECT_EQ(perMutation("30", "30", 0, host), oracle("30", 30).permutations); // inserted
    EXPECT_EQ(perMutation("60", "60", 0, host), oracle("60", 60).permutations); // not stored
    EXPECT_EQ(combination("40", "12", 0, host), oracle("40", 12).combinations); // 12! inserted
    EXPECT_EQ(combination("9", "4", 1, host), oracle("9", 4).multisets);        // 4! inserted
    EXPECT_TRUE(host.questions.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.upper, "50");

    std::ifstream in(path, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    std::string expected = "1,\"1\"";
    for (int k : {4, 12, 30, 50})
        expected += "\r\n" + std::to_string(k) + ",\"" +
                    oracle(std::to_string(k), static_cast<unsigned long>(k)).permutations + "\"";
    EXPECT_EQ(bytes, expected);
    fs::remove_all(dir);
}

} // namespace
} // namespace longhand
