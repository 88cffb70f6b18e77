// The progress each long operation of the engine reports: in several steps,
// never going back, up to all of the work. They run once more with tiny
// crossovers, where every operation goes through the fast layer.
#include "engine/combinatorics.h"
#include "engine/division.h"
#include "engine/factorial.h"
#include "engine/multiply.h"
#include "engine/power.h"
#include "engine/rangeproduct.h"
#include "support/operands.h"
#include "support/recording.h"
#include "support/seed.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace longhand {
namespace {

TEST(Progress, LongOperationsReportForwardToTheEnd) {
    std::mt19937_64 rng = test::seededRng("Progress");
    const std::string a = test::makeDigits(rng, 40000, test::Shape::Random);
    const std::string b = test::makeDigits(rng, 20000, test::Shape::Random);
    const std::string x = test::makeDigits(rng, 30000, test::Shape::Random);
    using Operation = std::function<void(Progress&)>;
    const std::pair<const char*, Operation> operations[] = {
        {"multiply", [&](Progress& p) { multiply(a, b, p); }},
        {"divide", [&](Progress& p) { divide(a, b, p); }},
        {"power by squares", [&](Progress& p) { power("7", "300000", p); }},
        {"power by products", [&](Progress& p) { power("12", "7", p); }},
        {"factorial", [&](Progress& p) { factorial("100000", nullptr, p); }},
        {"permutation", [&](Progress& p) { permutations("200000", "100000", 0, nullptr, p); }},
        {"combination", [&](Progress& p) { combinations("200000", "100000", 0, nullptr, p); }},
        {"range product from a value",
         [&](Progress& p) { rangeProduct("200000", x, "100000", p); }},
        {"range product in batches", [&](Progress& p) { rangeProduct("3000.5", "7", "0.5", p); }},
    };
    for (const auto& [name, operation] : operations) {
        test::RecordingProgress progress;
        operation(progress);
        const std::vector<double> shares = progress.shares();
        ASSERT_GE(shares.size(), 3u) << name;
        EXPECT_LT(shares.front(), 0.5) << name;
        EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end())) << name;
        EXPECT_GE(shares.back(), 0.999) << name;
        EXPECT_GE(progress.fraction(), 0.999) << name;
    }
}

} // namespace
} // namespace longhand
