#include "shell/command_dialog.h"

#include "expr/command_interpreter.h"
#include "shell/drag_move.h"

#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <algorithm>
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
    connect(consoleEdit_->document(), &QTextDocument::contentsChange, this, &CommandDialog::onContentsChange);
    connect(consoleEdit_, &QPlainTextEdit::textChanged, this, &CommandDialog::onFieldChanged);
    onClicked(this, closeButtonId, [this] { done(QDialog::Accepted); });
    enableDragMove(this, movedSize);
}

// A change that inserts a line break with more text is a paste (or a drop), not Enter: its lines
// are noted here and run when the field reports the change.
void CommandDialog::onContentsChange(int position, int, int added) {
    if (writing_ || added < 2) return;
    QTextCursor inserted(consoleEdit_->document());
    inserted.setPosition(position);
    inserted.setPosition(std::min(position + added, consoleEdit_->document()->characterCount() - 1),
                         QTextCursor::KeepAnchor);
    const QString text = inserted.selectedText();
    if (!text.contains(QChar::ParagraphSeparator)) return;
    QTextCursor start(consoleEdit_->document());
    start.setPosition(position);
    pastedFirst_ = start.blockNumber();
    pasteStartsItsFirstLine_ = start.atBlockStart();
    // A paste that ends with a line break leaves the caret on a line it did not write.
    pastedLast_ = inserted.blockNumber() - (text.endsWith(QChar::ParagraphSeparator) ? 1 : 0);
}

// Runs the line that the caret has just left, if it holds a prompt. The console's own writing
// changes the field again; those changes run nothing.
void CommandDialog::onFieldChanged() {
    if (writing_) return;
    if (pastedFirst_ >= 0) {
        runPastedLines();
    } else if (consoleEdit_->textCursor().blockNumber() != trackedLine_) {
        runLine(trackedLine_);
    }
    trackedLine_ = consoleEdit_->textCursor().blockNumber();
}

// Every line the paste starts is an input line and gets the prompt it lacks; a line the paste
// only continues runs when it holds one, as a typed line does.
void CommandDialog::runPastedLines() {
    int last = pastedLast_;
    for (int line = pastedFirst_; line <= last; ++line) {
        const QTextBlock block = consoleEdit_->document()->findBlockByNumber(line);
        if ((line > pastedFirst_ || pasteStartsItsFirstLine_) &&
            !block.text().startsWith(QLatin1Char(prompt))) {
            const QScopedValueRollback writing(writing_, true);
            QTextCursor(block).insertText(QString(QLatin1Char(prompt)));
        }
        if (runLine(line)) { // its answer is a line more
            ++line;
            ++last;
        }
    }
    pastedFirst_ = -1;
}

bool CommandDialog::runLine(int line) {
    QByteArray text = consoleEdit_->document()->findBlockByNumber(line).text().toLatin1();
    text.truncate(consoleBufferSize);
    if (text.endsWith('\r')) text.chop(1); // a pasted CR LF line end
    if (!text.startsWith(prompt)) return false;
    const std::string answer =
        answerConsoleLine(std::string_view(text.constData() + 1, static_cast<std::size_t>(text.size() - 1)));
    writeAnswer(line, QString::fromLatin1(answer.data(), static_cast<qsizetype>(answer.size())));
    // The answer cannot be undone; undoing it would only run transcript lines again.
    consoleEdit_->document()->clearUndoRedoStacks();
    return true;
}

// The answer goes on the line after the line that ran, wherever the caret is. A fresh prompt
// follows when the user just ended that line with Enter, when the caret is on it (a paste), or
// when it was the transcript's last line; the caret then waits after the prompt unless the user
// is at work on another line.
void CommandDialog::writeAnswer(int line, const QString& answer) {
    const QScopedValueRollback writing(writing_, true);
    QTextCursor caret = consoleEdit_->textCursor();
    const QTextBlock ran = consoleEdit_->document()->findBlockByNumber(line);
    const QString freshPrompt = QStringLiteral("\n") + QLatin1Char(prompt);
    if (ran.next().isValid() && caret.position() == ran.next().position()) {
        caret.insertText(answer + freshPrompt); // Enter made this line; the prompt opens it
        consoleEdit_->setTextCursor(caret);
        return;
    }
    const bool caretOnIt = caret.blockNumber() == line;
    QTextCursor end(ran);
    end.movePosition(QTextCursor::EndOfBlock);
    end.insertText(QStringLiteral("\n") + answer +
                   (caretOnIt || !ran.next().isValid() ? freshPrompt : QString()));
    if (caretOnIt) consoleEdit_->setTextCursor(end);
}
