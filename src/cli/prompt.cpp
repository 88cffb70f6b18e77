// The interactive prompt: one expression per line, edited with the
// terminal's keys, its typed lines kept across runs. Ctrl+C stops a
// running calculation and keeps the prompt; Ctrl+D leaves.
#include "eval.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <editline/readline.h>
#include <string>
#include <sys/stat.h>

namespace longhand::cli {

namespace {

// Typed lines kept across runs, at most this many.
constexpr int kKeptLines = 1000;
constexpr const char* kPromptText = "> ";

// The calculation Ctrl+C stops, while one runs; otherwise Ctrl+C at the
// prompt, which ends the line being typed. Lock-free atomic stores are all
// the signal handler does.
std::atomic<Progress*> running{nullptr};
std::atomic<bool> interruptedTyping{false};
static_assert(std::atomic<Progress*>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int) {
    if (Progress* progress = running.load())
        progress->cancel();
    else
        interruptedTyping.store(true);
}

// $XDG_DATA_HOME/longhand/calc_history, or ~/.local/share/longhand/...;
// empty when neither can be named.
std::string historyFile() {
    std::string folder;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        folder = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::string(home) + "/.local";
        mkdir(folder.c_str(), 0700);
        folder += "/share";
    } else {
        return {};
    }
    mkdir(folder.c_str(), 0700);
    folder += "/longhand";
    mkdir(folder.c_str(), 0700);
    return folder + "/calc_history";
}

} // namespace

int runPrompt() {
    const std::string history = historyFile();
    using_history();
    stifle_history(kKeptLines);
    if (!history.empty()) read_history(history.c_str());

    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);

    Session session({});
    while (true) {
        interruptedTyping.store(false);
        char* typed = readline(kPromptText);
        // The line editor gives up its line on Ctrl+C as on Ctrl+D: only
        // the latter leaves.
        if (!typed && interruptedTyping.load()) continue;
        if (!typed) break;
        const std::string line(typed);
        std::free(typed);
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        add_history(line.c_str());
        if (!history.empty()) write_history(history.c_str());

        Progress progress;
        running.store(&progress);
        const Session::Printed p = session.run(line, progress);
        running.store(nullptr);
        if (!p.out.empty()) std::printf("%s\n", p.out.c_str());
        std::fflush(stdout);
        if (!p.err.empty()) std::fprintf(stderr, "%s\n", p.err.c_str());
    }
    std::printf("\n");
    return 0;
}

} // namespace longhand::cli
