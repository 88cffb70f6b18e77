// fact, perm, comb: the function dialog's Factorial, Permutation and
// Combination modes; prod: the main window's partial product. They compute
// without the factorial store and ask nothing.
#include "commands.h"
#include "engine/combinatorics.h"
#include "engine/factorial.h"
#include "engine/partialproduct.h"
#include "engine/rangeproduct.h"

#include <optional>
#include <string>
#include <vector>

namespace longhand::cli {

namespace {

constexpr const char* kNotWhole = " must be a whole number without sign.";
constexpr const char* kRepetitionDigit = "F must be one digit, 0 to 9.";

// The first of the first `count` operands that is not a whole number, named.
std::optional<std::string> notWhole(const std::vector<std::string>& operands,
                                    const std::vector<std::string>& names, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!isWholeNumberText(operands[i])) return names[i] + kNotWhole;
    return std::nullopt;
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
    return factorial(v[0], nullptr, progress);
}

std::optional<std::string> checkFact(const std::vector<std::string>& v) {
    return notWhole(v, {"N"}, 1);
}

template <Outcome (*count)(std::string_view, std::string_view, int, FactorialKeeper*, Progress&)>
Outcome runCount(std::vector<std::string>& v, Progress& progress) {
    int digit = 0;
    repetitionDigit(v[2], digit);
    return count(v[0], v[1], digit, nullptr, progress);
}

std::optional<std::string> checkCount(const std::vector<std::string>& v) {
    if (auto refusal = notWhole(v, {"N", "R"}, 2)) return refusal;
    int digit = 0;
    if (!repetitionDigit(v[2], digit)) return kRepetitionDigit;
    return std::nullopt;
}

Outcome runProd(std::vector<std::string>& v, Progress& progress) {
    return partialProduct(v[0], v[1], progress);
}

const CommandRegistrar
    fact({"fact", {"N"}, "N!, for a whole N", 60, runFact, "30", false, false, checkFact});
const CommandRegistrar
    perm({"perm",
          {"N", "R", "[F]"},
          "ordered selections of R out of N (whole numbers); F 1: with repetition",
          70,
          runCount<permutations>,
          "5 3 1",
          false,
          false,
          checkCount});
const CommandRegistrar
    comb({"comb",
          {"N", "R", "[F]"},
          "unordered selections of R out of N (whole numbers); F 1: with repetition",
          80,
          runCount<combinations>,
          "49 6",
          false,
          false,
          checkCount});
const CommandRegistrar
    prod({"prod", {"M", "N"}, "M (M+1) (M+2) ... N, for whole numbers N > M", 90, runProd, "3 5"});

} // namespace

} // namespace longhand::cli
