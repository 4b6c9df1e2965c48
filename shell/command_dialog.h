// The console COMMAND: a transcript in which every line that starts with ">" is handed to the
// command interpreter when the caret leaves it, with the answer written below it.
#pragma once

#include "shell/dialog_template.h"

class QPlainTextEdit;

class CommandDialog : public TemplateDialog {
    Q_OBJECT

  public:
    explicit CommandDialog(QWidget* owner);

    QPlainTextEdit* consoleEdit() const { return consoleEdit_; }

  private:
    void onFieldChanged();
    void insertAtCaret(const QString& text);

    QPlainTextEdit* consoleEdit_ = nullptr;
    // The line the caret was last known to be on; the line it leaves is the one that runs.
    int trackedLine_ = 0;
};
