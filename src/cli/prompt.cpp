// The interactive prompt: one expression per line, edited with the
// terminal's keys, its typed lines kept across runs. Ctrl+C stops a
// running calculation and keeps the prompt; Ctrl+D leaves.
#include "eval.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <editline/readline.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace longhand::cli {

namespace {

// Typed lines kept across runs, at most this many.
constexpr int kKeptLines = 1000;
constexpr const char* kPromptText = "> ";

// What Ctrl+C does depends on where it comes:
// - while a calculation runs, it stops that calculation;
// - after the line editor has read the Enter of a line but before the
//   calculation has started, it stops the calculation as soon as it starts;
// - otherwise it ends the line being typed.
// Lock-free atomic stores are all the signal handler does.
std::atomic<Progress*> running{nullptr};
std::atomic<bool> lineTaken{false};
std::atomic<bool> stopNext{false};
std::atomic<bool> interruptedTyping{false};
static_assert(std::atomic<Progress*>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int) {
    if (Progress* progress = running.load())
        progress->cancel();
    else if (lineTaken.load())
        stopNext.store(true);
    else
        interruptedTyping.store(true);
}

// The line editor's reading of a key. A read that Ctrl+C interrupts ends
// the line (the editor takes -1 as the end of its input); one that another
// signal interrupts (a resized window) goes on. The Enter that ends a line
// is noted, so that a Ctrl+C after it is not taken for one while typing.
int readKey(FILE* in) {
    for (;;) {
        unsigned char c = 0;
        const ssize_t n = read(fileno(in), &c, 1);
        if (n == 1) {
            if (c == '\r' || c == '\n') lineTaken.store(true);
            return c;
        }
        if (n < 0 && errno == EINTR && !interruptedTyping.load()) continue;
        return -1;
    }
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
    rl_getc_function = readKey;
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
        lineTaken.store(false);
        stopNext.store(false);
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
        if (stopNext.exchange(false)) progress.cancel();
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
