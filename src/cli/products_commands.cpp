// fact, perm, comb: the function dialog's Factorial, Permutation and
// Combination modes; prod: the main window's partial product. They compute
// without the factorial data file (the command-line host has none) and ask
// nothing.
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

// Passes everything to the command-line host but keeps the first message,
// so that a refusal is printed once, as the command's own.
class MessageKeeper final : public EngineHost {
  public:
    explicit MessageKeeper(EngineHost& inner) : inner_(inner) {}

    const std::string& message() const { return message_; }

    void showMessage(const std::string& text) override {
        if (message_.empty()) message_ = text;
    }
    bool askYesNo(const std::string& text) override { return inner_.askYesNo(text); }
    bool soundOn() const override { return inner_.soundOn(); }
    void stopSound() override { inner_.stopSound(); }
    void finished() override { inner_.finished(); }
    std::string readText(const std::string& key, int maxLen) override {
        return inner_.readText(key, maxLen);
    }
    std::string facUpper() const override { return inner_.facUpper(); }
    void setFacUpper(const std::string& n) override { inner_.setFacUpper(n); }
    std::string facDataPath() const override { return {}; } // never the store
    bool cancelled() const override { return inner_.cancelled(); }
    void progress(double fraction) override { inner_.progress(fraction); }

  private:
    EngineHost& inner_;
    std::string message_;
};

OperationOutcome refused(std::string message) {
    return {false, false, std::move(message)};
}

// The engine's "" is a refusal when a message came with it, else a zero.
OperationOutcome outcomeOf(const MessageKeeper& keeper, std::string result) {
    if (!keeper.message().empty()) return refused(keeper.message());
    return {true, true, shownResult(std::move(result))};
}

bool allWhole(const std::vector<std::string>& operands, std::size_t count) {
    return std::all_of(operands.begin(), operands.begin() + static_cast<std::ptrdiff_t>(count),
                       [](const std::string& s) { return isWholeNumberText(s); });
}

// The repetition digit: 0 when left out.
bool repetitionFlag(const std::string& text, int& flag) {
    if (text.empty()) {
        flag = 0;
        return true;
    }
    if (text.size() != 1 || text[0] < '0' || text[0] > '9') return false;
    flag = text[0] - '0';
    return true;
}

OperationOutcome runFact(std::vector<std::string>& v, EngineHost& host) {
    if (!allWhole(v, 1)) return refused(kWholeArguments);
    MessageKeeper keeper(host);
    return outcomeOf(keeper, factorN(v[0], 0, keeper));
}

template <std::string (*count)(std::string, std::string, int, EngineHost&)>
OperationOutcome runCount(std::vector<std::string>& v, EngineHost& host) {
    if (!allWhole(v, 2)) return refused(kWholeArguments);
    int flag = 0;
    if (!repetitionFlag(v[2], flag)) return refused(kRepetitionDigit);
    MessageKeeper keeper(host);
    return outcomeOf(keeper, count(std::move(v[0]), std::move(v[1]), flag, keeper));
}

OperationOutcome runProd(std::vector<std::string>& v, EngineHost& host) {
    MessageKeeper keeper(host);
    PartialProductOutcome outcome = partialProduct(v[0], v[1], keeper);
    if (!outcome.refusal.empty()) return refused(std::move(outcome.refusal));
    return outcomeOf(keeper, std::move(outcome.product));
}

const CommandRegistrar fact({"fact", {"N"}, "N!, for a whole N", 60, runFact});
const CommandRegistrar
    perm({"perm",
          {"N", "R", "[F]"},
          "ordered selections of R out of N (whole numbers); F 1: with repetition",
          70,
          runCount<perMutation>});
const CommandRegistrar
    comb({"comb",
          {"N", "R", "[F]"},
          "unordered selections of R out of N (whole numbers); F 1: with repetition",
          80,
          runCount<combination>});
const CommandRegistrar
    prod({"prod", {"M", "N"}, "M (M+1) (M+2) ... N, for whole numbers N > M", 90, runProd});

} // namespace

} // namespace longhand::cli
