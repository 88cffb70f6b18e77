#include "engine/factorial.h"
#include "engine/recording_host.h"
#include "support/gmp_factorial.h"
#include "test_seed.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace longhand {
namespace {

using test::gmpFactorial;
using test::storeOf;

// The shared recording host, with the settings text of the save question
// and a record of every facUpper write. `answerYes` answers every question.
class RecordingHost final : public test::RecordingHost {
  public:
    explicit RecordingHost(std::string path) { dataPath = std::move(path); }

    bool askYesNo(const std::string& text) override {
        answers.assign(1, answerYes);
        return test::RecordingHost::askYesNo(text);
    }
    std::string readText(const std::string& key, int maxLen) override {
        return key == kFacSaveKey ? saveText.substr(0, static_cast<std::size_t>(maxLen))
                                  : std::string();
    }
    void setFacUpper(const std::string& n) override {
        test::RecordingHost::setFacUpper(n);
        upperWrites.push_back(n);
    }

    std::vector<std::string> upperWrites;
    bool answerYes = false;
    // Longer than the 47 characters the question takes from it.
    std::string saveText = "Do you want to keep this factorial in the store? n = ";
};

class FactorialFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("longhand-fac-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / kFacDataFileName).string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
    fs::path dir_;
    std::string path_;
};

// The worked run: a fresh start, a saved extension, an insertion, a hit, an
// unsaved extension.
TEST_F(FactorialFile, FreshStartSaveInsertHitExtend) {
    RecordingHost host(path_);
    host.answerYes = true;

    EXPECT_EQ(factorN("0", 1, host), "1");
    EXPECT_FALSE(fs::exists(path_));
    EXPECT_EQ(host.finishedCalls, 0);

    EXPECT_EQ(factorN("5", 1, host), "120");
    EXPECT_EQ(host.finishedCalls, 1);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], host.saveText.substr(0, 47) + "5\rYou should save this result.");
    EXPECT_EQ(file(), "1,\"1\"\r\n5,\"120\"");
    EXPECT_EQ(file().size(), 14u);
    EXPECT_EQ(host.upper, "5");
    EXPECT_EQ(host.upperWrites, (std::vector<std::string>{"1", "5"}));

    EXPECT_EQ(factorN("3", 1, host), "6");
    EXPECT_EQ(file(), "1,\"1\"\r\n3,\"6\"\r\n5,\"120\"");
    EXPECT_EQ(file().size(), 21u);
    EXPECT_EQ(host.questions.size(), 1u); // inserted without asking
    EXPECT_EQ(host.finishedCalls, 2);
    EXPECT_EQ(host.upper, "5");

    EXPECT_EQ(factorN("5", 1, host), "120");
    EXPECT_EQ(host.finishedCalls, 2); // read, not computed: no signal
    EXPECT_EQ(host.questions.size(), 1u);

    EXPECT_EQ(factorN("7", 0, host), "5040");
    EXPECT_EQ(file().size(), 21u);
    EXPECT_EQ(host.upper, "5");
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.upperWrites.size(), 2u);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(FactorialFile, NoAnswerLeavesTheFile) {
    write("1,\"1\"\r\n5,\"120\"");
    RecordingHost host(path_);
    host.upper = "5";
    EXPECT_EQ(factorN("9", 1, host), "362880");
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(file(), "1,\"1\"\r\n5,\"120\"");
    EXPECT_EQ(host.upper, "5");
}

// Each stored table, each missing key: the key lands in order, every byte
// else stays, and the result is GMP's.
TEST_F(FactorialFile, InsertsAtFrontMiddleAndEnd) {
    struct Case {
        std::set<unsigned long> stored;
        unsigned long n;
    };
    const Case cases[] = {
        {{1, 5}, 2},          // right after 1!
        {{1, 3, 9, 30}, 4},   // middle
        {{1, 3, 9, 30}, 29},  // just before the last record
        {{1, 9, 100}, 10},    // key one digit longer than its predecessor
        {{1, 99, 1000}, 100}, // shorter keys first, whatever the characters say
    };
    for (const auto& c : cases) {
        write(storeOf(c.stored));
        RecordingHost host(path_);
        host.upper = std::to_string(*c.stored.rbegin());
        EXPECT_EQ(factorN(std::to_string(c.n), 1, host), gmpFactorial(c.n)) << c.n;
        std::set<unsigned long> after = c.stored;
        after.insert(c.n);
        EXPECT_EQ(file(), storeOf(after)) << c.n;
        EXPECT_TRUE(host.questions.empty());
        EXPECT_TRUE(host.upperWrites.empty());
    }
}

TEST_F(FactorialFile, AMissingStoreStartsWithOneFactorial) {
    RecordingHost host(path_);
    host.upper = "5"; // the file was deleted
    EXPECT_EQ(factorN("6", 0, host), "720");
    EXPECT_EQ(file(), "1,\"1\"");
    EXPECT_EQ(host.upper, "1");
}

// Whatever the settings say (nothing, "0", too little, too much, not a
// whole number), the store is kept byte for byte and the largest stored n
// follows it, after a hit early in the file or a request beyond it.
TEST_F(FactorialFile, UpperFollowsTheStoreAndNeverResetsIt) {
    const std::string stored = storeOf({1, 3, 9, 12});
    for (const char* upper : {"0", "3", "9", "100", "1E+16", "12"}) {
        for (const char* n : {"3", "13"}) {
            SCOPED_TRACE(std::string(upper) + " " + n);
            write(stored);
            RecordingHost host(path_);
            host.upper = upper;
            EXPECT_EQ(factorN(n, 1, host), gmpFactorial(std::stoul(n)));
            EXPECT_EQ(file(), stored);
            EXPECT_EQ(host.upper, "12");
            EXPECT_EQ(host.upperWrites.size(), std::string(upper) == "12" ? 0u : 1u);
            EXPECT_TRUE(host.messages.empty());
        }
    }
}

// A damaged part is cut by the first request that stores, with one notice
// naming the store and its backup; later requests say nothing more.
TEST_F(FactorialFile, ADamagedStoreIsCutOnceWithANotice) {
    const std::string damaged = storeOf({1, 5}) + "\r\n9,\"36288";
    write(damaged);
    RecordingHost host(path_);
    host.upper = "9";
    EXPECT_EQ(factorN("5", 0, host), "120");
    EXPECT_EQ(file(), damaged); // a hit writes nothing
    EXPECT_EQ(factorN("3", 0, host), "6");
    EXPECT_EQ(file(), storeOf({1, 3, 5}));
    EXPECT_EQ(host.upper, "5");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(path_ + " "), std::string::npos);
    EXPECT_NE(host.messages[0].find(path_ + ".bak"), std::string::npos);
    EXPECT_EQ(factorN("4", 0, host), "24");
    EXPECT_EQ(host.messages.size(), 1u);
    std::ifstream bak(path_ + ".bak", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(bak), {}), damaged);
}

// A store that cannot be read: the factorial comes from 1, the user hears
// why with the path, nothing is asked and nothing replaces the store.
TEST_F(FactorialFile, AnUnreadableStoreIsNeitherReadNorReplaced) {
    fs::create_directory(path_);
    RecordingHost host(path_);
    host.upper = "5";
    host.answerYes = true;
    EXPECT_EQ(factorN("20", 1, host), gmpFactorial(20));
    EXPECT_EQ(host.messages, std::vector<std::string>{kFacStoreUnreadable + path_});
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(host.finishedCalls, 1);
    EXPECT_EQ(host.upper, "5");
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(FactorialFile, FileShorterOrLongerThanUpperSays) {
    write("1,\"1\"\r\n5,\"120\"");
    RecordingHost shorter(path_);
    shorter.upper = "10";
    EXPECT_EQ(factorN("7", 0, shorter), "5040"); // between the last key and Upper
    EXPECT_EQ(shorter.upper, "5");
    EXPECT_EQ(file(), "1,\"1\"\r\n5,\"120\"");

    write("1,\"1\"\r\n5,\"120\"\r\n10,\"3628800\"");
    RecordingHost longer(path_);
    longer.upper = "5";
    EXPECT_EQ(factorN("7", 0, longer), "5040"); // inserted before 10, not "continued" from 10!
    EXPECT_EQ(longer.upper, "10");
    EXPECT_EQ(file(), "1,\"1\"\r\n5,\"120\"\r\n7,\"5040\"\r\n10,\"3628800\"");
}

TEST_F(FactorialFile, ArgumentsAreWholeNumbersByValue) {
    write("1,\"1\"\r\n5,\"120\"");
    RecordingHost host(path_);
    host.upper = "5";
    for (const char* bad : {"", "-5", "5.5", "5.", ".5", "+5", " 5", "5a", "1e2", "-0"}) {
        EXPECT_EQ(factorN(bad, 1, host), "") << bad;
        EXPECT_EQ(factorial(bad), "") << bad;
    }
    EXPECT_EQ(file(), "1,\"1\"\r\n5,\"120\"");
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(host.finishedCalls, 0);

    EXPECT_EQ(factorN("000", 1, host), "1");
    EXPECT_EQ(factorN("005", 1, host), "120");
    EXPECT_EQ(factorN("003", 1, host), "6");
    EXPECT_EQ(file(), "1,\"1\"\r\n3,\"6\"\r\n5,\"120\"");
    EXPECT_EQ(factorial("007"), "5040");
    EXPECT_EQ(factorial("0"), "1");
}

TEST_F(FactorialFile, CancelledResultIsNotStored) {
    write("1,\"1\"\r\n5,\"120\"");
    RecordingHost host(path_);
    host.upper = "5";
    host.answerYes = true;
    host.cancelAfterPolls = 0;
    EXPECT_EQ(factorN("3", 1, host), "");
    EXPECT_EQ(factorN("300", 1, host), "");
    EXPECT_EQ(file(), "1,\"1\"\r\n5,\"120\"");
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(host.finishedCalls, 0);
}

TEST(FactorialNoStore, EmptyPathComputesWithoutFilesOrQuestions) {
    RecordingHost host("");
    host.answerYes = true;
    EXPECT_EQ(factorN("25", 1, host), gmpFactorial(25));
    EXPECT_TRUE(host.questions.empty());
    EXPECT_TRUE(host.upperWrites.empty());
    EXPECT_EQ(host.finishedCalls, 1);
}

// A folder that cannot hold the file (its parent is a regular file, which
// stops root too): the factorial still comes, and the user hears of it once.
TEST_F(FactorialFile, UnwritableFolderStillGivesTheFactorial) {
    const fs::path blocker = dir_ / "blocker";
    std::ofstream(blocker) << "x";
    const std::string path = (blocker / kFacDataFileName).string();
    RecordingHost host(path);
    host.answerYes = true;
    EXPECT_EQ(factorN("20", 1, host), gmpFactorial(20));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], std::string(kFacStoreUnwritable) + path);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_TRUE(host.upperWrites.empty());
    EXPECT_EQ(host.upper, "0");
}

// A full disk, made by a file-size limit that binds root as well: the old
// file stays whole and the result still comes.
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

  private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

// A full disk, or a store file marked read-only: each failed write is told
// with the path, the old file stays whole and the result still comes.
TEST_F(FactorialFile, FailedWritesLeaveTheOldFileWhole) {
    const std::string stored = "1,\"1\"\r\n5,\"120\"";
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full disk");
        write(stored);
        if (readOnly) fs::permissions(path_, fs::perms::owner_read);
        RecordingHost host(path_);
        host.upper = "5";
        host.answerYes = true;
        {
            std::optional<FileSizeLimit> limit;
            if (!readOnly) limit.emplace(stored.size() + 2);
            EXPECT_EQ(factorN("3", 1, host), "6");               // insert fails
            EXPECT_EQ(factorN("30", 1, host), gmpFactorial(30)); // append fails
        }
        EXPECT_EQ(file(), stored);
        EXPECT_EQ(host.messages, (std::vector<std::string>(2, kFacStoreUnwritable + path_)));
        EXPECT_EQ(host.upper, "5");
        EXPECT_TRUE(host.upperWrites.empty());
        for (const auto& entry : fs::directory_iterator(dir_)) // no new file left over
            EXPECT_TRUE(entry.path().filename() == kFacDataFileName ||
                        entry.path().filename() == "facDat.vok.lock")
                << entry.path();
        fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
    }
}

// Many requests through one store against GMP; the file then holds only
// true factorials, in order.
TEST_F(FactorialFile, RandomRequestsMatchGmpAndKeepTheFileSound) {
    const auto seed = static_cast<unsigned>(
        test::testSeed("FactorialFile.RandomRequestsMatchGmpAndKeepTheFileSound"));
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    RecordingHost host(path_);
    std::set<unsigned long> expected{1};
    for (int round = 0; round < 150; ++round) {
        const unsigned long n = rng() % 400;
        host.answerYes = rng() % 2 == 0;
        const bool ask = rng() % 3 != 0;
        std::string arg = std::to_string(n);
        if (rng() % 4 == 0) arg = "00" + arg;
        ASSERT_EQ(factorN(arg, ask ? 1 : 0, host), gmpFactorial(n)) << arg;
        if (n == 0) continue;
        const unsigned long top = *expected.rbegin();
        if (n < top || (ask && host.answerYes)) expected.insert(n);
        ASSERT_EQ(file(), storeOf(expected)) << "after " << arg;
        ASSERT_EQ(host.upper, std::to_string(*expected.rbegin()));
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST(Factorial, PureMatchesGmp) {
    for (unsigned long n : {0ul, 1ul, 2ul, 17ul, 18ul, 19ul, 100ul, 1000ul})
        EXPECT_EQ(factorial(std::to_string(n)), gmpFactorial(n)) << n;
}

} // namespace
} // namespace longhand
