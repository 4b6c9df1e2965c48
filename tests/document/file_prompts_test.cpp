#include "document/file_prompts.h"
#include "modal_answer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>


namespace {

// Picks the name in the next file prompt that opens, as a user at the prompt would.
ModalAnswer chooseFileInNextPrompt(const QString& name) {
    return ModalAnswer([name](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) return false;
        dialog->selectFile(name);
        static_cast<QDialog*>(dialog)->accept(); // public as QDialog, protected as QFileDialog
        return true;
    });
}

struct PromptTest : ::testing::Test {
    QTemporaryDir folder;
    PathText path{"before"};
    PathText title{"before"};
    QString inFolder(const char* name) const { return QDir(folder.path()).filePath(name); }
};

TEST_F(PromptTest, SaveAddsTheDefaultSuffix) {
    const ModalAnswer choose = chooseFileInNextPrompt(inFolder("plot"));
    ASSERT_EQ(savePrompt(nullptr, path, title), 1);
    EXPECT_EQ(path, inFolder("plot.tvl").toStdString());
    EXPECT_EQ(title, "plot.tvl");
}

TEST_F(PromptTest, CancelLeavesBothBuffers) {
    const ModalAnswer cancel([](QWidget* modal) {
        qobject_cast<QDialog*>(modal)->reject();
        return true;
    });
    EXPECT_EQ(openPrompt(nullptr, path, title), 0);
    EXPECT_EQ(path, "before");
    EXPECT_EQ(title, "before");
}

TEST_F(PromptTest, OpeningANewNameAsksBeforeTakingIt) {
    struct Row {
        const char* name;
        QMessageBox::StandardButton answer;
        int result;
    };
    for (const Row& row :
         {Row{"create_confirmed", QMessageBox::Yes, 1}, Row{"create_declined", QMessageBox::No, 0}}) {
        SCOPED_TRACE(row.name);
        const ModalAnswer choose = chooseFileInNextPrompt(inFolder("new.tvl"));
        const ModalAnswer confirm([&row](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr) return false;
            box->button(row.answer)->click();
            return true;
        });
        EXPECT_EQ(openPrompt(nullptr, path, title), row.result);
    }
    EXPECT_EQ(title, "new.tvl");
}

} // namespace
