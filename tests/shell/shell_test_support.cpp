#include "shell_test_support.h"

#include "expr/expression_state.h"
#include "graph/graph_state.h"
#include "shell/command_dialog.h"
#include "shell/graph_area.h"
#include "shell/shell_state.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

void resetProgramState() {
    resetExpressionState();
    resetGraphState();
    resetShellState();
}

std::unique_ptr<MainWindow> makeShownWindow() {
    resetProgramState();
    auto window = std::make_unique<MainWindow>();
    window->graphArea()->setFixedSize(graphSize, graphSize);
    window->show();
    window->requestRepaint();
    if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
    // The pointer's last place outlives a window, and a move to where it already is is no move:
    // park it off the graph area so a test's first move over the graph always arrives.
    QTest::mouseMove(window.get(), QPoint(0, 0));
    QCoreApplication::processEvents();
    return window;
}

StopPresser::StopPresser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        shownTasks.append(dialog->labelText());
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    timer_.start(50);
}

void pressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::activePopupWidget();
    if (target == nullptr) target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : window, key, modifiers);
}

void typeConsoleLine(MainWindow& window, const char* line) {
    window.runCommand(Command::Console);
    QPlainTextEdit* edit = window.console()->consoleEdit();
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(edit, QLatin1String(line));
    QTest::keyClick(edit, Qt::Key_Return);
}

QStringList transcriptLines(const QPlainTextEdit* edit) {
    return edit->toPlainText().split(QLatin1Char('\n'));
}

bool chooseFile(QWidget* modal, const QString& path) {
    auto* prompt = qobject_cast<QFileDialog*>(modal);
    if (prompt == nullptr) return false;
    prompt->selectFile(path);
    static_cast<QDialog*>(prompt)->accept();
    return true;
}

ModalAnswer chooseFileInNextPrompt(const QString& path) {
    return ModalAnswer([path](QWidget* modal) { return chooseFile(modal, path); });
}

void takeUpTheQuit() {
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

bool answerBox(QWidget* modal, const QString& start, QMessageBox::StandardButton answer) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr || !box->text().startsWith(start)) return false;
    box->button(answer)->click();
    return true;
}

ModalAnswer answerNextChangesPrompt(QMessageBox::StandardButton answer) {
    return ModalAnswer(
        [answer](QWidget* modal) { return answerBox(modal, QStringLiteral("Save changes to "), answer); });
}
