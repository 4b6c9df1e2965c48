// Documents on disk: the bytes of document_format.h written safely and read back.
#pragma once

#include "document/byte_stream.h"

#include <span>
#include <string>

// Files above this size are not documents this program wrote; they are refused unread.
inline constexpr std::size_t documentSizeLimit = 64u << 20;

// Writes bytes to a new file beside path and renames it over path only when every write, the
// flush to disk and the close succeeded, so an existing file is replaced whole or not at all.
// Returns false on any failure, leaving no temporary file behind.
bool replaceFile(const std::string& path, std::span<const unsigned char> bytes);
// The whole content of a regular file of at most documentSizeLimit bytes; false otherwise.
bool readWholeFile(const std::string& path, Bytes& bytes);

// Writes the current document to path. Returns 0 when saved; 1, after the box "Cant save file",
// when not, and then a file already at path is left as it was.
int saveDocument(const std::string& path);
// Reads the document at path (after resetDocument). Returns 0 when read whole; 1 after the box
// of the failure ("Cant read file", a wrong version or a damaged file).
int loadDocument(const std::string& path);
