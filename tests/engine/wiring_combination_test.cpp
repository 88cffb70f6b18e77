// Combinations straight from the fast layer against the quotient of the
// two products they replace: the same text, the same work on the factorial
// data file for r!, the same messages and signals, from every state of the
// file; long ones against GMP.
#include "engine/combinatorics.h"
#include "engine/factorial.h"
#include "engine/recording_host.h"
#include "wiring_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace longhand {
namespace {

using namespace wiringtest;

// Everything a run leaves behind: its result, what the host heard, and
// the data file.
struct Trace {
    std::string result;
    std::vector<std::string> messages, questions;
    int finished = 0, stops = 0;
    std::string upper;
    std::optional<std::string> file;
    bool operator==(const Trace&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Trace& t) {
    out << "result " << brief(t.result) << ", " << t.messages.size() << " messages, " << t.finished
        << " finished, " << t.stops << " stops, upper " << t.upper << ", file "
        << (t.file ? brief(*t.file) : "none");
    return out;
}

class WiringCombination : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("longhand-wiring-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / kFacDataFileName).string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    // One run of `choose` from the file state `file` (nothing: no file;
    // usePath false: no data file at all) with facUpper `upper`.
    template <class Choose>
    Trace run(Choose choose, const std::string& n, const std::string& r, int flag,
              const std::optional<std::string>& file, const std::string& upper, bool usePath) {
        fs::remove(path_);
        if (file) std::ofstream(path_, std::ios::binary) << *file;
        test::RecordingHost host;
        host.sound = true;
        host.upper = upper;
        if (usePath) host.dataPath = path_;
        Trace t;
        t.result = choose(n, r, flag, host);
        t.messages = host.messages;
        t.questions = host.questions;
        t.finished = host.finishedCalls;
        t.stops = host.stopSoundCalls;
        t.upper = host.upper;
        if (fs::exists(path_)) {
            std::ifstream in(path_, std::ios::binary);
            t.file = std::string(std::istreambuf_iterator<char>(in), {});
        }
        return t;
    }

    fs::path dir_;
    std::string path_;
};

// A data file holding 1! and the factorials of the given keys.
std::string storeWith(std::initializer_list<unsigned long> keys) {
    std::string file = "1,\"1\"";
    for (unsigned long k : keys) {
        Z f;
        mpz_fac_ui(f.get(), k);
        file += "\r\n" + std::to_string(k) + ",\"" + f.str() + "\"";
    }
    return file;
}

TEST_F(WiringCombination, SameTextFileAndSignalsAsTheQuotient) {
    auto rng = seededRng("WiringCombination.SameTextFileAndSignalsAsTheQuotient");
    auto fast = [](const std::string& n, const std::string& r, int f, EngineHost& h) {
        return combination(n, r, f, h);
    };
    auto reference = [](const std::string& n, const std::string& r, int f, EngineHost& h) {
        return combinationReference(n, r, f, h);
    };
    struct Store {
        std::optional<std::string> file;
        std::string upper;
        bool usePath;
    };
    const Store stores[] = {
        {std::nullopt, "0", false},                    // no data file in use
        {std::nullopt, "0", true},                     // first use: the file is made
        {storeWith({}), "1", true},                    // only 1!: r! beyond it
        {storeWith({10, 40, 400}), "400", true},       // r! inserted, read or beyond
        {storeWith({30, 60}), "7", true},              // an upper out of date
        {std::string("1,\"1\"\r\n9,\"12"), "9", true}, // a broken file: reset
    };
    for (int i = 0; i < 120; ++i) {
        const Store& store = stores[static_cast<std::size_t>(i) % std::size(stores)];
        std::size_t r =
            i % 4 == 0 ? kFastProductFactors + uniform(rng, 0, 4) - 2 : uniform(rng, 2, 300);
        if (r < 2) r = 2;
        if (i % 10 == 0) r = 40; // stored in one of the files
        const std::size_t n = i % 13 == 0 ? uniform(rng, 0, r - 1) : r + uniform(rng, 0, 400);
        const int flag = static_cast<int>(rng() % 3);
        const std::string ns = std::to_string(n), rs = std::to_string(r);
        const Trace want = run(reference, ns, rs, flag, store.file, store.upper, store.usePath);
        const Trace got = run(fast, ns, rs, flag, store.file, store.upper, store.usePath);
        ASSERT_EQ(got, want) << "C(" << ns << ", " << rs << ") flag " << flag << " store " << i % 6;
    }
}

TEST_F(WiringCombination, RefusalsAndLeadingZerosAsTheQuotient) {
    auto fast = [](const std::string& n, const std::string& r, int f, EngineHost& h) {
        return combination(n, r, f, h);
    };
    auto reference = [](const std::string& n, const std::string& r, int f, EngineHost& h) {
        return combinationReference(n, r, f, h);
    };
    const char* pairs[][2] = {
        {"00120", "0030"},          // leading zeros
        {"999999999999999", "30"},  // n just below the doubles' batches
        {"1000000000000000", "30"}, // n at kBatchLimit: the quotient way
        {"900000000", "300000000"}, // n!/(n-r)! too long to hold: refused
        {"60", "61"},               // r > n: "0"
        {"1", "30"},                // with repetition: C(30, 30)
    };
    for (const auto& p : pairs) {
        for (int flag : {0, 1}) {
            const Trace want = run(reference, p[0], p[1], flag, storeWith({}), "1", true);
            const Trace got = run(fast, p[0], p[1], flag, storeWith({}), "1", true);
            EXPECT_EQ(got, want) << "C(" << p[0] << ", " << p[1] << ") flag " << flag;
        }
    }
}

TEST(WiringCombinationLong, MatchesGmp) {
    const unsigned long cases[][2] = {{100000, 50000}, {1000000, 500000}, {300000, 1234}};
    for (const auto& c : cases) {
        Z b;
        mpz_bin_uiui(b.get(), c[0], c[1]);
        EXPECT_EQ(combination(std::to_string(c[0]), std::to_string(c[1])), b.str())
            << "C(" << c[0] << ", " << c[1] << ")";
    }
}

TEST(WiringCombinationLong, StopsWhenCancelled) {
    test::RecordingHost host;
    host.cancelAfterPolls = 0;
    EXPECT_EQ(combination("4000000", "2000000", 0, host), "");
    EXPECT_EQ(host.finishedCalls, 0);
}

} // namespace
} // namespace longhand
