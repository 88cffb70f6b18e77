// longhand-calc: the calculator's operations on the command line, printing
// exactly what the windows would show.
#include "answerwords.h"
#include "commands.h"
#include "core/operandlimits.h"
#include "core/operands.h"
#include "engine/fast/parallel.h"
#include "eval.h"
#include "refusalwords.h"
#include "version.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using longhand::Operand;
using longhand::cli::Command;

// Exit statuses: 0 a result (or nothing to print), 1 a refusal of any
// kind, 2 wrong usage.
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
// The shells' status for a program stopped by Ctrl+C (128 + SIGINT).
constexpr int kExitInterrupted = 130;

constexpr const char* kOutOfMemory = "Not enough memory for numbers this long.";
constexpr const char* kTooLong = "The result would be too long to hold.";
constexpr const char* kCutMark = "(cut, not rounded)";

std::string usageText() {
    const std::vector<Command> all = longhand::cli::commands();
    std::vector<std::string> heads;
    std::size_t width = 0;
    for (const Command& c : all) {
        std::string head = c.name;
        for (const std::string& operand : c.operands)
            head += " " + operand;
        width = std::max(width, head.size());
        heads.push_back(std::move(head));
    }
    std::string text =
        "usage: longhand-calc COMMAND OPERAND...\n"
        "       longhand-calc eval [--places N | --fraction] [--period-limit N] EXPR\n"
        "       longhand-calc eval [OPTIONS] -\n"
        "       longhand-calc                (a prompt, on a terminal)\n"
        "       longhand-calc --help | --version | --commands\n"
        "\n"
        "Commands, each with an example:\n";
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string indent(width + 4, ' ');
        text += "  " + heads[i] + std::string(width - heads[i].size() + 2, ' ');
        text += all[i].summary + "\n";
        text += indent + "longhand-calc " + all[i].name + " " + all[i].example + "\n";
    }
    text += "\n"
            "--commands prints the command names, one a line, for the shells' completion.\n";
    text += "\n"
            "Operands are decimal numbers: an optional leading \"-\", digits and at most\n"
            "one \".\", such as -12.5, .25 or 007; nothing else, not even a blank or a \"+\".\n"
            "\n"
            "An operand written @FILE is read from FILE, and @- from standard input.\n"
            "Blanks, tabs, line breaks and underscores are left out of them wherever\n"
            "they stand, so wrapped or grouped digits come in whole; what remains must\n"
            "be a decimal number. A file or stream that would take more than 1/" +
            std::to_string(longhand::kOperandMemoryShare) +
            " of the\n"
            "free memory is refused before it is read in full.\n"
            "\n"
            "The result is printed as the calculator shows it. A root that does not end\n"
            "is cut (never rounded) after PLACES decimals, by default as many as X / 1\n"
            "gets, and standard error says \"(cut, not rounded)\". isprime says prime\n"
            "(proven below 3317044064679887385961981), probable prime (BPSW) above\n"
            "that, or composite.\n"
            "\n"
            "eval EXPR prints the exact value of an expression: numbers, @FILE or\n"
            "@\"a path\", + - * / ^ (also \u00d7 \u00b7 \u00f7), unary minus, postfix !,\n"
            "parentheses, P(n, r[, f]), C(n, r[, f]), prod(m, n), round(x, k),\n"
            "sqrt(x[, d]), root(x, k[, d]), gcd(a, b, ...), lcm(a, b, ...),\n"
            "powmod(a, e, m), nextprime(n), isprime(n), base(x, b), frombase(\"text\",\n"
            "b), 0xff and 0b101 (hexadecimal and binary), ans and #k (the value of\n"
            "line k). base() and isprime() give texts (\"ff\", \"prime\"), printed as\n"
            "they are; frombase() reads a text in quotes, and arithmetic on a text is\n"
            "refused. A repeating value shows its period in parentheses, 1/6 =\n"
            "0.1(6), when pre-period and period fit in --period-limit places\n"
            "(100000); otherwise it is cut there. The kind of value (\"12 digits\",\n"
            "\"period of 6 digits after 1\", \"(cut, not rounded)\", \"2 digits in base\n"
            "16\") is said on standard error. --places N prints exactly N decimals,\n"
            "cut; --fraction prints a/b. eval - reads one expression per line of\n"
            "standard input and prints one line for each. For example:\n"
            "    longhand-calc eval '(2^100 + 1) / 3'\n"
            "\n"
            "Exit status:\n"
            "  0  the result was printed\n"
            "  1  refused, with the reason on standard error: the operation's own\n"
            "     message, an operand that is not a number, a file that cannot be read\n"
            "     or is too long, not enough memory, or output that could not be written\n"
            "  2  wrong usage\n"
            "  130  stopped by Ctrl+C\n";
    return text;
}

int usageError(const std::string& why) {
    std::fprintf(stderr, "longhand-calc: %s\n\n%s", why.c_str(), usageText().c_str());
    return kExitUsage;
}

// A long text into a regular file: its halves side by side with pwrite at
// their offsets, then the file position moved past them. Returns -1 with
// nothing written where that cannot be done (a pipe, a terminal, a file
// opened for appending, one thread, a short text), 0 once written, else
// the error number of the failed write.
int writeInHalves(std::string_view text) {
    constexpr std::size_t kMinBytes = std::size_t{16} << 20;
    const int fd = fileno(stdout);
    struct stat st {};
    if (text.size() < kMinBytes || longhand::fast::par::threads() < 2 || fstat(fd, &st) != 0 ||
        !S_ISREG(st.st_mode) || (fcntl(fd, F_GETFL) & O_APPEND) != 0 || std::fflush(stdout) != 0)
        return -1;
    const off_t start = lseek(fd, 0, SEEK_CUR);
    if (start < 0) return -1;
    auto writeAll = [fd](const char* p, std::size_t n, off_t at) {
        while (n > 0) {
            const ssize_t w = pwrite(fd, p, n, at);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return w < 0 ? errno : EIO;
            p += w;
            n -= static_cast<std::size_t>(w);
            at += w;
        }
        return 0;
    };
    const std::size_t half = text.size() / 2;
    int second = 0;
    std::thread other;
    try {
        other = std::thread([&] {
            second =
                writeAll(text.data() + half, text.size() - half, start + static_cast<off_t>(half));
        });
    } catch (const std::system_error&) {
        return -1; // no second thread: written in one piece
    }
    const int first = writeAll(text.data(), half, start);
    other.join();
    if (first != 0 || second != 0) return first != 0 ? first : second;
    return lseek(fd, start + static_cast<off_t>(text.size()), SEEK_SET) < 0 ? errno : 0;
}

// Writes the whole of `text` to standard output and flushes it; a failed
// write (a full disk, a closed stdout) is said on standard error.
bool writeOut(std::string_view text, bool newline) {
    errno = 0;
    const int halves = writeInHalves(text);
    bool ok = halves == 0;
    if (halves > 0) errno = halves;
    if (halves < 0) ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (ok && newline) ok = std::fputc('\n', stdout) != EOF;
    if (ok) ok = std::fflush(stdout) == 0;
    if (!ok) {
        std::fprintf(stderr, "longhand-calc: cannot write the output: %s\n",
                     errno != 0 ? std::strerror(errno) : "write error");
    }
    return ok;
}

// An operand's name as the usage text gives it, without the brackets of an
// optional one.
std::string operandName(const Command& command, std::size_t index) {
    // Past the names, or at a "...", an operand is counted.
    if (index >= command.operands.size() || command.operands[index] == "...")
        return std::to_string(index + 1);
    std::string name = command.operands[index];
    if (name.size() > 2 && name.front() == '[') name = name.substr(1, name.size() - 2);
    return name;
}

// The text of a file operand of a command that reads texts in other bases:
// blanks, line breaks and underscores left out, no more than `limit` bytes.
std::optional<std::string> readTextOperand(const std::string& path, std::uint64_t limit,
                                           std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "Cannot read " + path + ".";
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            const char c = buffer[i];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '_') text += c;
        }
        if (text.size() > limit) return path + " is too long to read.";
    }
    return std::nullopt;
}

int refuse(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return kExitRefused;
}

// Ctrl+C ends the program at once, whatever thread is computing: nothing
// half-done needs undoing, since a command writes nothing but its result.
void onInterrupt(int) {
    _exit(kExitInterrupted);
}

} // namespace

int main(int argc, char** argv) {
    struct sigaction interrupt = {};
    interrupt.sa_handler = onInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, nullptr);

    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
        return writeOut(usageText(), false) ? 0 : kExitRefused;
    if (args.size() == 1 && args[0] == "--version") {
        const std::string version = std::string("longhand-calc ") + longhand::kVersion;
        return writeOut(version, true) ? 0 : kExitRefused;
    }
    if (args.empty()) {
        if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) return longhand::cli::runPrompt();
        return usageError("no command given");
    }
    if (args[0] == "eval") {
        try {
            return longhand::cli::runEval({args.begin() + 1, args.end()});
        } catch (const std::bad_alloc&) {
            return refuse(kOutOfMemory);
        }
    }

    const std::vector<Command> all = longhand::cli::commands();
    if (args.size() == 1 && args[0] == "--commands") {
        std::string names;
        for (const Command& c : all)
            names += c.name + "\n";
        names += "eval\n"; // the one command with options of its own
        return writeOut(names, false) ? 0 : kExitRefused;
    }
    const auto command =
        std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == args[0]; });
    if (command == all.end()) {
        const std::string nearest = longhand::cli::nearestCommand(args[0], all);
        return usageError("unknown command \"" + args[0] + "\"" +
                          (nearest.empty() ? "" : "; did you mean \"" + nearest + "\"?"));
    }
    // Operands named in brackets ("[F]") are optional; they come last.
    // "..." after the last one: any count more.
    const bool variadic = !command->operands.empty() && command->operands.back() == "...";
    const std::size_t named = command->operands.size() - (variadic ? 1 : 0);
    const std::size_t total = variadic ? std::max(named, args.size() - 1) : named;
    const auto required = static_cast<std::size_t>(std::count_if(
        command->operands.begin(), command->operands.begin() + static_cast<std::ptrdiff_t>(named),
        [](const std::string& name) { return name.rfind('[', 0) != 0; }));
    if (variadic && args.size() - 1 < required)
        return usageError(command->name + " takes at least " + std::to_string(required) +
                          " operands");
    if (!variadic && (args.size() - 1 < required || args.size() - 1 > total))
        return usageError(command->name + " takes " + std::to_string(required) +
                          (required == total ? "" : " to " + std::to_string(total)) + " operands");

    if (std::count(args.begin() + 1, args.end(), "@-") > 1)
        return usageError("only one operand can be read from standard input");

    // Each operand in turn; the first that is not a number is named.
    std::vector<std::string> operands;
    std::optional<std::uint64_t> limit; // found once, when a file is read
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg.front() != '@') {
            if (!command->textOperands)
                if (const auto refusal = longhand::typedOperandRefusal(arg))
                    return refuse(*refusal);
            if (const auto refusal =
                    longhand::digitlessRefusal(arg, operandName(*command, i - 1), false);
                refusal && (!command->textOperands || arg.empty()))
                return refuse(*refusal);
            operands.push_back(arg);
            continue;
        }
        if (!limit) limit = longhand::operandByteLimit();
        if (command->textOperands && arg != "@-") { // a text in another base: no digit check
            std::string text;
            if (const auto refusal = readTextOperand(arg.substr(1), *limit, text))
                return refuse(*refusal);
            operands.push_back(std::move(text));
            continue;
        }
        Operand operand;
        if (arg == "@-") {
            operand = longhand::readOperandStream(stdin, "standard input", *limit);
        } else {
            operand = longhand::readOperandFile(arg.substr(1), *limit);
        }
        if (!operand.refusal.empty()) return refuse(operand.refusal);
        const std::string source = arg == "@-" ? "standard input" : arg.substr(1);
        if (const auto refusal = longhand::digitlessRefusal(operand.text, source, true))
            return refuse(*refusal);
        operands.push_back(std::move(operand.text));
    }
    operands.resize(total); // a missing optional operand is the empty text
    if (command->check)
        if (const std::optional<std::string> refusal = command->check(operands))
            return refuse(*refusal);

    longhand::Progress progress; // nothing cancels a command
    longhand::Outcome outcome;
    try {
        outcome = command->run(operands, progress);
    } catch (const std::bad_alloc&) {
        return refuse(kOutOfMemory);
    } catch (const std::length_error&) {
        return refuse(kTooLong);
    }
    if (outcome.status == longhand::Outcome::Status::Refused)
        return refuse(longhand::cli::refusalWords(outcome.refusal, command->refusalNames.empty()
                                                                       ? command->operands
                                                                       : command->refusalNames));
    // An answer (isprime's) has no text of its own: it is said in words.
    if (outcome.answer != longhand::Answer::None)
        outcome.text = longhand::cli::answerWords(outcome.answer);
    if (outcome.isResult() && !writeOut(outcome.text, true)) return kExitRefused;
    if (outcome.isResult() && outcome.cut && command->saysCut)
        std::fprintf(stderr, "%s\n", kCutMark);
    return 0;
}
