#include "document/byte_stream.h"

#include <algorithm>
#include <bit>

namespace {

void writeUint64(ByteWriter& out, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::uint64_t readUint64(const ByteReader& in, int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= std::uint64_t{in.bytes[in.position + i]} << (8 * i);
    return value;
}

} // namespace

void writeInt32(ByteWriter& out, std::int32_t value) {
    writeUint64(out, static_cast<std::uint32_t>(value), 4);
}

void writeDouble(ByteWriter& out, double value) {
    writeUint64(out, std::bit_cast<std::uint64_t>(value), 8);
}

void writeText(ByteWriter& out, std::string_view text) {
    out.bytes.insert(out.bytes.end(), text.begin(), text.end());
}

void writeTextBlock(ByteWriter& out, std::string_view text, std::size_t size) {
    if (size == 0) return;
    const std::string_view cut = text.substr(0, std::min(text.find('\0'), size - 1));
    writeText(out, cut);
    out.bytes.insert(out.bytes.end(), size - cut.size(), 0);
}

bool readInt32(ByteReader& in, std::int32_t& value) {
    if (in.remaining() < 4) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(readUint64(in, 4)));
    in.position += 4;
    return true;
}

bool readDouble(ByteReader& in, double& value) {
    if (in.remaining() < 8) return false;
    value = std::bit_cast<double>(readUint64(in, 8));
    in.position += 8;
    return true;
}

bool readBytes(ByteReader& in, std::size_t count, std::string_view& bytes) {
    if (in.remaining() < count) return false;
    bytes = {reinterpret_cast<const char*>(in.bytes.data() + in.position), count};
    in.position += count;
    return true;
}
