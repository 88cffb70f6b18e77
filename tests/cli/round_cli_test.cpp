// longhand-calc round: the rounding of a shown result from the command line.
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace {

struct RoundRun {
    int status = -1;
    std::string out;
};

// Runs the built program with two operands (no shell characters in them).
RoundRun calcRound(const std::string& number, const std::string& k) {
    const std::string command =
        std::string(LONGHAND_CALC) + " round '" + number + "' '" + k + "' 2>/dev/null";
    RoundRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        run.out.append(buf.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

struct Case {
    const char* number;
    const char* k;
    const char* shown; // null: refused with status 1
};

class RoundCommand : public ::testing::TestWithParam<Case> {};

TEST_P(RoundCommand, PrintsTheRoundedResultOrRefuses) {
    const Case& c = GetParam();
    const RoundRun run = calcRound(c.number, c.k);
    if (c.shown) {
        EXPECT_EQ(run.status, 0) << c.number << " " << c.k;
        EXPECT_EQ(run.out, std::string(c.shown) + "\n");
    } else {
        EXPECT_EQ(run.status, 1) << c.number << " " << c.k;
        EXPECT_EQ(run.out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundCommand,
    ::testing::Values(
        Case{"3.14159", "2", "3.14"}, Case{"3.14159", "3", "3.142"}, Case{"2.5", "0", "3"},
        Case{"-2.5", "0", "-3"}, Case{"9.96", "1", "10"}, Case{"-1.25", "1", "-1.3"},
        Case{"1.2049", "2", "1.2"}, Case{"0.04", "1", "0"}, Case{"-0.04", "1", "0"},
        Case{"0.5", "0", "1"}, Case{"-.5", "0", "-1"}, Case{"123.456", "0", "123"},
        Case{"99.95", "1", "100"}, Case{"5.0049", "2", "5"}, Case{"12.345", "02", "12.35"},
        // refused: K not below the fraction length, no fraction, not numbers
        Case{"12.345", "3", nullptr}, Case{"12.345", "9", nullptr}, Case{"12.345", "-1", nullptr},
        Case{"12.345", "1.0", nullptr}, Case{"12.345", "", nullptr}, Case{"12345", "0", nullptr},
        Case{"5.", "0", nullptr}, Case{"1.2.3", "0", nullptr}, Case{"abc", "0", nullptr},
        Case{"1.5", "99999999999999999999999", nullptr}));

} // namespace
