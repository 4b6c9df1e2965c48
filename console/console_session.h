// The terminal console's line handling, kept apart from main() so the tests and the fuzzer run the
// same path: bytes in, one answer line out per input line.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Reads the next line of `in` into `line`: the bytes up to the next "\n", a "\r" just before it
// dropped, at most consoleBufferSize bytes kept (the rest of a longer line is read and dropped).
// False at the end of the input when no byte was left.
bool readConsoleLine(std::FILE* in, std::string& line);

// Runs one line as the console window runs the text after ">": cut at a zero byte and to the
// console buffer. Writes its answer and a line break to `out`. True when the line was ":bye".
bool runConsoleText(std::string_view line, std::FILE* out);

struct ConsoleRun {
    std::size_t lines = 0; // input lines run, each answered by one output line
    bool ended = false;    // stopped by ":bye" before the end of the input
};

// Runs the lines that `readLine(line)` gives until ":bye" or until it returns false. Each answer
// is flushed, so a program driving the console through pipes sees it at once.
template <typename ReadLine> ConsoleRun runConsoleLines(ReadLine readLine, std::FILE* out) {
    ConsoleRun run;
    std::string line;
    while (!run.ended && readLine(line)) {
        ++run.lines;
        run.ended = runConsoleText(line, out);
        std::fflush(out);
    }
    return run;
}

// Runs every line of `in` until ":bye" or the end of the input.
inline ConsoleRun runConsoleStream(std::FILE* in, std::FILE* out) {
    return runConsoleLines([in](std::string& line) { return readConsoleLine(in, line); }, out);
}
