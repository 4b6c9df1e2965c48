// The console: which lines run when the caret leaves them, and where the answers go.
#include "shell/command_dialog.h"
#include "shell/main_window.h"
#include "shell_test_support.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

void press(QPlainTextEdit* edit, Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i)
        QTest::keyClick(edit, key);
}

struct ConsoleCase {
    const char* name;
    std::function<void(QPlainTextEdit*)> input;
    QStringList transcript;
};

class ConsoleTranscript : public ::testing::TestWithParam<ConsoleCase> {};

TEST_P(ConsoleTranscript, HoldsTheExpectedLines) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->runCommand(Command::Console);
    QPlainTextEdit* edit = window->console()->consoleEdit();
    GetParam().input(edit);
    EXPECT_EQ(transcriptLines(edit), GetParam().transcript);
}

const ConsoleCase consoleCases[] = {
    {"InputLineIsAnsweredBelowWithAFreshPrompt",
     [](QPlainTextEdit* edit) {
         QTest::keyClicks(edit, "1+2");
         press(edit, Qt::Key_Return);
     },
     {">1+2", "result = 3 ", ">"}},
    {"ByeIsEchoedAndTheConsoleStaysOpen",
     [](QPlainTextEdit* edit) {
         QTest::keyClicks(edit, ":bye");
         press(edit, Qt::Key_Return);
     },
     {">:bye", ":bye", ">"}},
    {"EnterOnAnAnswerLineRunsNothing",
     [](QPlainTextEdit* edit) {
         QTest::keyClicks(edit, "1+2");
         press(edit, Qt::Key_Return);
         press(edit, Qt::Key_Up);
         press(edit, Qt::Key_End);
         press(edit, Qt::Key_Return);
     },
     {">1+2", "result = 3 ", "", ">"}},
    {"LineWithoutPromptIsNotRun",
     [](QPlainTextEdit* edit) {
         press(edit, Qt::Key_Backspace);
         QTest::keyClicks(edit, "1+2");
         press(edit, Qt::Key_Return);
     },
     {"1+2", ""}},
    {"EnterInsideALineRunsItsFirstPartAndPromptsTheRest",
     [](QPlainTextEdit* edit) {
         QTest::keyClicks(edit, "1+2abc");
         press(edit, Qt::Key_Left, 3);
         press(edit, Qt::Key_Return);
     },
     {">1+2", "result = 3 ", ">abc"}},
    {"AnswerCannotBeUndone",
     [](QPlainTextEdit* edit) {
         QTest::keyClicks(edit, "1+2");
         press(edit, Qt::Key_Return);
         QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
     },
     {">1+2", "result = 3 ", ">"}},
    {"EvaluationErrorIsShownAsTheAnswer",
     [](QPlainTextEdit* edit) {
         QTest::keyClicks(edit, "sin(i)");
         press(edit, Qt::Key_Return);
     },
     {">sin(i)", "Error - cannot apply sine to vector", ">"}},
    {"SecondLineRunsAfterTheFirst",
     [](QPlainTextEdit* edit) {
         QTest::keyClicks(edit, "x=4");
         press(edit, Qt::Key_Return);
         QTest::keyClicks(edit, "x");
         press(edit, Qt::Key_Return);
     },
     {">x=4", "result = 4 ", ">x", "result = x = 4.000000", ">"}},
    {"PasteOfSeveralLinesRunsEachInTurn",
     [](QPlainTextEdit* edit) { edit->insertPlainText("5+6\n1+2\n3+4"); },
     {">5+6", "result = 11 ", ">1+2", "result = 3 ", ">3+4", "result = 7 ", ">"}},
    {"PasteEndingWithALineBreakLeavesAFreshPrompt",
     [](QPlainTextEdit* edit) { edit->insertPlainText("1+2\r\n>3+4\r\n"); },
     {">1+2", "result = 3 ", ">3+4", "result = 7 ", ">"}},
    {"LineLeftForAnotherIsAnsweredBelowItself",
     [](QPlainTextEdit* edit) {
         QTest::keyClicks(edit, "1+2");
         press(edit, Qt::Key_Return);
         QTest::keyClicks(edit, "4");
         press(edit, Qt::Key_Up, 2);
         QTest::keyClicks(edit, "z");
     },
     {">1z+2", "result = 3 ", ">4", "result = 4 ", ">"}},
};

INSTANTIATE_TEST_SUITE_P(Console, ConsoleTranscript, ::testing::ValuesIn(consoleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Console, ReopenedConsoleStartsAfreshAndRunsItsFirstLine) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->runCommand(Command::Console);
    QPlainTextEdit* first = window->console()->consoleEdit();
    QTest::keyClicks(first, "1+2");
    press(first, Qt::Key_Return);
    QTest::mouseClick(window->console()->findChild<QWidget*>(QStringLiteral("id40200")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(window->console(), nullptr);

    window->runCommand(Command::Console);
    QPlainTextEdit* second = window->console()->consoleEdit();
    EXPECT_EQ(second->toPlainText(), ">");
    QTest::keyClicks(second, "2+3");
    press(second, Qt::Key_Return);
    EXPECT_EQ(transcriptLines(second), (QStringList{">2+3", "result = 5 ", ">"}));
}

TEST(Console, SecondCommandBringsTheOpenConsoleForward) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->runCommand(Command::Console);
    CommandDialog* open = window->console();
    QTest::keyClicks(open->consoleEdit(), "1");
    window->runCommand(Command::Console);
    EXPECT_EQ(window->console(), open);
    EXPECT_EQ(window->findChildren<CommandDialog*>().size(), 1);
    EXPECT_EQ(open->consoleEdit()->toPlainText(), ">1");
}

TEST(Console, DraggingByTheHelpTextMovesItAndKeepsItsSize) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->runCommand(Command::Console);
    CommandDialog* console = window->console();
    const QPoint start = console->pos();
    const QSize before = console->size();
    QWidget* helpLine = console->findChild<QWidget*>(QStringLiteral("id40137"));
    ASSERT_NE(helpLine, nullptr);
    const QPoint grab = helpLine->geometry().center();
    QTest::mousePress(console, Qt::LeftButton, {}, grab);
    QTest::mouseMove(console, grab + QPoint(40, 25));
    QTest::mouseRelease(console, Qt::LeftButton, {}, grab + QPoint(40, 25));
    EXPECT_EQ(console->pos(), start + QPoint(40, 25));
    EXPECT_EQ(console->size(), before);
    EXPECT_GE(console->width(), 705);
    EXPECT_GE(console->height(), 494);
}

TEST(Console, EveryHelpLineShowsWholeBesideTheCloseButton) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->runCommand(Command::Console);
    const QWidget* close = window->console()->findChild<QWidget*>(QStringLiteral("id40200"));
    for (const QLabel* line : window->console()->findChildren<QLabel*>(QStringLiteral("id40137"))) {
        EXPECT_GE(line->width(), line->sizeHint().width()) << line->text().toStdString();
        EXPECT_FALSE(line->geometry().intersects(close->geometry())) << line->text().toStdString();
    }
}

} // namespace
