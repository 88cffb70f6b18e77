// longhand-calc's own wiring, end to end: the built program is run in a
// folder of its own with its output, errors and exit status captured, and
// where a case needs it with a closed or full standard output, an endless
// standard input or a lowered address-space limit. What the operations
// compute is checked where they live, in the engine's tests.
#include "support/operands.h"
#include "support/seed.h"
#include "support/tempdir.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace test = longhand::test;

// A sanitizer reserves terabytes of address space at start, so a lowered
// address-space limit cannot apply under one.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kAddressLimitApplies = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
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
    std::string input = "";    // standard input's bytes
    bool endlessInput = false; // instead: digits through a pipe until the program stops reading
    rlim_t addressSpace = 0;   // bytes; 0 leaves the limit as it is
    Output output = Output::File;
    bool interrupt = false; // Ctrl+C once the program is computing
};

// Processor time a running process has used, in clock ticks (0 when it
// cannot be read).
long cpuTicks(pid_t pid) {
    const auto stat = test::readBytes("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) return 0;
    // The fields after the command name, which stands in parentheses.
    const std::size_t close = stat->rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(stat->substr(close + 2));
    std::string field;
    long utime = 0;
    for (int i = 3; i <= 14 && fields >> field; ++i)
        if (i == 14) utime = std::atol(field.c_str());
    return utime;
}

class CalcTest : public ::testing::Test {
  protected:
    std::string path(const char* name) const { return dir_.file(name); }

    CalcRun calc(const std::vector<std::string>& args, const RunOptions& options = {}) const {
        const std::string in = path("in"), out = path("out"), err = path("err");
        test::writeBytes(in, options.input);
        std::vector<std::string> argv{LONGHAND_CALC};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargv;
        for (auto& a : argv)
            cargv.push_back(const_cast<char*>(a.c_str()));
        cargv.push_back(nullptr);

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
            if (chdir(dir_.path().c_str()) != 0) _exit(126); // so that a file it leaves shows
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
        if (options.interrupt) {
            // A fifth of a second of computing: the program is past its start.
            const long ticks = sysconf(_SC_CLK_TCK) / 5;
            int polls = 0;
            while (cpuTicks(pid) < ticks && ++polls < 10'000)
                usleep(1000);
            kill(pid, SIGINT);
        }
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
        run.out = test::readBytes(out).value_or("");
        run.err = test::readBytes(err).value_or("");
        std::remove(out.c_str());
        return run;
    }

  private:
    test::TempDir dir_;
};

// Each command reaches its operation with its operands in their order and
// prints the result as the window shows it (a zero never as nothing),
// without leaving a factorial store behind.
TEST_F(CalcTest, EachCommandPrintsItsResult) {
    const struct {
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        {{"add", "12.5", "-3"}, "9.5"}, {{"sub", "0", "2.50"}, "-2.5"},
        {{"mul", "00", "5"}, "0"},      {{"div", "22", "7"}, "3.142"},
        {{"pow", "2", "10"}, "1024"},   {{"fact", "007"}, "5040"},
        {{"perm", "5", "3"}, "60"},     {{"comb", "5", "3", "1"}, "35"},
        {{"prod", "3", "5"}, "60"},     {{"round", "12.345", "02"}, "12.35"},
    };
    for (const auto& c : cases) {
        const CalcRun run = calc(c.args);
        EXPECT_EQ(run.status, 0) << testing::PrintToString(c.args) << run.err;
        EXPECT_EQ(run.out, std::string(c.out) + "\n") << testing::PrintToString(c.args);
        EXPECT_EQ(run.err, "");
    }
    EXPECT_FALSE(test::readBytes(path("facDat.vok")));
}

// The mathematical commands: many operands for gcd, a text operand for
// frombase, and the mark of a cut root on standard error.
TEST_F(CalcTest, MathCommandsWiring) {
    const struct {
        std::vector<std::string> args;
        const char* out;
        const char* err;
    } cases[] = {
        {{"sqrt", "2", "5"}, "1.41421", "(cut, not rounded)\n"},
        {{"root", "-27", "3"}, "-3", ""},
        {{"gcd", "12", "-18", "30", "45"}, "3", ""},
        {{"lcm", "4", "6"}, "12", ""},
        {{"base", "255", "16"}, "ff", ""},
        {{"frombase", "FF", "16"}, "255", ""},
        {{"powmod", "3", "200", "1000"}, "1", ""},
        {{"isprime", "2047"}, "composite", ""},
        {{"nextprime", "2047"}, "2053", ""},
    };
    for (const auto& c : cases) {
        const CalcRun run = calc(c.args);
        EXPECT_EQ(run.status, 0) << testing::PrintToString(c.args) << run.err;
        EXPECT_EQ(run.out, std::string(c.out) + "\n") << testing::PrintToString(c.args);
        EXPECT_EQ(run.err, c.err) << testing::PrintToString(c.args);
    }
    test::writeBytes(path("hex"), "f_f\n");
    EXPECT_EQ(calc({"frombase", "@" + path("hex"), "16"}).out, "255\n");
    EXPECT_EQ(calc({"gcd", "12"}).status, 2);
    EXPECT_EQ(calc({"sqrt", "-4"}).err,
              "X is negative: an even root of a negative number is not a real number.\n");
    EXPECT_EQ(calc({"sqrt", "2", "1.5"}).err, "PLACES must be a whole number without sign.\n");
    EXPECT_EQ(calc({"gcd", "4", "6", "2.5"}).err, "Operand 3 must be a whole number.\n");
}

// A refusal, the operation's or the command's own: the message on standard
// error, nothing on standard output, status 1.
TEST_F(CalcTest, RefusalsPrintTheMessageAndExitOne) {
    const struct {
        std::vector<std::string> args;
        const char* err;
    } cases[] = {
        // Every zero-valued divisor, whatever it divides.
        {{"div", "5", "-0.0"}, "B is zero, and nothing can be divided by zero."},
        {{"div", "0", "00"}, "B is zero, and nothing can be divided by zero."},
        {{"div", "0", "-0"}, "B is zero, and nothing can be divided by zero."},
        {{"add", ".00", "1"}, "A has no digit but zeros after its point: write 0 for zero."},
        {{"pow", "2", "1.5"}, "EXP must be a whole number, 0 or more."},
        {{"pow", "10", "300000000"},
         "EXP is too large: the power would have about 3.0 \xC3\x97 10^8 digits, more than the "
         "200,000,000 a result may have."},
        {{"prod", "5", "5"}, "N must be greater than M."},
        {{"fact", "5.5"}, "N must be a whole number without sign."},
        {{"perm", "5", "-3"}, "R must be a whole number without sign."},
        {{"comb", "5", "3", "10"}, "F must be one digit, 0 to 9."},
        // An operand without a digit, for every command.
        {{"add", "", "1"}, "The operand A is empty."},
        {{"pow", "2", ""}, "The operand EXP is empty."},
        {{"mul", "3", "."}, "The operand B is only \".\", which has no digit."},
        {{"fact", "-"}, "The operand N is only \"-\", which has no digit."},
        {{"perm", "5", "2", ""}, "The operand F is empty."},
        {{"round", "-.", "0"}, "The operand NUMBER is only \"-.\", which has no digit."},
        {{"round", "12345", "0"}, "NUMBER must be a number with digits after its point."},
        {{"round", "12.345", "3"},
         "K must be a whole number below the count of digits after the point."},
        {{"round", "1.5", "99999999999999999999999"},
         "K must be a whole number below the count of digits after the point."},
    };
    for (const auto& c : cases) {
        const CalcRun run = calc(c.args);
        EXPECT_EQ(run.status, 1) << testing::PrintToString(c.args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string(c.err) + "\n");
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
        {{"div", "1", "+0"}, "\"+0\""},
        {{"perm", "5", "3", "y"}, "\"y\""},
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
    EXPECT_EQ(help.err, "");
    // Every command of --commands has its line and an example that runs.
    const CalcRun names = calc({"--commands"});
    EXPECT_EQ(names.status, 0);
    std::istringstream listed(names.out);
    int count = 0;
    for (std::string name; std::getline(listed, name); ++count) {
        SCOPED_TRACE(name);
        // The example stands on a line of its own: "    longhand-calc NAME ...".
        const std::string prefix = "    longhand-calc " + name + " ";
        const std::size_t at = help.out.rfind(prefix); // after the usage lines
        ASSERT_NE(at, std::string::npos);
        const std::string example =
            help.out.substr(at + prefix.size(), help.out.find('\n', at) - at - prefix.size());
        // Words parted by blanks, or quoted whole in '...'.
        std::vector<std::string> args{name};
        for (std::size_t i = 0; i < example.size();) {
            if (example[i] == ' ') {
                ++i;
                continue;
            }
            const bool quoted = example[i] == '\'';
            const std::size_t end = example.find(quoted ? '\'' : ' ', i + 1);
            args.push_back(example.substr(i + quoted, end - i - quoted));
            i = end == std::string::npos ? example.size() : end + 1;
        }
        EXPECT_GT(args.size(), 1u);
        const CalcRun run = calc(args);
        EXPECT_EQ(run.status, 0) << run.err;
    }
    EXPECT_GE(count, 10);

    // A mistyped command is answered with the nearest one.
    const struct {
        const char* typed;
        const char* suggested; // "": none
    } typos[] = {{"fac", "fact"},   {"factorial", "fact"}, {"dvi", "div"},
                 {"rond", "round"}, {"ad", "add"},         {"frobnicate", ""}};
    for (const auto& t : typos) {
        const CalcRun run = calc({t.typed, "1"});
        EXPECT_EQ(run.status, 2) << t.typed;
        const std::string hint = std::string("did you mean \"") + t.suggested + "\"?";
        EXPECT_EQ(run.err.find(hint) != std::string::npos, *t.suggested != 0) << run.err;
    }

    const std::vector<std::vector<std::string>> wrong = {{},
                                                         {"add", "1"},
                                                         {"add", "1", "2", "3"},
                                                         {"frobnicate", "1", "2"},
                                                         {"pow", "2"},
                                                         {"perm", "5", "3", "1", "1"},
                                                         {"add", "@-", "@-"}};
    for (const auto& args : wrong) {
        const CalcRun run = calc(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage: longhand-calc"), std::string::npos);
    }
}

TEST_F(CalcTest, OperandsFromFilesAndStandardInput) {
    test::writeBytes(path("a.txt"), "12.5\n");
    test::writeBytes(path("b.txt"), "-3\r\n");
    CalcRun run = calc({"add", "@" + path("a.txt"), "@" + path("b.txt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "9.5\n");

    run = calc({"sub", "1", "@-"}, {.input = "0.25"});
    EXPECT_EQ(run.out, "0.75\n");

    // Wrapped and grouped digits come in whole.
    const struct {
        const char *bytes, *sum;
    } wrapped[] = {
        {"12\n34\n", "1235"},
        {"1_000 000\t5\r\n", "10000006"},
        {" -1 2.5\n\n\n", "-11.5"},
        {"\xEF\xBB\xBF-2\r\n", "-1"}, // a byte-order mark before the number
    };
    for (const auto& w : wrapped) {
        test::writeBytes(path("a.txt"), w.bytes);
        run = calc({"add", "@" + path("a.txt"), "1"});
        EXPECT_EQ(run.status, 0) << w.bytes << ": " << run.err;
        EXPECT_EQ(run.out, std::string(w.sum) + "\n") << w.bytes;
    }

    // Anything else refuses, naming the file, the byte and its place.
    const struct {
        const char* bytes;
        std::string why;
    } refused[] = {
        {"12\n3.4.5", "\".\" at byte 7"},
        {"1-2", "\"-\" at byte 2"},
        {"7\f", "\"\\x0c\" at byte 2"},
        {"1\xEF\xBB\xBF", "\"\\xef\" at byte 2"}, // a mark only counts at the start
    };
    for (const auto& r : refused) {
        test::writeBytes(path("a.txt"), r.bytes);
        run = calc({"mul", "3", "@" + path("a.txt")});
        EXPECT_EQ(run.status, 1) << r.bytes;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, path("a.txt") + ": " + r.why + " is not part of a decimal number " +
                               kNumberForm + "\n");
    }
    // A long file is checked in pieces on every thread: a wrong byte deep
    // inside is still named by its place, and wrapped digits still come in.
    std::string digits(std::size_t{3} << 20, '7');
    digits[2'000'001] = 'x';
    test::writeBytes(path("a.txt"), digits);
    run = calc({"mul", "3", "@" + path("a.txt")});
    EXPECT_EQ(run.err, path("a.txt") + ": \"x\" at byte 2000002 is not part of a decimal number " +
                           kNumberForm + "\n");
    std::string lines = "1";
    for (int row = 0; row < 40000; ++row)
        lines += std::string(50, '0') + "\n";
    test::writeBytes(path("a.txt"), lines);
    run = calc({"add", "@" + path("a.txt"), "1"});
    EXPECT_EQ(run.out, "1" + std::string(1999999, '0') + "1\n") << run.err;
    run = calc({"fact", "@-"}, {.input = "1-2"});
    EXPECT_EQ(run.err, "standard input: \"-\" at byte 2 is not part of a decimal number " +
                           std::string(kNumberForm) + "\n");

    // An empty file, one of blanks only, or one without a digit holds no
    // number, for every command.
    for (const char* empty : {"", " \n\t_\r\n", "\xef\xbb\xbf"}) {
        test::writeBytes(path("a.txt"), empty);
        run = calc({"add", "@" + path("a.txt"), "1"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, path("a.txt") + " holds no number: it is empty.\n");
    }
    test::writeBytes(path("a.txt"), "\n.\n");
    run = calc({"fact", "@" + path("a.txt")});
    EXPECT_EQ(run.err, path("a.txt") + " holds no number: only \".\", which has no digit.\n");
    run = calc({"pow", "2", "@-"}, {.input = "-"});
    EXPECT_EQ(run.err, "standard input holds no number: only \"-\", which has no digit.\n");

    // A byte-order mark at the start is dropped, as the windows' Open does;
    // anywhere else it is no part of a number.
    test::writeBytes(path("bom.txt"), "\xef\xbb\xbf"
                                      "12\r\n");
    run = calc({"add", "@" + path("bom.txt"), "1"});
    EXPECT_EQ(run.out, "13\n") << run.err;
    run = calc({"mul", "@-", "2"}, {.input = "\xef\xbb\xbf"
                                             "21"});
    EXPECT_EQ(run.out, "42\n") << run.err;
    test::writeBytes(path("bom.txt"), "1\xef\xbb\xbf");
    run = calc({"add", "@" + path("bom.txt"), "1"});
    EXPECT_EQ(run.status, 1);

    run = calc({"add", "@" + path("missing"), "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Cannot read " + path("missing") + ": No such file or directory.\n");
}

// Operands too long to hold are refused as soon as that is known: a file by
// its size before it is read, a stream once it passes the limit, and a
// device of zero bytes at its first one.
TEST_F(CalcTest, OverlongOperandsAreRefusedEarly) {
    const RunOptions lowMemory{.addressSpace = kAddressLimitApplies ? rlim_t{1} << 30 : 0};
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
    const RunOptions endless{.endlessInput = true, .addressSpace = rlim_t{256} << 20};
    run = calc({"add", "@-", "1"}, endless);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("standard input is too long for the free memory", 0), 0u) << run.err;
    EXPECT_LT(run.fedBytes, endless.addressSpace / 2);
}

// Out of memory in a calculation ends in a message, not an abort. The
// operands fit within the limit, the work does not.
TEST_F(CalcTest, RunningOutOfMemoryEndsInAMessage) {
    if (!kAddressLimitApplies) GTEST_SKIP() << "no address-space limit under a sanitizer";
    auto rng = test::seededRng("CalcTest.RunningOutOfMemoryEndsInAMessage");
    test::writeBytes(path("a.txt"), test::makeDigits(rng, 8'000'000));
    test::writeBytes(path("b.txt"), test::makeDigits(rng, 4'000'000));
    const RunOptions lowMemory{.addressSpace = rlim_t{48} << 20};
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
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"add", "1", "2"}, std::vector<std::string>{"--help"}}) {
            SCOPED_TRACE(testing::PrintToString(args));
            const CalcRun run = calc(args, {.output = output});
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err.rfind("longhand-calc: cannot write the output: ", 0), 0u) << run.err;
        }
    }
}

TEST_F(CalcTest, CtrlCEndsALongCalculationWithStatus130) {
    RunOptions options;
    options.interrupt = true;
    const CalcRun run = calc({"pow", "7", "100000000"}, options);
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.out, "");
}

TEST_F(CalcTest, VersionFromTheProject) {
    const CalcRun run = calc({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "longhand-calc " LONGHAND_PROJECT_VERSION "\n");
    EXPECT_EQ(run.err, "");
}

} // namespace

namespace {

// eval: the value on standard output, its kind or the refusal on standard
// error, the exit status as for the commands.
TEST_F(CalcTest, EvalPrintsTheValueAndSaysItsKind) {
    test::writeBytes(path("n.txt"), "1_000\n");
    const struct {
        std::vector<std::string> args;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {{"eval", "1/6"}, 0, "0.1(6)\n", "period of 1 digit after 1\n"},
        {{"eval", "2", "^", "10"}, 0, "1024\n", "4 digits\n"},
        {{"eval", "-3^2"}, 0, "-9\n", "1 digit\n"},
        {{"eval", "--period-limit", "3", "1/7"},
         0,
         "0.142\n",
         "3 digits (0 before the point, 3 after), cut, not rounded\n"},
        {{"eval", "--places", "3", "-2/3"}, 0, "-0.666\n", ""},
        {{"eval", "--fraction", "0.75*2"}, 0, "3/2\n", ""},
        {{"eval", "@" + path("n.txt")}, 0, "1000\n", "4 digits\n"},
        {{"eval", "1 + (2 * 3))"}, 1, "", "unexpected \")\" at column 12\n"},
        {{"eval", "1/(1-1)"}, 1, "", "Division by zero.\n"},
        // Texts and answers print as they are, whatever the form.
        {{"eval", "--fraction", "base(-255, 16)"}, 0, "-ff\n", "2 digits in base 16\n"},
        {{"eval", "frombase('FF', 16)"}, 0, "255\n", "3 digits\n"},
        {{"eval", "--places", "2", "isprime(2^61-1)"}, 0, "prime\n", ""},
        {{"eval", "base(7, 2) * 2"}, 1, "", "\"*\" takes numbers, not a text, at column 1\n"},
        {{"eval", "frombase(7, 2)"},
         1,
         "",
         "the first argument of frombase must be a text in quotes, such as \"ff\", at column 10\n"},
        {{"eval"}, 2, "", nullptr},
        {{"eval", "--places", "x", "1"}, 2, "", nullptr},
        {{"eval", "--places", "1", "--fraction", "1"}, 2, "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CalcRun run = calc(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        if (c.err) {
            EXPECT_EQ(run.err, c.err);
        }
    }
}

// eval -: a line of output for each line of input; ans and #k reach back.
TEST_F(CalcTest, EvalReadsOneExpressionPerLine) {
    const CalcRun run = calc({"eval", "-"}, {.input = "1/3\n\nans*3\n#1+#3\n1/0\n#5\n2^10\n"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "0.(3)\n\n1\n1.(3)\n\n\n1024\n");
    EXPECT_NE(run.err.find("Division by zero.\nno entry #5 at column 1\n"), std::string::npos);
}

// A text as ans and #k: read back by frombase, refused in arithmetic.
TEST_F(CalcTest, EvalKeepsTextsForAnsAndEntries) {
    const CalcRun run =
        calc({"eval", "-"}, {.input = "base(10, 2)\nfrombase(ans, 2)\n#1 + 1\nisprime(#2)\n"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "1010\n10\n\ncomposite\n");
    EXPECT_NE(run.err.find("\"+\" takes numbers, not a text, at column 1\n"), std::string::npos);
}

} // namespace
