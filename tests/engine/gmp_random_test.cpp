// Randomized comparisons with GMP as the oracle: sums, differences and
// products by value; quotients against the exact quotient cut toward zero
// at the places the division's rules give; powers by value.
//
// The seed is printed; set LONGHAND_TEST_SEED to replay a run.
#include "engine/addsub.h"
#include "engine/division.h"
#include "engine/multiply.h"
#include "engine/power.h"
#include "engine/recording_host.h"
#include "test_seed.h"

#include <algorithm>
#include <cstdlib>
#include <gmp.h>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <string>
#include <string_view>

namespace longhand {
namespace {

constexpr int kPairs = 10000;
constexpr int kMaxDigits = 500;
constexpr int kMaxExponent = 6;

// ---- GMP values --------------------------------------------------------------

struct Rational {
    mpq_t v;
    Rational() { mpq_init(v); }
    ~Rational() { mpq_clear(v); }
    Rational(const Rational&) = delete;
    Rational& operator=(const Rational&) = delete;
};

struct Integer {
    mpz_t v;
    Integer() { mpz_init(v); }
    ~Integer() { mpz_clear(v); }
    Integer(const Integer&) = delete;
    Integer& operator=(const Integer&) = delete;
};

// A number text: one optional "-", digits, at most one "."; "" and "-" are
// zero. False for anything else.
bool wellFormed(std::string_view t) {
    if (!t.empty() && t.front() == '-') t.remove_prefix(1);
    return t.find_first_not_of("0123456789.") == std::string_view::npos &&
           std::count(t.begin(), t.end(), '.') <= 1;
}

// Digits of a number text without sign and point, and its count of places.
std::string digitsOf(std::string_view t, long& places) {
    if (!t.empty() && t.front() == '-') t.remove_prefix(1);
    std::string digits;
    places = 0;
    bool afterPoint = false;
    for (char c : t) {
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        digits += c;
        if (afterPoint) ++places;
    }
    return digits;
}

void valueOf(std::string_view t, mpq_t out) {
    long places = 0;
    const std::string digits = digitsOf(t, places);
    Integer num, den;
    if (digits.empty())
        mpz_set_ui(num.v, 0);
    else
        mpz_set_str(num.v, digits.c_str(), 10);
    if (!t.empty() && t.front() == '-') mpz_neg(num.v, num.v);
    mpz_ui_pow_ui(den.v, 10, static_cast<unsigned long>(places));
    mpq_set_num(out, num.v);
    mpq_set_den(out, den.v);
    mpq_canonicalize(out);
}

std::string text(const mpq_t q) {
    char* s = mpq_get_str(nullptr, 10, q);
    std::string out(s);
    void (*freeFn)(void*, size_t) = nullptr;
    mp_get_memory_functions(nullptr, nullptr, &freeFn);
    freeFn(s, std::char_traits<char>::length(s) + 1);
    return out;
}

// ---- Operands ----------------------------------------------------------------

class OperandMaker {
  public:
    explicit OperandMaker(std::uint64_t seed) : rng_(seed) {}

    int below(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

    // 1 to kMaxDigits digits, with signs, points, leading zeros, runs of
    // nines and zeros, and zero values; lengths near the thresholds often.
    std::string operand() {
        if (chance(3)) return chance(50) ? "0" : "-0";
        int length = 0;
        switch (below(4)) {
        case 0:
            length = 1 + below(20);
            break;
        case 1:
            length = 12 + below(8);
            break; // around 14, 15 and 16 digits
        case 2:
            length = 1 + below(60);
            break;
        default:
            length = 1 + below(kMaxDigits);
            break;
        }
        std::string digits;
        const int style = below(10);
        for (int i = 0; i < length; ++i) {
            if (style == 0)
                digits += '0'; // a zero value
            else if (style == 1)
                digits += chance(90) ? '9' : '0'; // carries and borrows
            else if (style == 2)
                digits += chance(80) ? '0' : static_cast<char>('1' + below(9));
            else
                digits += static_cast<char>('0' + below(10));
        }
        if (chance(15)) digits.insert(0, static_cast<std::size_t>(1 + below(3)), '0');
        if (chance(45)) digits.insert(static_cast<std::size_t>(below(length + 1)), 1, '.');
        if (digits == ".") digits = "0.";
        if (chance(40)) digits.insert(0, 1, '-');
        return digits;
    }

  private:
    std::mt19937_64 rng_;
};

bool isZero(const mpq_t q) {
    return mpq_sgn(q) == 0;
}

// Tidy result of the digit work: no leading zeros (one "0" before the
// point of a value below 1), no trailing fraction zeros, no trailing point.
bool tidy(std::string_view t) {
    if (!t.empty() && t.front() == '-') t.remove_prefix(1);
    if (t.empty()) return false;
    const std::size_t point = t.find('.');
    const std::string_view whole = t.substr(0, point);
    if (whole.empty() || (whole.size() > 1 && whole.front() == '0')) return false;
    if (point == std::string_view::npos) return true;
    return point + 1 < t.size() && t.back() != '0';
}

bool exactlyZeroOperand(const std::string& s) {
    return s == "0" || s == "-0";
}

// ---- Division's rules, computed from the operands' values --------------------

// The normalized digit string's length and scale: trailing zeros of the
// fraction dropped, those of an integer kept; zero is "" with scale 0.
void lengthAndScale(const std::string& operand, long& length, long& scale) {
    long places = 0;
    std::string digits = digitsOf(operand, places);
    while (places > 0 && !digits.empty() && digits.back() == '0') {
        digits.pop_back();
        --places;
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        length = 0;
        scale = 0;
        return;
    }
    length = static_cast<long>(digits.size() - first);
    scale = places;
}

long placesOf(std::string_view t) {
    const std::size_t point = t.find('.');
    return point == std::string_view::npos ? 0 : static_cast<long>(t.size() - point - 1);
}

void checkQuotient(const std::string& a, const std::string& b, const mpq_t va, const mpq_t vb,
                   const std::string& q) {
    SCOPED_TRACE("a=" + a + " b=" + b + " q=" + q);
    ASSERT_TRUE(wellFormed(q));
    long lm = 0, fm = 0, ln = 0, fn = 0;
    lengthAndScale(a, lm, fm);
    lengthAndScale(b, ln, fn);
    // Places of the digit quotient: Len(M) + 1 for a longer dividend,
    // otherwise 20, or Len(N) + 10 from 16 divisor digits on; never fewer
    // than the point moves right afterwards.
    long computed = lm > ln ? lm + 1 : (ln < 16 ? 20 : ln + 10);
    computed = std::max(computed, fn - fm);
    const long K = computed - fn + fm; // places of the shown quotient

    Rational exact, expected;
    mpq_div(exact.v, va, vb);
    mpq_abs(exact.v, exact.v);
    Integer scaled, ten, cut;
    mpz_ui_pow_ui(ten.v, 10, static_cast<unsigned long>(K));
    mpz_mul(scaled.v, mpq_numref(exact.v), ten.v);
    mpz_tdiv_q(cut.v, scaled.v, mpq_denref(exact.v));
    mpq_set_num(expected.v, cut.v);
    mpq_set_den(expected.v, ten.v);
    mpq_canonicalize(expected.v);
    if (mpq_sgn(va) * mpq_sgn(vb) < 0) mpq_neg(expected.v, expected.v);

    Rational got;
    valueOf(q, got.v);
    EXPECT_TRUE(mpq_equal(got.v, expected.v) != 0) << "expected " << text(expected.v);
    EXPECT_LE(placesOf(q), K);
    if (!isZero(expected.v)) {
        // The places shown are the K computed ones less trailing zeros.
        if (q.find('.') != std::string::npos) {
            EXPECT_NE(q.back(), '0');
        }
        EXPECT_NE(q.back(), '.');
        // Below 1: "0.5" from the drivers, ".4" when the point moved right
        // through the multiplication.
        Rational one, absGot;
        mpq_set_ui(one.v, 1, 1);
        mpq_abs(absGot.v, got.v);
        if (mpq_cmp(absGot.v, one.v) < 0) {
            const std::string_view unsignedQ = std::string_view(q).substr(q.front() == '-');
            EXPECT_EQ(unsignedQ.substr(0, fm < fn ? 1 : 2), fm < fn ? "." : "0.");
        }
    }
}

TEST(GmpRandom, FourOperationsAndPowersAgreeWithGmp) {
    const std::uint64_t seed = test::testSeed("GmpRandom.FourOperationsAndPowersAgreeWithGmp");
    RecordProperty("seed", std::to_string(seed));
    OperandMaker make(seed);
    int quotients = 0, powers = 0;
    for (int i = 0; i < kPairs; ++i) {
        const std::string a = make.operand();
        const std::string b = make.operand();
        SCOPED_TRACE("pair " + std::to_string(i) + ": a=" + a + " b=" + b);
        Rational va, vb, want, got;
        valueOf(a, va.v);
        valueOf(b, vb.v);
        const bool earlyExit = exactlyZeroOperand(a) || exactlyZeroOperand(b);

        const std::string sum = rcAdd(a, b);
        ASSERT_TRUE(wellFormed(sum)) << sum;
        mpq_add(want.v, va.v, vb.v);
        valueOf(sum, got.v);
        ASSERT_TRUE(mpq_equal(got.v, want.v)) << "sum " << sum;
        if (!earlyExit) {
            ASSERT_TRUE(tidy(sum)) << "sum " << sum;
        }

        const std::string diff = rcSub(a, b);
        ASSERT_TRUE(wellFormed(diff)) << diff;
        mpq_sub(want.v, va.v, vb.v);
        valueOf(diff, got.v);
        ASSERT_TRUE(mpq_equal(got.v, want.v)) << "difference " << diff;
        if (!earlyExit) {
            ASSERT_TRUE(tidy(diff)) << "difference " << diff;
        }

        test::RecordingHost host;
        const std::string product = bigMultifly(a, b, host);
        ASSERT_TRUE(host.messages.empty());
        ASSERT_TRUE(wellFormed(product)) << product;
        mpq_mul(want.v, va.v, vb.v);
        valueOf(product, got.v);
        ASSERT_TRUE(mpq_equal(got.v, want.v)) << "product " << product;
        if (!isZero(want.v)) {
            // ".25" form: no leading zero at all, no trailing fraction zero.
            const std::string_view p = std::string_view(product).substr(product.front() == '-');
            ASSERT_NE(p.front(), '0') << product;
            if (p.find('.') != std::string_view::npos) {
                ASSERT_NE(p.back(), '0') << product;
            }
            ASSERT_NE(p.back(), '.') << product;
        }

        {
            // A zero divisor never reaches the division: draw another one.
            std::string divisor = b;
            Rational vd;
            mpq_set(vd.v, vb.v);
            while (isZero(vd.v)) {
                divisor = make.operand();
                valueOf(divisor, vd.v);
            }
            checkQuotient(a, divisor, va.v, vd.v, bigdivision(a, divisor, host));
            if (HasFatalFailure() || HasNonfatalFailure()) return;
            ++quotients;
        }

        const unsigned long e = static_cast<unsigned long>(make.below(kMaxExponent + 1));
        std::string base = a;
        const std::string power = raisePower(base, std::to_string(e), host);
        ASSERT_TRUE(wellFormed(power)) << power;
        if (isZero(va.v) && e == 0) { // zero to the zero, however written
            ASSERT_EQ(power, "0");
        } else {
            mpz_pow_ui(mpq_numref(want.v), mpq_numref(va.v), e);
            mpz_pow_ui(mpq_denref(want.v), mpq_denref(va.v), e);
            valueOf(power, got.v);
            ASSERT_TRUE(mpq_equal(got.v, want.v)) << "power " << power << " e=" << e;
        }
        ++powers;
        ASSERT_TRUE(host.messages.empty());
    }
    std::cout << "[ counts   ] " << kPairs << " pairs: sums, differences, products; " << quotients
              << " quotients; " << powers << " powers" << std::endl;
}

// The drivers on their own: smallQuotient gives the true digits of m / n
// with at least `places` of them unless the division ends; UpperLower
// exactly min(desired, where the division ends).
TEST(GmpRandom, DriversGiveTrueDigitsAndPlaces) {
    OperandMaker make(test::testSeed("GmpRandom.DriversGiveTrueDigitsAndPlaces") + 1);
    for (int i = 0; i < 2000; ++i) {
        const int ln = 1 + make.below(40);
        std::string n(1, static_cast<char>('1' + make.below(9)));
        for (int k = 1; k < ln; ++k)
            n += static_cast<char>('0' + make.below(10));
        const bool upper = make.chance(50);
        const int lm = upper ? ln + 1 + make.below(20) : 1 + make.below(ln);
        std::string m(1, static_cast<char>('1' + make.below(9)));
        for (int k = 1; k < lm; ++k)
            m += static_cast<char>('0' + make.below(10));
        const Count places = 1 + make.below(40);
        const std::string q = upper ? UpperLower(m, n, places) : smallQuotient(m, n, places);
        SCOPED_TRACE("m=" + m + " n=" + n + " places=" + std::to_string(places) + " q=" + q);

        Rational vm, vn, exact, got;
        valueOf(m, vm.v);
        valueOf(n, vn.v);
        mpq_div(exact.v, vm.v, vn.v);
        valueOf(q, got.v);
        const long shown = placesOf(q);
        Integer ten, scaled, cut, rest;
        mpz_ui_pow_ui(ten.v, 10, static_cast<unsigned long>(shown));
        mpz_mul(scaled.v, mpq_numref(exact.v), ten.v);
        mpz_tdiv_qr(cut.v, rest.v, scaled.v, mpq_denref(exact.v));
        Rational cutValue;
        mpq_set_num(cutValue.v, cut.v);
        mpq_set_den(cutValue.v, ten.v);
        mpq_canonicalize(cutValue.v);
        ASSERT_TRUE(mpq_equal(got.v, cutValue.v));
        const bool ended = mpz_sgn(rest.v) == 0;
        if (upper) {
            ASSERT_TRUE(ended ? shown <= places : shown == places);
        } else if (!ended) {
            ASSERT_GE(shown, places);
        }
    }
}

// Texts that are not numbers: every operation returns, and the product
// either works or says that it failed.
TEST(GmpRandom, MalformedTextsNeverBreakAnOperation) {
    OperandMaker make(test::testSeed("GmpRandom.MalformedTextsNeverBreakAnOperation") + 2);
    const char alphabet[] = "0123456789..--a ";
    for (int i = 0; i < 3000; ++i) {
        std::string a, b;
        for (int k = make.below(25); k > 0; --k)
            a += alphabet[make.below(sizeof alphabet - 1)];
        for (int k = make.below(25); k > 0; --k)
            b += alphabet[make.below(sizeof alphabet - 1)];
        test::RecordingHost host;
        (void)rcAdd(a, b);
        (void)rcSub(a, b);
        const std::string product = bigMultifly(a, b, host);
        if (!host.messages.empty()) {
            EXPECT_EQ(product.find_first_not_of('-'), std::string::npos);
        }
        (void)bigdivision(a, b, host);
        std::string base = a;
        (void)raisePower(base, std::to_string(make.below(4)), host);
    }
}

} // namespace
} // namespace longhand
