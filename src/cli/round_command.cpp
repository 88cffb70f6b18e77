// round: a number rounded to K decimals as the result box shows it after a
// click into the result and a click on the round hint.
#include "commands.h"
#include "engine/rounding.h"

#include <optional>
#include <string>
#include <vector>

namespace longhand::cli {

namespace {

constexpr const char* kNeedsFraction = "NUMBER must be a number with digits after its point.";
constexpr const char* kCountBelowFraction =
    "K must be a whole number below the count of digits after the point.";

// More digits than this cannot be a count of decimals of any text.
constexpr std::size_t kMaxCountDigits = 18;

// A count written in decimal digits only, or -1.
Count parseCount(const std::string& text) {
    if (text.empty() || text.size() > kMaxCountDigits) return -1;
    Count value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::string> checkRound(const std::vector<std::string>& operands) {
    const std::string& number = operands[0];
    if (!isNumberText(number) || fractionLength(number) == 0) return kNeedsFraction;
    // The hint offers k from 0 up to one below the count of fraction digits.
    const Count keep = parseCount(operands[1]);
    if (keep < 0 || keep >= fractionLength(number)) return kCountBelowFraction;
    return std::nullopt;
}

Outcome runRound(std::vector<std::string>& operands, Progress& /*progress*/) {
    const std::string& number = operands[0];
    // checkRound lets through only what roundToDecimals takes.
    return Outcome::result(
        roundToDecimals(number, pointPosition(number), parseCount(operands[1])).value(), false);
}

const CommandRegistrar round({"round",
                              {"NUMBER", "K"},
                              "NUMBER rounded half away from zero to K decimals",
                              90,
                              runRound,
                              "3.14159 2",
                              false,
                              false,
                              checkRound});

} // namespace

} // namespace longhand::cli
