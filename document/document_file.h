// Documents on disk: the bytes of document_format.h written safely and read back.
#pragma once

#include "document/byte_stream.h"

#include <span>
#include <string>

// Files above this size are not documents this program wrote; they are refused unread.
inline constexpr std::size_t documentSizeLimit = 64u << 20;

// Writes bytes to path by the rules of commitSave (file_saving.h). False on any failure, and then
// a file already at path is left as it was.
bool replaceFile(const std::string& path, std::span<const unsigned char> bytes);
// The whole content of a regular file of at most documentSizeLimit bytes; false otherwise.
bool readWholeFile(const std::string& path, Bytes& bytes);

// Writes the current document to path as commitSave does. Returns 0 when saved; 1, after the box
// "Cant save file", when not; a refused save leaves the state and the file as they were.
int saveDocument(const std::string& path);
// The whole content of the file at path; false after the box "Cant read file" when it cannot be
// read whole.
bool readDocumentFile(const std::string& path, Bytes& bytes);
// Reads the document at path (after resetDocument). Returns 0 when read whole; 1 after the box
// of the failure ("Cant read file", a wrong version or a damaged file).
int loadDocument(const std::string& path);
