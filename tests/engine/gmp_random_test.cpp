// Randomized comparisons with GMP as the oracle: sums, differences and
// products by value and form; quotients against the exact quotient cut
// toward zero at the places the division's rules give; powers by value.
// They run once more with tiny crossovers, so both the digit-by-digit and
// the fast paths meet the oracle across their thresholds.
//
// The seed is printed; set LONGHAND_TEST_SEED to replay a run.
#include "engine/addition.h"
#include "engine/division.h"
#include "engine/multiply.h"
#include "engine/power.h"
#include "support/gmp.h"
#include "support/operands.h"
#include "support/seed.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace longhand {
namespace {

using test::Q;
using test::Z;

constexpr int kPairs = 4000;
constexpr std::size_t kMaxDigits = 500;

// The tidy form of a result of the digit work: no leading zero (one "0"
// before the point of a quotient below 1 at most), no trailing fraction
// zero, no trailing point.
void expectTidy(std::string_view t, bool zeroBeforePoint) {
    SCOPED_TRACE(std::string(t));
    if (!t.empty() && t.front() == '-') t.remove_prefix(1);
    ASSERT_FALSE(t.empty());
    const std::size_t point = t.find('.');
    const std::string_view whole = t.substr(0, point);
    if (zeroBeforePoint) {
        EXPECT_FALSE(whole.empty());
        EXPECT_TRUE(whole.size() == 1 || whole.front() != '0');
    } else {
        EXPECT_TRUE(whole.empty() || whole.front() != '0');
    }
    if (point == std::string_view::npos) return;
    EXPECT_NE(t.back(), '0');
    EXPECT_NE(t.back(), '.');
}

// The digits and scale of an operand as the division sees it.
void lengthAndScale(const std::string& operand, long& length, long& scale) {
    std::string digits;
    scale = 0;
    bool afterPoint = false;
    for (char c : operand) {
        if (c == '.') afterPoint = true;
        if (c < '0' || c > '9') continue;
        digits += c;
        scale += afterPoint ? 1 : 0;
    }
    while (scale > 0 && digits.back() == '0') {
        digits.pop_back();
        --scale;
    }
    const std::size_t first = digits.find_first_not_of('0');
    length = first == std::string::npos ? 0 : static_cast<long>(digits.size() - first);
    if (length == 0) scale = 0;
}

// a / b cut toward zero after the shown places K: those the drivers compute
// (the dividend's length plus one when it is the longer, else 20, or the
// divisor's length plus 10 from 16 digits; never fewer than the point moves
// right) less the point's move; cut exactly when it differs from a / b.
void expectQuotient(const std::string& a, const std::string& b, Progress& progress) {
    bool wasCut = false;
    const std::string q = divide(a, b, progress, &wasCut);
    SCOPED_TRACE("a=" + a + " b=" + b + " q=" + q);
    long lm = 0, fm = 0, ln = 0, fn = 0;
    lengthAndScale(a, lm, fm);
    lengthAndScale(b, ln, fn);
    long computed =
        lm > ln ? lm + 1
                : (ln < kLongDivisorDigits ? kShortQuotientPlaces : ln + kLongDivisorExtraPlaces);
    computed = std::max(computed, fn - fm);
    const long K = computed - fn + fm;

    Q exact, expected;
    mpq_div(exact.get(), Q(a).get(), Q(b).get());
    Z scaled, ten, cut;
    mpz_ui_pow_ui(ten.get(), 10, static_cast<unsigned long>(K));
    mpz_mul(scaled.get(), mpq_numref(exact.get()), ten.get());
    mpz_tdiv_q(cut.get(), scaled.get(), mpq_denref(exact.get()));
    mpq_set_num(expected.get(), cut.get());
    mpq_set_den(expected.get(), ten.get());
    mpq_canonicalize(expected.get());
    EXPECT_TRUE(Q(q) == expected) << "expected " << expected.str();
    EXPECT_EQ(wasCut, !(expected == exact));
    if (mpq_sgn(expected.get()) == 0) return;
    // "0.5" from the drivers, ".5" when the point moved right through a product.
    expectTidy(q, fm >= fn);
}

TEST(GmpRandom, FourOperationsAndPowersAgreeWithGmp) {
    auto rng = test::seededRng("GmpRandom.FourOperationsAndPowersAgreeWithGmp");
    Progress progress;
    for (int i = 0; i < kPairs; ++i) {
        const std::string a = test::numberText(rng, kMaxDigits);
        const std::string b = test::numberText(rng, kMaxDigits);
        SCOPED_TRACE("pair " + std::to_string(i) + ": a=" + a + " b=" + b);
        const Q va(a), vb(b);
        // An exact "0" gives the other operand back untouched.
        const bool earlyExit = a == "0" || a == "-0" || b == "0" || b == "-0";

        Q want;
        const std::string sum = add(a, b);
        mpq_add(want.get(), va.get(), vb.get());
        ASSERT_TRUE(Q(sum) == want) << "sum " << sum;
        if (!earlyExit) expectTidy(sum, true);

        const std::string difference = subtract(a, b);
        mpq_sub(want.get(), va.get(), vb.get());
        ASSERT_TRUE(Q(difference) == want) << "difference " << difference;
        if (!earlyExit) expectTidy(difference, true);

        const std::string product = multiply(a, b, progress);
        mpq_mul(want.get(), va.get(), vb.get());
        ASSERT_TRUE(Q(product) == want) << "product " << product;
        if (mpq_sgn(want.get()) != 0) expectTidy(product, false);

        if (mpq_sgn(vb.get()) != 0) expectQuotient(a, b, progress);

        const unsigned long e = rng() % 7;
        const Outcome power = longhand::power(a, std::to_string(e), progress);
        ASSERT_TRUE(power.isResult());
        if (mpq_sgn(va.get()) == 0 && e == 0) { // zero to the zero, however written
            ASSERT_EQ(power.text, "0");
        } else {
            mpz_pow_ui(mpq_numref(want.get()), mpq_numref(va.get()), e);
            mpz_pow_ui(mpq_denref(want.get()), mpq_denref(va.get()), e);
            ASSERT_TRUE(Q(power.text) == want) << "power " << power.text << " e=" << e;
        }
        if (HasFailure()) return;
    }
}

// A divisor that divides 10^p - 1, so that quotients by it repeat within p
// places and the remainder comes back to the dividend; sometimes times 2
// or 5, so that the period starts later.
std::string repeatingDivisor(std::mt19937_64& rng, unsigned long p) {
    Z x, c;
    mpz_ui_pow_ui(x.get(), 10, p);
    mpz_sub_ui(x.get(), x.get(), 1);
    for (int attempt = 0; attempt < 40; ++attempt) {
        mpz_set_ui(c.get(), 1 + rng() % 100000);
        if (mpz_divisible_p(x.get(), c.get())) {
            mpz_divexact(x.get(), x.get(), c.get());
            break;
        }
    }
    if (rng() % 4 == 0) mpz_mul_ui(x.get(), x.get(), rng() % 2 ? 2 : 5);
    return x.str();
}

// Dividends that meet the driver's turns: shorter than the divisor, as long
// and smaller or larger, "1" and zeros (the remainder returns only after
// zero-filling passes), the divisor's leading digits and zeros.
std::string dividendFor(std::mt19937_64& rng, const std::string& n) {
    std::string m;
    switch (rng() % 4) {
    case 0:
        m = test::makeDigits(rng, test::uniform(rng, 1, n.size()), test::anyShape(rng));
        break;
    case 1:
        m = test::makeDigits(rng, n.size(), test::anyShape(rng));
        break;
    case 2:
        m = "1" + std::string(test::uniform(rng, 0, n.size() - 1), '0');
        break;
    default:
        m = n.substr(0, test::uniform(rng, 1, n.size()));
        m.back() = static_cast<char>('0' + rng() % 10);
        m.append(n.size() - m.size(), '0');
        if (m.front() == '0') m.front() = '1';
        break;
    }
    return m;
}

TEST(GmpRandom, QuotientsThatRepeatOrEndAgreeWithGmp) {
    auto rng = test::seededRng("GmpRandom.QuotientsThatRepeatOrEndAgreeWithGmp");
    Progress progress;
    for (int i = 0; i < 1500; ++i) {
        std::string n = i % 2
                            ? repeatingDivisor(rng, test::uniform(rng, 1, 70))
                            : test::makeDigits(rng, test::uniform(rng, 1, 90), test::anyShape(rng));
        std::string m = dividendFor(rng, n);
        if (i % 7 == 0) n.append(test::uniform(rng, 1, 60), '0'); // a point moved far
        m = test::dress(rng, m);
        n = test::dress(rng, n);
        if (mpq_sgn(Q(n).get()) == 0) continue;
        expectQuotient(m, n, progress);
        if (HasFailure()) return;
    }
}

} // namespace
} // namespace longhand
