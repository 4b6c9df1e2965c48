// Arbitrary bytes as the terminal console reads them: split into lines (CR LF ends, zero bytes,
// over-long lines), each run through the interpreter, so definitions made by the early lines are
// used by the later ones. Every line read must be answered by exactly one output line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/console_session.h"
#include "expr/command_interpreter.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0; // fmemopen refuses an empty buffer
    freshExpressionState();
    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    char* written = nullptr;
    std::size_t writtenSize = 0;
    std::FILE* out = open_memstream(&written, &writtenSize);
    require(in != nullptr && out != nullptr);
    const ConsoleRun run = runConsoleStream(in, out);
    std::fclose(in);
    std::fclose(out);
    require(static_cast<std::size_t>(std::count(written, written + writtenSize, '\n')) == run.lines);
    require(std::strlen(consoleLine) < consoleBufferSize);
    require(workStack.count == 0);
    std::free(written);
    return 0;
}
