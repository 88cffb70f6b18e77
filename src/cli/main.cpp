// longhand-calc: the calculator's operations on the command line, printing
// exactly what the windows would show.
#include "clihost.h"
#include "commands.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using longhand::cli::Command;

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

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
    std::string text = "usage: longhand-calc COMMAND OPERAND...\n"
                       "       longhand-calc --help\n"
                       "\n"
                       "Commands:\n";
    for (std::size_t i = 0; i < all.size(); ++i) {
        text += "  " + heads[i] + std::string(width - heads[i].size() + 2, ' ');
        text += all[i].summary + "\n";
    }
    text += "\n"
            "Operands are decimal numbers such as -12.5, .25 or 007. An operand written\n"
            "@FILE is read from FILE (one trailing newline ignored); @- reads standard\n"
            "input. The result is printed as the calculator shows it. A refused\n"
            "operation prints its message on standard error and exits with status 1;\n"
            "wrong usage exits with status 2.\n";
    return text;
}

int usageError(const std::string& why) {
    std::fprintf(stderr, "longhand-calc: %s\n\n%s", why.c_str(), usageText().c_str());
    return kExitUsage;
}

std::optional<std::string> readStream(std::FILE* f) {
    std::string bytes;
    char buf[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, n);
    if (std::ferror(f)) return std::nullopt;
    return bytes;
}

std::optional<std::string> readFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::optional<std::string> bytes = readStream(f);
    std::fclose(f);
    return bytes;
}

void dropOneNewline(std::string& s) {
    if (!s.empty() && s.back() == '\n') {
        s.pop_back();
        if (!s.empty() && s.back() == '\r') s.pop_back();
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        const std::string text = usageText();
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    if (args.empty()) return usageError("no command given");

    const std::vector<Command> all = longhand::cli::commands();
    const auto command =
        std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == args[0]; });
    if (command == all.end()) return usageError("unknown command \"" + args[0] + "\"");
    // Operands named in brackets ("[F]") are optional; they come last.
    const std::size_t total = command->operands.size();
    const auto required = static_cast<std::size_t>(
        std::count_if(command->operands.begin(), command->operands.end(),
                      [](const std::string& name) { return name.rfind('[', 0) != 0; }));
    if (args.size() - 1 < required || args.size() - 1 > total)
        return usageError(command->name + " takes " + std::to_string(required) +
                          (required == total ? "" : " to " + std::to_string(total)) + " operands");

    std::vector<std::string> operands;
    bool stdinUsed = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg.front() != '@') {
            operands.push_back(arg);
            continue;
        }
        std::optional<std::string> text;
        if (arg == "@-") {
            if (stdinUsed) return usageError("only one operand can be read from standard input");
            stdinUsed = true;
            text = readStream(stdin);
        } else {
            text = readFile(arg.substr(1));
        }
        if (!text) {
            std::fprintf(stderr, "Cannot read %s.\n",
                         arg == "@-" ? "standard input" : arg.substr(1).c_str());
            return kExitRefused;
        }
        dropOneNewline(*text);
        operands.push_back(std::move(*text));
    }

    operands.resize(total); // a missing optional operand is the empty text

    longhand::cli::CliHost host;
    const longhand::OperationOutcome outcome = command->run(operands, host);
    if (!outcome.shown || !outcome.notice.empty()) {
        const std::string& message = outcome.shown ? outcome.notice : outcome.text;
        std::fprintf(stderr, "%s\n", message.c_str());
        return kExitRefused;
    }
    if (outcome.computed) {
        std::fwrite(outcome.text.data(), 1, outcome.text.size(), stdout);
        std::fputc('\n', stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : kExitRefused;
}
