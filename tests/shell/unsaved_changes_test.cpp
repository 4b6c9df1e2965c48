// Unsaved work: which edits mark it in the caption, the question before New, Open and Quit, and
// documents opened by name (the command line) or by a drop.
#include "document/file_prompts.h"
#include "expr/command_interpreter.h"
#include "expr/message_hook.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "shell/command_line.h"
#include "shell/file_commands.h"
#include "shell/graph_area.h"
#include "shell_test_support.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const QString savedCaption = QStringLiteral("Tarvelion Release 1.2 - work.tvl");

// A shown window whose document, f(x) = x ticked, was just saved as work.tvl.
std::unique_ptr<MainWindow> windowWithSavedWork(const QTemporaryDir& dir) {
    auto window = makeShownWindow();
    if (!window) return nullptr;
    defineFunctionFromText("f(x)=x");
    displayFlags[0] = 1;
    storeDocumentName(window.get(), dir.filePath("work.tvl"), plotSettings.documentPath,
                      plotSettings.documentTitle);
    window->runCommand(Command::Save);
    return window;
}

struct EditCase {
    const char* behaviour;
    std::function<void(MainWindow&)> edit;
    bool marks;
};

TEST(UnsavedChanges, WorkEditsMarkTheCaptionAndViewChangesDoNot) {
    const EditCase cases[] = {
        {"zoom", [](MainWindow& w) { w.runCommand(Command::ZoomIn); }, false},
        {"pan", [](MainWindow& w) { w.runCommand(Command::Left); }, false},
        {"resize", [](MainWindow& w) { w.graphArea()->setFixedSize(300, 200); }, false},
        {"calculation_in_the_console", [](MainWindow& w) { typeConsoleLine(w, "1+2"); }, false},
        {"function_from_the_console", [](MainWindow& w) { typeConsoleLine(w, ":defn g(x)=x^2"); }, true},
        {"variable_from_the_console", [](MainWindow& w) { typeConsoleLine(w, "a=3"); }, true},
        {"vector_from_the_console", [](MainWindow& w) { typeConsoleLine(w, ":defv v=(1,2,3)"); }, true},
        {"plot_mode", [](MainWindow& w) { w.runCommand(Command::ShowParametric); }, true},
    };
    for (const EditCase& c : cases) {
        QTemporaryDir dir;
        auto window = windowWithSavedWork(dir);
        ASSERT_TRUE(window);
        c.edit(*window);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->windowTitle().toStdString(),
                  (c.marks ? savedCaption + " *" : savedCaption).toStdString())
            << c.behaviour;
    }
}

struct PromptCase {
    const char* behaviour;
    Command command;
    QMessageBox::StandardButton answer;
};

// Save writes g to the file before going on, Discard goes on without writing, Cancel changes nothing.
TEST(UnsavedChanges, NewOpenAndQuitAskFirst) {
    const PromptCase cases[] = {
        {"new_save", Command::New, QMessageBox::Save},
        {"new_discard", Command::New, QMessageBox::Discard},
        {"new_cancel", Command::New, QMessageBox::Cancel},
        {"open_save", Command::Open, QMessageBox::Save},
        {"open_discard", Command::Open, QMessageBox::Discard},
        {"open_cancel", Command::Open, QMessageBox::Cancel},
        {"quit_save", Command::Exit, QMessageBox::Save},
        {"quit_discard", Command::Exit, QMessageBox::Discard},
        {"quit_cancel", Command::Exit, QMessageBox::Cancel},
    };
    for (const PromptCase& c : cases) {
        QTemporaryDir dir;
        auto window = windowWithSavedWork(dir);
        ASSERT_TRUE(window);
        const QString other = dir.filePath("other.tvl");
        QFile::copy(dir.filePath("work.tvl"), other);
        defineFunctionFromText("g(x)=2");
        const ModalAnswer answer = answerNextChangesPrompt(c.answer);
        std::optional<ModalAnswer> choose;
        if (c.command == Command::Open && c.answer != QMessageBox::Cancel)
            choose.emplace([other](QWidget* modal) { return chooseFile(modal, other); });
        window->runCommand(c.command);
        if (c.command == Command::Exit) takeUpTheQuit();

        const bool goesOn = c.answer != QMessageBox::Cancel;
        EXPECT_EQ(findFunction("g") == nullptr, goesOn && c.command != Command::Exit) << c.behaviour;
        EXPECT_EQ(window->isVisible(), c.command != Command::Exit || !goesOn) << c.behaviour;
        if (!goesOn) {
            EXPECT_EQ(window->windowTitle(), savedCaption + " *") << c.behaviour;
        }
        EXPECT_EQ(QFileInfo(dir.filePath("work.tvl")).size() > QFileInfo(other).size(),
                  c.answer == QMessageBox::Save)
            << c.behaviour;
    }
}

std::vector<std::string> shownMessages;

void recordMessage(const char* caption, const char* body, int) {
    shownMessages.push_back(std::string(caption) + ": " + body);
}

void dropFile(MainWindow& window, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) return;
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    QCoreApplication::processEvents();
}

void openFromTheCommandLine(MainWindow& window, const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const char* argv[] = {"tarvelion", name.constData()};
    const CommandLine line = parseCommandLine(2, argv);
    ASSERT_TRUE(line.error.empty());
    openDocumentAt(window, line.document);
}

struct OpenByNameCase {
    const char* behaviour;
    std::function<void(MainWindow&, const QString&)> open;
    const char* file;
    const char* caption; // empty when the load must be refused with "Cant read file"
};

TEST(UnsavedChanges, DocumentsOpenFromTheCommandLineAndByADrop) {
    const OpenByNameCase cases[] = {
        {"command_line", openFromTheCommandLine, "lesson.tvl", "Tarvelion Release 1.2 - lesson.tvl"},
        {"drop", dropFile, "lesson.tvl", "Tarvelion Release 1.2 - lesson.tvl"},
        {"command_line_missing_file", openFromTheCommandLine, "missing.tvl", ""},
        {"drop_of_another_kind_of_file", dropFile, "lesson.txt", "Tarvelion Release 1.2 - work.tvl"},
    };
    for (const OpenByNameCase& c : cases) {
        QTemporaryDir dir;
        auto window = windowWithSavedWork(dir);
        ASSERT_TRUE(window);
        QFile::copy(dir.filePath("work.tvl"), dir.filePath("lesson.tvl"));
        QFile::copy(dir.filePath("work.tvl"), dir.filePath("lesson.txt"));
        defineFunctionFromText("h(x)=3");
        window->runCommand(Command::Save);
        QFile::remove(dir.filePath("work.tvl"));
        setMessageHook(recordMessage);
        shownMessages.clear();
        c.open(*window, dir.filePath(QString::fromLatin1(c.file)));
        setMessageHook(nullptr);
        if (*c.caption == '\0') {
            EXPECT_EQ(shownMessages, std::vector<std::string>{"Error: Cant read file"}) << c.behaviour;
            continue;
        }
        EXPECT_EQ(window->windowTitle(), QString::fromLatin1(c.caption)) << c.behaviour;
        EXPECT_EQ(findFunction("h") == nullptr, QByteArray(c.file) == "lesson.tvl") << c.behaviour;
    }
}

TEST(UnsavedChanges, CommandLineRefusesOptionsAndASecondDocument) {
    const struct {
        std::vector<const char*> arguments;
        const char* document;
        bool refused;
    } cases[] = {
        {{"tarvelion"}, "", false},
        {{"tarvelion", "a.tvl"}, "a.tvl", false},
        {{"tarvelion", "--", "-a.tvl"}, "-a.tvl", false},
        {{"tarvelion", "--bogus"}, "", true},
        {{"tarvelion", "a.tvl", "b.tvl"}, "a.tvl", true},
        {{"tarvelion", ""}, "", true},
    };
    for (const auto& c : cases) {
        const CommandLine line = parseCommandLine(int(c.arguments.size()), c.arguments.data());
        EXPECT_EQ(line.document, c.document) << c.arguments.back();
        EXPECT_EQ(!line.error.empty(), c.refused) << c.arguments.back();
    }
}

// A drop hands the name over as a URL, which keeps the bytes that are no valid text percent-encoded.
void dropBytes(MainWindow& window, const std::string& name) {
    QMimeData data;
    data.setData("text/uri-list", "file://" + QByteArray::fromStdString(name).toPercentEncoding("/") + "\r\n");
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    QCoreApplication::processEvents();
}

void openFromTheCommandLineBytes(MainWindow& window, const std::string& name) {
    const char* argv[] = {"tarvelion", name.c_str()};
    openDocumentAt(window, parseCommandLine(2, argv).document);
}

TEST(UnsavedChanges, ANameThatIsNotValidTextOpensFromTheCommandLineAndByADrop) {
    const std::function<void(MainWindow&, const std::string&)> ways[] = {openFromTheCommandLineBytes,
                                                                          dropBytes};
    for (const auto& open : ways) {
        QTemporaryDir dir;
        auto window = windowWithSavedWork(dir);
        ASSERT_TRUE(window);
        const std::string name = QFile::encodeName(dir.path()).toStdString() + "/\xff\xfe.tvl";
        std::filesystem::copy_file(QFile::encodeName(dir.filePath("work.tvl")).toStdString(), name);
        defineFunctionFromText("h(x)=3");
        window->runCommand(Command::Save);
        setMessageHook(recordMessage);
        shownMessages.clear();
        open(*window, name);
        setMessageHook(nullptr);
        EXPECT_TRUE(shownMessages.empty());
        EXPECT_EQ(plotSettings.documentPath.view(), name);
        EXPECT_EQ(findFunction("h"), nullptr);
        std::filesystem::remove(name); // a name the temporary folder's own clean-up cannot spell
    }
}

// Another program wrote the file meanwhile: it replaced it with a file of its own.
void replaceBehindTheWindow(const QTemporaryDir& dir) {
    QFile other(dir.filePath("theirs"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("theirs");
    other.close();
    ASSERT_EQ(std::rename(QFile::encodeName(other.fileName()).constData(),
                          QFile::encodeName(dir.filePath("work.tvl")).constData()),
              0);
}

QByteArray startOf(const QString& path, int length) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(length) : QByteArray();
}

TEST(UnsavedChanges, SaveAsksBeforeWritingOverAnotherProgramsChange) {
    const struct {
        const char* behaviour;
        bool changed;
        QMessageBox::StandardButton answer; // Yes is "Overwrite", Save is "Save as.."
        const char* kept;                   // the start of work.tvl afterwards
    } cases[] = {
        {"unchanged_file_is_saved_without_a_question", false, QMessageBox::NoButton, "001.200"},
        {"overwrite", true, QMessageBox::Yes, "001.200"},
        {"cancel", true, QMessageBox::Cancel, "theirs"},
        {"save_as_writes_the_name_chosen", true, QMessageBox::Save, "theirs"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        auto window = windowWithSavedWork(dir);
        ASSERT_TRUE(window);
        if (c.changed) replaceBehindTheWindow(dir);
        defineFunctionFromText("g(x)=2");
        std::optional<ModalAnswer> question;
        if (c.answer != QMessageBox::NoButton)
            question.emplace(
                [&c](QWidget* modal) { return answerBox(modal, QStringLiteral("work.tvl\n"), c.answer); });
        std::optional<ModalAnswer> choose;
        const QString other = dir.filePath("other.tvl");
        if (c.answer == QMessageBox::Save)
            choose.emplace([&other](QWidget* modal) { return chooseFile(modal, other); });
        window->runCommand(Command::Save);
        EXPECT_EQ(startOf(dir.filePath("work.tvl"), 7), c.kept) << c.behaviour;
        EXPECT_EQ(QFile::exists(dir.filePath("other.tvl")), c.answer == QMessageBox::Save) << c.behaviour;
        EXPECT_EQ(window->windowTitle().endsWith('*'), c.answer == QMessageBox::Cancel) << c.behaviour;
    }
}

} // namespace
