// Undo and redo: the states the document passed through, each kept as the document's own bytes
// (writeDocumentSnapshot), and the way back to any of them through the Open path.
#pragma once

#include "document/byte_stream.h"
#include "graph/view_model.h"

#include <QObject>
#include <cstddef>
#include <deque>
#include <optional>

class ChangeTracker;
class MainWindow;

// Beyond either bound the oldest states are dropped; the present one always stays.
inline constexpr std::size_t undoStepLimit = 200;
inline constexpr std::size_t undoByteLimit = 32u << 20;

class UndoHistory : public QObject {
    Q_OBJECT

  public:
    // Takes the present state as the first; every change the tracker reports is a step.
    UndoHistory(MainWindow& window, ChangeTracker& tracker);

    // The present state becomes the only one: a new or an opened document starts afresh.
    void restart();
    // The view limits were typed in: unlike zooming and panning, that is a step of its own,
    // whose undo shows the limits from before again. Nothing happens when they did not change.
    void recordLimitsEdit(const ViewLimits& before);

    bool canUndo() const { return current_ > 0; }
    bool canRedo() const { return current_ + 1 < states_.size(); }
    // Steps that can be undone from here.
    std::size_t undoCount() const { return current_; }
    void undo();
    void redo();

  signals:
    void stepsChanged();

  private:
    struct State {
        Bytes snapshot;
        std::optional<ViewLimits> limitsBefore; // set when a limits edit led here
        // Not part of a document, but switched together with its plot mode.
        bool parametricShown;
    };

    void record(std::optional<ViewLimits> limitsBefore);
    void keepWithinBounds();
    void restore(std::optional<ViewLimits> view);

    MainWindow& window_;
    ChangeTracker& tracker_;
    std::deque<State> states_;
    std::size_t current_ = 0;
    std::size_t byteCount_ = 0;
    bool restoring_ = false;
};
