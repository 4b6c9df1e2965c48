#include "shell/command_line.h"

#include <string_view>

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.starts_with('-')) {
            line.error = "unknown option " + std::string(argument);
            return line;
        } else if (argument.empty()) {
            line.error = "a document name cannot be empty";
            return line;
        } else if (!line.document.empty()) {
            line.error = "only one document can be opened";
            return line;
        } else {
            line.document = argument;
        }
    }
    return line;
}
