// Factorials through the factorial store: the work only reads it, and the
// keeper's finish() then does what the store needs (start it, insert below
// its largest n, report what went wrong) and says what the window does
// (the offer, the largest n to write to the settings).
#include "engine/factorial.h"
#include "engine/rangeproduct.h"
#include "store/storekeeper.h"
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
// the largest n it last wrote to the settings and its answer to the offer.
struct FactorialWindow {
    explicit FactorialWindow(std::string path, std::string upper = "0")
        : store(std::move(path)), upper(std::move(upper)) {}

    struct Asked {
        Outcome outcome;
        StoreKeeper::Kept kept;
    };

    // The work, then what the window does after it. Appended on Yes.
    Asked ask(const std::string& n, bool yes = false) {
        Progress progress;
        StoreKeeper keeper(store);
        Asked asked{factorial(n, &keeper, progress), {}};
        if (asked.outcome.isResult()) asked.kept = keeper.finish();
        if (!asked.kept.largest.empty()) upper = asked.kept.largest;
        offered += asked.kept.offer ? 1 : 0;
        if (asked.kept.offer && yes) {
            const FactorialStore::Change change =
                store.append(asked.kept.offer->key, asked.kept.offer->value);
            for (const StoreNotice& notice : store.notices(change))
                asked.kept.notices.push_back(notice);
            if (!change.largest.empty()) upper = change.largest;
        }
        notices.insert(notices.end(), asked.kept.notices.begin(), asked.kept.notices.end());
        return asked;
    }

    FactorialStore store;
    std::string upper;
    int offered = 0;
    std::vector<StoreNotice> notices;
};

// The worked run: a fresh start, a saved extension, an insertion, a hit, an
// extension that is not kept.
TEST(StoreKeeper, FreshStartSaveInsertHitExtend) {
    test::StoreFolder folder;
    FactorialWindow window(folder.path());

    const auto zero = window.ask("0", true);
    EXPECT_EQ(zero.outcome.text, "1");
    EXPECT_FALSE(zero.outcome.calculated);
    EXPECT_FALSE(folder.read());

    const auto five = window.ask("5", true);
    EXPECT_EQ(five.outcome.text, "120");
    EXPECT_TRUE(five.outcome.calculated);
    ASSERT_TRUE(five.kept.offer);
    EXPECT_EQ(five.kept.offer->key, "5");
    EXPECT_EQ(folder.read(), "1,\"1\"\r\n5,\"120\"");
    EXPECT_EQ(window.upper, "5");

    const auto three = window.ask("3", true);
    EXPECT_EQ(three.outcome.text, "6");
    EXPECT_FALSE(three.kept.offer); // inserted without asking
    EXPECT_TRUE(three.outcome.calculated);
    EXPECT_EQ(folder.read(), "1,\"1\"\r\n3,\"6\"\r\n5,\"120\"");

    const auto again = window.ask("5", true);
    EXPECT_EQ(again.outcome.text, "120");
    EXPECT_FALSE(again.outcome.calculated); // read, not computed: no signal
    EXPECT_FALSE(again.kept.offer);

    const auto seven = window.ask("7", false);
    EXPECT_EQ(seven.outcome.text, "5040");
    EXPECT_EQ(folder.read(), "1,\"1\"\r\n3,\"6\"\r\n5,\"120\"");
    EXPECT_EQ(window.offered, 2);
    EXPECT_EQ(window.upper, "5");
    EXPECT_TRUE(window.notices.empty());
}

// The work leaves the store alone on every path; only finish() writes.
TEST(StoreKeeper, TheWorkOnlyReads) {
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
        StoreKeeper keeper(store);
        Progress progress;
        Outcome outcome = factorial(c.n, &keeper, progress);
        EXPECT_EQ(outcome.text, gmpFactorial(std::stoul(c.n)));
        EXPECT_TRUE(outcome.calculated);
        EXPECT_EQ(folder.read(), c.file ? std::optional<std::string>(*c.file) : std::nullopt);
        keeper.finish();
        EXPECT_TRUE(folder.read());
    }
}

// A record with a changed digit is damage: never shown, never built on. n!
// is computed afresh (from the nearest proven record), and the write that
// follows puts the true one in its place and the damaged line in the backup.
TEST(StoreKeeper, ARecordWithAChangedDigitIsNeitherShownNorBuiltOn) {
    std::string oneToTen = storeOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    oneToTen.replace(oneToTen.find("5,\"120\""), 7, "5,\"130\"");
    const struct {
        std::string bytes;
        const char* n;
        bool calculated;
        std::set<unsigned long> after; // with the answer Yes to an offer
        const char* backup;
    } cases[] = {
        {"1,\"1\"\r\n3,\"7\"", "5", true, {1, 5}, "3,\"7\""},
        {"1,\"1\"\r\n3,\"7\"", "3", true, {1, 3}, "3,\"7\""},
        {oneToTen, "5", true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "5,\"130\"\r\n"},
        {oneToTen, "7", false, {}, nullptr}, // 7! is proven: read, nothing written
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 20) + " " + c.n);
        test::StoreFolder folder;
        folder.write(c.bytes);
        FactorialWindow window(folder.path(), "10");
        const auto asked = window.ask(c.n, true);
        EXPECT_EQ(asked.outcome.text, gmpFactorial(std::stoul(c.n)));
        EXPECT_EQ(asked.outcome.calculated, c.calculated);
        EXPECT_EQ(folder.read(), c.after.empty() ? c.bytes : storeOf(c.after));
        EXPECT_EQ(folder.read("facDat.vok.bak"),
                  c.backup ? std::optional<std::string>(c.backup) : std::nullopt);
    }
}

// Each stored table, each missing key: the key lands in order, every other
// byte stays, and the result is GMP's.
TEST(StoreKeeper, InsertsAtFrontMiddleAndEnd) {
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
        EXPECT_EQ(window.ask(std::to_string(c.n), true).outcome.text, gmpFactorial(c.n)) << c.n;
        std::set<unsigned long> after = c.stored;
        after.insert(c.n);
        EXPECT_EQ(folder.read(), storeOf(after)) << c.n;
        EXPECT_EQ(window.offered, 0);
        EXPECT_EQ(window.upper, std::to_string(*c.stored.rbegin()));
    }
}

// The largest stored n comes from the store alone: a request beyond it
// reads it, a hit early in the file says nothing, a write says the new one,
// and a store that went missing starts again with 1! alone.
TEST(StoreKeeper, TheLargestStoredNComesFromTheStore) {
    const std::string stored = storeOf({1, 3, 9, 12});
    for (const auto& [n, largest] :
         {std::pair{"3", ""}, std::pair{"13", "12"}, std::pair{"10", "12"}}) {
        SCOPED_TRACE(n);
        test::StoreFolder folder;
        folder.write(stored);
        FactorialWindow window(folder.path(), "0");
        const auto asked = window.ask(n, false);
        EXPECT_EQ(asked.outcome.text, gmpFactorial(std::stoul(n)));
        EXPECT_EQ(asked.kept.largest, largest);
    }
    test::StoreFolder folder;
    FactorialWindow window(folder.path(), "5");
    EXPECT_EQ(window.ask("6").kept.largest, "1");
    EXPECT_EQ(folder.read(), "1,\"1\"");
}

// A store that cannot be read (a folder where the file should be), cannot
// be started (its folder is a regular file, which stops root too) or must
// not be written (read-only): n! comes all the same, computed from 1 where
// the store cannot be read, the notice names the store, nothing is offered
// where nothing could be stored, and the store stays as it was.
TEST(StoreKeeper, StoreFailuresBecomeNotices) {
    using Kind = StoreNotice::Kind;
    const std::string stored = "1,\"1\"\r\n5,\"120\"";
    const struct {
        const char *why, *n;
        std::optional<Kind> notice;
        bool offered;
    } cases[] = {
        {"unreadable", "20", Kind::Unreadable, false},
        {"no folder", "20", Kind::Unwritable, false},
        {"read-only", "3", Kind::Unwritable, false},
        {"read-only", "30", std::nullopt,
         true}, // offered: the append on Yes is refused in its turn
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
        const auto asked = window.ask(c.n);
        EXPECT_EQ(asked.outcome.text, gmpFactorial(std::stoul(c.n)));
        EXPECT_TRUE(asked.outcome.calculated);
        EXPECT_EQ(window.offered, c.offered ? 1 : 0);
        EXPECT_EQ(window.upper, "5");
        const std::vector<StoreNotice> notices =
            c.notice ? std::vector<StoreNotice>{{*c.notice, path, {}}} : std::vector<StoreNotice>{};
        EXPECT_EQ(asked.kept.notices, notices);
        if (std::string(c.why) == "read-only") {
            EXPECT_EQ(folder.read(), stored);
        }
        if (std::string(c.why) == "unreadable") {
            EXPECT_TRUE(fs::is_directory(path));
        }
    }
}

// Many requests through one store against GMP; the file then holds only
// true factorials, in order, and the largest stored n follows it.
TEST(StoreKeeper, RandomRequestsMatchGmpAndKeepTheFileSound) {
    auto rng = test::seededRng("StoreKeeper.RandomRequestsMatchGmpAndKeepTheFileSound");
    test::StoreFolder folder;
    FactorialWindow window(folder.path());
    std::set<unsigned long> expected{1};
    for (int round = 0; round < 150; ++round) {
        const unsigned long n = rng() % 400;
        const bool yes = rng() % 2 == 0;
        std::string arg = std::to_string(n);
        if (rng() % 4 == 0) arg = "00" + arg;
        ASSERT_EQ(window.ask(arg, yes).outcome.text, gmpFactorial(n)) << arg;
        if (n == 0) continue;
        if (n < *expected.rbegin() || yes) expected.insert(n);
        ASSERT_EQ(folder.read(), storeOf(expected)) << "after " << arg;
        ASSERT_EQ(window.upper, std::to_string(*expected.rbegin()));
    }
    EXPECT_TRUE(window.notices.empty());
}

} // namespace
} // namespace longhand
