// Factorials through the factorial store: the work only reads it, and
// keepFactorials then does what the store needs (start it, insert below
// its largest n, report what went wrong) and says what the window does
// (the finished signal, the offer, the largest n to remember).
#include "engine/factorial.h"
#include "engine/rangeproduct.h"
#include "support/gmp.h"
#include "support/seed.h"
#include "support/store_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace longhand {
namespace {

using test::gmpFactorial;
using test::storeOf;

// A window's factorial dialog over one store, as far as the store goes:
// the largest n it remembers and its answer to the offer.
struct FactorialWindow {
    explicit FactorialWindow(std::string path, std::string upper = "0")
        : store(std::move(path)), upper(std::move(upper)) {}

    // The work, then what the window does after it. Appended on Yes.
    Outcome ask(const std::string& n, bool yes = false) {
        Progress progress;
        Outcome outcome = factorial(n, &store, progress);
        keepFactorials(outcome, store, upper);
        if (!outcome.largestStored.empty()) upper = outcome.largestStored;
        offered += outcome.offer ? 1 : 0;
        if (outcome.offer && yes) {
            const FactorialStore::Change change =
                store.append(outcome.offer->key, outcome.offer->value);
            for (const std::string& message : store.messages(change))
                outcome.notices.push_back(message);
            if (!change.largest.empty()) upper = change.largest;
        }
        notices.insert(notices.end(), outcome.notices.begin(), outcome.notices.end());
        return outcome;
    }

    FactorialStore store;
    std::string upper;
    int offered = 0;
    std::vector<std::string> notices;
};

// The worked run: a fresh start, a saved extension, an insertion, a hit, an
// extension that is not kept.
TEST(FactorialFlow, FreshStartSaveInsertHitExtend) {
    test::StoreFolder folder;
    FactorialWindow window(folder.path());

    Outcome zero = window.ask("0", true);
    EXPECT_EQ(zero.text, "1");
    EXPECT_FALSE(zero.calculated);
    EXPECT_FALSE(folder.read());

    Outcome five = window.ask("5", true);
    EXPECT_EQ(five.text, "120");
    EXPECT_TRUE(five.calculated);
    ASSERT_TRUE(five.offer);
    EXPECT_EQ(five.offer->key, "5");
    EXPECT_EQ(folder.read(), "1,\"1\"\r\n5,\"120\"");
    EXPECT_EQ(window.upper, "5");

    Outcome three = window.ask("3", true);
    EXPECT_EQ(three.text, "6");
    EXPECT_FALSE(three.offer); // inserted without asking
    EXPECT_TRUE(three.calculated);
    EXPECT_EQ(folder.read(), "1,\"1\"\r\n3,\"6\"\r\n5,\"120\"");

    Outcome again = window.ask("5", true);
    EXPECT_EQ(again.text, "120");
    EXPECT_FALSE(again.calculated); // read, not computed: no signal
    EXPECT_FALSE(again.offer);

    Outcome seven = window.ask("7", false);
    EXPECT_EQ(seven.text, "5040");
    EXPECT_EQ(folder.read(), "1,\"1\"\r\n3,\"6\"\r\n5,\"120\"");
    EXPECT_EQ(window.offered, 2);
    EXPECT_EQ(window.upper, "5");
    EXPECT_TRUE(window.notices.empty());
}

// The work leaves the store and the remembered largest n alone on every
// path; only keepFactorials writes.
TEST(FactorialFlow, TheWorkOnlyReads) {
    const struct {
        const char* name;
        std::optional<const char*> file; // nothing: no file
        const char* n;
    } cases[] = {
        {"no file", std::nullopt, "6"},
        {"broken file", "1,\"1\"\r\n5,\"121", "7"},
        {"insert", "1,\"1\"\r\n5,\"120\"", "3"},
        {"append", "1,\"1\"\r\n5,\"120\"", "9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::StoreFolder folder;
        if (c.file) folder.write(*c.file);
        FactorialStore store(folder.path());
        Progress progress;
        Outcome outcome = factorial(c.n, &store, progress);
        EXPECT_EQ(outcome.text, gmpFactorial(std::stoul(c.n)));
        EXPECT_EQ(folder.read(), c.file ? std::optional<std::string>(*c.file) : std::nullopt);
        EXPECT_TRUE(outcome.held);
        EXPECT_FALSE(outcome.calculated);
        keepFactorials(outcome, store, "5");
        EXPECT_FALSE(outcome.held);
        EXPECT_TRUE(outcome.calculated);
    }
}

// Each stored table, each missing key: the key lands in order, every other
// byte stays, and the result is GMP's.
TEST(FactorialFlow, InsertsAtFrontMiddleAndEnd) {
    const struct {
        std::set<unsigned long> stored;
        unsigned long n;
    } cases[] = {
        {{1, 5}, 2},          // right after 1!
        {{1, 3, 9, 30}, 4},   // middle
        {{1, 3, 9, 30}, 29},  // just before the last record
        {{1, 9, 100}, 10},    // key one digit longer than its predecessor
        {{1, 99, 1000}, 100}, // shorter keys first, whatever the characters say
    };
    for (const auto& c : cases) {
        test::StoreFolder folder;
        folder.write(storeOf(c.stored));
        FactorialWindow window(folder.path(), std::to_string(*c.stored.rbegin()));
        EXPECT_EQ(window.ask(std::to_string(c.n), true).text, gmpFactorial(c.n)) << c.n;
        std::set<unsigned long> after = c.stored;
        after.insert(c.n);
        EXPECT_EQ(folder.read(), storeOf(after)) << c.n;
        EXPECT_EQ(window.offered, 0);
        EXPECT_EQ(window.upper, std::to_string(*c.stored.rbegin()));
    }
}

// Whatever the settings say (nothing, "0", too little, too much, not a
// whole number), the store stays byte for byte and the largest stored n
// follows it, after a hit early in the file or a request beyond it. A
// store that went missing starts again with 1! alone.
TEST(FactorialFlow, TheLargestStoredNFollowsTheStore) {
    const std::string stored = storeOf({1, 3, 9, 12});
    for (const char* upper : {"0", "3", "9", "100", "1E+16", "12"}) {
        for (const char* n : {"3", "13"}) {
            SCOPED_TRACE(std::string(upper) + " " + n);
            test::StoreFolder folder;
            folder.write(stored);
            FactorialWindow window(folder.path(), upper);
            const Outcome outcome = window.ask(n, false);
            EXPECT_EQ(outcome.text, gmpFactorial(std::stoul(n)));
            EXPECT_EQ(folder.read(), stored);
            EXPECT_EQ(outcome.largestStored, std::string(upper) == "12" ? "" : "12");
        }
    }
    test::StoreFolder folder;
    FactorialWindow window(folder.path(), "5");
    EXPECT_EQ(window.ask("6").largestStored, "1");
    EXPECT_EQ(folder.read(), "1,\"1\"");
}

// A store that cannot be read (a folder where the file should be), cannot
// be started (its folder is a regular file, which stops root too) or must
// not be written (read-only): n! comes all the same, computed from 1 where
// the store cannot be read, the notice names the store, nothing is offered
// where nothing could be stored, and the store stays as it was.
TEST(FactorialFlow, StoreFailuresBecomeNotices) {
    const std::string stored = "1,\"1\"\r\n5,\"120\"";
    const struct {
        const char *why, *n;
        const char* notice;
        bool offered;
    } cases[] = {
        {"unreadable", "20", kFacStoreUnreadable, false},
        {"no folder", "20", kFacStoreUnwritable, false},
        {"read-only", "3", kFacStoreUnwritable, false},
        {"read-only", "30", "", true}, // offered: the append on Yes is refused in its turn
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.why) + " " + c.n);
        test::StoreFolder folder;
        std::string path = folder.path();
        if (std::string(c.why) == "unreadable") fs::create_directory(path);
        if (std::string(c.why) == "no folder") {
            folder.write("x", "blocker");
            path = folder.path("blocker") + "/" + kFacDataFileName;
        }
        if (std::string(c.why) == "read-only") {
            folder.write(stored);
            fs::permissions(path, fs::perms::owner_read);
        }
        FactorialWindow window(path, "5");
        const Outcome outcome = window.ask(c.n);
        EXPECT_EQ(outcome.text, gmpFactorial(std::stoul(c.n)));
        EXPECT_TRUE(outcome.calculated);
        EXPECT_EQ(window.offered, c.offered ? 1 : 0);
        EXPECT_EQ(window.upper, "5");
        const std::vector<std::string> notices =
            *c.notice ? std::vector<std::string>{c.notice + path} : std::vector<std::string>{};
        EXPECT_EQ(outcome.notices, notices);
        if (std::string(c.why) == "read-only") {
            EXPECT_EQ(folder.read(), stored);
        }
        if (std::string(c.why) == "unreadable") {
            EXPECT_TRUE(fs::is_directory(path));
        }
    }
}

TEST(FactorialFlow, WholeNumbersByValueOnly) {
    test::StoreFolder folder;
    folder.write("1,\"1\"\r\n5,\"120\"");
    FactorialWindow window(folder.path(), "5");
    for (const char* bad : {"", "-5", "5.5", "5.", ".5", "+5", " 5", "5a", "1e2", "-0"})
        EXPECT_EQ(window.ask(bad, true).status, Outcome::Status::Nothing) << bad;
    EXPECT_EQ(folder.read(), "1,\"1\"\r\n5,\"120\"");
    EXPECT_EQ(window.ask("000").text, "1");
    EXPECT_EQ(window.ask("005").text, "120");
    EXPECT_EQ(window.ask("003").text, "6");
    EXPECT_EQ(folder.read(), "1,\"1\"\r\n3,\"6\"\r\n5,\"120\"");
    EXPECT_EQ(window.offered, 0);
}

TEST(FactorialFlow, ACancelledWorkHoldsNothing) {
    test::StoreFolder folder;
    folder.write("1,\"1\"\r\n5,\"120\"");
    FactorialStore store(folder.path());
    Progress progress;
    progress.cancel();
    for (const char* n : {"3", "300"}) {
        const Outcome outcome = factorial(n, &store, progress);
        EXPECT_EQ(outcome.status, Outcome::Status::Cancelled) << n;
        EXPECT_FALSE(outcome.held);
    }
}

TEST(FactorialFlow, WithoutAStoreNothingIsHeldOrOffered) {
    Progress progress;
    const Outcome outcome = factorial("25", nullptr, progress);
    EXPECT_EQ(outcome.text, gmpFactorial(25));
    EXPECT_TRUE(outcome.calculated);
    EXPECT_FALSE(outcome.held);
    EXPECT_FALSE(outcome.offer);
    const Outcome tooLong = factorial("30000000", nullptr, progress);
    EXPECT_EQ(tooLong.status, Outcome::Status::Refused);
    EXPECT_EQ(tooLong.refusal.kind, RefusalKind::ProductTooLong);
    EXPECT_EQ(tooLong.refusal.operand, 0);
}

// Many requests through one store against GMP; the file then holds only
// true factorials, in order, and the largest stored n follows it.
TEST(FactorialFlow, RandomRequestsMatchGmpAndKeepTheFileSound) {
    auto rng = test::seededRng("FactorialFlow.RandomRequestsMatchGmpAndKeepTheFileSound");
    test::StoreFolder folder;
    FactorialWindow window(folder.path());
    std::set<unsigned long> expected{1};
    for (int round = 0; round < 150; ++round) {
        const unsigned long n = rng() % 400;
        const bool yes = rng() % 2 == 0;
        std::string arg = std::to_string(n);
        if (rng() % 4 == 0) arg = "00" + arg;
        ASSERT_EQ(window.ask(arg, yes).text, gmpFactorial(n)) << arg;
        if (n == 0) continue;
        if (n < *expected.rbegin() || yes) expected.insert(n);
        ASSERT_EQ(folder.read(), storeOf(expected)) << "after " << arg;
        ASSERT_EQ(window.upper, std::to_string(*expected.rbegin()));
    }
    EXPECT_TRUE(window.notices.empty());
}

} // namespace
} // namespace longhand
