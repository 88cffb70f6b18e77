// factorN in its two halves: the computing half touches no file and asks
// nothing; the storing half then does exactly what factorN does. And the
// long multiplication gives up once cancelled.
#include "engine/factorial.h"
#include "engine/multiply.h"
#include "engine/recording_host.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace longhand {
namespace {

class SplitHost final : public test::RecordingHost {
  public:
    explicit SplitHost(std::string path, bool yes) : yes_(yes) { dataPath = std::move(path); }
    bool askYesNo(const std::string& text) override {
        answers.assign(1, yes_);
        return test::RecordingHost::askYesNo(text);
    }
    void setFacUpper(const std::string& n) override {
        test::RecordingHost::setFacUpper(n);
        upperWrites.push_back(n);
    }
    std::vector<std::string> upperWrites;

  private:
    bool yes_;
};

class FactorialSplit : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("longhand-split-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / kFacDataFileName).string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::optional<std::string> file() const {
        if (!fs::exists(path_)) return std::nullopt;
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }

    fs::path dir_;
    std::string path_;
};

struct SplitCase {
    const char* name;
    std::optional<const char*> file; // nothing: no file
    const char* upper;               // facUpper before
    const char* n;
    bool yes;
};

// For every path through factorN: the first half leaves the file and the
// host alone, and the two halves together do what factorN does.
TEST_F(FactorialSplit, HalvesTogetherAreFactorN) {
    const SplitCase cases[] = {
        {"no file", std::nullopt, "0", "6", true},
        {"unknown upper", "1,\"1\"\r\n5,\"120\"", "0", "4", false},
        {"broken file", "1,\"1\"\r\n5,\"121", "5", "7", true},
        {"read", "1,\"1\"\r\n5,\"120\"", "5", "5", true},
        {"upper out of date", "1,\"1\"\r\n5,\"120\"", "3", "5", true},
        {"insert", "1,\"1\"\r\n5,\"120\"", "5", "3", true},
        {"append, yes", "1,\"1\"\r\n5,\"120\"", "5", "9", true},
        {"append, no", "1,\"1\"\r\n5,\"120\"", "5", "9", false},
        {"one from a reset", std::nullopt, "0", "1", true},
        {"zero", "1,\"1\"", "1", "0", true},
        {"refused", "1,\"1\"", "1", "-3", true},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        // factorN itself, for the expectations.
        if (c.file) write(*c.file);
        SplitHost whole(path_, c.yes);
        whole.upper = c.upper;
        const std::string expected = factorN(c.n, 1, whole);
        const std::optional<std::string> fileAfter = file();
        fs::remove(path_);

        if (c.file) write(*c.file);
        SplitHost split(path_, c.yes);
        split.upper = c.upper;
        FactorialWork work = factorialWork(c.n, split);
        EXPECT_EQ(file(), c.file ? std::optional<std::string>(*c.file) : std::nullopt);
        EXPECT_EQ(split.finishedCalls, 0);
        EXPECT_TRUE(split.questions.empty());
        EXPECT_TRUE(split.upperWrites.empty());
        EXPECT_TRUE(split.messages.empty());

        EXPECT_EQ(storeFactorial(std::move(work), 1, split), expected);
        EXPECT_EQ(file(), fileAfter);
        EXPECT_EQ(split.finishedCalls, whole.finishedCalls);
        EXPECT_EQ(split.questions, whole.questions);
        EXPECT_EQ(split.upper, whole.upper);
        EXPECT_EQ(split.messages, whole.messages);
        fs::remove(path_);
    }
}

TEST_F(FactorialSplit, CancelledWorkLeavesNothingToStore) {
    write("1,\"1\"\r\n5,\"120\"");
    SplitHost host(path_, true);
    host.upper = "5";
    host.cancelAfterPolls = 0;
    FactorialWork work = factorialWork("3000", host);
    EXPECT_EQ(work.result, "");
    EXPECT_EQ(file(), "1,\"1\"\r\n5,\"120\"");
    EXPECT_EQ(factorN("3000", 1, host), "");
    EXPECT_EQ(file(), "1,\"1\"\r\n5,\"120\"");
    EXPECT_TRUE(host.upperWrites.empty());
}

TEST(MultiplyCancel, ALongProductGivesUpAtItsFirstPoll) {
    const std::string a(100000, '7'), b(100000, '3');
    test::RecordingHost host;
    host.cancelAfterPolls = 0;
    multiplyDigits(a, b, &host);
    EXPECT_EQ(host.polls, 1);

    // Without cancellation the polls change nothing (the schoolbook polls
    // between its rows; the fast layer between its steps).
    test::RecordingHost quiet;
    const std::string p = multiplyDigitsReference(a, b, &quiet);
    EXPECT_GT(quiet.polls, 1);
    EXPECT_EQ(p, multiplyDigits(a, b));
    EXPECT_EQ(p.substr(0, 4), "2592"); // 7/9 * 3/9 = 0.2592...
}

} // namespace
} // namespace longhand
