#include "document_fixture.h"

#include "document/document_file.h"
#include "document/document_format.h"
#include "document/document_reset.h"
#include "expr/command_interpreter.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const ShownMessage cantSave{"Error", "Cant save file"};
const ShownMessage cantRead{"Error", "Cant read file"};

class DocumentFileTest : public DocumentTest {
  protected:
    void SetUp() override {
        DocumentTest::SetUp();
        folder = fs::temp_directory_path() / ("tarvelion-doc-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string path(const char* name) const { return (folder / name).string(); }
    std::size_t filesInFolder() const {
        return std::distance(fs::directory_iterator(folder), fs::directory_iterator{});
    }

    fs::path folder;
};

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// The user that tests of protection run as when the tests run as root, who may write anything.
constexpr uid_t nobody = 65534;

struct stat statusOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status;
}

// The exit status of body run in a child process, or -1 when a signal ended it. With
// unprivileged set, a child of root runs as nobody.
int exitStatusOf(const std::function<int()>& body, bool unprivileged = false) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (unprivileged && ::geteuid() == 0 && (::setgid(nobody) != 0 || ::setuid(nobody) != 0)) ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Each write beyond the first 1000 bytes of a file raises SIGXFSZ, as under "ulimit -f 1".
void limitFileSize() {
    const rlimit cut{1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &cut);
}

// Makes every write beyond the first limit bytes of a file fail, as a full disk would.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t limit) {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit cut = previous;
        cut.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &cut);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }

  private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};

TEST_F(DocumentFileTest, SaveAndLoadGoThroughTheFile) {
    defineFunctionFromText("f(x)=x^2");
    plotSettings.memoText = "memo";
    const std::string file = path("a.tvl");
    ASSERT_EQ(saveDocument(file), 0);
    const Bytes expected = writeDocument();
    EXPECT_EQ(contentOf(file), std::string(expected.begin(), expected.end()));
    resetDocument();
    EXPECT_EQ(loadDocument(file), 0);
    ASSERT_NE(userFunctionAt(0), nullptr);
    EXPECT_EQ(shownMessages(), (std::vector<ShownMessage>{{"File memo..", "memo"}}));
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(DocumentFileTest, SavingReplacesAnExistingFileWhole) {
    const std::string file = path("a.tvl");
    writeFile(file, std::string(10000, 'o'));
    ASSERT_EQ(saveDocument(file), 0);
    EXPECT_EQ(contentOf(file).size(), 3175u);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(DocumentFileTest, FailedWriteKeepsTheOldFileAndSaysSo) {
    const std::string file = path("a.tvl");
    writeFile(file, "the old document");
    int result = 0;
    {
        FileSizeLimit limit(1000);
        result = saveDocument(file);
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(shownMessages(), std::vector<ShownMessage>{cantSave});
    EXPECT_EQ(contentOf(file), "the old document");
    EXPECT_EQ(filesInFolder(), 1u); // no temporary file left behind
}

TEST_F(DocumentFileTest, UnwritablePlacesAreReportedWithoutLeftovers) {
    fs::create_directory(folder / "taken.tvl");
    for (const std::string& target : {path("missing/a.tvl"), path("taken.tvl")}) {
        SCOPED_TRACE(target);
        shownMessages().clear();
        EXPECT_EQ(saveDocument(target), 1);
        EXPECT_EQ(shownMessages(), std::vector<ShownMessage>{cantSave});
    }
    EXPECT_TRUE(fs::is_directory(folder / "taken.tvl"));
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(DocumentFileTest, UnreadablePlacesAreReported) {
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    for (const std::string& source : {path("missing.tvl"), folder.string(), path("pipe")}) {
        SCOPED_TRACE(source);
        shownMessages().clear();
        EXPECT_EQ(loadDocument(source), 1);
        EXPECT_EQ(shownMessages(), std::vector<ShownMessage>{cantRead});
    }
}

TEST_F(DocumentFileTest, SaveKeepsTheLinksModeAndOwnerOfTheFile) {
    struct Row {
        const char* name;
        std::function<std::string()> prepare; // makes the old file, gives the name to save to
        std::function<void()> check;
    };
    const bool root = ::geteuid() == 0;
    const std::string longName = std::string(246, 'n') + ".tvl";
    const Row rows[] = {
        {"mode_0600_stays",
         [&] {
             writeFile(path("a.tvl"), "old");
             fs::permissions(path("a.tvl"), fs::perms::owner_read | fs::perms::owner_write);
             return path("a.tvl");
         },
         [&] { EXPECT_EQ(statusOf(path("a.tvl")).st_mode & 07777, 0600u); }},
        {"symbolic_link_writes_its_target",
         [&] {
             writeFile(path("real.tvl"), "old");
             fs::create_symlink("real.tvl", path("link.tvl"));
             return path("link.tvl");
         },
         [&] {
             EXPECT_TRUE(fs::is_symlink(path("link.tvl")));
             EXPECT_EQ(contentOf(path("real.tvl")).size(), 3175u);
         }},
        {"hard_links_stay_one_file",
         [&] {
             writeFile(path("a.tvl"), "old");
             fs::create_hard_link(path("a.tvl"), path("b.tvl"));
             return path("a.tvl");
         },
         [&] {
             EXPECT_EQ(contentOf(path("b.tvl")).size(), 3175u);
             EXPECT_EQ(statusOf(path("a.tvl")).st_nlink, 2u);
         }},
        {"owner_and_group_stay",
         [&] {
             writeFile(path("a.tvl"), "old");
             if (root) {
                 EXPECT_EQ(::chown(path("a.tvl").c_str(), nobody, nobody), 0);
             }
             return path("a.tvl");
         },
         [&] {
             if (!root) return; // only root may give a file to another user
             EXPECT_EQ(statusOf(path("a.tvl")).st_uid, nobody);
             EXPECT_EQ(statusOf(path("a.tvl")).st_gid, nobody);
         }},
        {"name_of_250_bytes", [&] { return path(longName.c_str()); },
         [&] { EXPECT_EQ(contentOf(path(longName.c_str())).size(), 3175u); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        const std::string target = row.prepare();
        const std::size_t files = filesInFolder();
        EXPECT_EQ(saveDocument(target), 0);
        EXPECT_EQ(contentOf(target).size(), 3175u);
        EXPECT_EQ(filesInFolder(), std::max<std::size_t>(files, 1));
        row.check();
    }
}

TEST_F(DocumentFileTest, ProtectionDecidesWhetherAndHowTheFileIsWritten) {
    struct Row {
        const char* name;
        fs::perms folderMode;
        fs::perms fileMode;
        int result;
        bool written;
    };
    const fs::perms readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms open = fs::perms::owner_all | readable | fs::perms::group_exec | fs::perms::others_exec;
    const fs::perms closed = open & ~fs::perms::owner_write;
    const Row rows[] = {
        {"write_protected_file_is_not_written", open, readable, 1, false},
        {"writable_file_in_read_only_folder_is_written_in_place", closed, readable | fs::perms::owner_write,
         0, true},
    };
    const fs::path own = folder / "own";
    const std::string file = (own / "a.tvl").string();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::create_directory(own);
        writeFile(file, "old");
        for (const fs::path& p : {own, fs::path(file)}) {
            if (::geteuid() == 0) {
                ASSERT_EQ(::chown(p.c_str(), nobody, nobody), 0);
            }
        }
        fs::permissions(file, row.fileMode);
        fs::permissions(own, row.folderMode);
        EXPECT_EQ(exitStatusOf([&] { return saveDocument(file); }, true), row.result);
        EXPECT_EQ(contentOf(file).size(), row.written ? 3175u : 3u);
        EXPECT_EQ(statusOf(file).st_mode & 07777, static_cast<unsigned>(row.fileMode));
        fs::permissions(own, fs::perms::owner_all);
        EXPECT_EQ(std::distance(fs::directory_iterator(own), fs::directory_iterator{}), 1);
        fs::remove_all(own);
    }
}

// A file system of 64 KiB of its own, so that a save meets a really full disk; gone afterwards.
class SmallDisk {
  public:
    explicit SmallDisk(const std::string& where) : where_(where) {
        mounted_ = ::mount("tmpfs", where.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
        if (!mounted_) reason_ = std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string where_;
    std::string reason_;
    bool mounted_ = false;
};

// Writes chunks until the disk refuses one.
void fillDisk(const std::string& filler) {
    std::FILE* file = std::fopen(filler.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    const std::string chunk(4096, 'f');
    while (std::fwrite(chunk.data(), 1, chunk.size(), file) == chunk.size() && std::fflush(file) == 0) {
    }
    std::fclose(file);
}

// Makes a folder refuse new entries even to the superuser, who may write in any folder; gives
// whether the file system took it.
bool makeImmutable(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    const bool made = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                      (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    if (fd >= 0) ::close(fd);
    return made;
}

// Files that are written in place: one of two names, and one in a folder that takes no new file.
// The room for the longer document is not there, so the save refuses and the file stays as it was.
TEST_F(DocumentFileTest, FullDiskRefusesAnInPlaceSaveWithTheFileUntouched) {
    const std::string disk = path("disk");
    fs::create_directory(disk);
    const SmallDisk small(disk);
    if (!small.mounted()) GTEST_SKIP() << "no tmpfs could be mounted for a full disk: " << small.reason();
    const std::string linked = disk + "/a.tvl";
    const std::string closed = disk + "/closed/a.tvl";
    fs::create_directory(disk + "/closed");
    ASSERT_EQ(saveDocument(linked), 0);
    ASSERT_EQ(saveDocument(closed), 0);
    fs::create_hard_link(linked, disk + "/b.tvl");
    fillDisk(disk + "/filler");
    const bool folderClosed = makeImmutable(disk + "/closed");
    plotSettings.memoText = std::string(2000, 'm');
    for (const std::string& file : {linked, closed}) {
        if (file == closed && !folderClosed) GTEST_SKIP() << "the tmpfs takes no immutable folder";
        SCOPED_TRACE(file);
        const std::string old = contentOf(file);
        EXPECT_EQ(saveDocument(file), 1);
        EXPECT_EQ(contentOf(file), old);
    }
}

TEST_F(DocumentFileTest, SizeLimitFailsTheSaveInsteadOfEndingTheProgram) {
    const std::string file = path("a.tvl");
    writeFile(file, "old");
    EXPECT_EQ(exitStatusOf([&] {
                  limitFileSize();
                  return saveDocument(file);
              }),
              1);
    EXPECT_EQ(contentOf(file), "old");
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(DocumentFileTest, NextSaveRemovesWhatAKilledSaveLeftBehind) {
    const std::string file = path("a.tvl");
    writeFile(path("a.tvl~"), "not ours");
    EXPECT_EQ(exitStatusOf([&] {
                  limitFileSize();
                  std::signal(SIGXFSZ, [](int) { ::_exit(3); }); // the save dies half-way
                  return saveDocument(file);
              }),
              3);
    ASSERT_EQ(filesInFolder(), 2u);
    EXPECT_EQ(saveDocument(file), 0);
    EXPECT_EQ(filesInFolder(), 2u);
    EXPECT_EQ(contentOf(path("a.tvl~")), "not ours");
}

TEST_F(DocumentFileTest, RefusedSaveLeavesTheStateUnchanged) {
    defineFunctionFromText("f(x)=a*x");
    fs::create_directory(folder / "taken.tvl");
    for (const std::string& target : {path("missing/a.tvl"), path("taken.tvl")}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(saveDocument(target), 1);
        EXPECT_TRUE(std::none_of(symbolStore.variables.begin(), symbolStore.variables.end(),
                                 [](const auto& variable) { return variable->name == "a"; }));
    }
}

} // namespace
