// Arbitrary bytes as a document file: the load must end without harm, and whatever it left in
// the state must save into a document that loads back whole.
#include "document/document_format.h"
#include "document/document_reset.h"
#include "expr/expression_state.h"
#include "expr/message_hook.h"

#include <cstddef>
#include <cstdint>

namespace {
void ignoreMessage(const char*, const char*, int) {}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool started = [] {
        resetExpressionState();
        setMessageHook(ignoreMessage);
        return true;
    }();
    (void)started;
    resetDocument();
    readDocument({data, size});
    const Bytes saved = writeDocument();
    resetDocument();
    if (readDocument(saved) != 0) __builtin_trap();
    return 0;
}
