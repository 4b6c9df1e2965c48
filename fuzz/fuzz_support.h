#pragma once
// Shared by the expression-language fuzz targets: every input starts from the same fresh state, so
// a run never depends on what earlier inputs defined, and a message hook that reads both texts so
// that a bad pointer shows up under the sanitizers.

#include <cstddef>
#include <cstring>
#include <string_view>

#include "expr/evaluator.h"
#include "expr/expression_state.h"
#include "expr/message_hook.h"
#include "expr/symbol_store.h"

inline std::size_t fuzzMessageCount = 0;
inline std::size_t fuzzMessageBytes = 0;

inline void countFuzzMessage(const char* caption, const char* body, int) {
    ++fuzzMessageCount;
    fuzzMessageBytes += std::strlen(caption) + std::strlen(body);
}

// The state of a new session, with the running integral stepping by the pixel width of the factory
// view on a 1000-pixel-wide graph area.
inline void freshExpressionState() {
    resetExpressionState();
    integralStep = 0.01;
    fuzzMessageCount = 0;
    setMessageHook(countFuzzMessage);
}

// Calls `use` with each newline-separated line of `text`, the last one included (even when empty).
template <typename Use> void forEachLine(std::string_view text, Use use) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) return use(text.substr(start));
        use(text.substr(start, end - start));
        start = end + 1;
    }
}

// Stops the run the way libFuzzer reports a crash, with the input saved, when an invariant breaks.
inline void require(bool holds) {
    if (!holds) __builtin_trap();
}
