#include "document_fixture.h"

#include "document/document_format.h"
#include "expr/expression_state.h"
#include "expr/message_hook.h"
#include "graph/graph_state.h"

std::vector<ShownMessage>& shownMessages() {
    static std::vector<ShownMessage> messages;
    return messages;
}

namespace {
void recordMessage(const char* caption, const char* body, int) {
    shownMessages().push_back({caption, body});
}
} // namespace

void startFresh() {
    resetExpressionState();
    resetGraphState();
    shownMessages().clear();
    setMessageHook(recordMessage);
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes int32Bytes(std::int32_t value) {
    ByteWriter out;
    writeInt32(out, value);
    return out.bytes;
}

Bytes doubleBytes(double value) {
    ByteWriter out;
    writeDouble(out, value);
    return out.bytes;
}

Bytes textBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

Bytes plainFixedPart() {
    Bytes part(fixedPartSize, 0);
    const Bytes limits = concat({doubleBytes(5), doubleBytes(-5), doubleBytes(5), doubleBytes(-5)});
    std::copy(limits.begin(), limits.end(), part.begin() + 2950);
    return part;
}

Bytes documentWith(const Bytes& fixedPart) {
    return concat({textBytes(documentVersion), int32Bytes(0), int32Bytes(-1), int32Bytes(0), fixedPart});
}
