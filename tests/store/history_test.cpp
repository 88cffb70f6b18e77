// The history on disk: entries read back after a restart, long values in
// files of their own read only on demand, two writers at once, damage that
// costs only the damaged entries, the size limit and Clear.
#include "store/history.h"
#include "support/seed.h"
#include "support/tempdir.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <thread>

namespace fs = std::filesystem;

namespace longhand {
namespace {

using test::TempDir;
using Outcome = HistoryStore::Outcome;

std::string digits(std::size_t n, char first = '7') {
    std::string s(n, '3');
    s.front() = first;
    return s;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Bytes this process has read so far (Linux).
unsigned long long bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    unsigned long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

const std::vector<HistoryRecord> kRecords = {
    {"2^100-1", "1267650600228229401496703205375", "31 digits"},
    {"Multiply", "-0.25", "2 decimals"},
    {"tab\there, line\nend \\ and \xc3\x97", "1", "1 digit"},
    {"Factorial 25", digits(kHistoryInlineDigits + 1), "100,001 digits"},
    {"1/7", "0.(142857)", "period of 6 digits after 0", "1/7"},
};

// The checksum the log keeps is zip's CRC-32, byte for byte (the expected
// values are Python's zlib.crc32), whatever the length: the eight-byte
// steps and the bytes left over.
TEST(History, TheChecksumIsZipsCrc32) {
    const auto pattern = [](std::size_t n) {
        std::string text(n, '0');
        for (std::size_t i = 0; i < n; ++i)
            text[i] = static_cast<char>('0' + (i * 7 + i / 13) % 10);
        return text;
    };
    std::string everyByte;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b)
            everyByte += static_cast<char>(b);
    const std::pair<std::string, std::uint32_t> cases[] = {
        {pattern(0), 0x0u},           {pattern(1), 0xf4dbdf21u},      {pattern(7), 0x70d8eba5u},
        {pattern(8), 0x2bcbe809u},    {pattern(9), 0x644f0958u},      {pattern(15), 0x0f82fe77u},
        {pattern(16), 0xd3d61c75u},   {pattern(17), 0x4d6edd34u},     {pattern(63), 0x84c727aau},
        {pattern(1000), 0x4b0e368fu}, {pattern(100003), 0x45c01b0du}, {"123456789", 0xcbf43926u},
        {everyByte, 0xb0c0df2au},
    };
    for (const auto& [text, crc] : cases)
        EXPECT_EQ(historyChecksum(text), crc) << text.size() << " bytes";
}

TEST(History, ReadsBackWhatWasKeptAfterReopening) {
    TempDir dir;
    {
        HistoryStore store(dir.path());
        EXPECT_EQ(store.append(kRecords, 1234).outcome, Outcome::Written);
    }
    const HistoryStore store(dir.path());
    const HistorySnapshot snapshot = store.read();
    ASSERT_EQ(snapshot.entries.size(), kRecords.size());
    EXPECT_EQ(snapshot.damaged, 0u);
    for (std::size_t i = 0; i < kRecords.size(); ++i) {
        const HistoryEntry& e = snapshot.entries[i];
        EXPECT_EQ(e.number, static_cast<std::int64_t>(i + 1));
        EXPECT_EQ(e.time, 1234);
        EXPECT_EQ(e.source, kRecords[i].source);
        EXPECT_EQ(e.note, kRecords[i].note);
        EXPECT_EQ(e.exact, kRecords[i].exact);
        EXPECT_EQ(e.length, kRecords[i].value.size());
        EXPECT_EQ(store.value(e), kRecords[i].value);
    }
    // Only the long value has a file; the log holds its first characters.
    EXPECT_FALSE(snapshot.entries[3].inLog());
    EXPECT_EQ(snapshot.entries[3].text, kRecords[3].value.substr(0, kHistoryPreviewChars));
    EXPECT_LT(fileText(store.logPath()).size(), kHistoryInlineDigits);
    // Numbering goes on after a restart.
    EXPECT_EQ(HistoryStore(dir.path()).append({"x", "5", ""}, 1).entries.at(0).number, 6);
}

// Entries in the log as long as it keeps them, so that lines run over the
// pieces the log is read in.
TEST(History, ReadsLongLinesWhole) {
    TempDir dir;
    HistoryStore store(dir.path());
    std::vector<HistoryRecord> records;
    for (char first = '1'; first <= '9'; ++first)
        records.push_back({std::string(1, first), digits(kHistoryInlineDigits - first, first), ""});
    store.append(records, 1);
    store.append(records, 2);
    const HistorySnapshot snapshot = store.read();
    ASSERT_EQ(snapshot.entries.size(), 2 * records.size());
    for (std::size_t i = 0; i < snapshot.entries.size(); ++i) {
        EXPECT_TRUE(snapshot.entries[i].inLog());
        EXPECT_EQ(snapshot.entries[i].text, records[i % records.size()].value);
    }
}

TEST(History, LongValuesAreReadOnlyWhenAskedFor) {
    TempDir dir;
    HistoryStore store(dir.path());
    std::vector<HistoryRecord> records(10, {"Power", digits(1'000'000), "1,000,000 digits"});
    records.push_back({"Add", "3", "1 digit"});
    ASSERT_EQ(store.append(records, 1).outcome, Outcome::Written);
    const unsigned long long before = bytesRead();
    const HistorySnapshot snapshot = store.read();
    EXPECT_LT(bytesRead() - before, 100'000u); // the ten million digits stay on disk
    ASSERT_EQ(snapshot.entries.size(), 11u);
    const unsigned long long beforeValue = bytesRead();
    EXPECT_EQ(store.value(snapshot.entries[4]), records[4].value);
    EXPECT_GE(bytesRead() - beforeValue, 1'000'000u);
}

TEST(History, TwoWritersLoseNothing) {
    TempDir dir;
    constexpr int kEach = 150;
    auto writer = [&](const std::string& name) {
        HistoryStore store(dir.path()); // a store of its own, as another window has
        for (int i = 0; i < kEach; ++i)
            ASSERT_EQ(store.append({name, std::to_string(i), ""}, i).outcome, Outcome::Written);
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    const HistorySnapshot snapshot = HistoryStore(dir.path()).read();
    ASSERT_EQ(snapshot.entries.size(), 2u * kEach);
    EXPECT_EQ(snapshot.damaged, 0u);
    std::map<std::string, int> next;
    for (std::size_t i = 0; i < snapshot.entries.size(); ++i) {
        const HistoryEntry& e = snapshot.entries[i];
        EXPECT_EQ(e.number, static_cast<std::int64_t>(i + 1));
        EXPECT_EQ(e.text, std::to_string(next[e.source]++)); // each writer's order kept
    }
}

// Damage of every kind: the entries it touches go, the others stay, the
// next append goes on after the last whole entry.
TEST(History, DamageCostsOnlyTheDamagedEntries) {
    struct Case {
        const char* what;
        std::function<std::string(std::string)> damage;
        std::set<std::int64_t> lost;
    };
    auto lineStart = [](const std::string& log, int k) { // start of entry k's line
        std::size_t at = log.find('\n') + 1;
        for (int i = 1; i < k; ++i)
            at = log.find('\n', at) + 1;
        return at;
    };
    const std::vector<Case> cases = {
        {"last line cut short", [](std::string s) { return s.substr(0, s.size() - 9); }, {5}},
        {"a byte changed",
         [&](std::string s) {
             s[lineStart(s, 2) + 5] ^= 1;
             return s;
         },
         {2}},
        {"line ends lost",
         [&](std::string s) {
             s[lineStart(s, 3) - 1] = 'x';
             return s;
         },
         {2, 3}},
        {"garbage between",
         [&](std::string s) { return s.insert(lineStart(s, 4), "H1\t\t\t\xff\tzz\n"); },
         {}},
        {"header gone", [](std::string s) { return s.erase(0, s.find('\n') + 1); }, {}},
        {"a line longer than any entry",
         [&](std::string s) {
             return s.insert(lineStart(s, 3), std::string(9 * kHistoryInlineDigits, '7') + "\n");
         },
         {}},
        {"nothing but junk", [](std::string) { return std::string(5000, '\t'); }, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        HistoryStore store(dir.path());
        store.append({{"a", "1", ""}, {"b", "2", ""}, {"c", "3", ""}, {"d", "4", ""}}, 1);
        store.append({"e", "5", ""}, 1);
        test::writeBytes(store.logPath(), c.damage(fileText(store.logPath())));
        std::set<std::int64_t> kept;
        for (const HistoryEntry& e : store.read().entries) {
            kept.insert(e.number);
            EXPECT_EQ(e.text, std::to_string(e.number));
        }
        for (std::int64_t k = 1; k <= 5; ++k)
            EXPECT_EQ(kept.count(k), c.lost.count(k) ? 0u : 1u) << k;
        const std::int64_t next = store.append({"f", "6", ""}, 1).entries.at(0).number;
        EXPECT_EQ(store.read().entries.back().number, next);
        EXPECT_EQ(next, kept.empty() ? 1 : *kept.rbegin() + 1);
    }
}

TEST(History, RandomDamageNeverInventsAnEntry) {
    std::mt19937_64 rng = test::seededRng("history damage");
    TempDir dir;
    HistoryStore store(dir.path());
    for (int i = 1; i <= 40; ++i)
        store.append({"s" + std::to_string(i), std::to_string(i * 7), "n"}, i);
    const std::string log = fileText(store.logPath());
    for (int round = 0; round < 200; ++round) {
        std::string damaged = log;
        const int changes = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < changes; ++i)
            damaged[rng() % damaged.size()] = static_cast<char>(rng());
        test::writeBytes(store.logPath(), damaged);
        const HistorySnapshot snapshot = store.read();
        EXPECT_GE(snapshot.entries.size() + changes, 40u - changes);
        for (const HistoryEntry& e : snapshot.entries) {
            EXPECT_EQ(e.source, "s" + std::to_string(e.number));
            EXPECT_EQ(e.text, std::to_string(e.number * 7));
        }
    }
}

TEST(History, ADamagedValueFileLosesThatValueOnly) {
    TempDir dir;
    HistoryStore store(dir.path());
    const std::string big = digits(kHistoryInlineDigits + 10);
    store.append({{"a", big, ""}, {"b", big, ""}, {"c", "3", ""}}, 1);
    const HistorySnapshot snapshot = store.read();
    const std::string first = store.valuesPath() + "/" + snapshot.entries[0].file;
    std::string changed = fileText(first);
    changed[500] = '1';
    test::writeBytes(first, changed);
    fs::remove(store.valuesPath() + "/" + snapshot.entries[1].file);
    EXPECT_EQ(store.value(snapshot.entries[0]), std::nullopt);
    EXPECT_EQ(store.value(snapshot.entries[1]), std::nullopt);
    EXPECT_EQ(store.value(snapshot.entries[2]), "3");
}

TEST(History, TheSizeLimitDropsTheOldestFirst) {
    TempDir dir;
    constexpr std::uint64_t kLimit = 400'000;
    HistoryStore store(dir.path(), kLimit);
    std::size_t dropped = 0;
    for (int i = 1; i <= 12; ++i) {
        // Every third value is long enough for a file of its own.
        const std::size_t size = i % 3 == 0 ? kHistoryInlineDigits + 5 : 20'000;
        dropped += store.append({std::to_string(i), digits(size), ""}, i).dropped;
        EXPECT_LE(store.usedBytes(), kLimit);
    }
    const HistorySnapshot snapshot = store.read();
    ASSERT_FALSE(snapshot.entries.empty());
    EXPECT_EQ(snapshot.entries.size() + dropped, 12u);
    for (std::size_t i = 0; i < snapshot.entries.size(); ++i) // a run of the newest
        EXPECT_EQ(snapshot.entries[i].number,
                  static_cast<std::int64_t>(12 - snapshot.entries.size() + i + 1));
    std::size_t files = 0; // only the kept entries' value files are left
    for (const HistoryEntry& e : snapshot.entries) {
        files += !e.inLog();
        EXPECT_TRUE(store.value(e).has_value());
    }
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(store.valuesPath()),
                                                     fs::directory_iterator())),
              files);
}

TEST(History, ClearEmptiesAndRefreshFollows) {
    TempDir dir;
    HistoryStore store(dir.path());
    store.append({{"a", digits(kHistoryInlineDigits + 1), ""}, {"b", "2", ""}}, 1);
    HistorySnapshot snapshot = store.read();
    HistoryStore(dir.path()).append({"c", "3", ""}, 2); // another window
    store.refresh(snapshot);
    ASSERT_EQ(snapshot.entries.size(), 3u);
    EXPECT_EQ(snapshot.entries[2].source, "c");

    EXPECT_EQ(store.clear(), Outcome::Written);
    EXPECT_TRUE(fs::is_empty(store.valuesPath()));
    store.refresh(snapshot);
    EXPECT_TRUE(snapshot.entries.empty());
    EXPECT_EQ(store.append({"d", "4", ""}, 3).entries.at(0).number, 1);
    store.refresh(snapshot);
    ASSERT_EQ(snapshot.entries.size(), 1u);
}

TEST(History, AFolderThatCannotBeWrittenKeepsNothing) {
    TempDir dir;
    test::writeBytes(dir.file("plain"), "x"); // a file where the folder should be
    HistoryStore store(dir.file("plain"));
    EXPECT_EQ(store.append({"a", "1", ""}, 1).outcome, Outcome::Unwritable);
    EXPECT_TRUE(store.read().entries.empty());
}

} // namespace
} // namespace longhand
