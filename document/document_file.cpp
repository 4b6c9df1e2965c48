#include "document/document_file.h"

#include "document/document_format.h"
#include "document/file_saving.h"
#include "expr/message_hook.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

DiskStamp stampOf(const struct stat& status) {
    return {true,           status.st_dev,         status.st_ino,
            status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

} // namespace

DiskStamp diskStampOf(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? stampOf(status) : DiskStamp{};
}

bool readWholeFile(const std::string& path, Bytes& bytes, DiskStamp* stamp) {
    // Non-blocking, so that a named pipe cannot hold the open; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    bool readable = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    bytes.clear();
    unsigned char chunk[65536];
    while (readable) {
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            readable = count == 0;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + count);
        readable = bytes.size() <= documentSizeLimit;
    }
    ::close(fd);
    if (readable && stamp != nullptr) *stamp = stampOf(status);
    return readable;
}

bool replaceFile(const std::string& path, std::span<const unsigned char> bytes) {
    SaveTarget target;
    return prepareSave(path, target) && commitSave(target, bytes);
}

int saveDocument(const std::string& path, DiskStamp* stamp) {
    // Checked before the bytes are made: making them compiles the function bodies, which creates
    // variables, and a refused save leaves the state as it was.
    SaveTarget target;
    if (prepareSave(path, target) && commitSave(target, writeDocument())) {
        if (stamp != nullptr) *stamp = diskStampOf(target.path);
        return 0;
    }
    showMessage("Error", "Cant save file", messageIconNone);
    return 1;
}

bool readDocumentFile(const std::string& path, Bytes& bytes, DiskStamp* stamp) {
    if (readWholeFile(path, bytes, stamp)) return true;
    showMessage("Error", "Cant read file", messageIconNone);
    return false;
}

int loadDocument(const std::string& path) {
    Bytes bytes;
    return readDocumentFile(path, bytes) ? readDocument(bytes) : 1;
}
