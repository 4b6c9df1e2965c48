// The console on a terminal: a prompt, line editing, the same answers. Driven through a
// pseudo-terminal; every wait has a deadline, so a console that stops answering fails the test
// instead of holding it.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Reads from the terminal until `text` has appeared in `transcript`, the other side has closed,
// or the deadline has passed.
bool readUntil(int terminal, std::string& transcript, const std::string& text, Clock::time_point deadline) {
    while (transcript.find(text) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(left)) <= 0) continue;
        char chunk[512];
        const ssize_t count = ::read(terminal, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        transcript.append(chunk, static_cast<std::size_t>(count));
    }
    return true;
}

TEST(ConsoleTerminal, PromptsAndAnswersWithLineEditing) {
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execl(TARVELION_CONSOLE_PATH, "tarvelion-console", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    std::string transcript;
    // Each line is typed only once the prompt shows, as the editor may drop earlier input.
    EXPECT_TRUE(readUntil(terminal, transcript, "> ", deadline)) << transcript;
    // "1+x", then the cursor moved left over the "x", which is deleted and replaced by "2".
    const std::string typed = "1+x\x02\x04"
                              "2\r";
    ASSERT_EQ(::write(terminal, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    EXPECT_TRUE(readUntil(terminal, transcript, "result = 3 ", deadline)) << transcript;
    EXPECT_TRUE(readUntil(terminal, transcript, "> ", deadline)) << transcript;
    ASSERT_EQ(::write(terminal, ":bye\r", 5), 5);
    std::string rest;
    readUntil(terminal, rest, "never printed", deadline);
    EXPECT_NE(rest.find(":bye"), std::string::npos) << rest;

    int status = 0;
    pid_t ended = 0;
    while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 && Clock::now() < deadline)
        ::usleep(10'000);
    if (ended == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    ::close(terminal);
    EXPECT_EQ(ended, child) << "the console did not end after :bye";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
