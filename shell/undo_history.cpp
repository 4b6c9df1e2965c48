#include "shell/undo_history.h"

#include "document/document_format.h"
#include "graph/plot_settings.h"
#include "shell/change_tracker.h"
#include "shell/dialog_template.h"
#include "shell/file_commands.h"
#include "shell/main_window.h"
#include "shell/redraws.h"

#include <cstring>

UndoHistory::UndoHistory(MainWindow& window, ChangeTracker& tracker)
    : QObject(&window), window_(window), tracker_(tracker) {
    restart();
    connect(&tracker_, &ChangeTracker::documentChanged, this, [this] { record(std::nullopt); });
}

void UndoHistory::restart() {
    states_.clear();
    states_.push_back({writeDocumentSnapshot(), std::nullopt, plotSettings.parametricShown != 0});
    current_ = 0;
    byteCount_ = states_.front().snapshot.size();
    emit stepsChanged();
}

// Byte for byte, so that limits which are not numbers compare as themselves.
void UndoHistory::recordLimitsEdit(const ViewLimits& before) {
    if (std::memcmp(&before, &viewLimits, sizeof before) != 0) record(before);
}

// A look that finds the document as the present state holds it is no step.
void UndoHistory::record(std::optional<ViewLimits> limitsBefore) {
    if (restoring_) return;
    Bytes snapshot = writeDocumentSnapshot();
    if (!limitsBefore && snapshot == states_[current_].snapshot) return;
    while (states_.size() > current_ + 1) {
        byteCount_ -= states_.back().snapshot.size();
        states_.pop_back();
    }
    byteCount_ += snapshot.size();
    states_.push_back({std::move(snapshot), limitsBefore, plotSettings.parametricShown != 0});
    current_ = states_.size() - 1;
    keepWithinBounds();
    emit stepsChanged();
}

void UndoHistory::keepWithinBounds() {
    while (states_.size() > 1 && (states_.size() > undoStepLimit + 1 || byteCount_ > undoByteLimit)) {
        byteCount_ -= states_.front().snapshot.size();
        states_.pop_front();
        --current_;
    }
}

// Zooming and panning are no steps, so the view stays as the user left it, unless the step
// undone was a limits edit.
void UndoHistory::undo() {
    if (!canUndo()) return;
    const std::optional<ViewLimits> left = states_[current_].limitsBefore;
    --current_;
    restore(left.value_or(viewLimits));
}

void UndoHistory::redo() {
    if (!canRedo()) return;
    ++current_;
    const bool limitsEdit = states_[current_].limitsBefore.has_value();
    restore(limitsEdit ? std::nullopt : std::optional<ViewLimits>(viewLimits));
}

// The restore is no new step; the tracker's look has the caption's mark follow at once.
void UndoHistory::restore(std::optional<ViewLimits> view) {
    restoring_ = true;
    restoreDocument(states_[current_].snapshot, view);
    plotSettings.parametricShown = states_[current_].parametricShown ? 1 : 0;
    window_.setParametricChecked(states_[current_].parametricShown);
    redraw(Trigger::DocumentLoaded);
    refillOpenDialogs(&window_);
    tracker_.check();
    restoring_ = false;
    emit stepsChanged();
}
