// tarvelion-console: the console language in a terminal. Lines come from the files named on the
// command line, or from standard input, and go through the same interpreter as the console
// window; each input line is answered by exactly one output line.
#include "console/console_session.h"
#include "document/document_file.h"
#include "document/document_reset.h"
#include "document/printable_text.h"
#include "expr/expression_state.h"
#include "expr/message_hook.h"
#include "expr/stop_hook.h"
#include "expr/symbol_store.h"
#include "graph/view_model.h"

#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <editline/readline.h>

namespace {

constexpr int usageError = 2;

constexpr const char* usageText =
    "Usage: tarvelion-console [--open FILE.tvl] [FILE...]\n"
    "Runs Tarvelion console lines from the FILEs in turn, or from standard input when none is\n"
    "named (\"-\" names standard input), and prints one answer line for each input line.\n"
    "\n"
    "  --open FILE.tvl        load the document first, as File > Open does\n"
    "  --graph-width PIXELS   the graph width that sets the step of int: the view's width over\n"
    "                         PIXELS (default 1280)\n"
    "  --help                 show this help and exit\n"
    "  --version              show the version and exit\n";

// A window of this width gives int its step: the width of one pixel column of the view.
constexpr int defaultGraphWidth = 1280;
constexpr int defaultGraphHeight = 1024;
constexpr long largestGraphWidth = 1'000'000;

struct Options {
    std::string document;
    std::vector<std::string> inputs;
    int graphWidth = defaultGraphWidth;
};

int failUsage(const std::string& message) {
    std::fprintf(stderr, "tarvelion-console: %s\n", message.c_str());
    return usageError;
}

// The loader's boxes, for a run without a window. A box prints as one line, so only its body (a
// memo) keeps its line breaks.
void printMessage(const char* caption, const char* body, int) {
    std::fprintf(stderr, "%s: %s\n", printable(caption, LineBreaks::Joined).c_str(),
                 printable(body, LineBreaks::Kept).c_str());
}

// A whole number of pixels from 1 to largestGraphWidth, or 0 for anything else.
int readGraphWidth(const std::string& text) {
    char* end = nullptr;
    const long width = std::strtol(text.c_str(), &end, 10);
    const bool whole = !text.empty() && std::isdigit(static_cast<unsigned char>(text[0])) && *end == '\0';
    return whole && width >= 1 && width <= largestGraphWidth ? static_cast<int>(width) : 0;
}

// Ctrl+C while a line runs stops that line, which answers "Error - calculation stopped"; at the
// prompt and between lines it ends the console as usual.
volatile std::sig_atomic_t interrupted = 0;
struct sigaction usualInterrupt {};

void noteInterrupt(int) {
    interrupted = 1;
}

bool interruptStopsTheLine(WorkEvent event) {
    switch (event) {
    case WorkEvent::begin: {
        interrupted = 0;
        struct sigaction noting {};
        noting.sa_handler = noteInterrupt;
        sigemptyset(&noting.sa_mask);
        ::sigaction(SIGINT, &noting, &usualInterrupt);
        return false;
    }
    case WorkEvent::poll:
        return interrupted != 0;
    case WorkEvent::end:
        ::sigaction(SIGINT, &usualInterrupt, nullptr);
        return false;
    }
    return false;
}

// The value of an option written "--name VALUE" or "--name=VALUE", moving i past a separate value;
// none when "--name" ends the command line.
std::optional<std::string_view> optionValue(std::string_view argument, std::string_view option, int argc,
                                            char** argv, int& i) {
    if (argument != option) return argument.substr(option.size() + 1);
    if (i + 1 < argc) return std::string_view(argv[++i]);
    return std::nullopt;
}

// Returns -1 when the run should go on, or the exit status to end with.
int parseOptions(int argc, char** argv, Options& options) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            options.inputs.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help") {
            std::fputs(usageText, stdout);
            return 0;
        } else if (argument == "--version") {
            std::puts("tarvelion-console (Tarvelion Release 1.2)");
            return 0;
        } else if (argument == "--open" || argument.starts_with("--open=")) {
            const auto name = optionValue(argument, "--open", argc, argv, i);
            // An empty name is as missing as none: the run must not go on without the document.
            if (!name || name->empty()) return failUsage("--open needs a file name");
            options.document = *name;
        } else if (argument == "--graph-width" || argument.starts_with("--graph-width=")) {
            const auto given = optionValue(argument, "--graph-width", argc, argv, i);
            if (!given) return failUsage("--graph-width needs a number of pixels");
            const std::string value(*given);
            options.graphWidth = readGraphWidth(value);
            if (options.graphWidth == 0)
                return failUsage("--graph-width takes 1 to 1000000 pixels, not " + value);
        } else {
            return failUsage("unknown option " + std::string(argument) + " (see --help)");
        }
    }
    return -1;
}

// Opens an input for reading; a folder opens on Linux but cannot be read, so it is refused too.
std::FILE* openInput(const std::string& name) {
    if (name == "-") return stdin;
    std::FILE* file = std::fopen(name.c_str(), "rb");
    struct stat status {};
    if (file != nullptr && (::fstat(::fileno(file), &status) != 0 || S_ISDIR(status.st_mode))) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

// One line typed at the prompt, with line editing and history; false at the end of input.
bool readEditedLine(std::string& line) {
    char* edited = readline("> ");
    if (edited == nullptr) return false;
    line = edited;
    if (!line.empty()) add_history(edited);
    std::free(edited);
    return true;
}

// The console on a terminal, with a prompt as in the window. When the answers go to a file, the
// prompt and the editing go to the terminal on standard error, so the file holds only answers.
bool runTerminal() {
    std::FILE* const editorOut =
        ::isatty(STDOUT_FILENO) == 0 && ::isatty(STDERR_FILENO) != 0 ? stderr : stdout;
    rl_outstream = editorOut;
    const ConsoleRun run = runConsoleLines(readEditedLine, stdout);
    if (!run.ended)
        std::fputc('\n', editorOut); // end of input typed at the prompt: leave the shell a fresh line
    return run.ended;
}

// Runs one input; true when ":bye" ended the run.
bool runInput(std::FILE* input) {
    if (input == stdin && ::isatty(STDIN_FILENO) != 0) return runTerminal();
    return runConsoleStream(input, stdout).ended;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int status = parseOptions(argc, argv, options); status >= 0) return status;
    if (options.inputs.empty()) options.inputs.emplace_back("-");
    // Every input is opened before anything runs, so a mistyped name costs no half-done run. Each
    // is opened once: closing a named pipe between a check and the read would lose its writer's lines.
    std::vector<std::FILE*> inputs;
    const auto closeInputs = [&inputs] {
        for (std::FILE* input : inputs)
            if (input != stdin) std::fclose(input);
    };
    for (const std::string& name : options.inputs) {
        inputs.push_back(openInput(name));
        if (inputs.back() == nullptr) {
            inputs.pop_back();
            closeInputs();
            return failUsage("cannot read " + name);
        }
    }
    resetExpressionState();
    setMessageHook(printMessage);
    setStopHook(interruptStopsTheLine);
    resizeView(options.graphWidth, defaultGraphHeight);
    if (!options.document.empty()) {
        resetDocument();
        if (loadDocument(options.document) != 0) {
            closeInputs();
            return usageError;
        }
    }
    for (std::FILE* input : inputs)
        if (runInput(input)) break;
    closeInputs();
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) return failUsage("cannot write the answers");
    return 0;
}
