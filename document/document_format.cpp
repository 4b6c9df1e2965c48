#include "document/document_format.h"

#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "expr/evaluation_session.h"
#include "expr/message_hook.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace {

constexpr std::int32_t endOfDefinitions = -1;
constexpr int plotModeCount = 5;

// A write of the document itself; of the user's work only, for telling whether it changed; or of
// the document as it stands, for undo: nothing compiled, read back to the very same state.
enum class WriteKind { Document, Work, Snapshot };

// The fixed part's text blocks in file order, before the limits. Both directions walk this one
// list, so they cannot drift apart.
template <typename Visit> void visitTextBlocks(PlotSettings& s, Visit visit) {
    visit(s.parametricX);
    visit(s.parametricY);
    visit(s.parameterName);
    visit(s.parameterFrom);
    visit(s.parameterTo);
    visit(s.implicitLeft[0]);
    visit(s.implicitRight[0]);
    visit(s.implicitLeft[1]);
    visit(s.implicitRight[1]);
    for (auto& side : s.inequalityLeft)
        visit(side);
    for (auto& side : s.inequalityRight)
        visit(side);
}

template <typename Text> void writeBlock(ByteWriter& out, const Text& text) {
    writeTextBlock(out, text.view(), text.bytes().size());
}

std::string_view cut(std::string_view text, std::size_t limit) {
    return text.substr(0, limit);
}

void writeDefinitions(ByteWriter& out, WriteKind kind) {
    // The trial evaluations of one save are one piece of work, so that one Stop ends them all
    // and many costly bodies cannot hold the save for minutes. The work's bytes compile nothing.
    std::optional<EvaluationSession> session;
    if (kind == WriteKind::Document) session.emplace();
    // Indexed: compiling a body may add variables, never functions, but the list is not held
    // by iterator across the call.
    for (std::size_t i = 0; i < symbolStore.functions.size(); ++i) {
        const FunctionEntry& function = *symbolStore.functions[i];
        if (function.isBuiltin != 0) continue;
        if (kind == WriteKind::Document) compileExpression(function.bodyText);
        // The reader takes at most 1023 characters and defines from all of them.
        const std::string text = functionText(function, definitionSeparator);
        const std::string_view stored = cut(text, definitionLimit);
        writeInt32(out, static_cast<std::int32_t>(stored.size()));
        writeText(out, stored);
        writeText(out, std::string_view("\0", 1));
    }
    writeInt32(out, endOfDefinitions);
}

void writeVariable(ByteWriter& out, WriteKind kind, const Variable& variable) {
    const std::string_view name = cut(variable.name, variableNameLimit);
    writeInt32(out, static_cast<std::int32_t>(name.size()));
    writeText(out, name);
    const bool swept = kind == WriteKind::Work && isSweptVariable(variable.name);
    writeDouble(out, swept ? 0.0 : variable.value);
}

// The reader puts each new variable or vector at the front of its list, so a snapshot lists them
// last first to get the list back in its own order.
template <typename List, typename Write> void writeInListOrder(const List& list, WriteKind kind, Write write) {
    if (kind == WriteKind::Snapshot)
        std::for_each(list.rbegin(), list.rend(), write);
    else
        std::for_each(list.begin(), list.end(), write);
}

void writeVariables(ByteWriter& out, WriteKind kind) {
    const auto& variables = symbolStore.variables;
    const auto saved = std::count_if(variables.begin(), variables.end(),
                                     [](const auto& variable) { return !isStandardConstant(*variable); });
    writeInt32(out, static_cast<std::int32_t>(saved));
    writeInListOrder(variables, kind, [&](const auto& variable) {
        if (!isStandardConstant(*variable)) writeVariable(out, kind, *variable);
    });
}

void writeFixedPart(ByteWriter& out, WriteKind kind) {
    visitTextBlocks(plotSettings, [&](const auto& text) { writeBlock(out, text); });
    const ViewLimits limits = kind == WriteKind::Work ? ViewLimits{} : viewLimits;
    writeDouble(out, limits.xMax);
    writeDouble(out, limits.xMin);
    writeDouble(out, limits.yMax);
    writeDouble(out, limits.yMin);
    out.bytes.push_back(static_cast<unsigned char>(plotSettings.plotMode));
    writeBlock(out, plotSettings.angleVariable);
    for (std::int32_t flag : plotSettings.polarFlags)
        writeInt32(out, flag);
    for (std::int32_t flag : displayFlags)
        writeInt32(out, flag);
}

// The reader's verdict so far: Stop when the rest of the stream cannot be trusted.
enum class Step { Go, Stop };

struct BodyReader {
    ByteReader& in;
    bool damaged = false;

    Step fail() {
        damaged = true;
        return Step::Stop;
    }
    // A length field: Stop at the end of the bytes or at a negative length.
    Step readLength(std::int32_t& length) {
        if (!readInt32(in, length) || length < 0) return fail();
        return Step::Go;
    }
    // length bytes, cut to limit characters; an over-long field is damage but keeps the stream
    // in step, since its bytes are skipped whole.
    Step readField(std::size_t length, std::size_t limit, std::string_view& text) {
        if (!readBytes(in, length, text)) return fail();
        if (length > limit) damaged = true;
        text = cut(text, limit);
        return Step::Go;
    }
};

Step readMemo(BodyReader& reader) {
    std::int32_t length = 0;
    std::string_view memo;
    if (reader.readLength(length) == Step::Stop) return Step::Stop;
    if (reader.readField(static_cast<std::size_t>(length), memoLimit, memo) == Step::Stop) return Step::Stop;
    plotSettings.memoText = memo;
    return Step::Go;
}

Step readDefinitions(BodyReader& reader) {
    for (;;) {
        std::int32_t length = 0;
        if (!readInt32(reader.in, length)) return reader.fail();
        if (length == endOfDefinitions) return Step::Go;
        if (length < 0) return reader.fail();
        const auto size = static_cast<std::size_t>(length);
        std::string_view record;
        if (!readBytes(reader.in, size + 1, record)) return reader.fail();
        // The text and its zero byte; a zero elsewhere would end the text early.
        const std::string_view text = record.substr(0, size);
        if (record.back() != 0 || text.find('\0') != std::string_view::npos || size > definitionLimit)
            reader.damaged = true;
        defineFunctionFromText(cut(text, std::min(text.find('\0'), definitionLimit)));
    }
}

Step readVariables(BodyReader& reader) {
    std::int32_t count = 0;
    if (reader.readLength(count) == Step::Stop) return Step::Stop;
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t length = 0;
        std::string_view name;
        double value = 0.0;
        if (reader.readLength(length) == Step::Stop) return Step::Stop;
        if (reader.readField(static_cast<std::size_t>(length), variableNameLimit, name) == Step::Stop)
            return Step::Stop;
        if (!readDouble(reader.in, value)) return reader.fail();
        setVariableValue(findOrCreateVariable(cut(name, name.find('\0'))), value);
    }
    return Step::Go;
}

// A block without a zero byte is cut to its text limit and counts as damage.
template <typename Text> bool readBlock(ByteReader& in, Text& text) {
    std::string_view block;
    readBytes(in, text.bytes().size(), block);
    text = block;
    return block.find('\0') != std::string_view::npos;
}

std::int32_t readFlag(ByteReader& in) {
    std::int32_t flag = 0;
    readInt32(in, flag);
    return flag;
}

// All or nothing: a fixed part cut short would leave limits half read.
Step readFixedPart(BodyReader& reader) {
    if (reader.in.remaining() < fixedPartSize) return reader.fail();
    ByteReader& in = reader.in;
    bool sound = true;
    visitTextBlocks(plotSettings, [&](auto& text) { sound = readBlock(in, text) && sound; });
    ViewLimits limits{};
    readDouble(in, limits.xMax);
    readDouble(in, limits.xMin);
    readDouble(in, limits.yMax);
    readDouble(in, limits.yMin);
    setViewLimits(limits);
    const unsigned char mode = in.bytes[in.position++];
    sound = sound && mode < plotModeCount;
    plotSettings.plotMode = mode < plotModeCount ? static_cast<PlotMode>(mode) : PlotMode::Explicit;
    sound = readBlock(in, plotSettings.angleVariable) && sound;
    for (std::int32_t& flag : plotSettings.polarFlags)
        flag = readFlag(in);
    for (std::int32_t& flag : displayFlags)
        flag = readFlag(in);
    if (!sound) reader.damaged = true;
    return Step::Go;
}

// Vectors are not part of a document, but they are part of the user's work.
void writeVectors(ByteWriter& out, WriteKind kind) {
    writeInListOrder(symbolStore.vectors, kind, [&](const auto& vector) {
        writeInt32(out, static_cast<std::int32_t>(vector->name.size()));
        writeText(out, vector->name);
        writeInt32(out, vector->count);
        for (double component : vector->components)
            writeDouble(out, component);
    });
}

// The vectors that end a snapshot take the place of the present ones.
void readVectors(ByteReader& in) {
    clearVectors();
    for (;;) {
        std::int32_t length = 0;
        std::int32_t count = 0;
        std::string_view name;
        std::array<double, 3> components{};
        if (!readInt32(in, length) || length < 0 || !readBytes(in, static_cast<std::size_t>(length), name) ||
            !readInt32(in, count))
            return;
        for (double& component : components)
            if (!readDouble(in, component)) return;
        findOrCreateVector(name, count, components[0], components[1], components[2]);
    }
}

// Clears the function rows and reads the body after the version tag.
int readState(ByteReader& in) {
    userFunctionCount = 0;
    std::fill(std::begin(displayFlags), std::end(displayFlags), 0);
    return readDocumentBody(in);
}

void writeBody(ByteWriter& out, WriteKind kind) {
    const std::string_view memo = plotSettings.memoText.view();
    writeInt32(out, static_cast<std::int32_t>(memo.size()));
    writeText(out, memo);
    writeDefinitions(out, kind);
    writeVariables(out, kind);
    writeFixedPart(out, kind);
    if (kind != WriteKind::Document) writeVectors(out, kind);
}

} // namespace

void writeDocumentBody(ByteWriter& out) {
    writeBody(out, WriteKind::Document);
}

Bytes writeDocument() {
    ByteWriter out;
    writeText(out, documentVersion);
    writeDocumentBody(out);
    return std::move(out.bytes);
}

Bytes writeDocumentSnapshot() {
    ByteWriter out;
    writeText(out, documentVersion);
    writeBody(out, WriteKind::Snapshot);
    return std::move(out.bytes);
}

Bytes writeDocumentWork() {
    ByteWriter out;
    writeBody(out, WriteKind::Work);
    return std::move(out.bytes);
}

int readDocumentBody(ByteReader& in) {
    BodyReader reader{in};
    for (auto step : {readMemo, readDefinitions, readVariables, readFixedPart})
        if (step(reader) == Step::Stop) break;
    return reader.damaged ? 1 : 0;
}

bool hasDocumentVersion(std::span<const unsigned char> bytes) {
    return bytes.size() >= documentVersion.size() &&
           std::equal(documentVersion.begin(), documentVersion.end(), bytes.begin());
}

int readDocumentSnapshot(std::span<const unsigned char> bytes) {
    if (!hasDocumentVersion(bytes)) return 1;
    ByteReader in{bytes, documentVersion.size()};
    const int damaged = readState(in);
    if (damaged == 0) readVectors(in);
    return damaged;
}

int readDocument(std::span<const unsigned char> bytes) {
    if (!hasDocumentVersion(bytes)) {
        const std::string caption(bytes.begin(),
                                  bytes.begin() + std::min(bytes.size(), documentVersion.size()));
        showMessage("Wrong version", "Cant read file", messageIconNone);
        showMessage(caption.c_str(), "test =", messageIconNone);
        return 1;
    }
    ByteReader in{bytes, documentVersion.size()};
    const int damaged = readState(in);
    if (damaged != 0) showMessage("Error", damagedFileText, messageIconNone);
    if (!plotSettings.memoText.empty())
        showMessage("File memo..", plotSettings.memoText.c_str(), messageIconNone);
    return damaged;
}
