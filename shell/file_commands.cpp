#include "shell/file_commands.h"

#include "document/document_file.h"
#include "document/document_format.h"
#include "document/document_reset.h"
#include "document/file_prompts.h"
#include "graph/axes.h"
#include "graph/curves.h"
#include "graph/implicit.h"
#include "graph/parametric_polar.h"
#include "graph/plot_settings.h"
#include "shell/change_tracker.h"
#include "shell/main_window.h"
#include "shell/redraws.h"
#include "shell/shell_state.h"
#include "shell/undo_history.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <functional>
#include <string>

namespace {

// New keeps the stamp, as it keeps the file name; a name given otherwise has no stamp.
DiskStamp& documentStamp = shellState.documentStamp;
std::string& stampedPath = shellState.stampedPath;

// The set-up dialog of the loaded mode is the one its menu command opens. Opening the
// parametric one from there would also tick "Show parametric", which a load leaves alone.
void openParametricDialog(MainWindow& window) {
    const bool ticked = window.isChecked(Command::ShowParametric);
    window.runCommand(Command::ParametricSetup);
    window.setParametricChecked(ticked);
}

// The set-up dialog of the loaded mode, after its picture.
void openLoadedModeDialog(MainWindow& window) {
    const PlotMode mode = plotSettings.plotMode;
    if (mode == PlotMode::Parametric) openParametricDialog(window);
    if (mode == PlotMode::Implicit) window.runCommand(Command::Implicit);
    if (mode == PlotMode::Inequalities) window.runCommand(Command::Inequalities);
}

} // namespace

// Each mode is tested on its own, in this order, as the loaded plotMode says. The reset before
// the load cleared the graph in the factory view, so the graph is cleared again in the loaded
// one: explicit curves would otherwise lie over the axes of another view.
void drawLoadedDocument() {
    const PlotMode mode = plotSettings.plotMode;
    clearGraph();
    if (mode == PlotMode::Parametric) {
        plotSettings.parametricShown = 1;
        plotParametric();
    }
    if (mode == PlotMode::Implicit) plotImplicit();
    if (mode == PlotMode::Inequalities) plotInequalities();
    if (mode == PlotMode::Polar) plotPolar();
    if (mode == PlotMode::Explicit) plotFunctions();
}

void restoreDocument(std::span<const unsigned char> snapshot, const std::optional<ViewLimits>& view) {
    resetDocument();
    readDocumentSnapshot(snapshot);
    if (view) setViewLimits(*view);
}

namespace {

// storeName puts the chosen name into documentPath and documentTitle, returning 0 when there is
// none. The load reports its own failures. A file of which nothing can be used leaves the current
// document, and the file that Save writes to, as they were: the load then changes nothing and
// only shows its boxes. Otherwise the redraw follows whether or not the load was whole, and only
// a whole load leaves no unsaved work. The file is read once, so what is judged is what is
// loaded, even when the file changes meanwhile.
void openNamedDocument(MainWindow& window, const std::function<int()>& storeName) {
    if (!settleUnsavedChanges(window)) return;
    const PathText keptPath = plotSettings.documentPath;
    const PathText keptTitle = plotSettings.documentTitle;
    if (storeName() == 0) return;
    Bytes bytes;
    DiskStamp stamp;
    const bool readable = readDocumentFile(std::string(plotSettings.documentPath.view()), bytes, &stamp);
    if (!readable || !hasDocumentVersion(bytes)) {
        if (readable) readDocument(bytes); // shows the wrong version's boxes
        plotSettings.documentPath = keptPath;
        plotSettings.documentTitle = keptTitle;
        return;
    }
    documentStamp = stamp;
    stampedPath = plotSettings.documentPath.view();
    resetDocument();
    const int damaged = readDocument(bytes);
    // A document saved in parametric mode shows its curve from then on.
    if (plotSettings.plotMode == PlotMode::Parametric) plotSettings.parametricShown = 1;
    redraw(Trigger::DocumentLoaded);
    openLoadedModeDialog(window);
    if (damaged != 0) {
        window.changeTracker()->markUnsaved();
    } else {
        window.changeTracker()->markSaved();
    }
    window.undoHistory()->restart();
}

} // namespace

void newDocumentFlow(MainWindow& window) {
    if (!settleUnsavedChanges(window)) return;
    resetDocument();
    redraw(Trigger::NewDocument);
    window.changeTracker()->markSaved();
    window.undoHistory()->restart();
}

void openDocumentFlow(MainWindow& window) {
    openNamedDocument(
        window, [&] { return openPrompt(&window, plotSettings.documentPath, plotSettings.documentTitle); });
}

void openDocumentAt(MainWindow& window, const std::string& name) {
    std::error_code unknownFolder;
    const std::string absolute = std::filesystem::absolute(name, unknownFolder).string();
    openNamedDocument(window, [&] {
        return storeDocumentName(&window, unknownFolder ? name : absolute, plotSettings.documentPath,
                                 plotSettings.documentTitle);
    });
}

namespace {

enum class ChangedFileAnswer { Overwrite, SaveAs, Cancel };

// The file was changed or replaced by another program since it was opened or last saved; a file
// that is gone has nothing to lose.
ChangedFileAnswer askAboutChangedFile(MainWindow& window, const std::string& path) {
    const DiskStamp now = diskStampOf(path);
    if (path != stampedPath || !documentStamp.known || !now.known || now == documentStamp)
        return ChangedFileAnswer::Overwrite;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tarvelion 1.2"),
                    QStringLiteral("%1\nThis file was changed by another program since it was opened or "
                                   "saved.\nOverwrite it?")
                        .arg(documentName()),
                    QMessageBox::Yes | QMessageBox::Save | QMessageBox::Cancel, &window);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Overwrite"));
    box.button(QMessageBox::Save)->setText(QStringLiteral("Save as.."));
    box.setDefaultButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return ChangedFileAnswer::Overwrite;
    case QMessageBox::Save:
        return ChangedFileAnswer::SaveAs;
    default:
        return ChangedFileAnswer::Cancel;
    }
}

} // namespace

bool saveDocumentFlow(MainWindow& window, bool askForName) {
    if (!askForName) {
        const ChangedFileAnswer answer =
            askAboutChangedFile(window, std::string(plotSettings.documentPath.view()));
        if (answer == ChangedFileAnswer::Cancel) return false;
        askForName = answer == ChangedFileAnswer::SaveAs;
    }
    if (askForName && savePrompt(&window, plotSettings.documentPath, plotSettings.documentTitle) == 0)
        return false;
    const std::string path(plotSettings.documentPath.view());
    if (saveDocument(path, &documentStamp) != 0) return false;
    stampedPath = path;
    window.changeTracker()->markSaved();
    return true;
}

QString documentName() {
    const std::string_view title = plotSettings.documentTitle.view();
    return QFile::decodeName(QByteArray(title.data(), qsizetype(title.size())));
}

bool settleUnsavedChanges(MainWindow& window) {
    if (!window.changeTracker()->hasUnsavedChanges()) return true;
    const QString name = documentName();
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("Tarvelion 1.2"),
        QStringLiteral("Save changes to %1?").arg(name.isEmpty() ? QStringLiteral("Untitled") : name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &window);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveDocumentFlow(window, plotSettings.documentPath.empty());
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}
