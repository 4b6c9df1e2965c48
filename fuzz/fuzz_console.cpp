// Arbitrary console lines through runConsoleLine, one per input line, so definitions made by the
// early lines are used by the later ones. Each line is cut to what the console buffer holds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "expr/command_interpreter.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    freshExpressionState();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    forEachLine(text, [](std::string_view line) {
        std::memset(consoleLine, 0, sizeof consoleLine);
        std::memcpy(consoleLine, line.data(), std::min(line.size(), consoleBufferSize - 1));
        runConsoleLine();
        require(std::strlen(consoleLine) < consoleBufferSize);
        require(workStack.count == 0);
    });
    return 0;
}
