#include "console/console_session.h"

#include "expr/command_interpreter.h"
#include "expr/compiler.h"

#include <algorithm>

namespace {

// The text the interpreter can hold; the window cuts its lines at the same length.
constexpr std::size_t lineLimit = consoleBufferSize - 1;

} // namespace

bool readConsoleLine(std::FILE* in, std::string& line) {
    line.clear();
    std::size_t length = 0;
    int c = std::getc(in);
    int last = EOF;
    for (; c != EOF && c != '\n'; c = std::getc(in)) {
        // One byte past the limit is kept, so that a line of exactly the limit ending in "\r\n"
        // is told apart from a longer one.
        if (line.size() <= lineLimit) line.push_back(static_cast<char>(c));
        ++length;
        last = c;
    }
    if (last == '\r' && line.size() == length) line.pop_back();
    if (line.size() > lineLimit) line.resize(lineLimit);
    return length > 0 || c == '\n';
}

bool runConsoleText(std::string_view line, std::FILE* out) {
    const std::string_view text = line.substr(0, std::min({line.find('\0'), line.size(), lineLimit}));
    const std::string answer = answerConsoleLine(text);
    std::fwrite(answer.data(), 1, answer.size(), out);
    std::fputc('\n', out);
    return stripBlanks(text) == ":bye";
}
