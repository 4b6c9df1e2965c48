#include "document/file_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the answer on the next modal widget that opens, as a user at the prompt would.
void answerNextModal(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return answerNextModal(answer);
        answer(modal);
    });
}

void chooseFile(QWidget* modal, const QString& name) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(name);
    static_cast<QDialog*>(dialog)->accept(); // public as QDialog, protected as QFileDialog
}

struct PromptTest : ::testing::Test {
    QTemporaryDir folder;
    PathText path{"before"};
    PathText title{"before"};
    QString inFolder(const char* name) const { return QDir(folder.path()).filePath(name); }
};

TEST_F(PromptTest, SaveAddsTheDefaultSuffix) {
    answerNextModal([&](QWidget* modal) { chooseFile(modal, inFolder("plot")); });
    ASSERT_EQ(savePrompt(nullptr, path, title), 1);
    EXPECT_EQ(path, inFolder("plot.tvl").toStdString());
    EXPECT_EQ(title, "plot.tvl");
}

TEST_F(PromptTest, CancelLeavesBothBuffers) {
    answerNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
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
        answerNextModal([&](QWidget* modal) {
            chooseFile(modal, inFolder("new.tvl"));
            answerNextModal(
                [&](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(row.answer)->click(); });
        });
        EXPECT_EQ(openPrompt(nullptr, path, title), row.result);
    }
    EXPECT_EQ(title, "new.tvl");
}

} // namespace
