// The factorial store on its own: tolerant reading that never writes, cuts
// of a damaged part with the old file kept, writes through links, leftovers
// removed, writers that wait for each other and lose nothing, the 1!-100!
// table merged in, and lookups that stop at their record.
#include "engine/factable.h"
#include "store/factorialstore.h"
#include "store/filestore.h"
#include "support/gmp.h"
#include "support/seed.h"
#include "support/store_folder.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace longhand {
namespace {

using test::gmpFactorial;
using test::storeOf;
using Place = FactorialStore::Lookup::Place;
using Outcome = FactorialStore::Change::Outcome;

// Bytes the process has read so far (Linux), or nothing.
std::optional<unsigned long long> bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    unsigned long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return std::nullopt;
}

// Line ends of every kind the reader accepts, and none: the records read the
// same, lookups change nothing, and the next write puts the exact format back.
TEST(FactorialStore, ReadsEveryAcceptedFormWithoutWriting) {
    const std::string exact = storeOf({1, 3, 5, 8});
    std::string lf = exact;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;)
        lf.erase(at, 1);
    const std::string forms[] = {
        exact,
        lf,
        exact + "\r\n",
        exact + "\n",
        lf + "\n\n",
        exact + "\r\n\r\n\r",
        storeOf({1, 3}) + "\n" + storeOf({5, 8}), // one LF among CR LFs
    };
    for (const std::string& bytes : forms) {
        SCOPED_TRACE(bytes.substr(bytes.size() - 6));
        test::StoreFolder folder;
        folder.write(bytes);
        FactorialStore store(folder.path());

        const auto gap = store.lookup("4");
        EXPECT_EQ(gap.place, Place::Gap);
        EXPECT_EQ(gap.record.key, "3");
        EXPECT_EQ(gap.record.value, gmpFactorial(3));
        EXPECT_EQ(gap.next, "5");
        const auto beyond = store.lookup("9");
        EXPECT_EQ(beyond.place, Place::Beyond);
        EXPECT_EQ(beyond.record.value, gmpFactorial(8));
        EXPECT_FALSE(beyond.damaged);
        EXPECT_EQ(store.largestKey(), "8");
        EXPECT_EQ(folder.read(), bytes);

        const auto change = store.insert("4", gmpFactorial(4));
        EXPECT_EQ(change.outcome, Outcome::Written);
        EXPECT_EQ(change.largest, "8");
        EXPECT_TRUE(store.notices(change).empty());
        EXPECT_EQ(folder.read(), storeOf({1, 3, 4, 5, 8}));
        EXPECT_EQ(folder.names(), (std::set<std::string>{"facDat.vok", "facDat.vok.lock"}));
    }
}

// A damaged line among valid records: lookups pass over it, and the next
// write cuts that line alone, adds it to the end of the backup (whatever the
// backup held stays before it), says so once, and keeps every valid record,
// before and after it, in order.
TEST(FactorialStore, CutsOnlyDamagedLinesAndAddsThemToTheBackup) {
    struct Case {
        const char* damage;
        std::set<unsigned long> after; // valid keys after the damage that stay
    };
    const Case cases[] = {
        {"4,\"24", {6}},                         // no closing quote
        {"05,\"120\"", {6}},                     // key with a leading zero
        {"2,\"2\"", {6}},                        // out of order
        {"3,\"6\"", {6}},                        // repeated key
        {"5,\"12x\"", {6}},                      // value not digits
        {"5,\"12\"", {6}},                       // too short to be 5!
        {"5,\"130\"", {6}},                      // 5!'s length and final zero, not its value
        {"4,\"42\"", {6}},                       // two digits swapped
        {"5,\"0120\"", {6}},                     // 5! with a leading zero
        {"4,\"24\"x", {6}},                      // bytes after the record
        {"5x,\"120\"", {6}},                     // bytes after the key
        {" 5,\"120\"", {6}},                     // blank before the key
        {"5;\"120\"", {6}},                      // no comma
        {"1234567890123456789,\"1\"", {6}},      // key too long to be stored
        {"GARBAGE-ONE\r\n\r\nGARBAGE-TWO", {6}}, // two lines and a blank one
        {"4,\"24\"\r6,\"720\"", {}},             // CR alone: 6! is on the damaged line
    };
    const std::string before = storeOf({1, 3});
    const std::string valid6 = "6,\"720\"";
    for (const std::string oldBackup : {"", "kept from before\r\n", "kept, no line end"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.damage) + " / " + oldBackup);
            test::StoreFolder folder;
            const std::string tail = c.after.empty() ? "" : "\r\n" + valid6;
            const std::string bytes = before + "\r\n" + c.damage + tail;
            folder.write(bytes);
            if (!oldBackup.empty()) folder.write(oldBackup, "facDat.vok.bak");
            FactorialStore store(folder.path());

            EXPECT_EQ(store.lookup("3").record.value, gmpFactorial(3));
            const auto gap = store.lookup("4");
            EXPECT_EQ(gap.place, c.after.empty() ? Place::Beyond : Place::Gap);
            EXPECT_EQ(gap.record.key, "3");
            const auto beyond = store.lookup("9");
            EXPECT_EQ(beyond.place, Place::Beyond);
            EXPECT_EQ(beyond.record.key, c.after.empty() ? "3" : "6");
            EXPECT_TRUE(beyond.damaged);
            EXPECT_EQ(store.largestKey(), c.after.empty() ? "3" : "6");
            EXPECT_EQ(folder.read(), bytes);

            const auto cut = store.append("9", gmpFactorial(9));
            EXPECT_EQ(cut.outcome, Outcome::Written);
            EXPECT_EQ(cut.backup, folder.path("facDat.vok.bak"));
            EXPECT_EQ(cut.largest, "9");
            std::set<unsigned long> kept{1, 3, 9};
            kept.insert(c.after.begin(), c.after.end());
            EXPECT_EQ(folder.read(), storeOf(kept));
            const std::string between = oldBackup.empty() || oldBackup.back() == '\n' ? "" : "\r\n";
            const std::string backup =
                oldBackup + between + c.damage + (tail.empty() ? "" : "\r\n");
            EXPECT_EQ(folder.read("facDat.vok.bak"), backup);
            EXPECT_EQ(store.notices(cut),
                      (std::vector<StoreNotice>{
                          {StoreNotice::Kind::Cut, folder.path(), folder.path("facDat.vok.bak")}}));

            const auto next = store.insert("7", gmpFactorial(7));
            EXPECT_TRUE(next.backup.empty());
            EXPECT_TRUE(store.notices(next).empty());
            kept.insert(7);
            EXPECT_EQ(folder.read(), storeOf(kept));
            EXPECT_EQ(folder.read("facDat.vok.bak"), backup);
        }
    }
}

// Cut after cut, the backup grows and loses nothing; the live store keeps
// every valid record, and deleting the backup loses none of them.
TEST(FactorialStore, SecondCutAddsToTheBackup) {
    test::StoreFolder folder;
    folder.write(storeOf({1, 2, 3, 4}) + "\r\n5,\"12\"\r\n" + storeOf({6, 7, 8}) +
                 "\r\nGARBAGE-ONE\r\n" + storeOf({10}));
    FactorialStore store(folder.path());
    EXPECT_EQ(store.append("11", gmpFactorial(11)).outcome, Outcome::Written);
    std::set<unsigned long> kept{1, 2, 3, 4, 6, 7, 8, 10, 11};
    EXPECT_EQ(folder.read(), storeOf(kept));
    EXPECT_EQ(folder.read("facDat.vok.bak"), "5,\"12\"\r\nGARBAGE-ONE\r\n");

    folder.write(*folder.read() + "\r\nGARBAGE-TWO");
    EXPECT_EQ(store.insert("5", gmpFactorial(5)).backup, folder.path("facDat.vok.bak"));
    kept.insert(5);
    EXPECT_EQ(folder.read(), storeOf(kept));
    EXPECT_EQ(folder.read("facDat.vok.bak"), "5,\"12\"\r\nGARBAGE-ONE\r\nGARBAGE-TWO");

    fs::remove(folder.path("facDat.vok.bak"));
    EXPECT_EQ(store.largestKey(), "11");
    EXPECT_EQ(store.lookup("6").record.value, gmpFactorial(6));
}

// Without a valid record the damaged lines are cut; without any bytes but
// line ends there is nothing to cut.
TEST(FactorialStore, AStoreWithoutAValidRecordCountsAsOneFactorial) {
    struct Case {
        const char* bytes;
        FactorialStore::State state;
    };
    const Case cases[] = {
        {"", FactorialStore::State::Empty},
        {"\r\n\n", FactorialStore::State::Empty},
        {"2,\"3\"\r\n5,\"121\"", FactorialStore::State::Damaged},
        {"1,\"2\"", FactorialStore::State::Damaged},
        {"garbage", FactorialStore::State::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        test::StoreFolder folder;
        folder.write(c.bytes);
        FactorialStore store(folder.path());
        const auto one = store.lookup("1");
        EXPECT_EQ(one.state, c.state);
        EXPECT_EQ(one.place, Place::Stored);
        EXPECT_EQ(one.record.value, "1");
        const auto four = store.lookup("4");
        EXPECT_EQ(four.place, Place::Beyond);
        EXPECT_EQ(four.record.key, "1");
        EXPECT_EQ(store.largestKey(), "");
        EXPECT_EQ(folder.read(), c.bytes);

        const auto change = store.append("4", gmpFactorial(4));
        EXPECT_EQ(change.outcome, Outcome::Written);
        EXPECT_EQ(folder.read(), storeOf({1, 4}));
        const bool cut = c.state == FactorialStore::State::Damaged;
        EXPECT_EQ(change.backup.empty(), !cut);
        EXPECT_EQ(folder.read("facDat.vok.bak"),
                  cut ? std::optional<std::string>(c.bytes) : std::nullopt);
    }
}

// The last record read from the end, and the largest key checked against a
// remembered one through it where it can be.
TEST(FactorialStore, TheLastRecordVouchesForARememberedLargestKey) {
    const std::string sound = storeOf({1, 5, 9});
    const std::string damagedTail = storeOf({1, 5}) + "\r\n9,\"36288";
    struct Case {
        std::optional<std::string> bytes;
        const char* last;
        const char* remembered;
        const char* reached;
        const char* largest;
    };
    const Case cases[] = {
        {sound, "9", "9", "1", "9"},
        {sound + "\n\r\n", "9", "5", "1", "9"},
        {sound, "9", "0", "1", "9"},
        {sound, "9", "100", "1", "9"},
        {sound, "9", "1E+16", "1", "9"},
        {storeOf({1}), "1", "", "1", "1"},
        {damagedTail, "", "9", "5", "9"},   // trusted: not below a stored key
        {damagedTail, "", "3", "5", "5"},   // below a stored key: read through
        {damagedTail, "", "abc", "1", "5"}, // not a key: read through
        {storeOf({1, 5}) + "\r\n9,\"36288\"", "", "9", "1", "9"},    // 9! is 362880
        {storeOf({1, 5}) + "\r\n9,\"362870\"", "", "abc", "1", "5"}, // shaped, not proven
        {storeOf({5}), "5", "5", "1", "5"}, // valid without 1!, which a write puts first
        {std::string(), "", "0", "1", ""},
        {std::nullopt, "", "0", "1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.value_or("(none)") + " / " + c.remembered);
        test::StoreFolder folder;
        if (c.bytes) folder.write(*c.bytes);
        const FactorialStore store(folder.path());
        EXPECT_EQ(store.lastKey(), c.last);
        EXPECT_EQ(store.currentLargestKey(c.remembered, c.reached), c.largest);
    }
}

// Long true factorials are proven; the same with one digit more or less, one
// final zero less, one digit changed or two swapped is not, whether read
// from the start or from the end.
TEST(FactorialStore, LongRecordsAreProvenByValue) {
    for (const unsigned long n : {25ul, 64ul, 1000ul, 4096ul, 100000ul}) {
        SCOPED_TRACE(n);
        const std::string f = gmpFactorial(n), key = std::to_string(n);
        std::string changed = f, swapped = f;
        const std::size_t mid = f.size() / 2;
        changed[mid] = static_cast<char>('0' + (f[mid] - '0' + 1) % 10);
        std::size_t at = 1;
        while (swapped[at] == swapped[at + 1])
            ++at;
        std::swap(swapped[at], swapped[at + 1]);
        const std::string wrong[] = {f + "0", f.substr(1), "1" + f.substr(0, f.size() - 2) + "50",
                                     changed, swapped};
        test::StoreFolder folder;
        folder.write("1,\"1\"\r\n" + key + ",\"" + f + "\"");
        FactorialStore store(folder.path());
        EXPECT_EQ(store.lookup(key).record.value, f);
        EXPECT_EQ(store.lastKey(), key);
        for (const std::string& value : wrong) {
            folder.write("1,\"1\"\r\n" + key + ",\"" + value + "\"");
            EXPECT_EQ(store.lookup(key).place, Place::Beyond);
            EXPECT_EQ(store.lastKey(), "");
        }
    }
}

TEST(FactorialStore, CreateStartsOnlyAMissingOrEmptyStore) {
    test::StoreFolder folder;
    FactorialStore store(folder.path());
    EXPECT_EQ(store.lookup("1").state, FactorialStore::State::Empty);
    EXPECT_EQ(store.create().outcome, Outcome::Written);
    EXPECT_EQ(folder.read(), "1,\"1\"");
    folder.write(storeOf({1, 6}) + "\n");
    const auto again = store.create();
    EXPECT_EQ(again.outcome, Outcome::Unchanged);
    EXPECT_EQ(again.largest, "6");
    EXPECT_EQ(folder.read(), storeOf({1, 6}) + "\n");
    // Storing what is stored changes nothing either.
    EXPECT_EQ(store.insert("6", gmpFactorial(6)).outcome, Outcome::Unchanged);
    EXPECT_EQ(folder.read(), storeOf({1, 6}) + "\n");
}

// A store that is a symbolic link (absolute, relative, a chain, or naming a
// file not there yet) is written through it; the links stay links.
TEST(FactorialStore, WritesThroughSymbolicLinks) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links; // link -> target
        bool targetExists;
    };
    const Case cases[] = {
        {"absolute", {{"facDat.vok", "ABS:data/real.vok"}}, true},
        {"relative", {{"facDat.vok", "data/real.vok"}}, true},
        {"chain", {{"facDat.vok", "middle"}, {"middle", "data/real.vok"}}, true},
        {"dangling", {{"facDat.vok", "data/real.vok"}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::StoreFolder folder;
        fs::create_directories(folder.dir() / "data");
        const std::string real = folder.path("data/real.vok");
        if (c.targetExists) folder.write(storeOf({1, 5}), "data/real.vok");
        for (const auto& [link, target] : c.links) {
            const std::string to =
                target.rfind("ABS:", 0) == 0 ? folder.path(target.substr(4)) : target;
            fs::create_symlink(to, folder.dir() / link);
        }
        FactorialStore store(folder.path());
        EXPECT_EQ(store.lookup("5").place, c.targetExists ? Place::Stored : Place::Beyond);
        EXPECT_EQ(store.insert("3", gmpFactorial(3)).outcome, Outcome::Written);
        EXPECT_EQ(store.append("7", gmpFactorial(7)).outcome, Outcome::Written);
        const std::set<unsigned long> keys =
            c.targetExists ? std::set<unsigned long>{1, 3, 5, 7} : std::set<unsigned long>{1, 3, 7};
        EXPECT_EQ(folder.read("data/real.vok"), storeOf(keys));
        for (const auto& link : c.links)
            EXPECT_TRUE(fs::is_symlink(folder.dir() / link.first)) << link.first;
        EXPECT_EQ(folder.read(), storeOf(keys));
    }
}

// New files left by an interrupted write of the store or of its backup go
// with the next write, under the lock; other files stay.
TEST(FactorialStore, TheNextWriteRemovesLeftoverNewFiles) {
    test::StoreFolder folder;
    folder.write(storeOf({1, 5}));
    for (const char* leftover : {"facDat.vok.new-Ab3xYz", "facDat.vok.bak.new-Q1w2e3"})
        folder.write("1,\"1\"\r\n5,\"1", leftover);
    folder.write("[Text]", "rcnt.vok.new-keep01");
    folder.write("x", "facDat.vok.newer");
    FactorialStore store(folder.path());
    EXPECT_EQ(store.lookup("5").place, Place::Stored);
    EXPECT_EQ(folder.names().size(), 5u); // reading removes nothing
    EXPECT_EQ(store.insert("4", gmpFactorial(4)).outcome, Outcome::Written);
    EXPECT_EQ(folder.names(), (std::set<std::string>{"facDat.vok", "facDat.vok.lock",
                                                     "rcnt.vok.new-keep01", "facDat.vok.newer"}));
    EXPECT_EQ(folder.read(), storeOf({1, 4, 5}));
}

// A file-size limit that binds root as well: a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

// A store that cannot be read is never replaced; one that must not be
// written, or does not fit on a full disk, stays as it is with no new file
// left beside it; each says so with its path.
TEST(FactorialStore, UnreadableAndUnwritableStoresStayAsTheyAre) {
    test::StoreFolder folder;
    FactorialStore store(folder.path());

    fs::create_directory(folder.path()); // a folder where the file should be
    EXPECT_EQ(store.lookup("5").state, FactorialStore::State::Unreadable);
    EXPECT_EQ(store.lookup("5").record.key, "1");
    for (const auto& change : {store.create(), store.insert("5", gmpFactorial(5))}) {
        EXPECT_EQ(change.outcome, Outcome::Unreadable);
        EXPECT_EQ(store.notices(change),
                  (std::vector<StoreNotice>{{StoreNotice::Kind::Unreadable, folder.path(), {}}}));
    }
    EXPECT_TRUE(fs::is_directory(folder.path()));
    fs::remove(folder.path());

    fs::create_symlink("facDat.vok", folder.path()); // a link to itself
    EXPECT_EQ(store.lookup("5").state, FactorialStore::State::Unreadable);
    EXPECT_EQ(store.append("5", gmpFactorial(5)).outcome, Outcome::Unreadable);
    EXPECT_TRUE(fs::is_symlink(folder.path()));
    fs::remove(folder.path());

    folder.write(storeOf({1, 5}));
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(store.lookup("5").record.value, gmpFactorial(5));
    const auto change = store.insert("3", gmpFactorial(3));
    EXPECT_EQ(change.outcome, Outcome::Unwritable);
    EXPECT_EQ(store.notices(change),
              (std::vector<StoreNotice>{{StoreNotice::Kind::Unwritable, folder.path(), {}}}));
    EXPECT_EQ(folder.read(), storeOf({1, 5}));

    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_write);
    {
        const FileSizeLimit full(storeOf({1, 5}).size() + 2);
        EXPECT_EQ(store.append("30", gmpFactorial(30)).outcome, Outcome::Unwritable);
    }
    EXPECT_EQ(folder.read(), storeOf({1, 5}));
    EXPECT_EQ(folder.names(), (std::set<std::string>{"facDat.vok", "facDat.vok.lock"}));
}

// A writer waits while another holds the lock, and gives up with a message
// when that takes too long; either way the file is never half-changed.
TEST(FactorialStore, WritersWaitForTheLock) {
    test::StoreFolder folder;
    folder.write(storeOf({1, 5}));
    auto held =
        std::make_unique<FileLock>(folder.path("facDat.vok.lock"), std::chrono::milliseconds(0));
    ASSERT_EQ(held->status(), FileLock::Status::Held);

    FactorialStore impatient(folder.path(), std::chrono::milliseconds(20));
    const auto busy = impatient.insert("3", gmpFactorial(3));
    EXPECT_EQ(busy.outcome, Outcome::Busy);
    EXPECT_EQ(impatient.notices(busy),
              (std::vector<StoreNotice>{{StoreNotice::Kind::Busy, folder.path(), {}}}));

    // Cancel ends the wait; the notice tells when it began and ended.
    FactorialStore cancelled(folder.path());
    std::vector<bool> told;
    cancelled.setLockWaitNotice([&](bool waiting) { told.push_back(waiting); });
    Progress stop;
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.cancel();
    });
    EXPECT_EQ(cancelled.insert("3", gmpFactorial(3), &stop).outcome, Outcome::Cancelled);
    canceller.join();
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
    EXPECT_EQ(folder.read(), storeOf({1, 5}));

    FactorialStore patient(folder.path());
    std::thread writer(
        [&] { EXPECT_EQ(patient.insert("3", gmpFactorial(3)).outcome, Outcome::Written); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(folder.read(), storeOf({1, 5})); // still waiting
    held.reset();
    writer.join();
    EXPECT_EQ(folder.read(), storeOf({1, 3, 5}));
}

// Two windows' stores on one file, each writing from what it read earlier:
// every write goes into the file as it is by then, so nothing is lost and an
// "append" that another window has overtaken lands in order.
TEST(FactorialStore, TwoStoresOnOneFileLoseNothing) {
    test::StoreFolder folder;
    folder.write(storeOf({1, 5}));
    FactorialStore a(folder.path()), b(folder.path());

    ASSERT_EQ(a.lookup("7").place, Place::Beyond);
    ASSERT_EQ(b.lookup("10").place, Place::Beyond);
    EXPECT_EQ(b.append("10", gmpFactorial(10)).largest, "10");
    EXPECT_EQ(a.append("7", gmpFactorial(7)).largest, "10"); // goes in before 10
    ASSERT_EQ(a.lookup("3").place, Place::Gap);
    EXPECT_EQ(b.insert("3", gmpFactorial(3)).outcome, Outcome::Written);
    EXPECT_EQ(a.insert("3", gmpFactorial(3)).outcome, Outcome::Unchanged); // b stored it meanwhile
    EXPECT_EQ(folder.read(), storeOf({1, 3, 5, 7, 10}));

    // And at the same time, from two threads, in random order.
    const auto seed = test::testSeed("FactorialStore.TwoStoresOnOneFileLoseNothing");
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::vector<unsigned long> first, second;
    for (unsigned long n = 11; n <= 130; ++n)
        (n % 2 ? first : second).push_back(n);
    std::mt19937_64 rng(seed);
    std::shuffle(first.begin(), first.end(), rng);
    std::shuffle(second.begin(), second.end(), rng);
    auto run = [&folder](const std::vector<unsigned long>& keys) {
        FactorialStore store(folder.path());
        for (unsigned long n : keys)
            EXPECT_EQ(store.append(std::to_string(n), gmpFactorial(n)).outcome, Outcome::Written)
                << n;
    };
    std::thread one(run, first), two(run, second);
    one.join();
    two.join();
    std::set<unsigned long> all{1, 3, 5, 7, 10};
    for (unsigned long n = 11; n <= 130; ++n)
        all.insert(n);
    EXPECT_EQ(folder.read(), storeOf(all));
}

// The table takes the place of the records 1 to 100; larger ones stay, and
// a damaged part after them is cut as by any write.
TEST(FactorialStore, TheTableKeepsTheRecordsAboveIt) {
    const std::vector<std::string> table = factorialTable(kFactorialTableTop);
    std::set<unsigned long> oneToHundred;
    for (unsigned long n = 1; n <= 100; ++n)
        oneToHundred.insert(n);
    struct Case {
        std::optional<std::string> before;
        std::set<unsigned long> above;
        bool cut;
    };
    const Case cases[] = {
        {std::nullopt, {}, false},
        {storeOf({1, 50, 150, 200}), {150, 200}, false},
        {storeOf({1, 3}) + "\n" + storeOf({100, 101}), {101}, false},
        {storeOf({1, 150}) + "\r\n160,\"oops\"", {150}, true},
    };
    for (const Case& c : cases) {
        test::StoreFolder folder;
        if (c.before) folder.write(*c.before);
        FactorialStore store(folder.path());
        const auto change = store.storeTable(table);
        EXPECT_EQ(change.outcome, Outcome::Written);
        std::set<unsigned long> after = oneToHundred;
        after.insert(c.above.begin(), c.above.end());
        EXPECT_EQ(folder.read(), storeOf(after));
        EXPECT_EQ(change.largest, std::to_string(*after.rbegin()));
        EXPECT_EQ(change.backup.empty(), !c.cut);
    }
}

// A lookup reads up to its record, not the whole store.
TEST(FactorialStore, ALookupStopsAtItsRecord) {
    test::StoreFolder folder;
    std::set<unsigned long> keys;
    for (unsigned long n = 1; n <= 1200; ++n)
        keys.insert(n);
    const std::string bytes = storeOf(keys); // about 2.3 MB
    folder.write(bytes);
    FactorialStore store(folder.path());
    const auto before = bytesRead();
    if (!before) GTEST_SKIP() << "no /proc/self/io";
    EXPECT_EQ(store.lookup("20").record.value, gmpFactorial(20));
    const auto between = bytesRead();
    EXPECT_LT(*between - *before, bytes.size() / 4);
    EXPECT_EQ(store.lookup("1201").record.value, gmpFactorial(1200));
    EXPECT_GE(*bytesRead() - *between, bytes.size());
}

} // namespace
} // namespace longhand
