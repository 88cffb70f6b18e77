// longhand-calc fact, perm, comb and prod, run as a user runs them.
#include "test_seed.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gmp.h>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct CalcRun {
    int status = -1;
    std::string out, err;
};

// Runs longhand-calc with `args` (already quoted for the shell) in `dir`.
CalcRun calc(const std::string& args, const fs::path& dir = fs::temp_directory_path()) {
    const fs::path errFile = dir / ("products-cli-err-" + std::to_string(::getpid()));
    const std::string command = "cd '" + dir.string() + "' && '" LONGHAND_CALC "' " + args +
                                " 2>'" + errFile.string() + "'";
    CalcRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buf[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        run.out.append(buf, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(errFile);
    run.err.assign(std::istreambuf_iterator<char>(in), {});
    fs::remove(errFile);
    return run;
}

std::string textOf(const mpz_t v) {
    std::string s(mpz_sizeinbase(v, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, v);
    s.resize(std::char_traits<char>::length(s.c_str()));
    return s;
}

std::string gmpFactorial(unsigned long n) {
    mpz_t f;
    mpz_init(f);
    mpz_fac_ui(f, n);
    std::string s = textOf(f);
    mpz_clear(f);
    return s;
}

TEST(ProductsCli, ThousandFactorialIsGmps) {
    const CalcRun run = calc("fact 1000");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, gmpFactorial(1000) + "\n");
    EXPECT_EQ(run.err, "");
}

TEST(ProductsCli, Results) {
    const struct {
        const char* args;
        const char* out;
    } cases[] = {
        {"fact 0", "1"},
        {"fact 007", "5040"},
        {"fact 20", "2432902008176640000"},
        {"perm 5 3", "60"},
        {"perm 5 3 0", "60"},
        {"perm 5 3 1", "125"},
        {"perm 5 3 2", "60"},
        {"perm 5 5", "120"},
        {"perm 5 0", "1"},
        {"perm 7 9", "0"},
        {"perm 7 9 1", "40353607"},
        {"perm 0 3 1", "0"}, // a count of zero shows "0"
        {"comb 5 3", "10"},
        {"comb 5 3 1", "35"},
        {"comb 2 2 1", "3"},
        {"comb 7 9", "0"},
        {"comb 005 02", "10"},
        {"prod 3 5", "60"},
        {"prod 1 20", "2432902008176640000"},
        {"prod 0 5", "0"},
        {"prod 9 10", "90"},
        {"prod 1000000000000000 1000000000000001", "1000000000000001000000000000000"},
    };
    for (const auto& c : cases) {
        const CalcRun run = calc(c.args);
        EXPECT_EQ(run.status, 0) << c.args << ": " << run.err;
        EXPECT_EQ(run.out, std::string(c.out) + "\n") << c.args;
    }
}

TEST(ProductsCli, Refusals) {
    const struct {
        const char* args;
        const char* err;
    } cases[] = {
        {"prod 5 5", "Wrong Input: Choose N > M"},
        {"prod 10 9", "Wrong Input: Choose N > M"},
        {"prod 9999999999999999 1000000000000000", "Wrong Input: Choose N > M"},
        {"prod -3 5", "Enter whole numbers: M and then N > M."},
        {"prod 3 5.5", "Enter whole numbers: M and then N > M."},
        {"fact -5", "The arguments must be whole numbers without sign."},
        {"fact 5.5", "The arguments must be whole numbers without sign."},
        {"fact ''", "The arguments must be whole numbers without sign."},
        {"perm 5 -3", "The arguments must be whole numbers without sign."},
        {"comb 5 3 10", "The repetition flag must be one digit, 0 to 9."},
        {"fact 100000000", "The product would be too long to hold."},
        {"perm 10 1000000000 1", "The power would be too long to hold."},
    };
    for (const auto& c : cases) {
        const CalcRun run = calc(c.args);
        EXPECT_EQ(run.status, 1) << c.args;
        EXPECT_EQ(run.out, "") << c.args;
        EXPECT_EQ(run.err, std::string(c.err) + "\n") << c.args;
    }
    for (const char* usage : {"fact", "fact 1 2", "perm 5", "perm 5 3 1 1", "prod 5"}) {
        const CalcRun run = calc(usage);
        EXPECT_EQ(run.status, 2) << usage;
        EXPECT_EQ(run.out, "") << usage;
    }
}

// Counts of long arguments against GMP, and no factorial store left behind.
TEST(ProductsCli, RandomCountsMatchGmpWithoutAStore) {
    const fs::path dir = fs::temp_directory_path() / ("products-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto seed = static_cast<unsigned>(
        longhand::test::testSeed("ProductsCli.RandomCountsMatchGmpWithoutAStore"));
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937_64 rng(seed);
    mpz_t n, a, b;
    mpz_inits(n, a, b, nullptr);
    for (int round = 0; round < 12; ++round) {
        std::string nt(1, static_cast<char>('1' + rng() % 9));
        for (int i = static_cast<int>(rng() % 30); i > 0; --i)
            nt.push_back(static_cast<char>('0' + rng() % 10));
        const unsigned long r = 2 + rng() % 20;
        mpz_set_str(n, nt.c_str(), 10);
        const std::string args = nt + " " + std::to_string(r);

        mpz_bin_ui(a, n, r);
        mpz_fac_ui(b, r);
        mpz_mul(b, a, b); // P(n, r) = C(n, r) r!
        CalcRun run = calc("perm " + args, dir);
        EXPECT_EQ(run.out, textOf(b) + "\n") << "perm " << args << ": " << run.err;
        run = calc("comb 00" + args, dir);
        EXPECT_EQ(run.out, textOf(a) + "\n") << "comb 00" << args << ": " << run.err;
        mpz_add_ui(b, n, r - 1);
        mpz_bin_ui(a, b, r);
        run = calc("comb " + args + " 1", dir);
        EXPECT_EQ(run.out, textOf(a) + "\n") << "comb " << args << " 1: " << run.err;
    }
    mpz_clears(n, a, b, nullptr);
    const CalcRun fact = calc("fact 150", dir);
    EXPECT_EQ(fact.out, gmpFactorial(150) + "\n");
    EXPECT_FALSE(fs::exists(dir / "facDat.vok"));
    fs::remove_all(dir);
}

TEST(ProductsCli, OperandFromFile) {
    const fs::path file =
        fs::temp_directory_path() / ("products-cli-n-" + std::to_string(::getpid()));
    std::ofstream(file) << "0025\n";
    const CalcRun run = calc("fact @'" + file.string() + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, gmpFactorial(25) + "\n");
    fs::remove(file);
}

} // namespace
