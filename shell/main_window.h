// The one top-level window: menus, the graph area with its info box, and the services the
// commands and dialogs use (repaint, check marks, message boxes).
#pragma once

#include "shell/command_ids.h"
#include "shell/menus.h"

#include <QDeadlineTimer>
#include <QMainWindow>
#include <QPointer>

class ChangeTracker;
class CommandDialog;
class GraphArea;
class InfoBox;
class UndoHistory;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    MainWindow();
    ~MainWindow() override;

    // Marks the picture stale; the next paint rebuilds it in the fixed repaint order.
    void requestRepaint();
    void runCommand(Command id);

    bool isChecked(Command id) const;
    void setChecked(Command id, bool checked);
    void setParametricChecked(bool checked) { setChecked(Command::ShowParametric, checked); }

    GraphArea* graphArea() const { return graphArea_; }
    InfoBox* infoBox() const;
    QMenu* popupMenu() const { return menus_.popup; }
    QAction* action(Command id) const { return menus_.actions.value(id); }

    // Opens the console, or brings the open one to the front: there is one console at a time.
    void openConsole();
    CommandDialog* console() const;

    // Unsaved work: its mark in the caption, and the documentChanged notification.
    ChangeTracker* changeTracker() const { return changeTracker_; }
    UndoHistory* undoHistory() const { return undoHistory_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void showPopup(QPoint pixel);
    // Moves and, if need be, shrinks a restored window until it lies wholly on the screen's
    // available area, title bar included, so that it can always be moved.
    void keepOnScreen();
    void showCaption(bool unsaved);
    // Undo and Redo are offered only while there is a step to take.
    void showUndoSteps();

    // Until then the window manager may still be placing a restored window.
    QDeadlineTimer restoreSettles_;

    GraphArea* graphArea_;
    ChangeTracker* changeTracker_;
    UndoHistory* undoHistory_;
    Menus menus_;
    QPointer<CommandDialog> console_;
};
