#include "shell/stop_dialog.h"

#include "expr/stop_hook.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QProgressDialog>

namespace {

constexpr qint64 quietMilliseconds = 500;  // work shorter than this shows nothing
constexpr qint64 refreshMilliseconds = 50; // how often the dialog takes its events
constexpr qint64 stallMilliseconds = 200;  // work this long leaves the window visibly stalled
constexpr int progressSteps = 1000;

QPointer<QWidget> dialogOwner;
QElapsedTimer workClock;
QElapsedTimer refreshClock;
QProgressDialog* dialog = nullptr;
bool stopAsked = false;
bool handlingEvents = false;
bool droppingInput = false;

void askStop() {
    stopAsked = true;
}

// Input given while the window could not take it (before the progress dialog showed, or just
// before the work ended) was aimed at a window that did not answer; delivered late it could repeat
// a command or land in another window, so presses, keys and wheel turns are dropped, and an Escape
// among them stops the work. Releases and moves still pass, so nothing stays pressed.
class LateInputFilter : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (!droppingInput) return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) askStop();
            return true;
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
        }
    }
};

void showDialog() {
    dialog = new QProgressDialog(dialogOwner);
    dialog->setWindowTitle(QStringLiteral("Tarvelion"));
    dialog->setCancelButtonText(QStringLiteral("Stop"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setMinimumDuration(0);
    QObject::connect(dialog, &QProgressDialog::canceled, askStop);
    QObject::connect(dialog, &QDialog::rejected, askStop); // Escape
    // An implicit plot holds the mouse; the Stop button needs it.
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    dialog->show();
}

void closeDialog() {
    if (dialog == nullptr) return;
    delete dialog;
    dialog = nullptr;
    QApplication::restoreOverrideCursor();
}

// Names the work, shows how far it got, and lets the dialog take its events (a modal progress
// dialog also takes them when its value is set).
void refreshDialog() {
    handlingEvents = true;
    const WorkProgress& progress = workProgress;
    dialog->setLabelText(QString::fromLatin1(progress.task.data()));
    if (progress.total > 0) {
        dialog->setMaximum(progressSteps);
        dialog->setValue(static_cast<int>(progress.done * progressSteps / progress.total));
    } else {
        dialog->setMaximum(0); // how far is unknown: a busy indicator
    }
    QApplication::processEvents();
    handlingEvents = false;
    refreshClock.start();
}

// Handles the events waiting so far without the input among them.
void handleEventsDroppingInput() {
    handlingEvents = droppingInput = true;
    QApplication::processEvents();
    handlingEvents = droppingInput = false;
}

// Input given before the dialog shows is dropped first, so that an Escape among it stops the work
// without a dialog; the modal dialog would otherwise block it unseen.
void showDialogAfterEarlierInput() {
    handleEventsDroppingInput();
    if (stopAsked) return;
    showDialog();
    refreshDialog();
}

// After work that stalled the window, the events waiting so far were given while it stood still.
void endWork() {
    if (!handlingEvents && workClock.elapsed() >= stallMilliseconds) handleEventsDroppingInput();
    closeDialog();
}

bool pollStop() {
    if (handlingEvents || dialogOwner.isNull()) return stopAsked;
    if (dialog == nullptr) {
        if (workClock.elapsed() < quietMilliseconds) return false;
        showDialogAfterEarlierInput();
    } else if (refreshClock.elapsed() >= refreshMilliseconds) {
        refreshDialog();
    }
    return stopAsked;
}

bool windowStopHook(WorkEvent event) {
    switch (event) {
    case WorkEvent::begin:
        stopAsked = false;
        workClock.start();
        return false;
    case WorkEvent::poll:
        return pollStop();
    case WorkEvent::end:
        endWork();
        return false;
    }
    return false;
}

} // namespace

void installStopDialog(QWidget* owner) {
    closeDialog();
    static QPointer<LateInputFilter> lateInputFilter;
    if (lateInputFilter.isNull()) lateInputFilter = new LateInputFilter(qApp);
    qApp->installEventFilter(lateInputFilter);
    dialogOwner = owner;
    setStopHook(owner != nullptr ? windowStopHook : nullptr);
}

bool handlingEventsDuringWork() {
    return handlingEvents;
}
