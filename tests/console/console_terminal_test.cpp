// The console on a terminal: a prompt, line editing, the same answers. Driven through a
// pseudo-terminal; every wait has a deadline, so a console that stops answering fails the test
// instead of holding it.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

class ConsoleTerminal : public ::testing::Test {
  protected:
    // Starts the console on the terminal; with a file name, its standard output goes to that file.
    void start(const std::string& answers = "") {
        child_ = ::forkpty(&terminal_, nullptr, nullptr, nullptr);
        ASSERT_GE(child_, 0);
        if (child_ == 0) {
            if (!answers.empty()) {
                const int file = ::open(answers.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (file < 0 || ::dup2(file, STDOUT_FILENO) < 0) ::_exit(126);
            }
            ::execl(TARVELION_CONSOLE_PATH, "tarvelion-console", static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }

    void TearDown() override {
        if (child_ > 0 && !ended_) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
        if (terminal_ >= 0) ::close(terminal_);
    }

    // Reads until `text` has appeared in the transcript after what earlier waits found, the other
    // side has closed, or the deadline has passed.
    bool waitFor(const std::string& text) {
        std::size_t found = std::string::npos;
        while ((found = transcript_.find(text, seen_)) == std::string::npos) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
            if (left <= 0) return false;
            pollfd ready{terminal_, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(left)) <= 0) continue;
            char chunk[512];
            const ssize_t count = ::read(terminal_, chunk, sizeof chunk);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) return false;
            transcript_.append(chunk, static_cast<std::size_t>(count));
        }
        seen_ = found + text.size();
        return true;
    }

    // Keys are typed only once the prompt shows and the line editor has taken the terminal out of
    // line mode, as a key typed before that is handled by the terminal instead of the editor.
    void typeAtPrompt(const std::string& keys) {
        ASSERT_TRUE(waitFor("> ")) << transcript_;
        termios mode{};
        while (::tcgetattr(terminal_, &mode) == 0 && (mode.c_lflag & ICANON) != 0 && Clock::now() < deadline_)
            ::usleep(1'000);
        ASSERT_EQ(::write(terminal_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Types Ctrl+C once the line typed last is running: the line editor has given the terminal
    // back and the console has spent a tenth of a second of processor time on the line.
    void interruptTheRunningLine() {
        termios mode{};
        while (::tcgetattr(terminal_, &mode) == 0 && (mode.c_lflag & ICANON) == 0 && Clock::now() < deadline_)
            ::usleep(1'000);
        const long start = processorTicks();
        while (processorTicks() < start + 10 && Clock::now() < deadline_)
            ::usleep(10'000);
        ASSERT_EQ(::write(terminal_, "\x03", 1), 1);
    }

    // The exit status once the console has ended, 128 + the signal when a signal ended it, or -1
    // when it does not end in time.
    int exitStatus() {
        waitFor("the end of the output");
        int status = 0;
        while (!ended_ && Clock::now() < deadline_) {
            ended_ = ::waitpid(child_, &status, WNOHANG) == child_;
            if (!ended_) ::usleep(10'000);
        }
        if (!ended_) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string transcript_;

  private:
    // User and system time of the console so far, in clock ticks.
    long processorTicks() const {
        std::ifstream stat("/proc/" + std::to_string(child_) + "/stat");
        const std::string line((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string field;
        long ticks = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i)
            if (i >= 14) ticks += std::stol(field);
        return ticks;
    }

    std::size_t seen_ = 0;
    int terminal_ = -1;
    pid_t child_ = -1;
    bool ended_ = false;
    Clock::time_point deadline_ = Clock::now() + std::chrono::seconds(30);
};

TEST_F(ConsoleTerminal, PromptsAndAnswersWithLineEditing) {
    start();
    // "1+x", then the cursor moved left over the "x", which is deleted and replaced by "2".
    typeAtPrompt("1+x\x02\x04"
                 "2\r");
    EXPECT_TRUE(waitFor("result = 3 ")) << transcript_;
    typeAtPrompt(":bye\r");
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_NE(transcript_.find(":bye\r\n:bye"), std::string::npos) << transcript_;
}

TEST_F(ConsoleTerminal, EndOfInputAtThePromptEndsOnAFreshLine) {
    start();
    typeAtPrompt("\x04");
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_EQ(transcript_.substr(transcript_.size() - 2), "\r\n") << transcript_;
}

TEST_F(ConsoleTerminal, CtrlCStopsTheRunningLineThenEndsTheConsoleAtThePrompt) {
    start();
    typeAtPrompt("sum(n,1,10^300,n)\r");
    interruptTheRunningLine();
    EXPECT_TRUE(waitFor("Error - calculation stopped")) << transcript_;
    typeAtPrompt("1+2\r");
    EXPECT_TRUE(waitFor("result = 3 ")) << transcript_;
    typeAtPrompt("\x03");
    EXPECT_EQ(exitStatus(), 128 + SIGINT);
}

// With the answers sent to a file, the prompt and the editing stay on the terminal.
TEST_F(ConsoleTerminal, AnswersRedirectedToAFileHoldOnlyAnswers) {
    const std::string answers = ::testing::TempDir() + "tarvelion-terminal-answers.txt";
    start(answers);
    typeAtPrompt("1+x\x08"
                 "2\r");
    typeAtPrompt(":bye\r");
    EXPECT_EQ(exitStatus(), 0);
    std::ifstream file(answers, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()),
              "result = 3 \n:bye\n");
    EXPECT_NE(transcript_.find("> :bye"), std::string::npos) << transcript_;
    std::remove(answers.c_str());
}

} // namespace
