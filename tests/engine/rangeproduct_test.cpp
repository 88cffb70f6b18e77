#include "engine/rangeproduct.h"
#include "engine/recording_host.h"
#include "test_seed.h"

#include <cstdio>
#include <gmp.h>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace longhand {
namespace {

// An integer of GMP, read from and shown as decimal text.
class Big {
  public:
    Big() { mpz_init(v_); }
    explicit Big(const std::string& text) { mpz_init_set_str(v_, text.c_str(), 10); }
    Big(const Big&) = delete;
    Big& operator=(const Big&) = delete;
    ~Big() { mpz_clear(v_); }
    mpz_ptr get() { return v_; }
    std::string text() const {
        std::string s(mpz_sizeinbase(v_, 10) + 2, '\0');
        mpz_get_str(s.data(), 10, v_);
        s.resize(std::char_traits<char>::length(s.c_str()));
        return s;
    }

  private:
    mpz_t v_;
};

// lo * (lo+1) * ... * hi by GMP (1 for an empty run).
std::string gmpRun(const std::string& lo, const std::string& hi) {
    Big i(lo), end(hi), product("1");
    while (mpz_cmp(i.get(), end.get()) <= 0) {
        mpz_mul(product.get(), product.get(), i.get());
        if (mpz_sgn(product.get()) == 0) break;
        mpz_add_ui(i.get(), i.get(), 1);
    }
    return product.text();
}

std::string plusOne(const std::string& m) {
    Big v(m);
    mpz_add_ui(v.get(), v.get(), 1);
    return v.text();
}

struct RangeCase {
    const char* n;
    const char* x;
    const char* m;
    const char* expected;
};

TEST(RangeProduct, ExamplesAndFolds) {
    const RangeCase cases[] = {
        {"0", "", "", "1"},
        {"", "", "", "1"},
        {"abc", "", "", "1"},
        {"-3", "", "", "1"},
        {"5", "", "", "120"},
        {"5abc", "", "", "120"},
        {"17", "", "", "355687428096000"},  // one batch, no fold
        {"18", "", "", "6402373705728000"}, // one fold, 18 starts the next batch
        {"20", "", "", "2432902008176640000"},
        {"5", "24", "4", "120"}, // 4! continued to 5!
        {"7", "1", "4", "210"},
        {"4", "1", "4", "1"}, // empty run leaves x
        {"3", "6", "5", "6"}, // empty run, run ends below its start
        {"40000001", "1", "39999999", "1600000040000000"},
        {"40000002", "1", "39999999", "64000004800000080000000"},
        {"7", "1", "-2", "0"},    // -1 * 0 * 1 ... passes zero
        {"-2", "1", "-5", "-24"}, // (-4)(-3)(-2)
        {"-2", "1", "-4", "6"},
        {"4", "1", "1.5", "8.75"}, // fractional lower end: 2.5 * 3.5
        // Ends past the batch limit are stepped exactly.
        {"1000000000000001", "1", "999999999999998",
         "999999999999999999999999999999000000000000000"},
        {"100000000000000000000", "1", "99999999999999999997",
         "999999999999999999970000000000000000000200000000000000000000"},
        {"5", "1", "-100000000000000000000", "0"}, // through zero, never walked
        {"-99999999999999999998", "1", "-100000000000000000000",
         "9999999999999999999700000000000000000002"},
        {"99999999999999999999", "1", "100000000000000000000", "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rangeProduct(c.n, c.x, c.m), c.expected)
            << "n=" << c.n << " x=" << c.x << " m=" << c.m;
}

// Runs in every regime against GMP: small factors batched by a dozen,
// factors past 3.2e7 folded one by one, runs across 1e15 and 2^53, and long
// bounds.
TEST(RangeProduct, RandomRunsMatchGmp) {
    const auto seed = static_cast<unsigned>(test::testSeed("RangeProduct.RandomRunsMatchGmp"));
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 rng(seed);
    const std::string starts[] = {"0",
                                  "1",
                                  "1000",
                                  "31622770",
                                  "100000000",
                                  "999999999999990",
                                  "9007199254740985",
                                  "123456789012345678901234567890"};
    for (int round = 0; round < 120; ++round) {
        const std::string& base = starts[rng() % std::size(starts)];
        Big m(base);
        mpz_add_ui(m.get(), m.get(), rng() % 50);
        Big n(m.text());
        mpz_add_ui(n.get(), n.get(), rng() % 40);
        const std::string mt = m.text(), nt = n.text();
        const std::string expected = gmpRun(plusOne(mt), nt);
        EXPECT_EQ(rangeProduct(nt, "1", mt), expected) << "m=" << mt << " n=" << nt;
        // The seed factor multiplies the whole run.
        Big times(expected);
        mpz_mul_ui(times.get(), times.get(), 7777);
        EXPECT_EQ(rangeProduct(nt, "7777", mt), times.text()) << "m=" << mt << " n=" << nt;
    }
    for (int round = 0; round < 20; ++round) {
        const unsigned n = static_cast<unsigned>(rng() % 600);
        Big f;
        mpz_fac_ui(f.get(), n);
        EXPECT_EQ(rangeProduct(std::to_string(n), "", ""), f.text()) << "n=" << n;
    }
}

class CancellingHost final : public EngineHost {
  public:
    void showMessage(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
    bool soundOn() const override { return false; }
    void stopSound() override {}
    void finished() override {}
    std::string readText(const std::string&, int) override { return {}; }
    std::string facUpper() const override { return "0"; }
    void setFacUpper(const std::string&) override {}
    std::string facDataPath() const override { return {}; }
    bool cancelled() const override { return true; }
};

TEST(RangeProduct, GivesUpWhenCancelled) {
    CancellingHost host;
    EXPECT_EQ(rangeProduct("3000", "", "", host), "");
    EXPECT_EQ(rangeProduct("100000000000000000010", "1", "100000000000000000000", host), "");
}

// Products beyond kMaxProductDigits are refused up front, without a walk.
TEST(RangeProduct, TooLongProductsAreRefused) {
    EXPECT_FALSE(productTooLong("20000000", "", ""));        // 1.4e8 digits
    EXPECT_TRUE(productTooLong("30000000", "", ""));         // 2.1e8 digits
    EXPECT_FALSE(productTooLong("5", "1", "-100000000000")); // through zero
    EXPECT_FALSE(productTooLong("3", "1", "100000000000"));  // empty
    EXPECT_FALSE(productTooLong("100000000000000000000", "1", "99999999999999000000"));
    EXPECT_TRUE(productTooLong("100000000000000000000", "1", "99999999999990000000"));
    EXPECT_TRUE(productTooLong("-5", "1", "-100000000000"));
    for (const std::string& n :
         {std::string("100000000"), std::string("1e999"), "1" + std::string(500, '0')}) {
        test::RecordingHost host;
        EXPECT_EQ(rangeProduct(n, "", "", host), "") << n;
        EXPECT_EQ(host.messages, std::vector<std::string>{kProductTooLong}) << n;
    }
}

TEST(WholeNumberText, AcceptsDigitsOnly) {
    for (const char* ok : {"0", "7", "007", "000", "123456789012345678901234567890"})
        EXPECT_TRUE(isWholeNumberText(ok)) << ok;
    for (const char* bad : {"", "-5", "+5", "5.", ".5", "5.5", " 5", "5 ", "1e3", "x"})
        EXPECT_FALSE(isWholeNumberText(bad)) << bad;
    EXPECT_EQ(wholeNumberValue("007"), "7");
    EXPECT_EQ(wholeNumberValue("000"), "0");
    EXPECT_EQ(wholeNumberValue("120"), "120");
}

} // namespace
} // namespace longhand
