#include "shell/file_commands.h"

#include "document/document_file.h"
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

// Each mode is tested on its own, in this order, as the loaded plotMode says.
void replotLoadedDocument(MainWindow& window) {
    const PlotMode mode = plotSettings.plotMode;
    if (mode == PlotMode::Parametric) {
        plotSettings.parametricShown = 1;
        clearGraph();
        plotParametric();
        openParametricDialog(window);
    }
    if (mode == PlotMode::Implicit) {
        clearGraph();
        plotImplicit();
        window.runCommand(Command::Implicit);
    }
    if (mode == PlotMode::Inequalities) {
        clearGraph();
        plotInequalities();
        window.runCommand(Command::Inequalities);
    }
    if (mode == PlotMode::Polar) {
        clearGraph();
        plotPolar();
    }
    if (mode == PlotMode::Explicit) plotFunctions();
}

} // namespace

void startNewDocument() {
    resetDocument();
    clearGraph();
}

// The load reports its own failures; the redraw follows whether or not it succeeded.
void openDocumentFlow(MainWindow& window) {
    if (openPrompt(&window, plotSettings.documentPath, plotSettings.documentTitle) == 0) return;
    startNewDocument();
    loadDocument(std::string(plotSettings.documentPath.view()));
    replotLoadedDocument(window);
}

void saveDocumentFlow(MainWindow& window, bool askForName) {
    if (askForName && savePrompt(&window, plotSettings.documentPath, plotSettings.documentTitle) == 0) return;
    saveDocument(std::string(plotSettings.documentPath.view()));
}
