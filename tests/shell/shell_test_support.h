// A main window in a known state for the shell tests: program state back at its start values,
// a 500 x 500 graph area on which the pixel (300, 150) is the world point (1, 2).
#pragma once

#include "modal_answer.h"
#include "shell/main_window.h"

#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <memory>

class QPlainTextEdit;

inline constexpr int graphSize = 500;

void resetProgramState();
std::unique_ptr<MainWindow> makeShownWindow();

// Picks a file in the next file prompt that opens, as a user would; chooseFile is its answer to
// one modal window, false when that window is no file prompt.
ModalAnswer chooseFileInNextPrompt(const QString& path);
bool chooseFile(QWidget* modal, const QString& path);

// While one lives, Escape is pressed on the progress dialog of long work whenever one shows; the
// texts the dialogs showed are kept.
class StopPresser {
  public:
    StopPresser();
    QStringList shownTasks;

  private:
    QTimer timer_;
};

// Answers a box whose text starts with `start`; false when the window is no such box.
bool answerBox(QWidget* modal, const QString& start, QMessageBox::StandardButton answer);
// Gives this answer to the next question about unsaved work.
ModalAnswer answerNextChangesPrompt(QMessageBox::StandardButton answer);

// Quit ends the program's message loop. The tests run none, so the request would stay pending and
// end the next modal loop at once, maybe in a later test; a loop of its own takes it up.
void takeUpTheQuit();

// Sends a key to the open menu when there is one, otherwise to the widget with the focus.
void pressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Opens the console and types the line at its end, then Enter.
void typeConsoleLine(MainWindow& window, const char* line);

// The transcript of a console field, one entry per line.
QStringList transcriptLines(const QPlainTextEdit* edit);
