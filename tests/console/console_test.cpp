// The terminal console as scripts use it: lines in through a pipe or files, one answer line out
// for each, documents loaded with --open, and every kind of bad input.
#include "console_process.h"

#include "document/document_file.h"
#include "document/document_reset.h"
#include "expr/command_interpreter.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

struct ScriptCase {
    const char* name;
    std::string input;
    std::string expected;
};

class ConsoleScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ConsoleScript, AnswersEachLine) {
    const ConsoleResult result = runConsole({}, GetParam().input);
    EXPECT_EQ(result.out, GetParam().expected);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
}

const std::string builtinNames =
    "sin cos sqrt sum prod ! mod inv gamma acos asin atan ceil cosh floor log sinh tan tanh diff diffn sec "
    "cosec cot int abs exp ln log10 min max sign ";

INSTANTIATE_TEST_SUITE_P(
    Lines, ConsoleScript,
    ::testing::Values(
        ScriptCase{"AnswersAndByeAsTheWindowDoes", "1+2\ni\n:bye\n",
                   "result = 3 \n(  1.000000,  0.000000,  0.000000 )\n:bye\n"},
        ScriptCase{"ByeEndsTheRunWithItsBlanksKept", "x=1\n  :bye \nx=2\n", "result = 1 \n  :bye \n"},
        ScriptCase{"DefinitionThenCallAndListing", ":defn f(x)=x^2+1\nf(2)\n:listf\n",
                   "\nresult = 5 \nFunctions: " + builtinNames + "f \n"},
        ScriptCase{"ErrorsAreAnsweredAndDoNotStick", "2+\n3=4\n1+2\n",
                   "Error - missing operand\nError - can only assign to a variable\nresult = 3 \n"},
        ScriptCase{"VariablesAndVectorsPersist", "a=2\n:defv v=(1,2,3)\nv+i\n:listv\n",
                   "result = 2 \nAdded vector name = v  : 1.000000  : 2.000000  : 3.000000\n"
                   "(  2.000000,  2.000000,  3.000000 )\n"
                   "Variables: a = 2.000000 .. x = 0.000000 .. e = 2.718282 .. pi = 3.141593 .. \n"},
        ScriptCase{"SolveThenReadTheRoot", ":solv 0,3,(x-0.5)*(x-2.5)\nx\n", "\nresult = x = 0.500000\n"},
        ScriptCase{"ExploringAnExpression", ":roots -2,2,x^3-x\n:max 0,3,sin(x)\n:area 0,2,x^2\n:min 0,1,5\n",
                   "roots: x = -1.000000, x = 0.000000, x = 1.000000\nmax: x = 1.570796, y = 1.000000\n"
                   "area = 2.666667\nError - the expression is constant on the interval\n"},
        ScriptCase{"UnknownCommandGivesAnEmptyLine", ":nonsense\n", "\n"},
        ScriptCase{"CarriageReturnLineEnds", "1+2\r\n:defn g(x)=2*x\r\ng(4)\r\n",
                   "result = 3 \n\nresult = 8 \n"},
        ScriptCase{"LoneCarriageReturnAtTheEnd", "5\r", "result = 5 \n"},
        ScriptCase{"ZeroByteEndsTheText", std::string("7\0+1\n8\n", 7), "result = 7 \nresult = 8 \n"},
        ScriptCase{"NoFinalLineBreak", "1+2\n4", "result = 3 \nresult = 4 \n"},
        ScriptCase{"EmptyLinesAreAnswered", "\n\n", "result = \nresult = \n"},
        ScriptCase{"EmptyInputGivesNothing", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// "1+1+...+1": the sum of its ones tells where the text was cut.
std::string ones(std::size_t length) {
    std::string text = "1";
    while (text.size() + 2 <= length)
        text += "+1";
    return text;
}

TEST(ConsoleBadInput, LongLinesAreCutAsTheWindowCutsThem) {
    ASSERT_EQ(ones(1023).size(), 1023u);
    const std::string input = ones(1023) + "\r\n"   // just fits, with a CR LF end
                              + ones(1023) + "+9\n" // one character too long: the "+9" is cut
                              + ones(2'000'001) + "\n" + "1+2\n";
    const ConsoleResult result = runConsole({}, input);
    EXPECT_EQ(result.out, "result = 512 \nresult = 512 \nresult = 512 \nresult = 3 \n");
    EXPECT_EQ(result.status, 0);
}

// Whatever the bytes, every input line gets exactly one output line and the run ends normally.
TEST(ConsoleBadInput, ArbitraryBytesPairLineForLine) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 4; ++round) {
        std::string input;
        static constexpr char letters[] = "0123456789+-*/^()=,.!xyzsincoqrtuml:\r\n\n\n \0\xff";
        const std::string alphabet(letters, sizeof letters - 1);
        for (int n = 0; n < 3000; ++n)
            input.push_back(alphabet[random() % alphabet.size()]);
        if (input.find(":bye") != std::string::npos) continue;
        const std::size_t lines = static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n')) +
                                  (input.back() != '\n' ? 1 : 0);
        const ConsoleResult result = runConsole({}, input);
        EXPECT_EQ(static_cast<std::size_t>(std::count(result.out.begin(), result.out.end(), '\n')), lines);
        EXPECT_EQ(result.status, 0);
    }
}

TEST(ConsoleFiles, NamedFilesRunInTurnWithStandardInputAsDash) {
    ScratchFolder folder;
    const std::string first = folder.write("first.txt", ":defn f(x)=3*x\n");
    const std::string last = folder.write("last.txt", "f(2)\n:bye\nf(3)\n");
    const std::string optionLike = folder.write("-x", "f(5)");
    const ConsoleResult result = runConsole({first, "-", "--", optionLike, last, first}, "f(1)\n");
    EXPECT_EQ(result.out, "\nresult = 3 \nresult = 15 \nresult = 6 \n:bye\n");
    EXPECT_EQ(result.status, 0);
}

// A writer that opens the pipe, writes and closes at once, as `printf ... > pipe` does. The child
// may have been left waiting for a writer that never comes; a writer that opens without waiting
// and closes again frees it, so a lost line shows as a short answer, never as a hung test.
void feedPipe(const std::string& pipe, const std::string& lines, const std::atomic<bool>& finished) {
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr); // a lost reader gives EPIPE, not the signal
    const int fd = ::open(pipe.c_str(), O_WRONLY);
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(fd, lines.data(), lines.size());
        ::close(fd);
    }
    while (!finished) {
        const int release = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (release >= 0) ::close(release);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TEST(ConsoleFiles, NamedPipeLosesNoLine) {
    ScratchFolder folder;
    const std::string pipe = folder.path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string lines;
    for (int i = 0; i < 30; ++i)
        lines += "1+1\n";
    // Losing lines depends on how the two processes interleave, so one run proves little.
    for (int run = 0; run < 20; ++run) {
        std::atomic<bool> finished = false;
        std::thread writer(feedPipe, pipe, lines, std::cref(finished));
        const ConsoleResult result = runConsole({pipe}, "");
        finished = true;
        writer.join();
        ASSERT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 30) << "run " << run;
    }
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> arguments; // "@" stands for the scratch folder
    std::string error;
};

class ConsoleRefusal : public ::testing::TestWithParam<RefusalCase> {};

// Refused before any line runs: nothing on standard output, one line on standard error, status 2.
TEST_P(ConsoleRefusal, ExitsWithStatusTwo) {
    ScratchFolder folder;
    const std::string good = folder.write("good.txt", "1+2\n");
    std::vector<std::string> arguments{good};
    for (const std::string& argument : GetParam().arguments)
        arguments.push_back(argument == "@"          ? folder.path("")
                            : argument == "@missing" ? folder.path("missing")
                                                     : argument);
    const ConsoleResult result = runConsole(arguments, "1+2\n");
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(GetParam().error), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_EQ(result.status, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ConsoleRefusal,
    ::testing::Values(RefusalCase{"MissingInputFile", {"@missing"}, "cannot read "},
                      RefusalCase{"FolderAsInput", {"@"}, "cannot read "},
                      RefusalCase{"UnknownOption", {"--frobnicate"}, "unknown option --frobnicate"},
                      RefusalCase{"OpenWithoutAName", {"--open"}, "--open needs a file name"},
                      RefusalCase{"MissingDocument", {"--open", "@missing"}, "Error: Cant read file"},
                      RefusalCase{"GraphWidthNotANumber", {"--graph-width", "wide"}, "--graph-width takes"},
                      RefusalCase{"GraphWidthOfZero", {"--graph-width=0"}, "--graph-width takes"},
                      RefusalCase{"OpenAnEmptyName", {"--open", ""}, "--open needs a file name"},
                      RefusalCase{"OpenEqualsNothing", {"--open="}, "--open needs a file name"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConsoleOptions, HelpAndVersion) {
    const ConsoleResult help = runConsole({"--help"}, "1+2\n");
    EXPECT_EQ(help.out.rfind("Usage: tarvelion-console [--open FILE.tvl] [FILE...]\n", 0), 0u) << help.out;
    EXPECT_EQ(help.status, 0);
    const ConsoleResult version = runConsole({"--version"}, "1+2\n");
    EXPECT_EQ(version.out, "tarvelion-console (Tarvelion Release 1.2)\n");
    EXPECT_EQ(version.status, 0);
}

// int steps by one pixel column of the view (10 wide) on a graph 1280 pixels wide, or as wide as asked.
TEST(ConsoleOptions, GraphWidthGivesTheIntegralStep) {
    EXPECT_EQ(runConsole({}, "int(2)\nint(2)\n").out, "result = 0.015625 \nresult = 0.031250 \n");
    EXPECT_EQ(runConsole({"--graph-width", "10"}, "int(2)\n").out, "result = 2.000000 \n");
}

// A document saved by the program: f(x)=a*x+1 with a = 3, and a memo.
std::string savedDocument(const ScratchFolder& folder, std::string_view memo) {
    initSymbolStore();
    resetDocument();
    answerConsoleLine(":defn f(x)=a*x+1");
    answerConsoleLine("a=3");
    plotSettings.memoText = memo;
    const std::string path = folder.path("saved.tvl");
    EXPECT_EQ(saveDocument(path), 0);
    resetDocument();
    return path;
}

TEST(ConsoleOpen, SavedDocumentIsLoadedBeforeTheFirstLine) {
    ScratchFolder folder;
    const std::string document = savedDocument(folder, "");
    const ConsoleResult result = runConsole({"--open", document}, "f(2)\na\n:listf\n");
    // A variable read gives up the whole-number form, as in the window.
    EXPECT_EQ(result.out, "result = 7.000000 \nresult = a = 3.000000\nFunctions: " + builtinNames + "f \n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(runConsole({"--open=" + document}, "f(0)\n").out, "result = 1.000000 \n");
}

TEST(ConsoleOpen, MemoGoesToStandardError) {
    ScratchFolder folder;
    const ConsoleResult result =
        runConsole({"--open", savedDocument(folder, "Try f(2).\n\tThen f(3).\r\x1b[2J")}, "f(2)\n");
    EXPECT_EQ(result.out, "result = 7.000000 \n");
    EXPECT_EQ(result.err, "File memo..: Try f(2).\n\tThen f(3).??[2J\n");
    EXPECT_EQ(result.status, 0);
}

// The version box's caption holds the file's first bytes; on a terminal they must not arrive raw.
TEST(ConsoleOpen, ControlBytesOfAWrongVersionAreNotPrinted) {
    ScratchFolder folder;
    const ConsoleResult result =
        runConsole({"--open", folder.write("escape.tvl", "\x1b]0;\x9b\x07zzzz")}, "1\n");
    EXPECT_EQ(result.err, "Wrong version: Cant read file\n?]0;??z: test =\n");
    EXPECT_EQ(result.status, 2);
}

// Each box is one line: a line break in a caption would split it; a memo's lines stay lines.
TEST(ConsoleOpen, BoxesPrintAsOneLineEachWithTheMemosLinesKept) {
    ScratchFolder folder;
    EXPECT_EQ(runConsole({"--open", folder.write("split.tvl", "0\n1.200")}, "1\n").err,
              "Wrong version: Cant read file\n0?1.200: test =\n");
    EXPECT_EQ(runConsole({"--open", savedDocument(folder, "one\r\ntwo")}, "1\n").err,
              "File memo..: one\ntwo\n");
}

TEST(ConsoleOpen, WrongOrDamagedDocumentsRunNothing) {
    ScratchFolder folder;
    const std::string saved = readFile(savedDocument(folder, ""));
    const std::string wrongVersion = folder.write("old.tvl", "001.100" + saved.substr(7));
    const std::string damaged = folder.write("cut.tvl", saved.substr(0, saved.size() / 2));
    for (const std::string& document : {wrongVersion, damaged}) {
        const ConsoleResult result = runConsole({"--open", document}, "1+2\n");
        EXPECT_EQ(result.out, "") << document;
        EXPECT_NE(result.err, "") << document;
        EXPECT_EQ(result.status, 2) << document;
    }
}

} // namespace
