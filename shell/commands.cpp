#include "shell/commands.h"
#include "shell/appearance_dialog.h"

#include "shell/area_dialog.h"
#include "shell/deffunc_dialog.h"
#include "shell/editlist_dialog.h"
#include "shell/explore_here.h"
#include "shell/funlist_dialog.h"
#include "shell/graphexp_dialog.h"
#include "shell/inequal_dialog.h"
#include "shell/intrinsic_dialog.h"
#include "shell/memo_dialog.h"
#include "shell/parametric_dialog.h"
#include "shell/polar_dialog.h"
#include "shell/setlimits_dialog.h"
#include "shell/trace_command.h"
#include "shell/varlist_dialog.h"
#include "shell/vary_dialog.h"

#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/file_commands.h"
#include "shell/help.h"
#include "shell/info_box.h"
#include "shell/main_window.h"
#include "shell/picture_commands.h"
#include "shell/redraws.h"
#include "shell/undo_history.h"

namespace {

void zoomAtPopupPoint(double factor) {
    zoomAt(plotSettings.popupPoint.x, plotSettings.popupPoint.y, factor);
}

void toggleInfoBox(MainWindow& window) {
    const bool show = !window.isChecked(Command::ShowInfoBox);
    window.setChecked(Command::ShowInfoBox, show);
    window.infoBox()->setVisible(show);
    plotSettings.infoBoxShown = show ? 1 : 0;
}

// Ticks "Show parametric" and makes the parametric curve the plot mode.
void showParametric(MainWindow& window) {
    window.setParametricChecked(true);
    plotSettings.parametricShown = 1;
    plotSettings.plotMode = PlotMode::Parametric;
}

void toggleParametric(MainWindow& window) {
    if (!window.isChecked(Command::ShowParametric)) {
        showParametric(window);
    } else {
        window.setParametricChecked(false);
        plotSettings.parametricShown = 0;
        plotSettings.plotMode = PlotMode::Explicit;
    }
    redraw(Trigger::Repaint);
}

void toggleChord(MainWindow& window) {
    plotSettings.chordShown = plotSettings.chordShown == 0 ? 1 : 0;
    window.setChecked(Command::ShowChord, plotSettings.chordShown != 0);
}

// The view commands; each ends with a repaint. Returns false for any other id.
bool runViewCommand(Command id) {
    switch (id) {
    case Command::ZoomOut:
        zoomView(2.0);
        break;
    case Command::ZoomIn:
        zoomView(0.5);
        break;
    case Command::Right:
        panView(PanDirection::Right);
        break;
    case Command::Left:
        panView(PanDirection::Left);
        break;
    case Command::Up:
        panView(PanDirection::Up);
        break;
    case Command::Down:
        panView(PanDirection::Down);
        break;
    case Command::FactorySettings:
    case Command::PopupReset:
        setViewLimits(factoryLimits);
        break;
    case Command::PopupCenter:
        centreAt(plotSettings.popupPoint.x, plotSettings.popupPoint.y);
        break;
    case Command::PopupZoomIn:
        zoomAtPopupPoint(0.5);
        break;
    case Command::PopupZoomOut:
        zoomAtPopupPoint(2.0);
        break;
    default:
        return false;
    }
    return true;
}

// The commands that open a dialog, with what the main window does once a modal one has closed.
// Returns false for any other id.
bool runDialogCommand(MainWindow& window, Command id) {
    switch (id) {
    case Command::Memo:
        openMemoDialog(&window);
        break;
    case Command::SetLimits: {
        const ViewLimits before = viewLimits;
        runSetLimitsDialog(&window);
        window.undoHistory()->recordLimitsEdit(before);
        break;
    }
    case Command::GraphExpression:
        runGraphExpDialog(&window);
        break;
    case Command::DefineFunction:
        runDefFuncDialog(&window);
        plotSettings.plotMode = PlotMode::Explicit;
        redraw(Trigger::Repaint);
        break;
    case Command::EditFunctions:
        runEditListDialog(&window);
        break;
    case Command::SelectGraph:
        runFunListDialog(&window);
        break;
    case Command::Area:
        runAreaDialog(&window, -1);
        break;
    case Command::PopupArea:
        runAreaDialog(&window, rowNearestPopupPoint());
        break;
    case Command::VariablesSetup:
        openVarListDialog(&window);
        break;
    case Command::Vary:
        openVaryDialog(&window);
        break;
    case Command::ParametricSetup:
        showParametric(window);
        openParametricDialog(&window);
        break;
    case Command::Polar:
        runPolarDialog(&window);
        plotSettings.plotMode = PlotMode::Polar;
        break;
    case Command::Implicit:
        openIntrinsicDialog(&window);
        break;
    case Command::Inequalities:
        openInequalDialog(&window);
        break;
    default:
        return false;
    }
    return true;
}

} // namespace

int nextChordRow(int row, const std::int32_t (&flags)[10]) {
    const int start = ((row % 10) + 10) % 10;
    for (int step = 1; step <= 10; ++step) {
        const int candidate = (start + step) % 10;
        if (flags[candidate] != 0) return candidate;
    }
    return row;
}

void dispatchCommand(MainWindow& window, Command id) {
    if (runViewCommand(id)) {
        redraw(Trigger::ViewChange);
        return;
    }
    if (runDialogCommand(window, id)) return;
    if (runFindCommand(id) || runTraceCommand(id)) {
        redraw(Trigger::Repaint);
        return;
    }
    switch (id) {
    case Command::New:
        newDocumentFlow(window);
        break;
    case Command::Open:
        openDocumentFlow(window);
        break;
    case Command::Save:
        saveDocumentFlow(window, plotSettings.documentPath.empty());
        break;
    case Command::SaveAs:
        saveDocumentFlow(window, true);
        break;
    case Command::ExportPicture:
        exportPictureFlow(window);
        break;
    case Command::CopyPicture:
        copyPicture(window);
        break;
    case Command::Print:
        printPictureFlow(window);
        break;
    case Command::PrintPreview:
        printPreviewFlow(window);
        break;
    case Command::Undo:
        window.undoHistory()->undo();
        break;
    case Command::Redo:
        window.undoHistory()->redo();
        break;
    case Command::Exit:
        window.close(); // the close asks about unsaved work, then ends the program
        break;
    case Command::Console:
        window.openConsole();
        break;
    case Command::Clear:
        redraw(Trigger::Clear);
        break;
    case Command::Replot:
        redraw(Trigger::Replot);
        break;
    case Command::ShowParametric:
        toggleParametric(window);
        break;
    case Command::ShowInfoBox:
        toggleInfoBox(window);
        break;
    case Command::Appearance:
        runAppearanceDialog(&window, [&window] { window.requestRepaint(); });
        break;
    case Command::Help:
        showHelp(&window);
        break;
    case Command::About:
        showAbout(&window);
        break;
    case Command::ShowChord:
        toggleChord(window);
        redraw(Trigger::Repaint);
        break;
    case Command::ChordHere:
        redraw(Trigger::Repaint);
        break;
    case Command::NextFunction:
        plotSettings.chordRow = nextChordRow(plotSettings.chordRow, displayFlags);
        redraw(Trigger::Repaint);
        break;
    default:
        break;
    }
}
