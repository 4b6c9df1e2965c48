// The .tvl document: its bytes written from and read into the symbol store, the view limits and
// the plot settings. Works on byte streams; the file handling is in document_file.h.
#pragma once

#include "document/byte_stream.h"

#include <cstddef>
#include <span>
#include <string_view>

inline constexpr std::string_view documentVersion = "001.200";
inline constexpr std::size_t fixedPartSize = 3143;

// Limits of the variable-length fields; a longer field in a file is cut to them on reading.
inline constexpr std::size_t memoLimit = 2047;
inline constexpr std::size_t definitionLimit = 1023;
inline constexpr std::size_t variableNameLimit = 199;

// Shown when a file was cut short, held a length it cannot have, or a text without its end.
inline constexpr const char* damagedFileText = "File damaged - only its sound part was read";

// Everything after the version tag. Compiles each user function's body first, so the variables
// it names exist and are written.
void writeDocumentBody(ByteWriter& out);
// The version tag and the body.
Bytes writeDocument();
// The body as far as it is the user's work, for telling whether that changed: no body is
// compiled (a compile may add variables and evaluates once), the view limits and the values of
// the swept variables are written as zero, so zooming, panning and replotting leave it alone,
// and the vectors follow.
Bytes writeDocumentWork();
// The whole document as it stands, tag included, then the vectors, for undo: no body is
// compiled, so taking one runs no calculation and adds no variable, and readDocumentSnapshot
// gives back the same state, the order of the variables and vectors included.
Bytes writeDocumentSnapshot();

// Reads everything after the version tag into the state. Reading stops at the end of the bytes
// or at a negative length; over-long fields and unterminated texts are cut to fit. Returns 0
// when the body was whole and sound, 1 when it was damaged (what was read before stays).
int readDocumentBody(ByteReader& in);
// Whether the bytes begin with this version's tag.
bool hasDocumentVersion(std::span<const unsigned char> bytes);
// Reads a snapshot after resetDocument: clears the function rows, reads the body and puts the
// snapshot's vectors in place of the present ones, showing no box. Returns 0 when read whole.
int readDocumentSnapshot(std::span<const unsigned char> bytes);
// Checks the version tag, clears the function rows and reads the body, showing the boxes of a
// wrong version, a damaged file and a non-empty memo. Returns 0 when read whole, 1 otherwise.
// Expects resetDocument just before.
int readDocument(std::span<const unsigned char> bytes);
