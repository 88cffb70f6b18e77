#include "operations.h"

#include "addsub.h"
#include "division.h"
#include "multiply.h"
#include "numtext.h"
#include "power.h"

#include <algorithm>
#include <utility>

namespace longhand {

namespace {

// Passes everything through to the caller's host except messages, which
// it keeps: the flow hands them back as refusals, so that the window and
// the command line each show them in their own way, once.
class MessageCatcher final : public EngineHost {
  public:
    explicit MessageCatcher(EngineHost& inner) : inner_(inner) {}

    bool caught() const { return caught_; }
    const std::string& message() const { return message_; }

    void showMessage(const std::string& text) override {
        if (caught_) return;
        caught_ = true;
        message_ = text;
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
    std::string facDataPath() const override { return inner_.facDataPath(); }
    bool cancelled() const override { return inner_.cancelled(); }
    void progress(double fraction) override { inner_.progress(fraction); }

  private:
    EngineHost& inner_;
    bool caught_ = false;
    std::string message_;
};

OperationOutcome refused(std::string message) {
    return {false, false, std::move(message)};
}

OperationOutcome result(const MessageCatcher& catcher, std::string text) {
    if (catcher.caught()) return refused(catcher.message());
    return {true, true, shownResult(std::move(text))};
}

// "0", "-0", "00", "-000", and a lone "-": no digit other than "0" after an
// optional leading "-".
bool zeroValued(const std::string& s) {
    const std::size_t start = !s.empty() && s.front() == '-' ? 1 : 0;
    return s.find_first_not_of('0', start) == std::string::npos;
}

} // namespace

std::string shownResult(std::string result) {
    // The engine gives a zero that went through normalization as the empty
    // text, with any signs it put in front: show a zero there.
    if (std::all_of(result.begin(), result.end(), [](char c) { return c == '-'; })) result += '0';
    return result;
}

OperationOutcome runFourOperation(int code, std::string a, std::string b, EngineHost& host) {
    if (leadCharKind(a) == KindEmpty || leadCharKind(b) == KindEmpty) return refused(kEmptyBoxes);
    // The digit work would read a stray character as a 0 or stop at it and
    // give a plausible wrong result.
    if (!isNumberText(a) || !isNumberText(b)) return refused(kMalformedOperand);
    dropPointZeros(a);
    dropPointZeros(b);
    if (a.empty() || b.empty()) return refused(kWeirdInput);

    MessageCatcher catcher(host);
    switch (code) {
    case OpAdd:
        return result(catcher, rcAdd(std::move(a), std::move(b)));
    case OpSubtract:
        return result(catcher, rcSub(std::move(a), std::move(b)));
    case OpMultiply:
        return result(catcher, bigMultifly(std::move(a), std::move(b), catcher));
    case OpDivide:
        // Exact text comparisons on the tidied operands: "00" is neither
        // "0" nor "1" here, but it is a zero divisor.
        if (b != "0" && a == "0") return result(catcher, "0");
        if (zeroValued(b)) return refused(kDivisionByZero);
        if (b == "1") return result(catcher, std::move(a));
        return result(catcher, bigdivision(std::move(a), std::move(b), catcher));
    default:
        return {true, false, {}};
    }
}

OperationOutcome runPower(std::string base, std::string exponent, EngineHost& host) {
    if (!isNumberText(base)) return refused(kMalformedOperand);
    if (!exponentIsWhole(exponent)) return refused(kExponentNotWhole);
    if (powerTooLong(base, exponent)) return refused(kPowerTooLong);
    MessageCatcher catcher(host);
    std::string r = raisePower(base, exponent, catcher);
    return result(catcher, std::move(r));
}

} // namespace longhand
