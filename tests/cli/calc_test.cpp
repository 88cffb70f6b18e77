// longhand-calc end to end: the built program is run with its output,
// errors and exit status captured, and where a case needs it with a closed
// or full standard output, an endless standard input or a lowered
// address-space limit.
#include "test_seed.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// A sanitizer reserves terabytes of address space at start, so a lowered
// address-space limit cannot apply under one.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressLimitApplies = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressLimitApplies = false;
#else
constexpr bool kAddressLimitApplies = true;
#endif
#else
constexpr bool kAddressLimitApplies = true;
#endif

// Every run ends within this much processor time, whatever it is fed.
constexpr rlim_t kCpuSeconds = 120;

constexpr const char* kNumberForm = "(digits, at most one \".\", an optional leading \"-\")";
constexpr const char* kOutOfMemory = "Not enough memory for numbers this long.\n";

struct CalcRun {
    int status = -1;
    std::string out, err;
    std::uint64_t fedBytes = 0; // written into an endless standard input
};

enum class Output { File, Full, Closed };

struct RunOptions {
    std::string input;         // standard input's bytes
    bool endlessInput = false; // instead: digits through a pipe until the program stops reading
    rlim_t addressSpace = 0;   // bytes; 0 leaves the limit as it is
    Output output = Output::File;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class CalcTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "longhand-calc-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern + "/";
    }
    void TearDown() override {
        for (const char* f : {"in", "out", "err", "a.txt", "b.txt", "huge"})
            std::remove((dir_ + f).c_str());
        rmdir(dir_.c_str());
    }

    std::string path(const char* name) const { return dir_ + name; }

    CalcRun calc(const std::vector<std::string>& args, const std::string& input = "") const {
        RunOptions options;
        options.input = input;
        return calc(args, options);
    }

    CalcRun calc(const std::vector<std::string>& args, const RunOptions& options) const {
        spit(path("in"), options.input);
        std::vector<std::string> argv{LONGHAND_CALC};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargv;
        for (auto& a : argv)
            cargv.push_back(const_cast<char*>(a.c_str()));
        cargv.push_back(nullptr);
        const std::string in = path("in"), out = path("out"), err = path("err");

        int feed[2] = {-1, -1};
        if (options.endlessInput && pipe(feed) != 0) return {};
        CalcRun run;
        const pid_t pid = fork();
        if (pid < 0) return run;
        if (pid == 0) {
            // Only async-signal-safe calls between fork and exec. Standard
            // error first: a closed stdout would take the next free number.
            dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            if (options.endlessInput) {
                dup2(feed[0], 0);
                close(feed[0]);
                close(feed[1]);
            } else {
                dup2(open(in.c_str(), O_RDONLY), 0);
            }
            if (options.output == Output::Closed)
                close(1);
            else
                dup2(options.output == Output::Full
                         ? open("/dev/full", O_WRONLY)
                         : open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                     1);
            const rlimit cpu{kCpuSeconds, kCpuSeconds};
            setrlimit(RLIMIT_CPU, &cpu);
            if (options.addressSpace != 0) {
                const rlimit as{options.addressSpace, options.addressSpace};
                setrlimit(RLIMIT_AS, &as);
            }
            signal(SIGPIPE, SIG_DFL);
            execv(cargv[0], cargv.data());
            _exit(127);
        }
        if (options.endlessInput) {
            close(feed[0]);
            // Digits until the program closes its end (EPIPE, not SIGPIPE).
            const auto old = signal(SIGPIPE, SIG_IGN);
            const std::string digits(1 << 16, '7');
            ssize_t n = 0;
            while ((n = write(feed[1], digits.data(), digits.size())) > 0 ||
                   (n < 0 && errno == EINTR))
                run.fedBytes += n > 0 ? static_cast<std::uint64_t>(n) : 0;
            close(feed[1]);
            signal(SIGPIPE, old);
        }
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
        run.out = slurp(out);
        run.err = slurp(err);
        std::remove(out.c_str());
        return run;
    }

  private:
    std::string dir_;
};

struct Shown {
    const char *command, *a, *b, *shown;
};

void expectShown(const CalcRun& run, const Shown& c) {
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string(c.shown) + "\n");
    EXPECT_EQ(run.err, "");
}

// The examples of the number-text operations, as the main window shows them:
// operands tidied first, a zero never shown as an empty box.
TEST_F(CalcTest, ExamplesAsTheWindowShowsThem) {
    const Shown cases[] = {
        {"add", "12.5", "-3", "9.5"},
        {"add", "0", "007", "007"},
        {"add", "12.50", "0", "12.5"},
        {"sub", "0", "5", "-5"},
        {"sub", "0", "-5", "5"},
        {"sub", "0", ".5", "-.5"},
        {"sub", "5", "5.0", "0"},
        {"sub", "0.1", "0.10", "0"},
        {"sub", "1.5", "0.5", "1"},
        {"add", "5", ".5", "5.5"},
        {"add", ".25", ".75", "1"},
        {"sub", "2", "3", "-1"},
        {"sub", "-3", "-5", "2"},
        {"sub", "-5", "-0", "-5"},
        {"add", "-3", "5", "2"},
        {"add", "3", "-5", "-2"},
        {"add", "-3", "-5", "-8"},
        {"add", "-.5", ".25", "-0.25"},
        {"add", "99999999999999", "1", "100000000000000"},
        {"add", "999999999999999", "1", "1000000000000000"},
        {"sub", "1000000000000000", "1", "999999999999999"},
        {"add", "0.000000000000000001", "1", "1.000000000000000001"},
        {"sub", "0", "2.50", "-2.5"},
        {"mul", "0", "-12.5", "0"},
        {"mul", "12", "0", "0"},
        {"mul", "00", "5", "0"},
        {"mul", "-0", "5", "-0"},
        {"mul", "-3", "4", "-12"},
        {"mul", "3", "-4", "-12"},
        {"mul", "-3", "-4", "12"},
        {"mul", "-.5", "2", "-1"},
        {"mul", ".5", "-2", "-1"},
        {"mul", "0.5", "0.5", ".25"},
        {"mul", "100", "0.001", ".1"},
        {"mul", "10", "0.25", "2.5"},
        {"mul", "2.5", "4", "10"},
        {"mul", "1.5", "2", "3"},
        {"mul", "5.", "2", "10"},
        {"mul", "1.10", "3", "3.3"},
        {"mul", "1234567", "7654321", "9449772114007"},
        {"mul", "12345678", "2", "24691356"},
        {"mul", "99999999", "99999999", "9999999800000001"},
        {"mul", "10000000", "3", "30000000"},
        {"div", "1", "3", "0.33333333333333333333"},
        {"div", "2", "3", "0.66666666666666666666"},
        {"div", "1", "7", "0.14285714285714285714"},
        {"div", "10", "3", "3.333"},
        {"div", "22", "7", "3.142"},
        {"div", "100", "7", "14.2857"},
        {"div", "7", "5", "1.4"},
        {"div", "6", "3", "2"},
        {"div", "125", "5", "25"},
        {"div", "105", "10", "10.5"},
        {"div", "1000", "8", "125"},
        {"div", "1", "8", "0.125"},
        {"div", "1", "30", "0.03333333333333333333"},
        {"div", "3", "1000", "0.003"},
        {"div", "1", "0.3", "3.3333333333333333333"},
        {"div", "0.1", "0.25", ".4"},
        {"div", "5", "0.1", "50"},
        {"div", "2", "0.5", "4"},
        {"div", "0.003", "0.3", "0.01"},
        {"div", "1.5", "15", "0.1"},
        {"div", "-6", "3", "-2"},
        {"div", "6", "-3", "-2"},
        {"div", "-6", "-3", "2"},
        {"div", "-1", "2", "-0.5"},
        {"div", "5", "5", "1"},
        {"div", "-5", "5", "-1"},
        {"div", "123456789012345678901234567890", "3", "41152263004115226300411522630"},
        {"div", "00", "5", "0"},
        {"div", "0", "5", "0"},
        {"div", "7.50", "1", "7.5"},
        {"div", "-3", "1.0", "-3"},
        {"div", "0", "-0", "0"},
        {"add", "0.", "5", "5"},
        {"pow", "2", "10", "1024"},
        {"pow", "7", "1", "7"},
        {"pow", "1", "99", "1"},
        {"pow", "0", "0", "0"},
        {"pow", "5", "0", "1"},
        {"pow", "0", "5", "0"},
        {"pow", "-2", "3", "-8"},
        {"pow", "-2", "2", "4"},
        {"pow", "-10", "3", "-1000"},
        {"pow", "0.5", "2", ".25"},
        {"pow", "0.2", "2", ".04"},
        {"pow", "0.1", "3", ".001"},
        {"pow", "1.5", "2", "2.25"},
        {"pow", "2.5", "3", "15.625"},
        {"pow", "-0.5", "3", "-.125"},
        {"pow", "100", "3", "1000000"},
        {"pow", "120", "2", "14400"},
        {"pow", "12345678", "3", "1881675960266558605752"},
        {"pow", "5", "00", "1"},
        {"pow", "5", "", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " \"" + c.a + "\" \"" + c.b + "\"");
        expectShown(calc({c.command, c.a, c.b}), c);
    }
}

// Faults of the plain steps that the program mends.
TEST_F(CalcTest, MendedResults) {
    const Shown cases[] = {
        {"sub", "-0", "-0.05", "0.05"},
        {"add", "00", "-0.05", "-0.05"},
        {"add", "00.0000009", "-00", "0.0000009"},
        {"sub", "000", "0.0000031782", "-0.0000031782"},
        {"div", "20", "13", "1.53846153846153846153"},
        {"div", "20", "18", "1.11111111111111111111"},
        {"div", "70", "63", "1.11111111111111111111"},
        {"div", "200", "180", "1.11111111111111111111"},
        {"div", "40", ".000000007963737938896", "5022766985"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " \"" + c.a + "\" \"" + c.b + "\"");
        expectShown(calc({c.command, c.a, c.b}), c);
    }
}

TEST_F(CalcTest, RefusalsPrintTheMessageAndExitOne) {
    const Shown cases[] = {
        {"div", "0", "0", "Division by zero."},
        {"div", "5", "-0.0", "Division by zero."},
        {"div", "5", "000", "Division by zero."},
        {"div", "5", "00", "Division by zero."},
        {"add", "", "5", "1 or 2 boxes are Empty."},
        {"mul", "5", "", "1 or 2 boxes are Empty."},
        {"add", ".000", "5", "Weird Input."},
        {"sub", "5", ".", "Weird Input."},
        {"pow", "2", "-1", "The exponent must be a whole number."},
        {"pow", "2", "2.5", "The exponent must be a whole number."},
        {"pow", "10", "1000000000000", "The power would be too long to hold."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " \"" + c.a + "\" \"" + c.b + "\"");
        const CalcRun run = calc({c.command, c.a, c.b});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string(c.shown) + "\n");
    }
}

// An operand that is not a decimal number is refused by name before any
// command runs, whatever the command; a long one is cut, a control byte
// shown as an escape.
TEST_F(CalcTest, MalformedOperandsAreNamed) {
    const std::string longOne = std::string(45, '1') + "x";
    const struct {
        std::vector<std::string> args;
        std::string shown;
    } cases[] = {
        {{"add", "1,000", "1"}, "\"1,000\""},
        {{"sub", "2.5e3", "1"}, "\"2.5e3\""},
        {{"div", "1", "+0"}, "\"+0\""},
        {{"div", "1", "abc"}, "\"abc\""},
        {{"mul", "1.2.3", "4"}, "\"1.2.3\""},
        {{"add", "12 ", "1"}, "\"12 \""},
        {{"pow", "1.2.3", "0"}, "\"1.2.3\""},
        {{"pow", "2", "1e3"}, "\"1e3\""},
        {{"round", "1,5", "0"}, "\"1,5\""},
        {{"round", "1.55", "x"}, "\"x\""},
        {{"fact", "5!"}, "\"5!\""},
        {{"perm", "5", "3", "y"}, "\"y\""},
        {{"comb", "+5", "3"}, "\"+5\""},
        {{"prod", "3", "0x10"}, "\"0x10\""},
        {{"add", longOne, "1"}, "\"" + longOne.substr(0, 40) + "...\""},
        {{"add", "1\x01", "1"}, "\"1\\x01\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CalcRun run = calc(c.args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.shown + " is not a decimal number " + kNumberForm + "\n");
    }
}

TEST_F(CalcTest, UsageAndHelp) {
    const CalcRun help = calc({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: longhand-calc"), std::string::npos);
    for (const char* command : {"add", "sub", "mul", "div", "pow"})
        EXPECT_NE(help.out.find(std::string("  ") + command + " "), std::string::npos) << command;
    EXPECT_EQ(help.err, "");

    const std::vector<std::vector<std::string>> wrong = {{},
                                                         {"add"},
                                                         {"add", "1"},
                                                         {"add", "1", "2", "3"},
                                                         {"frobnicate", "1", "2"},
                                                         {"pow", "2"},
                                                         {"add", "@-", "@-"}};
    for (const auto& args : wrong) {
        const CalcRun run = calc(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage: longhand-calc"), std::string::npos);
    }
}

TEST_F(CalcTest, OperandsFromFilesAndStandardInput) {
    spit(path("a.txt"), "12.5\n");
    spit(path("b.txt"), "-3\r\n");
    CalcRun run = calc({"add", "@" + path("a.txt"), "@" + path("b.txt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "9.5\n");

    run = calc({"mul", "@-", "4"}, "2.5\n");
    EXPECT_EQ(run.out, "10\n");
    run = calc({"sub", "1", "@-"}, "0.25");
    EXPECT_EQ(run.out, "0.75\n");

    // Wrapped and grouped digits come in whole.
    const struct {
        const char *bytes, *sum;
    } wrapped[] = {
        {"12\n34\n", "1235"},
        {"123 ", "124"},
        {"1_000 000\t5\r\n", "10000006"},
        {" -1 2.5\n\n\n", "-11.5"},
        {"9\r\n9\r\n.\r\n5\r\n", "100.5"},
    };
    for (const auto& w : wrapped) {
        spit(path("a.txt"), w.bytes);
        run = calc({"add", "@" + path("a.txt"), "1"});
        EXPECT_EQ(run.status, 0) << w.bytes << ": " << run.err;
        EXPECT_EQ(run.out, std::string(w.sum) + "\n") << w.bytes;
        run = calc({"add", "1", "@-"}, w.bytes);
        EXPECT_EQ(run.out, std::string(w.sum) + "\n") << w.bytes;
    }

    // Anything else refuses, naming the file, the byte and its place.
    const struct {
        const char* bytes;
        std::string why;
    } refused[] = {
        {"1,000\n", "\",\" at byte 2"}, {"12\n3.4.5", "\".\" at byte 7"},
        {"1-2", "\"-\" at byte 2"},     {"+5", "\"+\" at byte 1"},
        {"7\f", "\"\\x0c\" at byte 2"},
    };
    for (const auto& r : refused) {
        spit(path("a.txt"), r.bytes);
        run = calc({"mul", "3", "@" + path("a.txt")});
        EXPECT_EQ(run.status, 1) << r.bytes;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, path("a.txt") + ": " + r.why + " is not part of a decimal number " +
                               kNumberForm + "\n");
        run = calc({"fact", "@-"}, r.bytes);
        EXPECT_EQ(run.err, "standard input: " + r.why + " is not part of a decimal number " +
                               kNumberForm + "\n");
    }

    // An empty file, or one of blanks only, is an empty box.
    for (const char* empty : {"", " \n\t_\r\n"}) {
        spit(path("a.txt"), empty);
        run = calc({"add", "@" + path("a.txt"), "1"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "1 or 2 boxes are Empty.\n");
    }

    run = calc({"add", "@" + path("missing"), "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Cannot read " + path("missing") + ": No such file or directory.\n");
}

// Operands too long to hold are refused as soon as that is known: a file by
// its size before it is read, a stream once it passes the limit, and a
// device of zero bytes at its first one.
TEST_F(CalcTest, OverlongOperandsAreRefusedEarly) {
    RunOptions lowMemory;
    if (kAddressLimitApplies) lowMemory.addressSpace = rlim_t{1} << 30;
    CalcRun run = calc({"add", "@/dev/zero", "1"}, lowMemory);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              std::string("/dev/zero: \"\\x00\" at byte 1 is not part of a decimal number ") +
                  kNumberForm + "\n");

    // A terabyte file that holds nothing: its size alone refuses it.
    const int fd = open(path("huge").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    const bool sparse = ftruncate(fd, off_t{1} << 40) == 0;
    close(fd);
    if (sparse) {
        run = calc({"add", "1", "@" + path("huge")}, lowMemory);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.rfind(path("huge") + " is too long for the free memory: an operand may "
                                               "have at most ",
                                0),
                  0u)
            << run.err;
    }

    if (!kAddressLimitApplies) GTEST_SKIP() << "no address-space limit under a sanitizer";
    // An endless stream of digits: refused long before the memory is used up.
    RunOptions endless;
    endless.endlessInput = true;
    endless.addressSpace = rlim_t{256} << 20;
    run = calc({"add", "@-", "1"}, endless);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("standard input is too long for the free memory", 0), 0u) << run.err;
    EXPECT_LT(run.fedBytes, endless.addressSpace / 2);
}

// Out of memory in a calculation ends in a message, not an abort. The
// operands fit within the limit, the work does not.
TEST_F(CalcTest, RunningOutOfMemoryEndsInAMessage) {
    if (!kAddressLimitApplies) GTEST_SKIP() << "no address-space limit under a sanitizer";
    std::mt19937_64 rng(longhand::test::testSeed("CalcTest.RunningOutOfMemoryEndsInAMessage"));
    auto digits = [&](std::size_t n) {
        std::string s(n, '0');
        for (char& c : s)
            c = static_cast<char>('1' + rng() % 9);
        return s;
    };
    spit(path("a.txt"), digits(8'000'000));
    spit(path("b.txt"), digits(4'000'000));
    RunOptions lowMemory;
    lowMemory.addressSpace = rlim_t{48} << 20;
    const std::vector<std::vector<std::string>> heavy = {
        {"mul", "@" + path("a.txt"), "@" + path("b.txt")},
        {"div", "@" + path("a.txt"), "@" + path("b.txt")},
        {"pow", "7", "19000000"},
    };
    for (const auto& args : heavy) {
        SCOPED_TRACE(testing::PrintToString(args));
        const CalcRun run = calc(args, lowMemory);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.empty()) << run.out.size() << " bytes printed";
        EXPECT_EQ(run.err, kOutOfMemory);
    }
    // The same limit leaves room for a light calculation on the same operands.
    const CalcRun light = calc({"sub", "@" + path("a.txt"), "@" + path("b.txt")}, lowMemory);
    EXPECT_EQ(light.status, 0) << light.err;
    EXPECT_EQ(light.out.size(), 8'000'001u);
}

// A result that cannot be written is an error, said on standard error.
TEST_F(CalcTest, FailedOutputIsReported) {
    for (const Output output : {Output::Full, Output::Closed}) {
        RunOptions options;
        options.output = output;
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"add", "1", "2"}, std::vector<std::string>{"--help"}}) {
            SCOPED_TRACE(testing::PrintToString(args));
            const CalcRun run = calc(args, options);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err.rfind("longhand-calc: cannot write the output: ", 0), 0u) << run.err;
        }
    }
}

TEST_F(CalcTest, VersionFromTheProject) {
    const CalcRun run = calc({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "longhand-calc " LONGHAND_PROJECT_VERSION "\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CalcTest, MillionDigitAddition) {
    constexpr std::size_t kDigits = 1'000'000;
    spit(path("a.txt"), std::string(kDigits, '9') + "\n");
    const CalcRun run = calc({"add", "@" + path("a.txt"), "@-"}, "1\n");
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.out.size(), kDigits + 2);
    EXPECT_EQ(run.out, "1" + std::string(kDigits, '0') + "\n");

    // And back, with a fraction on the way.
    spit(path("a.txt"), "1" + std::string(kDigits, '0') + ".5");
    const CalcRun back = calc({"sub", "@" + path("a.txt"), "1.5"});
    EXPECT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, std::string(kDigits, '9') + "\n");
}

} // namespace
