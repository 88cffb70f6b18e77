// longhand-calc end to end: the built program is run with its output,
// errors and exit status captured.
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct CalcRun {
    int status = -1;
    std::string out, err;
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
        for (const char* f : {"in", "out", "err", "a.txt", "b.txt"})
            std::remove((dir_ + f).c_str());
        rmdir(dir_.c_str());
    }

    std::string path(const char* name) const { return dir_ + name; }

    CalcRun calc(const std::vector<std::string>& args, const std::string& input = "") const {
        spit(path("in"), input);
        std::vector<std::string> argv{LONGHAND_CALC};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> cargv;
        for (auto& a : argv)
            cargv.push_back(const_cast<char*>(a.c_str()));
        cargv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, path("in").c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, path("out").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, path("err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        CalcRun run;
        const int spawned = posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) return run;
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
        run.out = slurp(path("out"));
        run.err = slurp(path("err"));
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
        {"mul", "1.2.3", "4", "Turn on input-checking. Reenter data."},
        {"pow", "2", "-1", "The exponent must be a whole number."},
        {"pow", "2", "2.5", "The exponent must be a whole number."},
        {"pow", "1.2.3", "2", "Turn on input-checking. Reenter data."},
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

    // An empty file is an empty box.
    spit(path("a.txt"), "");
    run = calc({"add", "@" + path("a.txt"), "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "1 or 2 boxes are Empty.\n");

    run = calc({"add", "@" + path("missing"), "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Cannot read"), std::string::npos);
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
