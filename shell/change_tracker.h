// Whether the document holds work not yet saved. The work is told apart by its bytes
// (writeDocumentWork) against those of the last save or open, so view changes never count and
// an edit put back by hand counts no more.
#pragma once

#include "document/byte_stream.h"

#include <QObject>
#include <optional>

class ChangeTracker : public QObject {
    Q_OBJECT

  public:
    // Takes the work as it is now as saved. Looks again after every mouse button or key release
    // anywhere in the program, once that input has been handled.
    explicit ChangeTracker(QObject* parent);

    // The work as it is now is what the document's file holds (a save, an open, a new document).
    void markSaved();
    // The work differs from the file whatever it now holds (a load that read only part of it).
    void markUnsaved();
    // Looks first, so the answer holds even for a change no input has been seen after.
    bool hasUnsavedChanges();
    // Looks at the work now. Anything that changes the document outside user input (a load,
    // an undo) calls this to have the mark and the caption follow at once.
    void check();

  signals:
    // The work differs from what the previous look saw.
    void documentChanged();
    // After every look, with its verdict.
    void checked(bool unsaved);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<Bytes> saved_; // none after a partial load: nothing matches the file then
    Bytes seen_;
    bool unsaved_ = false;
    bool lookPending_ = false;
};
