// Writing a file the way a trusted editor does: the new bytes replace the file whole or not at
// all, and the file keeps what makes it the user's (its links, mode, owner and group).
#pragma once

#include <span>
#include <string>
#include <sys/stat.h>

// Where a save writes, settled before its bytes are made, so a save that cannot happen changes
// nothing.
struct SaveTarget {
    std::string path;   // the file itself, symbolic links resolved
    std::string folder; // the folder that holds it
    std::string name;   // its name within the folder
    bool exists = false;
    struct stat status {}; // of the existing file
};

// False when the file may not be written: a file the user may not write, something other than
// a regular file, or a new file in a folder that is missing or closed to the user.
bool prepareSave(const std::string& path, SaveTarget& target);

// Writes bytes to a new file beside the target and renames it over the target, with the old
// file's mode, owner and group. The file itself is written instead (the bytes truncated to size
// afterwards) when it has several hard links, when no new file can be made in its folder, or
// when the new file could not take the old owner. Temporary files of this document that a
// killed save left behind are removed first. False on any failure, with no temporary file left;
// a write beyond the file-size limit is such a failure, not the end of the program.
bool commitSave(const SaveTarget& target, std::span<const unsigned char> bytes);
