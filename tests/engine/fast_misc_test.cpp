// Text conversion, text addition and subtraction, powers and products of
// the fast arithmetic, against GMP; cancellation; the parallel tasks.
#include "engine/fast/fast.h"
#include "engine/fast/natural.h"
#include "engine/fast/parallel.h"
#include "engine/fast/thresholds.h"
#include "support/gmp.h"
#include "support/operands.h"
#include "support/recording.h"
#include "support/seed.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace fasttest = longhand::test;

namespace {

using namespace longhand::fast;
using fasttest::makeDigits;
using fasttest::Shape;
using fasttest::shapeOf;

TEST(FastConvert, RoundTripAndWidth) {
    std::mt19937_64 rng(fasttest::testSeed("FastConvert"));
    EXPECT_TRUE(fromDigits("").empty());
    EXPECT_TRUE(fromDigits("0000000000000").empty());
    EXPECT_EQ(toDigits(Natural{}), "0");
    EXPECT_EQ(toDigits(Natural{}, 3), "000");
    EXPECT_EQ(toDigits(fromDigits("42"), 5), "00042");
    EXPECT_EQ(toDigits(fromDigits("1000000000")), "1000000000");
    EXPECT_EQ(fromDigits("1000000000"), (Natural{0, 1}));
    EXPECT_THROW(fromDigits("12345678901234567890/"), std::invalid_argument);
    EXPECT_THROW(fromDigits(" 1"), std::invalid_argument);
    for (std::size_t len = 1; len < 60; ++len)
        for (std::size_t s = 0; s < static_cast<std::size_t>(Shape::Count); ++s) {
            const std::string d = makeDigits(rng, len, shapeOf(s));
            ASSERT_EQ(toDigits(fromDigits(d)), d);
            ASSERT_EQ(toDigits(fromDigits("000" + d)), d);
            ASSERT_EQ(digitCount(fromDigits(d)), len);
        }
}

TEST(FastAddSub, MatchesGmp) {
    std::mt19937_64 rng(fasttest::testSeed("FastAddSub"));
    EXPECT_EQ(addDigits("", ""), "0");
    EXPECT_EQ(addDigits("0099", "1"), "100");
    EXPECT_EQ(subDigits("100", "100"), "0");
    EXPECT_EQ(subDigits("1000000000000000000000", "1"), "999999999999999999999");
    EXPECT_THROW(subDigits("5", "6"), std::domain_error);
    EXPECT_THROW(addDigits("5", "6x"), std::invalid_argument);
    EXPECT_EQ(compareDigits("007", "7"), 0);
    EXPECT_EQ(compareDigits("70", "8"), 1);
    for (std::size_t la : {1, 7, 8, 9, 15, 16, 17, 33, 100, 1001})
        for (std::size_t lb : {std::size_t{1}, la / 2 + 1, la})
            for (std::size_t s = 0; s < static_cast<std::size_t>(Shape::Count); ++s) {
                const std::string a = makeDigits(rng, la, shapeOf(s));
                const std::string b = makeDigits(rng, lb, shapeOf(s + 2));
                ASSERT_EQ(addDigits(a, b), fasttest::gmpAdd(a, b)) << la << "+" << lb;
                ASSERT_EQ(addDigits(b, a), fasttest::gmpAdd(a, b));
                const bool aBig = compareDigits(a, b) >= 0;
                ASSERT_EQ(subDigits(aBig ? a : b, aBig ? b : a),
                          aBig ? fasttest::gmpSub(a, b) : fasttest::gmpSub(b, a))
                    << la << "-" << lb;
            }
    // Carry and borrow through a long run: 10^k - 1 + 1 and 10^k - 1.
    const std::string nines(100003, '9');
    ASSERT_EQ(addDigits(nines, "1"), "1" + std::string(100003, '0'));
    ASSERT_EQ(subDigits("1" + std::string(100003, '0'), "1"), nines);
}

// Long sums, differences and products by one limb run in pieces whose
// carries are rippled across the edges afterwards: runs of nines carry
// through whole pieces, powers of the base borrow through them.
TEST(FastLinear, PiecesCarryAcrossTheirEdges) {
    std::mt19937_64 rng(fasttest::testSeed("FastLinear"));
    const std::size_t k = kParallelLinearLimbs;
    for (const std::size_t limbs : {3 * k + 7}) {
        const std::size_t len = limbs * kLimbDigits;
        const std::string nines(len, '9');
        const std::string power = "1" + std::string(len, '0');
        const std::string a = makeDigits(rng, len, Shape::Random);
        const std::string b = makeDigits(rng, len - 5, Shape::Random);
        const struct {
            std::string x, y;
        } pairs[] = {{nines, "1"}, {power, "1"}, {a, b}, {power, nines}};
        for (const auto& p : pairs) {
            const Natural x = fromDigits(p.x), y = fromDigits(p.y);
            const std::string sum = fasttest::gmpAdd(p.x, p.y);
            const std::string difference = fasttest::gmpSub(p.x, p.y);
            ASSERT_EQ(toDigits(add(x, y)), sum) << limbs;
            ASSERT_EQ(toDigits(add(y, x)), sum) << limbs;
            ASSERT_EQ(toDigits(sub(x, y)), difference) << limbs;
            Natural inPlace = y;
            addInPlace(inPlace, x);
            ASSERT_EQ(toDigits(inPlace), sum) << limbs;
            inPlace = x;
            subInPlace(inPlace, y);
            ASSERT_EQ(toDigits(inPlace), difference) << limbs;
        }
        for (const std::string& x : {nines, a})
            for (const Limb m : {Limb{999999999}, static_cast<Limb>(rng() % kBase)}) {
                const std::string product = fasttest::gmpMul(x, std::to_string(m));
                ASSERT_EQ(toDigits(mulSmall(fromDigits(x), m)), product) << limbs << " " << m;
            }
        ASSERT_EQ(toDigits(shiftDecimal(fromDigits(a), 9 * k + 5)),
                  a + std::string(9 * k + 5, '0'));
    }
}

TEST(FastPower, MatchesGmp) {
    EXPECT_EQ(powDigits("", 0), "1");
    EXPECT_EQ(powDigits("0", 5), "0");
    EXPECT_EQ(powDigits("7", 1), "7");
    EXPECT_EQ(powDigits("1000", 7), "1" + std::string(21, '0'));
    EXPECT_EQ(powDigits("1", 1000000000000ull), "1");
    EXPECT_THROW(powDigits("2", 1ull << 40), std::length_error);
    const std::pair<const char*, unsigned long> cases[] = {{"3", 100000},
                                                           {"2", 33219},
                                                           {"999999999", 77},
                                                           {"1000000001", 130},
                                                           {"12345678901234567890", 501},
                                                           {"50", 2049},
                                                           {"7", 4096}};
    for (auto [base, e] : cases) {
        fasttest::Z b(base), r;
        mpz_pow_ui(r.get(), b.get(), e);
        ASSERT_EQ(powDigits(base, e), r.str()) << base << "^" << e;
    }
}

TEST(FastProducts, RangeProductsMatchGmp) {
    EXPECT_EQ(rangeProductDigits(5, 4), "1");
    EXPECT_EQ(rangeProductDigits(0, 10), "0");
    EXPECT_EQ(rangeProductDigits(7, 7), "7");
    const std::pair<std::uint64_t, std::uint64_t> runs[] = {
        {1, 1},
        {3, 70},
        {999999990, 1000000010},
        {123456, 150000},
        {18446744073709551000ull, 18446744073709551615ull}};
    for (auto [lo, hi] : runs) {
        fasttest::Z r;
        mpz_set_ui(r.get(), 1);
        for (std::uint64_t x = lo;; ++x) {
            fasttest::Z f(std::to_string(x));
            mpz_mul(r.get(), r.get(), f.get());
            if (x == hi) break;
        }
        ASSERT_EQ(rangeProductDigits(lo, hi), r.str()) << lo << ".." << hi;
    }
}

TEST(FastProducts, FactorialsMatchGmp) {
    for (unsigned long n :
         {0ul, 1ul, 2ul, 5ul, 24ul, 25ul, kFactorialPrimeThreshold - 1, kFactorialPrimeThreshold,
          kFactorialPrimeThreshold + 1, 4321ul, 30000ul}) {
        fasttest::Z r;
        mpz_fac_ui(r.get(), n);
        ASSERT_EQ(factorialDigits(n), r.str()) << n << "!";
    }
}

TEST(FastProducts, BinomialsMatchGmp) {
    EXPECT_EQ(binomialDigits(5, 6), "0");
    EXPECT_EQ(binomialDigits(0, 0), "1");
    EXPECT_EQ(binomialDigits(10, 10), "1");
    const std::pair<unsigned long, unsigned long> cases[] = {
        {10, 3},
        {52, 5},
        {100, 50},
        {kFactorialPrimeThreshold, 7},
        {kFactorialPrimeThreshold + 1, kFactorialPrimeThreshold / 2},
        {20000, 10000},
        {20000, 20000 / 64},
        {20000, 20000 / 64 - 1},
        {1000000000000ul, 3},
        {4000, 1250}};
    for (auto [n, k] : cases) {
        fasttest::Z r;
        mpz_bin_uiui(r.get(), n, k);
        ASSERT_EQ(binomialDigits(n, k), r.str()) << "C(" << n << "," << k << ")";
    }
}

} // namespace

namespace {

using longhand::fast::CancelCheck;
using longhand::fast::Cancelled;

using Operation = std::pair<const char*, std::function<std::string(const CancelCheck*)>>;

// Each long operation of the fast arithmetic on operands long enough for
// transforms and measured product trees.
std::vector<Operation> longOperations(const std::string& a, const std::string& b) {
    return {
        {"mul", [&](const CancelCheck* c) { return mulDigits(a, b, c); }},
        {"sqr", [&](const CancelCheck* c) { return sqrDigits(b, c); }},
        {"div", [&](const CancelCheck* c) { return divDigits(a, b, c).q; }},
        {"divScaled", [&](const CancelCheck* c) { return divScaled(b, a, 40000, c).q; }},
        {"pow", [&](const CancelCheck* c) { return powDigits("3", 200000, c); }},
        {"range", [&](const CancelCheck* c) { return rangeProductDigits(7, 100000, c); }},
        {"factorial", [&](const CancelCheck* c) { return factorialDigits(30000, c); }},
        {"binomial", [&](const CancelCheck* c) { return binomialDigits(40000, 20000, c); }},
        {"binomial by quotient",
         [&](const CancelCheck* c) { return binomialDigits(40000, 300, c); }},
    };
}

// Every long operation polls the check, stops with Cancelled once it says
// so, and computes the same result as without a check while it does not.
TEST(FastCancel, LongOperationsStopWhenAsked) {
    std::mt19937_64 rng(fasttest::testSeed("FastCancel"));
    const std::string a = makeDigits(rng, 60000, Shape::Random);
    const std::string b = makeDigits(rng, 30000, Shape::Random);
    const std::vector<Operation> ops = longOperations(a, b);
    for (const auto& [name, op] : ops) {
        int polls = 0;
        const CancelCheck count = [&polls] {
            ++polls;
            return false;
        };
        EXPECT_EQ(op(&count), op(nullptr)) << name;
        EXPECT_GE(polls, 1) << name;
        int left = polls / 2;
        const CancelCheck later = [&left] { return left-- <= 0; };
        EXPECT_THROW(op(&later), Cancelled) << name << " after " << polls / 2 << " polls";
        const CancelCheck empty;
        EXPECT_EQ(op(&empty), op(nullptr)) << name;
    }
}

// A poll never waits for another calculation's stop function (nor for
// another thread of its own), never runs one stop function on two threads
// at once, and keeps saying stop once it has.
TEST(FastCancel, PollsAreLockFreeAndStickToStop) {
    std::atomic<bool> inside{false}, release{false};
    const CancelCheck slow = [&] {
        inside = true;
        while (!release)
            std::this_thread::yield();
        return false;
    };
    std::thread blocked([&] { EXPECT_FALSE(slow.stopRequested()); });
    while (!inside)
        std::this_thread::yield();
    int asked = 0;
    const CancelCheck other = [&asked] { return ++asked >= 2; };
    auto answer = std::async(std::launch::async, [&] {
        const bool first = other.stopRequested();
        return std::pair(first, other.stopRequested());
    });
    const bool answered = answer.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    EXPECT_FALSE(slow.stopRequested()); // its own stop function is busy
    release = true;
    blocked.join();
    ASSERT_TRUE(answered) << "a poll waited for another calculation";
    EXPECT_EQ(answer.get(), std::pair(false, true));
    EXPECT_TRUE(other.stopRequested());
    EXPECT_EQ(asked, 2);

    std::atomic<int> concurrent{0}, most{0};
    const CancelCheck counting = [&] {
        most = std::max(most.load(), ++concurrent);
        std::this_thread::yield();
        --concurrent;
        return false;
    };
    std::vector<std::thread> pollers;
    for (int t = 0; t < 4; ++t)
        pollers.emplace_back([&] {
            for (int i = 0; i < 20000; ++i)
                counting.stopRequested();
        });
    for (std::thread& t : pollers)
        t.join();
    EXPECT_EQ(most.load(), 1);
}

// Inside a calculation, freed large blocks stay for the next ones, a block
// larger than any kept one is made of them, and all of it goes back when
// the calculation ends. Every word of each block can be written and read.
TEST(FastMemory, ArenaKeepsBlocksForOneCalculation) {
    const std::size_t limbs = kLargeBytes / sizeof(Limb) * 3;
    auto written = [](Natural& a, Limb seed) {
        for (std::size_t i = 0; i < a.size(); ++i)
            a[i] = static_cast<Limb>(i * 2654435761u + seed);
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != static_cast<Limb>(i * 2654435761u + seed)) return false;
        return true;
    };
    EXPECT_EQ(MemoryScope::kept(), 0u);
    {
        const MemoryScope calculation;
        {
            Natural a(limbs), b(limbs), c(limbs);
            EXPECT_TRUE(written(a, 1) && written(b, 2) && written(c, 3));
        }
        EXPECT_GE(MemoryScope::kept(), 3 * limbs * sizeof(Limb));
        {
            Natural small(limbs / 2); // a piece of a kept block
            EXPECT_TRUE(written(small, 4));
        }
        const std::size_t before = MemoryScope::kept();
        {
            Natural big(4 * limbs); // longer than any kept block
            EXPECT_TRUE(written(big, 5));
            EXPECT_LT(MemoryScope::kept(), before);
        }
        { const MemoryScope nested; }
        EXPECT_GT(MemoryScope::kept(), 0u);
    }
    EXPECT_EQ(MemoryScope::kept(), 0u);
    Natural outside(limbs);
    EXPECT_TRUE(written(outside, 6));
}

// Kept blocks laid under a long text take the place of its whole pages:
// what the arena lends leaves it, the text's first and last partial pages
// keep their bytes, and every byte of the text can then be written and read.
TEST(FastMemory, KeptPagesGoUnderALongText) {
    const std::size_t bytes = kLendableBytes + 12345;
    std::string text(bytes, 'x');
    const MemoryScope calculation;
    { Natural kept(2 * bytes / sizeof(Limb)); }
    const std::size_t before = MemoryScope::kept();
    ASSERT_GE(before, 2 * bytes);
    MemoryScope::lendKept(text.data() + 1, bytes - 2);
    EXPECT_LE(MemoryScope::kept(), before - (bytes - 2 * 4096));
    EXPECT_EQ(text[0], 'x');
    EXPECT_EQ(text[bytes - 1], 'x');
    for (std::size_t i = 0; i < bytes; ++i)
        text[i] = static_cast<char>('a' + i % 23);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        wrong += text[i] != static_cast<char>('a' + i % 23);
    EXPECT_EQ(wrong, 0u);
}

// Every long operation tells its check how far it has come, in several
// steps, never going back, and ends with all of its work done.
TEST(FastProgress, LongOperationsReportForwardToTheEnd) {
    std::mt19937_64 rng(fasttest::testSeed("FastProgress"));
    const std::string a = makeDigits(rng, 60000, Shape::Random);
    const std::string b = makeDigits(rng, 30000, Shape::Random);
    for (const auto& [name, op] : longOperations(a, b)) {
        const fasttest::RecordingCheck check;
        op(check.get());
        const std::vector<double> shares = check.shares();
        ASSERT_GE(shares.size(), 3u) << name;
        EXPECT_LT(shares.front(), 0.5) << name;
        EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end())) << name;
        EXPECT_GE(shares.back(), 0.999) << name;
        EXPECT_LE(shares.back(), 1.0) << name;
    }
}

} // namespace

namespace {

namespace par = longhand::fast::par;

// The pieces of a parallel loop cover the range once, aligned; a task's
// exception reaches the caller, whichever thread ran it.
TEST(FastParallel, PiecesCoverTheRangeAndErrorsReachTheCaller) {
    for (std::size_t n : {0, 1, 7, 8, 100, 4095, 100000}) {
        std::vector<std::atomic<int>> seen(n);
        par::forChunks(n, 16, 8, [&](std::size_t from, std::size_t to) {
            EXPECT_TRUE(from % 8 == 0);
            for (std::size_t i = from; i < to; ++i)
                ++seen[i];
        });
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(seen[i].load(), 1) << "n " << n << " item " << i;
    }
    std::atomic<int> ran{0};
    EXPECT_THROW(par::forEach(64,
                              [&](std::size_t i) {
                                  ++ran;
                                  if (i == 37) throw std::range_error("task 37");
                              }),
                 std::range_error);
    EXPECT_GE(ran.load(), 1);
    // A hand-over the pool refuses, at any point of a loop, neither skips
    // nor repeats a piece, nested loops included.
    for (int refusals : {1, 2, 5}) {
        par::testing::refuseHandOvers(refusals);
        std::vector<std::atomic<int>> seen(4096);
        par::forEach(64, [&](std::size_t i) {
            par::forEach(64, [&](std::size_t j) { ++seen[64 * i + j]; });
        });
        for (std::size_t i = 0; i < seen.size(); ++i)
            ASSERT_EQ(seen[i].load(), 1) << refusals << " refusals, item " << i;
    }
    par::testing::refuseHandOvers(0);
    EXPECT_GE(par::threads(), 1);
    // The thread limit of the environment (the suites run once with 1).
    const char* limit = std::getenv("LONGHAND_THREADS");
    if (limit && std::string(limit) == "1") {
        EXPECT_EQ(par::threads(), 1);
    }
}

// A worker never takes a Ctrl+C meant for the line editor or the window,
// but still takes the faults of its own instructions.
TEST(FastParallel, WorkersTakeNoSignalsFromOutside) {
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> onWorkers{0}, open{0};
    par::forEach(64, [&](std::size_t) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (std::this_thread::get_id() == caller) return;
        ++onWorkers;
        sigset_t mask;
        pthread_sigmask(SIG_BLOCK, nullptr, &mask);
        if (!sigismember(&mask, SIGINT) || !sigismember(&mask, SIGWINCH) ||
            sigismember(&mask, SIGSEGV))
            ++open;
    });
    EXPECT_EQ(open.load(), 0) << "of " << onWorkers.load() << " pieces on workers";
}

} // namespace
