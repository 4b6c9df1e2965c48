// What a careless or hostile user types and opens: every dialog field and the console take
// huge, unbalanced, non-finite, recursive, non-ASCII and control-byte texts, and damaged files
// go through File > Open. The program must answer, stay usable and keep the document.
#include "document/document_format.h"
#include "expr/command_interpreter.h"
#include "expr/message_hook.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "shell/command_dialog.h"
#include "shell/dialog_template.h"
#include "shell_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::string> shownMessages;

void recordMessage(const char* caption, const char* body, int) {
    shownMessages.push_back(std::string(caption) + ": " + body);
}

constexpr int closeIds[] = {40200, 40002}; // OK or Close, and Cancel
constexpr int consoleCloseId = 40200;

// One nasty text of a kind of abuse; `pasted` texts hold bytes no key produces, so they arrive
// as a paste would.
struct NastyText {
    const char* kind;
    const char* behaviour;
    QString text;
    bool pasted = false;
};

QString repeated(const char* piece, int times) {
    return QString::fromUtf8(piece).repeated(times);
}

const std::vector<NastyText>& nastyTexts() {
    static const std::vector<NastyText> texts = {
        {"size", "thousands_of_terms", repeated("x+", 1500) + "1"},
        {"size", "thousands_of_digits", repeated("9", 3000)},
        {"brackets", "brackets_out_of_order", QStringLiteral(")(()))((")},
        {"brackets", "only_opening_brackets", QStringLiteral("((((((")},
        {"brackets", "only_closing_brackets", QStringLiteral("))))))")},
        {"brackets", "brackets_without_content", repeated("()", 40)},
        {"nesting", "deep_nesting_of_calls", repeated("sin(", 18) + "x" + repeated(")", 18)},
        {"nesting", "deep_nesting", repeated("(", 38) + "x" + repeated(")", 38)},
        {"non_finite", "huge_power_tower", QStringLiteral("9^9^9^9^9")},
        {"non_finite", "overflowing_exponent", QStringLiteral("1e999999")},
        {"non_finite", "negative_overflow", QStringLiteral("-1e999999*0")},
        {"non_finite", "zero_over_zero", QStringLiteral("0/0")},
        {"non_finite", "tower_of_powers", QStringLiteral("x^x^x^x")},
        {"recursion", "recursive_function", QStringLiteral("loop(x)+twin(x)")},
        {"operators", "operators_only", QStringLiteral("+-*/^!,=")},
        {"unicode", "unicode", QStringLiteral("π·√2≤∞ÄÖ😀x")},
        {"bytes", "control_bytes", QString::fromLatin1("\x01\x02\x7f\t1+\x1b\x08x\r"), true},
        {"bytes", "nul_inside", QString::fromLatin1("1+\0+2", 5), true},
    };
    return texts;
}

// The first text of each kind: the dialogs hand their fields to the compiler, which the console
// rows and the fuzzers drive with every text, so one of each kind, pasted, shows that a field
// takes it; the console rows type theirs key by key.
std::vector<NastyText> oneTextOfEachKind() {
    std::vector<NastyText> picked;
    for (const NastyText& nasty : nastyTexts()) {
        const auto sameKind = [&](const NastyText& p) { return QLatin1String(p.kind) == QLatin1String(nasty.kind); };
        if (std::none_of(picked.begin(), picked.end(), sameKind)) picked.push_back(nasty);
    }
    return picked;
}

// Keys for the ASCII characters; characters beyond it come as a keyboard layout or an input
// method delivers them, as key events carrying their text.
void typeText(QWidget* field, const QString& text) {
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QString piece = text.mid(at, length);
        if (piece[0].unicode() < 0x80) {
            QTest::keyClicks(field, piece);
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, piece);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, piece);
            QCoreApplication::sendEvent(field, &press);
            QCoreApplication::sendEvent(field, &release);
        }
        at += length;
    }
}

void enterText(QWidget* field, const NastyText& nasty) {
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        nasty.pasted ? line->insert(nasty.text) : typeText(line, nasty.text);
        return;
    }
    auto* edit = qobject_cast<QPlainTextEdit*>(field);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    nasty.pasted ? edit->insertPlainText(nasty.text) : typeText(edit, nasty.text);
}

bool isCloseButton(const QWidget* button) {
    for (int id : closeIds) {
        if (button == findDialogControl(button->parentWidget(), id)) return true;
    }
    return false;
}

// Fills every field, presses every button that does not close the dialog, then closes it:
// OK or Close first, and Cancel when a refusal kept it open.
void abuseDialog(QDialog* dialog, const NastyText& nasty) {
    for (QWidget* field : dialog->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(field) || qobject_cast<QPlainTextEdit*>(field)) enterText(field, nasty);
    }
    QList<QPointer<QAbstractButton>> closers;
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (isCloseButton(button))
            closers.append(button);
        else
            QTest::mouseClick(button, Qt::LeftButton);
    }
    QPointer<QDialog> open(dialog);
    for (const QPointer<QAbstractButton>& button : closers) {
        if (open && open->isVisible() && button) QTest::mouseClick(button, Qt::LeftButton);
    }
    if (open && open->isVisible()) open->reject();
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QDialog* newestVisibleDialog(const MainWindow& window) {
    QDialog* found = nullptr;
    for (QDialog* dialog : window.findChildren<QDialog*>()) {
        if (dialog->isVisible() && dialog != static_cast<QDialog*>(window.console())) found = dialog;
    }
    return found;
}

// Runs the command; a modal dialog it opens is abused from inside its own event loop.
void abuseCommandDialog(MainWindow& window, Command command, const NastyText& nasty) {
    bool modalSeen = false;
    QTimer::singleShot(0, [&] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            modalSeen = true;
            abuseDialog(modal, nasty);
        }
    });
    window.runCommand(command);
    if (!modalSeen) {
        if (QDialog* modeless = newestVisibleDialog(window)) abuseDialog(modeless, nasty);
    }
    settle();
}

class NastyInput : public ::testing::Test {
  protected:
    void SetUp() override {
        window = makeShownWindow();
        ASSERT_TRUE(window);
        shownMessages.clear();
        setMessageHook(recordMessage);
        // The user's own work, which no input may take away.
        defineFunctionFromText("keep(x)=x+1");
        defineFunctionFromText("loop(x)=loop(x)+1");
        defineFunctionFromText("twin(x)=mate(x)");
        defineFunctionFromText("mate(x)=twin(x)");
        // Shown, as Select graph would tick them, so every repaint evaluates the recursion.
        std::fill(std::begin(displayFlags), std::begin(displayFlags) + 4, 1);
        plotSettings.memoText = "my notes";
    }
    void TearDown() override { setMessageHook(nullptr); }

    void expectTheDocumentKept(const std::string& behaviour) {
        ASSERT_NE(findFunction("keep"), nullptr) << behaviour;
        EXPECT_EQ(findFunction("keep")->bodyText, "x+1") << behaviour;
        EXPECT_EQ(plotSettings.memoText, "my notes") << behaviour;
    }

    // The console still answers a plain line at its last prompt, whatever came before.
    void expectTheConsoleAnswers(const std::string& behaviour) {
        window->runCommand(Command::Console);
        QPlainTextEdit* edit = window->console()->consoleEdit();
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(edit, "1+2");
        QTest::keyClick(edit, Qt::Key_Return);
        const QStringList lines = transcriptLines(edit);
        ASSERT_GE(lines.size(), 3) << behaviour;
        EXPECT_EQ(lines.mid(lines.size() - 3), (QStringList{">1+2", "result = 3 ", ">"})) << behaviour;
    }

    std::unique_ptr<MainWindow> window;
};

TEST_F(NastyInput, ConsoleAnswersEveryLineAndStaysUsable) {
    const std::vector<QString> commands = {
        QStringLiteral(":defn f(x)=f(f(x))"),
        QStringLiteral(":defn"),
        QStringLiteral(":defn ()="),
        QStringLiteral(":defn g(x,x,x,x,x,x,x,x,x,x,x,x,x,x,x,x,x,x,x,x)=x"),
        QStringLiteral(":solv"),
        QStringLiteral(":solv 0,1e308,x-1"),
        QStringLiteral(":solv 1e999999,0/0,(x)"),
        QStringLiteral(":defv"),
        QStringLiteral(":defv v=(1,2"),
        QStringLiteral(":listc"),
        QStringLiteral("f(1)")};
    for (const NastyText& nasty : nastyTexts()) {
        window->runCommand(Command::Console);
        QPlainTextEdit* edit = window->console()->consoleEdit();
        enterText(edit, {nasty.kind, nasty.behaviour, ">" + nasty.text, nasty.pasted});
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Return);
        expectTheConsoleAnswers(nasty.behaviour);
        QTest::mouseClick(dialogControl<QWidget>(window->console(), consoleCloseId), Qt::LeftButton);
        settle();
    }
    window->runCommand(Command::Console);
    for (const QString& command : commands) {
        QTest::keyClicks(window->console()->consoleEdit(), command);
        QTest::keyClick(window->console()->consoleEdit(), Qt::Key_Return);
    }
    expectTheConsoleAnswers("console commands");
    expectTheDocumentKept("console");
}

struct DialogRow {
    const char* behaviour;
    Command command;
};

TEST_F(NastyInput, EveryDialogFieldTakesEveryText) {
    const DialogRow dialogs[] = {
        {"define", Command::DefineFunction},
        {"graph_expression", Command::GraphExpression},
        {"set_limits", Command::SetLimits},
        {"variables", Command::VariablesSetup},
        {"vary", Command::Vary},
        {"parametric", Command::ParametricSetup},
        {"polar", Command::Polar},
        {"implicit", Command::Implicit},
        {"inequalities", Command::Inequalities},
        {"memo", Command::Memo},
    };
    for (const DialogRow& row : dialogs) {
        for (const NastyText& nasty : oneTextOfEachKind()) {
            const std::string behaviour = std::string(row.behaviour) + " with " + nasty.behaviour;
            plotSettings.memoText = "my notes";
            abuseCommandDialog(*window, row.command, {nasty.kind, nasty.behaviour, nasty.text, true});
            // Whatever the dialog left, the picture is rebuilt from it; then the view starts afresh.
            window->requestRepaint();
            settle();
            window->runCommand(Command::FactorySettings);
            settle();
            if (row.command != Command::Memo) expectTheDocumentKept(behaviour);
            ASSERT_EQ(newestVisibleDialog(*window), nullptr) << behaviour;
        }
    }
    expectTheConsoleAnswers("after the dialogs");
}

struct DamagedFile {
    const char* behaviour;
    QByteArray bytes;
};

// Writes the file's bytes into the folder and opens it with File > Open, giving up the unsaved work,
// with no boxes shown yet.
void openThroughTheMenu(MainWindow& window, const QTemporaryDir& directory, const DamagedFile& file) {
    const QString path = directory.filePath(QString::fromLatin1(file.behaviour) + ".tvl");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file.bytes);
    out.close();
    shownMessages.clear();
    const ModalAnswer discard = answerNextChangesPrompt(QMessageBox::Discard);
    const ModalAnswer choose = chooseFileInNextPrompt(path);
    window.runCommand(Command::Open);
}

QByteArray savedDocument() {
    const Bytes bytes = writeDocument();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// Files of which nothing can be used: Open tells so and leaves the current document, and the
// file a later Save writes to, as they were.
TEST_F(NastyInput, OpeningAnUnusableFileKeepsTheDocument) {
    QTemporaryDir directory;
    const QString mine = directory.filePath("mine.tvl");
    plotSettings.documentPath = mine.toStdString();
    const DamagedFile files[] = {
        {"empty_file", QByteArray()},
        {"wrong_version", QByteArray("001.100") + savedDocument().mid(7)},
        {"text_file", QByteArray("f(x)=x^2\n")},
        {"binary_noise", QByteArray(5000, '\xff')},
    };
    for (const DamagedFile& file : files) {
        openThroughTheMenu(*window, directory, file);
        EXPECT_FALSE(shownMessages.empty()) << file.behaviour;
        expectTheDocumentKept(file.behaviour);
        EXPECT_EQ(plotSettings.documentPath, mine.toStdString()) << file.behaviour;
    }
}

// Damaged files of this version: what is sound is read and the box says the file is damaged;
// nothing crashes and the program goes on working.
TEST_F(NastyInput, OpeningADamagedFileReadsItsSoundPart) {
    QTemporaryDir directory;
    const QByteArray whole = savedDocument();
    QByteArray hugeMemo = whole;
    hugeMemo.replace(7, 4, QByteArray("\xff\xff\xff\x7f", 4));
    const DamagedFile files[] = {
        {"tag_only", whole.left(7)},
        {"cut_in_the_definitions", whole.left(40)},
        {"cut_in_the_fixed_part", whole.left(whole.size() - 100)},
        {"huge_memo_length", hugeMemo},
        {"garbage_after_the_tag", whole.left(7) + QByteArray(4000, '\x80')},
    };
    for (const DamagedFile& file : files) {
        openThroughTheMenu(*window, directory, file);
        settle();
        EXPECT_NE(
            std::find(shownMessages.begin(), shownMessages.end(), std::string("Error: ") + damagedFileText),
            shownMessages.end())
            << file.behaviour;
        for (QDialog* dialog : window->findChildren<QDialog*>())
            dialog->close();
        settle();
        expectTheConsoleAnswers(file.behaviour);
    }
}

// One evaluation of diffn(x^3,x,60) would take years; every plot of it ends when stopped.
TEST_F(NastyInput, PlotsOfACostlyDerivativeEndWhenStopped) {
    const StopPresser presser;
    const DialogRow dialogs[] = {
        {"graph_expression", Command::GraphExpression},
        {"parametric", Command::ParametricSetup},
        {"implicit", Command::Implicit},
        {"inequalities", Command::Inequalities},
    };
    for (const DialogRow& row : dialogs)
        abuseCommandDialog(*window, row.command, {"cost", "costly_derivative", QStringLiteral("diffn(x^3,x,60)")});
    defineFunctionFromText("slow(x)=diffn(x^3,x,60)");
    window->requestRepaint();
    settle();
    expectTheDocumentKept("costly derivative");
}

} // namespace
