// Powers, range products and factorials on the fast layer against the
// repeated multiplication and the batched products they replace, byte for
// byte, and long ones against GMP.
#include "engine/factorial.h"
#include "engine/power.h"
#include "engine/rangeproduct.h"
#include "engine/recording_host.h"
#include "wiring_support.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace longhand {
namespace {

using namespace wiringtest;

// Records the shares of work the engine reports.
class ProgressHost : public test::RecordingHost {
  public:
    std::vector<double> shares;
    void progress(double fraction) override { shares.push_back(fraction); }
};

// A base as the function dialog may pass it: digits with a point, a sign,
// leading or trailing zeros.
std::string baseText(std::mt19937_64& rng) {
    std::string b = digits(rng, uniform(rng, 1, 25), anyShape(rng));
    switch (rng() % 6) {
    case 0:
        b.insert(uniform(rng, 0, b.size()), 1, '.');
        break;
    case 1:
        b = "0." + std::string(uniform(rng, 0, 3), '0') + b;
        break;
    case 2:
        b.append(uniform(rng, 1, 4), '0');
        break;
    case 3:
        b = "-" + b;
        break;
    case 4:
        b = "-" + b.insert(uniform(rng, 0, b.size()), 1, '.');
        break;
    default:
        break;
    }
    return b;
}

TEST(WiringPower, MatchesRepeatedMultiplication) {
    auto rng = seededRng("WiringPower.MatchesRepeatedMultiplication");
    const char* exponents[] = {"0", "1", "2", "3", "7", "3.", "3.00", "", "00", "12"};
    for (int i = 0; i < 600; ++i) {
        const std::string base = baseText(rng);
        const std::string p = i % 3 == 0 ? exponents[rng() % std::size(exponents)]
                                         : std::to_string(uniform(rng, 0, 60));
        std::string b1 = base, b2 = base;
        ASSERT_EQ(raisePower(b1, p), raisePowerReference(b2, p)) << base << " ^ " << p;
    }
}

TEST(WiringPower, LongPowersMatchGmpAndReportProgress) {
    auto rng = seededRng("WiringPower.LongPowersMatchGmpAndReportProgress");
    for (int i = 0; i < 4; ++i) {
        const std::string base = i == 0 ? "3" : digits(rng, uniform(rng, 2, 60), anyShape(rng));
        const unsigned long e = i == 0 ? 200000 : uniform(rng, 500, 5000);
        Z x(base), r;
        mpz_pow_ui(r.get(), x.get(), e);
        std::string b = base;
        ProgressHost host;
        const std::string power = raisePower(b, std::to_string(e), host);
        ASSERT_EQ(power, r.str()) << brief(base) << " ^ " << e;
        // A power of ten (a random run of zeros after a "1") needs no
        // multiplication at all, so there is no progress to hear of.
        if (base.find_first_not_of('0', 1) == std::string::npos && base[0] == '1') continue;
        ASSERT_FALSE(host.shares.empty());
        for (std::size_t k = 1; k < host.shares.size(); ++k)
            EXPECT_LE(host.shares[k - 1], host.shares[k]);
        EXPECT_DOUBLE_EQ(host.shares.back(), 1.0);
    }
}

TEST(WiringPower, StopsWhenCancelled) {
    test::RecordingHost host;
    host.cancelAfterPolls = 0;
    std::string b = "7";
    EXPECT_EQ(raisePower(b, "3000000", host), "");
    EXPECT_GT(host.polls, 0);
}

TEST(WiringRangeProduct, MatchesTheBatchedProduct) {
    auto rng = seededRng("WiringRangeProduct.MatchesTheBatchedProduct");
    for (int i = 0; i < 500; ++i) {
        const std::size_t lo = rng() % 3 == 0 ? uniform(rng, 0, 3) : uniform(rng, 0, 2000);
        const std::size_t count = uniform(rng, 0, 150);
        std::string n = std::to_string(lo + count);
        if (i % 9 == 0) n += ".7";
        std::string x, m;
        switch (i % 5) {
        case 0:
            break; // 1 * 2 * ... * n
        case 1:
            x = "1";
            m = std::to_string(lo);
            break;
        case 2:
            x = digits(rng, uniform(rng, 1, 90), anyShape(rng));
            m = std::to_string(lo);
            break;
        case 3:
            x = "-" + digits(rng, 5) + ".25";
            m = std::to_string(lo);
            break;
        default:
            x = "24";
            m = std::to_string(lo) + ".0";
            break;
        }
        ASSERT_EQ(rangeProduct(n, x, m), rangeProductReference(n, x, m))
            << "n " << n << " x " << x << " m " << m;
    }
}

TEST(WiringRangeProduct, LongRunsMatchGmp) {
    auto rng = seededRng("WiringRangeProduct.LongRunsMatchGmp");
    for (int i = 0; i < 6; ++i) {
        const unsigned long lo = static_cast<unsigned long>(uniform(rng, 1, 5000000));
        const unsigned long hi = lo + static_cast<unsigned long>(uniform(rng, 100, 20000));
        Z r, f;
        mpz_set_ui(r.get(), 1);
        for (unsigned long k = lo + 1; k <= hi; ++k)
            mpz_mul_ui(r.get(), r.get(), k);
        EXPECT_EQ(rangeProduct(std::to_string(hi), "1", std::to_string(lo)), r.str())
            << lo + 1 << " to " << hi;
    }
    for (unsigned long n : {2000ul, 20000ul, 120000ul}) {
        Z f;
        mpz_fac_ui(f.get(), n);
        EXPECT_EQ(factorial(std::to_string(n)), f.str()) << n << "!";
    }
}

TEST(WiringRangeProduct, StopsWhenCancelled) {
    test::RecordingHost host;
    host.cancelAfterPolls = 0;
    // Without the cancellation the run would come back with all of 2,000,000!.
    EXPECT_EQ(rangeProduct("2000000", "", "", host), "");
    EXPECT_EQ(rangeProduct("3000000", "1", "1000000", host), "");
}

} // namespace
} // namespace longhand
