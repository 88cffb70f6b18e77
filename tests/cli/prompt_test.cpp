// longhand-calc's prompt on a terminal: run on a pseudo-terminal, it
// answers typed lines, stops a running calculation on Ctrl+C and keeps the
// prompt, leaves on Ctrl+D, and keeps the typed lines for the next run.
#include "support/tempdir.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace test = longhand::test;

class Prompt {
  public:
    explicit Prompt(const std::string& home) {
        pid_ = forkpty(&fd_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            setenv("HOME", home.c_str(), 1);
            unsetenv("XDG_DATA_HOME");
            execl(LONGHAND_CALC, LONGHAND_CALC, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Prompt() {
        if (pid_ > 0 && !exited_) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        if (fd_ >= 0) close(fd_);
    }

    void type(const std::string& keys) {
        ASSERT_EQ(write(fd_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Everything the terminal shows until `text` has appeared, or what came
    // within the time.
    std::string waitFor(const std::string& text,
                        std::chrono::milliseconds wait = std::chrono::seconds(60)) {
        const auto end = std::chrono::steady_clock::now() + wait;
        while (seen_.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char buffer[4096];
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0) break;
            seen_.append(buffer, static_cast<std::size_t>(n));
        }
        const std::size_t at = seen_.find(text);
        std::string shown =
            seen_.substr(0, at == std::string::npos ? seen_.size() : at + text.size());
        seen_.erase(0, shown.size());
        return shown;
    }

    // Ctrl+D, and the exit status, or -1 when the program has not ended
    // within a minute. The line editor may set up the terminal after the
    // prompt is shown and drop a key typed just before; the key is pressed
    // again each second until the program has gone.
    int leaveWithCtrlD() {
        int status = 0;
        for (int i = 0; i < 600; ++i) {
            if (i % 10 == 0 && write(fd_, "\x04", 1) != 1) {
                // the terminal is gone with the program: its status follows
            }
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            usleep(100000);
        }
        return -1;
    }

  private:
    int fd_ = -1;
    pid_t pid_ = -1;
    bool exited_ = false;
    std::string seen_;
};

TEST(CalcPrompt, AnswersCancelsLeavesAndKeepsTheTypedLines) {
    test::TempDir home;
    {
        Prompt prompt(home.path());
        EXPECT_NE(prompt.waitFor("> ").find("> "), std::string::npos);
        prompt.type("1/7\r");
        EXPECT_NE(prompt.waitFor("> ").find("0.(142857)"), std::string::npos);
        // The line is taken once the editor has echoed its end (a Ctrl+C
        // before that makes the terminal drop the unread Enter); from then
        // on Ctrl+C stops the calculation, even before it has started.
        prompt.type("prod(2, 20000000)\r");
        prompt.waitFor("prod(2, 20000000)\r\n");
        prompt.type("\x03");
        EXPECT_NE(prompt.waitFor("Cancelled.").find("Cancelled."), std::string::npos);
        prompt.waitFor("> ");
        prompt.type("ans*7\r");
        const std::string answered = prompt.waitFor("\n1\r\n");
        EXPECT_NE(answered.find("\n1\r\n"), std::string::npos) << answered;
        prompt.waitFor("> ");
        // At the prompt Ctrl+C drops the line being typed and nothing more.
        prompt.type("\x03");
        prompt.waitFor("> ", std::chrono::seconds(2));
        EXPECT_EQ(prompt.leaveWithCtrlD(), 0);
    }
    const auto kept = test::readBytes(home.file(".local/share/longhand/calc_history"));
    ASSERT_TRUE(kept);
    EXPECT_NE(kept->find("1/7"), std::string::npos);
    EXPECT_NE(kept->find("ans*7"), std::string::npos);
}

} // namespace
