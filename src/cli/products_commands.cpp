// fact, perm, comb: the function dialog's Factorial, Permutation and
// Combination modes; prod: the main window's partial product. They compute
// without the factorial store and ask nothing.
#include "commands.h"
#include "engine/combinatorics.h"
#include "engine/factorial.h"
#include "engine/partialproduct.h"
#include "engine/rangeproduct.h"

#include <algorithm>

namespace longhand::cli {

namespace {

constexpr const char* kWholeArguments = "The arguments must be whole numbers without sign.";
constexpr const char* kRepetitionDigit = "The repetition flag must be one digit, 0 to 9.";

bool allWhole(const std::vector<std::string>& operands, std::size_t count) {
    return std::all_of(operands.begin(), operands.begin() + static_cast<std::ptrdiff_t>(count),
                       [](const std::string& s) { return isWholeNumberText(s); });
}

// The repetition digit: 0 when left out.
bool repetitionDigit(const std::string& text, int& digit) {
    if (text.empty()) {
        digit = 0;
        return true;
    }
    if (text.size() != 1 || text[0] < '0' || text[0] > '9') return false;
    digit = text[0] - '0';
    return true;
}

Outcome runFact(std::vector<std::string>& v, Progress& progress) {
    if (!allWhole(v, 1)) return Outcome::refused(kWholeArguments);
    return factorial(v[0], nullptr, progress);
}

template <Outcome (*count)(std::string_view, std::string_view, int, FactorialKeeper*, Progress&)>
Outcome runCount(std::vector<std::string>& v, Progress& progress) {
    if (!allWhole(v, 2)) return Outcome::refused(kWholeArguments);
    int digit = 0;
    if (!repetitionDigit(v[2], digit)) return Outcome::refused(kRepetitionDigit);
    return count(v[0], v[1], digit, nullptr, progress);
}

Outcome runProd(std::vector<std::string>& v, Progress& progress) {
    return partialProduct(v[0], v[1], progress);
}

const CommandRegistrar fact({"fact", {"N"}, "N!, for a whole N", 60, runFact, "30"});
const CommandRegistrar
    perm({"perm",
          {"N", "R", "[F]"},
          "ordered selections of R out of N (whole numbers); F 1: with repetition",
          70,
          runCount<permutations>,
          "5 3 1"});
const CommandRegistrar
    comb({"comb",
          {"N", "R", "[F]"},
          "unordered selections of R out of N (whole numbers); F 1: with repetition",
          80,
          runCount<combinations>,
          "49 6"});
const CommandRegistrar
    prod({"prod", {"M", "N"}, "M (M+1) (M+2) ... N, for whole numbers N > M", 90, runProd, "3 5"});

} // namespace

} // namespace longhand::cli
