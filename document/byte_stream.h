// Little-endian byte streams for the document format, the same on every host. The reader is
// bounded: every read checks the bytes that remain and fails instead of running past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct ByteWriter {
    Bytes bytes;
};

void writeInt32(ByteWriter& out, std::int32_t value);
void writeDouble(ByteWriter& out, double value);
void writeText(ByteWriter& out, std::string_view text);
// A fixed block of size bytes: the text (cut to size - 1 characters), then zeros to the end.
void writeTextBlock(ByteWriter& out, std::string_view text, std::size_t size);

struct ByteReader {
    std::span<const unsigned char> bytes;
    std::size_t position = 0;

    std::size_t remaining() const { return bytes.size() - position; }
};

// Each read returns false, and consumes nothing, when fewer bytes remain than it needs.
bool readInt32(ByteReader& in, std::int32_t& value);
bool readDouble(ByteReader& in, double& value);
// count raw bytes as a view into the reader's storage.
bool readBytes(ByteReader& in, std::size_t count, std::string_view& bytes);
