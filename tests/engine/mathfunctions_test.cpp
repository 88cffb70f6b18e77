// The engine's roots, gcd and lcm, bases, modular powers and primality on
// number texts: places, signs, the cut mark and the refusals. The digits
// themselves are checked against GMP in fast_math_test.cpp.
#include "engine/mathfunctions.h"
#include "support/gmp.h"
#include "support/refused.h"

#include <gtest/gtest.h>

namespace {

using namespace longhand;

using K = RefusalKind;
std::string R(K kind, int operand = Refusal::kNoOperand) {
    return test::refused(kind, operand);
}

struct Case {
    const char* what;
    Outcome outcome;
    Outcome::Status status;
    std::string text; // the result, or the refusal (support/refused.h)
    bool cut;
};

TEST(MathFunctions, ResultsAndRefusals) {
    Progress p;
    const Case cases[] = {
        {"exact root of a decimal", root("152.2756", "2", std::nullopt, p), Outcome::Status::Result,
         "12.34", false},
        {"20 places for a one-digit x", root("2", "2", std::nullopt, p), Outcome::Status::Result,
         "1.41421356237309504880", true},
        {"Len + 1 places", root("10", "2", std::nullopt, p), Outcome::Status::Result, "3.162",
         true},
        {"and x's own decimals", root("0.5", "2", std::nullopt, p), Outcome::Status::Result,
         "0.707106781186547524400", true},
        {"places given", root("2", "3", "10", p), Outcome::Status::Result, "1.2599210498", true},
        {"no places", root("17", "2", "0", p), Outcome::Status::Result, "4", true},
        {"digits dropped by few places", root("16.0001", "2", "1", p), Outcome::Status::Result,
         "4.0", true},
        {"exact within the places", root("0.0001", "2", "2", p), Outcome::Status::Result, "0.01",
         false},
        {"odd root of a negative", root("-27", "3", std::nullopt, p), Outcome::Status::Result, "-3",
         false},
        {"cut toward zero", root("-2", "3", "3", p), Outcome::Status::Result, "-1.259", true},
        {"zero", root("-0.00", "2", std::nullopt, p), Outcome::Status::Result, "0", false},
        {"even root of a negative", root("-4", "2", std::nullopt, p), Outcome::Status::Refused,
         R(K::EvenRootOfNegative, 0), false},
        {"degree 1", root("4", "1", std::nullopt, p), Outcome::Status::Refused,
         R(K::RootDegreeTooSmall, 1), false},
        {"degree not whole", root("4", "2.5", std::nullopt, p), Outcome::Status::Refused,
         R(K::RootDegreeTooSmall, 1), false},
        {"places not whole", root("4", "2", "-1", p), Outcome::Status::Refused,
         R(K::PlacesNotWhole, 2), false},
        {"too many places", root("2", "2", "999999999999", p), Outcome::Status::Refused,
         R(K::ResultTooLong), false},
        {"not a number", root("1e5", "2", std::nullopt, p), Outcome::Status::Refused,
         R(K::NotANumber, 0), false},
        {"gcd with signs", gcd({"-12", "18", "0030"}, p), Outcome::Status::Result, "6", false},
        {"gcd of zeros", gcd({"0", "-0"}, p), Outcome::Status::Result, "0", false},
        {"gcd of one number", gcd({"5"}, p), Outcome::Status::Refused, R(K::TooFewArguments),
         false},
        {"gcd of a decimal", gcd({"5", "2.5"}, p), Outcome::Status::Refused,
         R(K::NotWholeArgument, 1), false},
        {"lcm with signs", lcm({"-4", "6", "10"}, p), Outcome::Status::Result, "60", false},
        {"lcm with a zero", lcm({"4", "0", "10"}, p), Outcome::Status::Result, "0", false},
        {"base 16", toBase("255", "16", p), Outcome::Status::Result, "ff", false},
        {"base of a negative", toBase("-10", "2", p), Outcome::Status::Result, "-1010", false},
        {"base 37", toBase("10", "37", p), Outcome::Status::Refused, R(K::BaseOutOfRange, 1),
         false},
        {"base 1", toBase("10", "1", p), Outcome::Status::Refused, R(K::BaseOutOfRange, 1), false},
        {"from base 36", fromBase("-Zz", "36", p), Outcome::Status::Result, "-1295", false},
        {"a digit of no base", fromBase("1_0", "16", p), Outcome::Status::Refused,
         R(K::NotInBase, 0), false},
        {"a digit too large", fromBase("19", "8", p), Outcome::Status::Refused, R(K::NotInBase, 0),
         false},
        {"nothing to read", fromBase("-", "8", p), Outcome::Status::Refused, R(K::NotInBase, 0),
         false},
        {"powmod", powMod("2", "100", "1000007", p), Outcome::Status::Result, "698635", false},
        {"powmod of a negative, odd exponent", powMod("-2", "3", "5", p), Outcome::Status::Result,
         "2", false},
        {"powmod of a negative, even exponent", powMod("-2", "2", "5", p), Outcome::Status::Result,
         "4", false},
        {"modulus 0", powMod("2", "3", "0", p), Outcome::Status::Refused, R(K::ModulusBelowOne, 2),
         false},
        {"negative exponent", powMod("2", "-3", "7", p), Outcome::Status::Refused,
         R(K::NegativeExponent, 1), false},
        {"isprime", isPrime("1000000007", p), Outcome::Status::Result,
         test::answered(Answer::Prime), false},
        {"isprime above the bound", isPrime("3317044064679887385962123", p),
         Outcome::Status::Result, test::answered(Answer::ProbablePrime), false},
        {"composite", isPrime("3317044064679887385961981", p), Outcome::Status::Result,
         test::answered(Answer::Composite), false},
        {"negative", isPrime("-7", p), Outcome::Status::Result,
         test::answered(Answer::NeitherPrimeNorComposite), false},
        {"one", isPrime("1", p), Outcome::Status::Result,
         test::answered(Answer::NeitherPrimeNorComposite), false},
        {"nextprime", nextPrime("7", p), Outcome::Status::Result, "11", false},
        {"nextprime of a negative", nextPrime("-7", p), Outcome::Status::Result, "2", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.outcome.status, c.status) << c.what;
        EXPECT_EQ(test::said(c.outcome), c.text) << c.what;
        EXPECT_EQ(c.outcome.cut, c.cut) << c.what;
    }
}

TEST(MathFunctions, LastDigitOfCutRootsIsExact) {
    // r^k <= x < (r + 10^-d)^k for the cut root r with d places.
    Progress p;
    for (const char* x : {"2", "3.14159", "0.000123", "98765432109876543210.5"})
        for (int k : {2, 3, 5})
            for (int d : {0, 1, 15, 200}) {
                const Outcome o = root(x, std::to_string(k), std::to_string(d), p);
                ASSERT_TRUE(o.isResult()) << x;
                longhand::test::Q r(o.text), X(x), step("1"), rk, rk1;
                mpz_ui_pow_ui(mpq_denref(step.get()), 10, static_cast<unsigned long>(d));
                longhand::test::Q r1;
                mpq_add(r1.get(), r.get(), step.get());
                mpq_set(rk.get(), r.get());
                mpq_set(rk1.get(), r1.get());
                for (int i = 1; i < k; ++i) {
                    mpq_mul(rk.get(), rk.get(), r.get());
                    mpq_mul(rk1.get(), rk1.get(), r1.get());
                }
                EXPECT_LE(mpq_cmp(rk.get(), X.get()), 0) << x << " " << k << " " << d;
                EXPECT_GT(mpq_cmp(rk1.get(), X.get()), 0) << x << " " << k << " " << d;
            }
}

} // namespace
