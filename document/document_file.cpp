#include "document/document_file.h"

#include "document/document_format.h"
#include "expr/message_hook.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Interrupted calls are retried; any other error ends the transfer.
bool writeAll(int fd, std::span<const unsigned char> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// A new file beside path, so the final rename stays within one file system. Returns -1 when
// none can be made.
int createTemporary(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".save" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

bool replaceFile(const std::string& path, std::span<const unsigned char> bytes) {
    std::string temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0) return false;
    bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

bool readWholeFile(const std::string& path, Bytes& bytes) {
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
    return readable;
}

int saveDocument(const std::string& path) {
    if (replaceFile(path, writeDocument())) return 0;
    showMessage("Error", "Cant save file", messageIconNone);
    return 1;
}

int loadDocument(const std::string& path) {
    Bytes bytes;
    if (!readWholeFile(path, bytes)) {
        showMessage("Error", "Cant read file", messageIconNone);
        return 1;
    }
    return readDocument(bytes);
}
