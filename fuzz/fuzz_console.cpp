// Arbitrary console lines through runConsoleLine, and arbitrary definition texts through the
// syntax checks. The first input byte picks the target, so one corpus feeds both.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "expr/command_interpreter.h"
#include "expr/message_hook.h"
#include "expr/syntax_check.h"

namespace {

std::size_t messagesShown = 0;

void recordMessage(const char* caption, const char* body, int) {
    // Touch both texts so that a bad pointer shows up under the sanitizers.
    messagesShown += std::strlen(caption) + std::strlen(body);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        setMessageHook(recordMessage);
        initSymbolStore();
        return true;
    }();
    (void)ready;
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 4 == 0) {
        checkDefinitionSyntax(text);
        return 0;
    }
    // Lines may define functions and vectors; a fresh store keeps runs independent of history.
    initSymbolStore();
    userFunctionCount = 0;
    const std::size_t n = text.size() < consoleBufferSize - 1 ? text.size() : consoleBufferSize - 1;
    std::size_t start = 0;
    // Several lines in one input, separated by newlines, so definitions can be used afterwards.
    while (start <= n) {
        std::size_t end = start;
        while (end < n && text[end] != '\n')
            ++end;
        std::memset(consoleLine, 0, sizeof consoleLine);
        std::memcpy(consoleLine, text.data() + start, end - start);
        runConsoleLine();
        start = end + 1;
    }
    return 0;
}
