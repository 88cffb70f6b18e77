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
#include <termios.h>
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

    // Whether the line editor is reading keys: it takes the terminal out of
    // line mode while it does, and puts it back once it has the line's
    // Enter. (On Linux a pseudo-terminal's master reads its slave's modes.)
    // A key typed before the editor reads is handled by the terminal: its
    // echo shows, but a Ctrl+C then throws the unread line away. So each
    // key below waits for the state it is meant for.
    bool editing() const {
        termios modes{};
        return tcgetattr(fd_, &modes) == 0 && (modes.c_lflag & ICANON) == 0;
    }
    bool waitUntilEditing(bool wanted) const {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (editing() != wanted && std::chrono::steady_clock::now() < end)
            usleep(2000);
        return editing() == wanted;
    }

    // The exit status, or -1 when the program has not ended within a minute.
    int exitStatus() {
        int status = 0;
        for (int i = 0; i < 600; ++i) {
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
        ASSERT_TRUE(prompt.waitUntilEditing(true));
        prompt.type("1/7\r");
        const std::string seventh = prompt.waitFor("> ");
        EXPECT_NE(seventh.find("0.(142857)"), std::string::npos) << seventh;
        // Ctrl+C once the editor has the line stops its calculation, even
        // one that has not started yet.
        ASSERT_TRUE(prompt.waitUntilEditing(true));
        prompt.type("prod(2, 20000000)\r");
        ASSERT_TRUE(prompt.waitUntilEditing(false));
        prompt.type("\x03");
        const std::string stopped = prompt.waitFor("> ");
        EXPECT_NE(stopped.find("Cancelled."), std::string::npos) << stopped;
        ASSERT_TRUE(prompt.waitUntilEditing(true));
        prompt.type("ans*7\r");
        const std::string answered = prompt.waitFor("> ");
        EXPECT_NE(answered.find("\n1\r\n"), std::string::npos) << answered;
        // At the prompt Ctrl+C drops the line being typed and nothing more.
        ASSERT_TRUE(prompt.waitUntilEditing(true));
        prompt.type("12\x03");
        prompt.waitFor("> ");
        ASSERT_TRUE(prompt.waitUntilEditing(true));
        prompt.type("ans\r");
        const std::string kept = prompt.waitFor("> ");
        EXPECT_NE(kept.find("\n1\r\n"), std::string::npos) << kept;
        ASSERT_TRUE(prompt.waitUntilEditing(true));
        prompt.type("\x04");
        EXPECT_EQ(prompt.exitStatus(), 0);
    }
    const auto typed = test::readBytes(home.file(".local/share/longhand/calc_history"));
    ASSERT_TRUE(typed);
    EXPECT_NE(typed->find("1/7"), std::string::npos);
    EXPECT_NE(typed->find("ans*7"), std::string::npos);
}

} // namespace
