#include "shell/command_dialog.h"

#include "expr/command_interpreter.h"
#include "shell/drag_move.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <string>

namespace {

constexpr int consoleEditId = 40136;
constexpr int closeButtonId = 40200;
constexpr int helpTextId = 40137;
constexpr QSize movedSize{705, 494};
constexpr char prompt = '>';

using enum ControlKind;

constexpr ControlTemplate commandControls[] = {
    {MultiLineEdit, consoleEditId, "", 2, 2, 380, 180, styleBorder | styleVScroll},
    {Button, closeButtonId, "C l o s e", 320, 184, 35, 16},
    {Static, helpTextId, "Enter for example 1+2 and get the response 3, or sin(pi/2) nad get 1.0000", 2, 184,
     150, 10},
    {Static, helpTextId, "Something like x=4 assigns the value 4 to x. Assignments like z=sin(x+y) are OK", 2,
     194, 300, 10},
    {Static, helpTextId, "Referencing an unassigned variable creates it with an initial value of 0", 2, 204,
     300, 10},
    {Static, helpTextId, "Note input must start with a >", 2, 214, 300, 10},
    {Static, helpTextId,
     ":listc lists constants used    :listv lists variables    :listf functions   :listvec vectors", 2, 224,
     300, 10},
    {Static, helpTextId, "Functions can be defined using :defn  For example :defn f(x,y) = x + 2*y", 2, 234,
     300, 10},
    {Static, helpTextId,
     "then f(2,3) yields 8. These functions will normally be graphed. See Help for more help", 2, 244, 300,
     10},
};

constexpr DialogKeys commandKeys{noControlId, closeButtonId};

constexpr DialogTemplate commandTemplate{
    DialogFrame::None, "", "Bookman Old Style", 8, 32, 32, 400, 260, commandControls, commandKeys};

} // namespace

CommandDialog::CommandDialog(QWidget* owner) : TemplateDialog(owner, commandTemplate) {
    consoleEdit_ = dialogControl<QPlainTextEdit>(this, consoleEditId);
    // One transcript line per text line, wider lines scroll sideways.
    consoleEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    consoleEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    consoleEdit_->setPlainText(QString(QLatin1Char(prompt)));
    // The caret waits after the prompt, so the first line typed is run.
    consoleEdit_->moveCursor(QTextCursor::End);
    consoleEdit_->setFocus();
    connect(consoleEdit_, &QPlainTextEdit::textChanged, this, &CommandDialog::onFieldChanged);
    onClicked(this, closeButtonId, [this] { done(QDialog::Accepted); });
    enableDragMove(this, movedSize);
}

// Runs the line that the caret has just left, if it holds a prompt. The insertions below change
// the field again; those changes find the caret on the tracked line or leave a line without a
// prompt, so they run nothing.
void CommandDialog::onFieldChanged() {
    const int caretLine = consoleEdit_->textCursor().blockNumber();
    if (caretLine == trackedLine_) return;
    QByteArray line = consoleEdit_->document()->findBlockByNumber(trackedLine_).text().toLatin1();
    line.truncate(consoleBufferSize);
    trackedLine_ = caretLine;
    if (!line.startsWith(prompt)) return;
    const std::string answer =
        answerConsoleLine(std::string_view(line.constData() + 1, static_cast<std::size_t>(line.size() - 1)));
    insertAtCaret(QString::fromLatin1(answer.data(), static_cast<qsizetype>(answer.size())));
    insertAtCaret(QStringLiteral("\n"));
    insertAtCaret(QString(QLatin1Char(prompt)));
    // The answer cannot be undone; undoing it would only run transcript lines again.
    consoleEdit_->document()->clearUndoRedoStacks();
}

void CommandDialog::insertAtCaret(const QString& text) {
    QTextCursor caret = consoleEdit_->textCursor();
    caret.insertText(text);
    consoleEdit_->setTextCursor(caret);
}
