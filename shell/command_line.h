// The program's arguments. Qt is handed none of them, so none of Qt's own options apply.
#pragma once

#include <string>

struct CommandLine {
    std::string document; // opened at the start as File > Open would; empty for none
    std::string error;    // why the arguments were refused; empty when they were not
};

// Options start with "-" until a "--", after which every argument is a name; one document at most.
CommandLine parseCommandLine(int argc, const char* const* argv);
