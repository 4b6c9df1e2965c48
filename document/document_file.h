// Documents on disk: the bytes of document_format.h written safely and read back.
#pragma once

#include "document/byte_stream.h"

#include <cstdint>
#include <span>
#include <string>
#include <sys/types.h>

// Files above this size are not documents this program wrote; they are refused unread.
inline constexpr std::size_t documentSizeLimit = 64u << 20;

// What a file was when this program last read or wrote it. Another program's save changes at
// least one of these (a replacing save the file itself, a writing one its size or time), and
// telling so costs one stat.
struct DiskStamp {
    bool known = false; // false for a file that is missing or was never read or written
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t seconds = 0; // of the last modification
    long nanoseconds = 0;
    bool operator==(const DiskStamp&) const = default;
};
// The stamp of the file at path as it is now.
DiskStamp diskStampOf(const std::string& path);

// Writes bytes to path by the rules of commitSave (file_saving.h). False on any failure, and then
// a file already at path is left as it was.
bool replaceFile(const std::string& path, std::span<const unsigned char> bytes);
// The whole content of a regular file of at most documentSizeLimit bytes; false otherwise. The
// stamp, when asked for, is that of the file that was read.
bool readWholeFile(const std::string& path, Bytes& bytes, DiskStamp* stamp = nullptr);

// Writes the current document to path as commitSave does. Returns 0 when saved; 1, after the box
// "Cant save file", when not; a refused save leaves the state and the file as they were.
// The stamp, when asked for, is that of the file written.
int saveDocument(const std::string& path, DiskStamp* stamp = nullptr);
// The whole content of the file at path; false after the box "Cant read file" when it cannot be
// read whole.
bool readDocumentFile(const std::string& path, Bytes& bytes, DiskStamp* stamp = nullptr);
// Reads the document at path (after resetDocument). Returns 0 when read whole; 1 after the box
// of the failure ("Cant read file", a wrong version or a damaged file).
int loadDocument(const std::string& path);
