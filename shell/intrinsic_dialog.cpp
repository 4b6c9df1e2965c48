#include "intrinsic_dialog.h"

#include "dialog_template.h"
#include "drag_move.h"

namespace {

constexpr int leftIds[] = {40136, 40401};
constexpr int rightIds[] = {40137, 40402};

constexpr ControlTemplate intrinsicControls[] = {
    {ControlKind::Edit, leftIds[0], "", 2, 2, 100, 10, styleNone, 254},
    {ControlKind::Static, noControlId, " = ", 104, 2, 10, 8},
    {ControlKind::Edit, rightIds[0], "", 114, 2, 100, 10, styleNone, 254},
    {ControlKind::Edit, leftIds[1], "", 2, 14, 100, 10, styleNone, 254},
    {ControlKind::Static, noControlId, " = ", 104, 14, 10, 8},
    {ControlKind::Edit, rightIds[1], "", 114, 14, 100, 10, styleNone, 254},
    {ControlKind::Button, relationPlotId, "Plot", 2, 26, 20, 9},
    {ControlKind::Button, relationClearId, "Clear", 24, 26, 24, 9},
    {ControlKind::Button, relationCloseId, "Close", 50, 26, 22, 9},
    {ControlKind::Static, noControlId, "Enter one or two implicitly defined functions", 74, 26, 150, 8},
};

constexpr DialogKeys intrinsicKeys{relationPlotId, relationCloseId};

constexpr DialogTemplate intrinsicTemplate{
    DialogFrame::None, nullptr, "Bookman Old Style", 8, 32, 90, 230, 36, intrinsicControls, intrinsicKeys};

void storeSides(const QDialog* dialog, const RelationSetup& setup) {
    for (std::size_t i = 0; i < setup.left.size(); ++i) {
        setup.left[i] = fieldText(dialog, setup.leftIds[i]);
        setup.right[i] = fieldText(dialog, setup.rightIds[i]);
    }
}

void fillSides(QDialog* dialog, const RelationSetup& setup) {
    for (std::size_t i = 0; i < setup.left.size(); ++i) {
        setFieldText(dialog, setup.leftIds[i], setup.left[i].view());
        setFieldText(dialog, setup.rightIds[i], setup.right[i].view());
    }
}

} // namespace

QDialog* createRelationDialog(QWidget* owner, const RelationSetup& setup) {
    auto* dialog = new TemplateDialog(owner, setup.layout);
    enableDragMove(dialog, setup.pixels);
    dialog->fillFromState([dialog, setup] { fillSides(dialog, setup); });
    plotSettings.plotMode = setup.mode;
    onClicked(dialog, relationPlotId, [dialog, setup] {
        storeSides(dialog, setup);
        redraw(setup.plotted);
    });
    onClicked(dialog, relationClearId, [] { redraw(Trigger::Clear); });
    onClicked(dialog, relationCloseId, [dialog, setup] {
        storeSides(dialog, setup);
        dialog->done(QDialog::Accepted);
    });
    return dialog;
}

QDialog* createIntrinsicDialog(QWidget* owner) {
    return createRelationDialog(owner, {intrinsicTemplate, QSize(410, 76), leftIds, rightIds,
                                        plotSettings.implicitLeft, plotSettings.implicitRight,
                                        PlotMode::Implicit, Trigger::ImplicitPlot});
}

QDialog* openIntrinsicDialog(QWidget* owner) {
    return showModeless(createIntrinsicDialog(owner));
}
