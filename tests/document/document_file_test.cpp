#include "document_fixture.h"

#include "document/document_file.h"
#include "document/document_format.h"
#include "document/document_reset.h"
#include "expr/command_interpreter.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
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

} // namespace
