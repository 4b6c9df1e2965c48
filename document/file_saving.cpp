#include "document/file_saving.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

// More links than this in a row are taken for a loop, as the system itself does.
constexpr int linkHopLimit = 40;
constexpr int temporaryAttempts = 100;

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

// The file a chain of symbolic links ends at; a link whose target is missing gives that target,
// so saving through it creates the file it names.
std::string resolveLinks(std::string path) {
    std::vector<char> target(PATH_MAX);
    for (int hop = 0; hop < linkHopLimit; ++hop) {
        const ssize_t size = ::readlink(path.c_str(), target.data(), target.size());
        if (size <= 0 || static_cast<std::size_t>(size) >= target.size()) return path;
        const std::string_view next(target.data(), static_cast<std::size_t>(size));
        const std::size_t slash = path.rfind('/');
        path = next.front() == '/' || slash == std::string::npos
                   ? std::string(next)
                   : path.substr(0, slash + 1) + std::string(next);
    }
    return path; // still a link: refused as not a regular file
}

bool mayCreateIn(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Temporary files are named after a hash of the document's name rather than the name itself,
// so that the longest name the system allows still leaves room for them.
std::string temporaryPrefix(const SaveTarget& target) {
    std::uint64_t hash = 14695981039346656037u; // FNV-1a
    for (const char c : target.name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    char text[32];
    std::snprintf(text, sizeof text, ".tvlsave-%016llx-", static_cast<unsigned long long>(hash));
    return text;
}

// The process id of a temporary name "prefix<pid>-<attempt>", or 0 when the name is not one.
long writerOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return 0;
    name.remove_prefix(prefix.size());
    long pid = 0;
    std::size_t i = 0;
    for (; i < name.size() && i < 10 && name[i] >= '0' && name[i] <= '9'; ++i)
        pid = pid * 10 + (name[i] - '0');
    if (i == 0 || i >= name.size() || name[i] != '-') return 0;
    const std::string_view attempt = name.substr(i + 1);
    if (attempt.empty() || attempt.size() > 3 ||
        attempt.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    return pid;
}

// Removes the temporary files of this document whose writer no longer runs: a save that was
// killed left them. A save still running in another process keeps its own.
void removeLeftovers(const SaveTarget& target) {
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(target.folder.c_str()), ::closedir);
    if (!folder) return;
    const std::string prefix = temporaryPrefix(target);
    while (const dirent* entry = ::readdir(folder.get())) {
        const long writer = writerOf(entry->d_name, prefix);
        if (writer <= 0 || writer == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(writer), 0) == 0 || errno != ESRCH) continue;
        struct stat status {};
        const int folderFd = ::dirfd(folder.get());
        if (::fstatat(folderFd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
            ::unlinkat(folderFd, entry->d_name, 0);
    }
}

// A new file beside the target, readable by no one else until it takes the old file's mode.
// Returns -1 with errno set when none can be made.
int createTemporary(const SaveTarget& target, std::string& temporary) {
    const std::string prefix =
        target.folder + "/" + temporaryPrefix(target) + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < temporaryAttempts; ++attempt) {
        temporary = prefix + std::to_string(attempt);
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, target.exists ? 0600 : 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The owner and group first, since a change of owner may clear the set-id bits of the mode.
bool takeOldOwner(int fd, const SaveTarget& target) {
    return !target.exists || ::fchown(fd, target.status.st_uid, target.status.st_gid) == 0;
}

bool takeOldMode(int fd, const SaveTarget& target) {
    return !target.exists || ::fchmod(fd, target.status.st_mode & 07777) == 0;
}

// Room on the disk for size bytes of the open file, taken before any old byte is overwritten. A
// file system that cannot reserve gets the new length written instead: zeros past the old end.
// Refused with the file as it was: its old length, its bytes untouched.
bool reserveSpace(int fd, off_t oldSize, off_t size) {
    int failure = ::posix_fallocate(fd, 0, size);
    if (failure == EOPNOTSUPP || failure == ENOSYS || failure == EINVAL) {
        failure = 0;
        if (size > oldSize) {
            const std::vector<unsigned char> zeros(static_cast<std::size_t>(size - oldSize));
            failure = ::lseek(fd, oldSize, SEEK_SET) == oldSize && writeAll(fd, zeros) && ::fsync(fd) == 0
                          ? 0
                          : EIO;
        }
    }
    if (failure == 0) return ::lseek(fd, 0, SEEK_SET) == 0;
    if (size > oldSize) ::ftruncate(fd, oldSize);
    return false;
}

// The file itself: the room is reserved first, so a full disk refuses the save instead of
// leaving half a document; then the bytes, a flush, the old bytes beyond the new end cut off.
bool writeInPlace(const SaveTarget& target, std::span<const unsigned char> bytes) {
    const int fd = ::open(target.path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    const off_t size = static_cast<off_t>(bytes.size());
    bool written = ::fstat(fd, &status) == 0 && reserveSpace(fd, status.st_size, size) &&
                   writeAll(fd, bytes) && ::fsync(fd) == 0 && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    return written;
}

bool writeReplacement(int fd, const std::string& temporary, const SaveTarget& target,
                      std::span<const unsigned char> bytes) {
    bool written = writeAll(fd, bytes) && takeOldMode(fd, target) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temporary.c_str(), target.path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

// A write beyond the file-size limit then fails with an error the save reports, instead of
// ending the program with the unsaved work. A handler someone installed is left in place.
void ignoreFileSizeSignal() {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace

bool prepareSave(const std::string& path, SaveTarget& target) {
    target = SaveTarget{};
    target.path = resolveLinks(path);
    const std::size_t slash = target.path.rfind('/');
    target.folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.path.substr(0, slash);
    target.name = slash == std::string::npos ? target.path : target.path.substr(slash + 1);
    if (target.name.empty()) return false;
    if (::lstat(target.path.c_str(), &target.status) != 0)
        return errno == ENOENT && mayCreateIn(target.folder);
    target.exists = true;
    return S_ISREG(target.status.st_mode) &&
           ::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool commitSave(const SaveTarget& target, std::span<const unsigned char> bytes) {
    ignoreFileSizeSignal();
    removeLeftovers(target);
    // Replacing a file of several hard links would split it from the others.
    if (!target.exists || target.status.st_nlink <= 1) {
        std::string temporary;
        const int fd = createTemporary(target, temporary);
        if (fd >= 0 && takeOldOwner(fd, target)) return writeReplacement(fd, temporary, target, bytes);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(temporary.c_str());
        } else if (!target.exists || (errno != EACCES && errno != EPERM && errno != EROFS)) {
            return false;
        }
    }
    return writeInPlace(target, bytes);
}
