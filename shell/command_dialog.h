// The console COMMAND: a transcript in which every line that starts with ">" is handed to the
// command interpreter when the caret leaves it, with the answer written on the line after it.
// A paste of several lines runs each of them in turn, as the terminal console does.
#pragma once

#include "shell/dialog_template.h"

class QPlainTextEdit;

class CommandDialog : public TemplateDialog {
    Q_OBJECT

  public:
    explicit CommandDialog(QWidget* owner);

    QPlainTextEdit* consoleEdit() const { return consoleEdit_; }

  private:
    void onContentsChange(int position, int removed, int added);
    void onFieldChanged();
    void runPastedLines();
    // Runs the line, if it holds a prompt, and writes the answer below it; false when it did not.
    bool runLine(int line);
    void writeAnswer(int line, const QString& answer);

    QPlainTextEdit* consoleEdit_ = nullptr;
    // The line the caret was last known to be on; the line it leaves is the one that runs.
    int trackedLine_ = 0;
    // The lines of a paste of several lines, run at the change it makes; -1 when none is pending.
    int pastedFirst_ = -1;
    int pastedLast_ = -1;
    bool pasteStartsItsFirstLine_ = false;
    // Set while the console writes into the field itself, whose changes run nothing.
    bool writing_ = false;
};
