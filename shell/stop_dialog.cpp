#include "shell/stop_dialog.h"

#include "expr/stop_hook.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

namespace {

constexpr qint64 quietMilliseconds = 500;  // work shorter than this shows nothing
constexpr qint64 refreshMilliseconds = 50; // how often the dialog takes its events
constexpr int progressSteps = 1000;

QPointer<QWidget> dialogOwner;
QElapsedTimer workClock;
QElapsedTimer refreshClock;
QProgressDialog* dialog = nullptr;
bool stopAsked = false;
bool handlingEvents = false;

void askStop() {
    stopAsked = true;
}

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

bool pollStop() {
    if (handlingEvents || dialogOwner.isNull()) return stopAsked;
    if (dialog == nullptr) {
        if (workClock.elapsed() < quietMilliseconds) return false;
        showDialog();
        refreshDialog();
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
        closeDialog();
        return false;
    }
    return false;
}

} // namespace

void installStopDialog(QWidget* owner) {
    closeDialog();
    dialogOwner = owner;
    setStopHook(owner != nullptr ? windowStopHook : nullptr);
}

bool handlingEventsDuringWork() {
    return handlingEvents;
}
