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
#include "shell/main_window.h"

#include <string>

namespace {

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

// Each mode is tested on its own, in this order, as the loaded plotMode says.
void drawLoadedDocument() {
    const PlotMode mode = plotSettings.plotMode;
    if (mode == PlotMode::Parametric) {
        plotSettings.parametricShown = 1;
        clearGraph();
        plotParametric();
    }
    if (mode == PlotMode::Implicit) {
        clearGraph();
        plotImplicit();
    }
    if (mode == PlotMode::Inequalities) {
        clearGraph();
        plotInequalities();
    }
    if (mode == PlotMode::Polar) {
        clearGraph();
        plotPolar();
    }
    if (mode == PlotMode::Explicit) plotFunctions();
}

bool holdsDocument(const std::string& path) {
    Bytes bytes;
    return readWholeFile(path, bytes) && hasDocumentVersion(bytes);
}

void startNewDocument() {
    resetDocument();
    clearGraph();
}

// The load reports its own failures. A file of which nothing can be used leaves the current
// document, and the file that Save writes to, as they were: the load then changes nothing and
// only shows its boxes. Otherwise the redraw follows whether or not the load was whole. The file
// is read once, so what is judged is what is loaded, even when the file changes meanwhile.
void openDocumentFlow(MainWindow& window) {
    const PathText keptPath = plotSettings.documentPath;
    const PathText keptTitle = plotSettings.documentTitle;
    if (openPrompt(&window, plotSettings.documentPath, plotSettings.documentTitle) == 0) return;
    Bytes bytes;
    const bool readable = readDocumentFile(std::string(plotSettings.documentPath.view()), bytes);
    if (!readable || !hasDocumentVersion(bytes)) {
        if (readable) readDocument(bytes); // shows the wrong version's boxes
        plotSettings.documentPath = keptPath;
        plotSettings.documentTitle = keptTitle;
        return;
    }
    startNewDocument();
    readDocument(bytes);
    drawLoadedDocument();
    openLoadedModeDialog(window);
}

void saveDocumentFlow(MainWindow& window, bool askForName) {
    if (askForName && savePrompt(&window, plotSettings.documentPath, plotSettings.documentTitle) == 0) return;
    saveDocument(std::string(plotSettings.documentPath.view()));
}
