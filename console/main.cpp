// tarvelion-console: the console language in a terminal. Each line from stdin goes through the
// same interpreter as the console window; the answer, or the evaluator's error, is printed.
#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "expr/symbol_store.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

#include <editline/readline.h>

namespace {

// With line editing and history on a terminal; plain lines from a pipe or file.
bool readLine(bool terminal, std::string& line) {
    if (!terminal) return static_cast<bool>(std::getline(std::cin, line));
    char* edited = readline("> ");
    if (edited == nullptr) return false;
    line = edited;
    if (*edited != '\0') add_history(edited);
    std::free(edited);
    return true;
}

} // namespace

int main() {
    initSymbolStore();
    const bool terminal = ::isatty(STDIN_FILENO) != 0;
    std::string line;
    while (readLine(terminal, line)) {
        if (stripBlanks(line) == ":bye") break;
        std::cout << answerConsoleLine(line) << std::endl;
    }
    return 0;
}
