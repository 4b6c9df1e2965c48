#include "shell/change_tracker.h"

#include "document/document_format.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

ChangeTracker::ChangeTracker(QObject* parent) : QObject(parent) {
    saved_ = writeDocumentWork();
    seen_ = *saved_;
    QCoreApplication::instance()->installEventFilter(this);
}

void ChangeTracker::markSaved() {
    saved_ = writeDocumentWork();
    check();
}

void ChangeTracker::markUnsaved() {
    saved_.reset();
    check();
}

bool ChangeTracker::hasUnsavedChanges() {
    check();
    return unsaved_;
}

void ChangeTracker::check() {
    lookPending_ = false;
    Bytes work = writeDocumentWork();
    const bool changed = work != seen_;
    unsaved_ = !saved_ || work != *saved_;
    seen_ = std::move(work);
    if (changed) emit documentChanged();
    emit checked(unsaved_);
}

// Every edit of the work is the end of some click or key stroke; the look waits until the event
// has been handled, and one look serves all the events of a burst.
bool ChangeTracker::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonRelease || type == QEvent::KeyRelease) && !lookPending_) {
        lookPending_ = true;
        QTimer::singleShot(0, this, &ChangeTracker::check);
    }
    return QObject::eventFilter(watched, event);
}
