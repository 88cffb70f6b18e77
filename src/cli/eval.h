// longhand-calc eval: expressions on the command line, from standard input
// one per line, and at an interactive prompt.
#pragma once

#include "engine/progress.h"
#include "expr/expr.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace longhand::cli {

// How a number is printed (a text or an answer is printed as it is).
struct EvalOptions {
    enum class Form { Shown, Places, Fraction };
    Form form = Form::Shown;
    std::int64_t places = 0; // Places: exactly this many decimals, cut
    std::int64_t periodLimit = expr::kDefaultPeriodLimit;
};

// The lines of one run: "ans" is the last value, "#k" the value of line k.
class Session {
  public:
    struct Printed {
        enum class Status { Value, Refused, Cancelled };
        Status status = Status::Refused;
        std::string out; // Value: the value as printed
        std::string err; // the description of the value, or the refusal
    };

    explicit Session(EvalOptions options) : options_(options) {}

    // Evaluates one line as line number lineCount() + 1.
    Printed run(std::string_view line, Progress& progress);
    // A line without an expression (blank): it holds no value for #k.
    void skip() { lines_.emplace_back(); }

  private:
    EvalOptions options_;
    std::vector<std::optional<expr::Value>> lines_;
    std::optional<expr::Value> ans_;
};

// eval's arguments after the word "eval"; returns the exit status.
int runEval(const std::vector<std::string>& args);

// The prompt with line editing, for longhand-calc without arguments on a
// terminal; returns the exit status.
int runPrompt();

} // namespace longhand::cli
