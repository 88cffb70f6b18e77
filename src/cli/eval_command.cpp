// eval EXPR, eval - and the options that choose how a value is printed.
#include "answerwords.h"
#include "eval.h"
#include "expr_words.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace longhand::cli {

namespace {

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

// More digits than this cannot be a count of places anything can hold.
constexpr std::size_t kMaxCountDigits = 18;

std::optional<std::int64_t> parseCount(const std::string& text) {
    if (text.empty() || text.size() > kMaxCountDigits) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

int usage(const std::string& why) {
    std::fprintf(stderr,
                 "longhand-calc: %s\n"
                 "usage: longhand-calc eval [--places N | --fraction] [--period-limit N] EXPR\n"
                 "       longhand-calc eval [OPTIONS] -   (one expression per line of standard "
                 "input)\n",
                 why.c_str());
    return kExitUsage;
}

bool writeLine(const std::string& text) {
    errno = 0;
    bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    ok = ok && std::fputc('\n', stdout) != EOF && std::fflush(stdout) == 0;
    if (!ok)
        std::fprintf(stderr, "longhand-calc: cannot write the output: %s\n",
                     errno != 0 ? std::strerror(errno) : "write error");
    return ok;
}

} // namespace

Session::Printed Session::run(std::string_view line, Progress& progress) {
    expr::Environment env;
    env.ans = ans_;
    env.periodLimit = options_.periodLimit;
    env.entry = [this](std::uint64_t k) -> std::optional<expr::Value> {
        if (k == 0 || k > lines_.size()) return std::nullopt;
        return lines_[k - 1];
    };
    expr::Evaluation e = options_.form == EvalOptions::Form::Shown
                             ? expr::evaluate(line, env, progress)
                             : expr::evaluateValue(line, env, progress);
    Printed printed;
    if (e.hasValue() && !e.value.isNumber()) {
        // A text or an answer: printed as it is, whatever the form.
        printed.err = description(expr::show(e.value, 0, nullptr));
        printed.out =
            e.value.kind == expr::Value::Kind::Text ? e.value.text : answerWords(e.value.answer);
    } else if (e.hasValue()) {
        if (options_.form == EvalOptions::Form::Shown) {
            printed.err = description(e.shown);
            printed.out = std::move(e.shown.text);
        } else if (options_.form == EvalOptions::Form::Fraction) {
            printed.out = expr::fractionText(e.value.number);
        } else {
            const expr::Fraction& value = e.value.number;
            const expr::Evaluation shown = expr::guarded(
                [&](expr::Evaluation&, const fast::CancelCheck* cancel) {
                    printed.out = expr::placesText(value, options_.places, cancel);
                },
                progress);
            e.status = shown.status;
            e.refusal = shown.refusal;
        }
    }
    switch (e.status) {
    case expr::Evaluation::Status::Value:
        printed.status = Printed::Status::Value;
        ans_ = e.value;
        lines_.push_back(std::move(e.value));
        return printed;
    case expr::Evaluation::Status::Refused:
        printed.status = Printed::Status::Refused;
        printed.out.clear();
        printed.err = refusalText(e.refusal);
        break;
    case expr::Evaluation::Status::Cancelled:
        printed.status = Printed::Status::Cancelled;
        printed.out.clear();
        printed.err = refusalText({expr::RefusalKind::Cancelled, 0, ""});
        break;
    }
    lines_.emplace_back();
    return printed;
}

int runEval(const std::vector<std::string>& args) {
    EvalOptions options;
    std::size_t i = 0;
    bool formChosen = false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (a == "--fraction" || a == "--places") {
            if (formChosen) return usage("--places and --fraction exclude each other");
            formChosen = true;
            options.form =
                a == "--fraction" ? EvalOptions::Form::Fraction : EvalOptions::Form::Places;
            if (a == "--fraction") continue;
        } else if (a != "--period-limit") {
            break;
        }
        const std::optional<std::int64_t> n =
            i + 1 < args.size() ? parseCount(args[i + 1]) : std::nullopt;
        if (!n) return usage(a + " takes a count of decimals (digits only)");
        (a == "--places" ? options.places : options.periodLimit) = *n;
        ++i;
    }
    if (i >= args.size()) return usage("eval takes an expression");
    Session session(options);
    Progress progress; // nothing cancels a command
    if (i + 1 == args.size() && args[i] == "-") {
        int status = 0;
        std::string line;
        while (std::getline(std::cin, line)) {
            if (line.find_first_not_of(" \t\r") == std::string::npos) {
                session.skip();
                if (!writeLine("")) return kExitRefused;
                continue;
            }
            const Session::Printed p = session.run(line, progress);
            if (!p.err.empty()) std::fprintf(stderr, "%s\n", p.err.c_str());
            if (p.status != Session::Printed::Status::Value) status = kExitRefused;
            if (!writeLine(p.out)) return kExitRefused;
        }
        return status;
    }
    // The words after "eval" are one expression: `eval 2 + 3` as `eval "2 + 3"`.
    std::string line;
    for (std::size_t j = i; j < args.size(); ++j)
        line += (j > i ? " " : "") + args[j];
    const Session::Printed p = session.run(line, progress);
    if (!p.err.empty()) std::fprintf(stderr, "%s\n", p.err.c_str());
    if (p.status != Session::Printed::Status::Value) return kExitRefused;
    return writeLine(p.out) ? 0 : kExitRefused;
}

} // namespace longhand::cli
