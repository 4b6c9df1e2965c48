#include "inequal_dialog.h"

#include "dialog_template.h"
#include "intrinsic_dialog.h"

namespace {

constexpr int leftIds[] = {40129, 40130, 40131};
constexpr int rightIds[] = {40132, 40133, 40134};

constexpr ControlTemplate inequalControls[] = {
    {ControlKind::Edit, leftIds[0], "", 2, 2, 100, 10, styleNone, 254},
    {ControlKind::Edit, rightIds[0], "", 114, 2, 100, 10, styleNone, 254},
    {ControlKind::Edit, leftIds[1], "", 2, 14, 100, 10, styleNone, 254},
    {ControlKind::Edit, rightIds[1], "", 114, 14, 100, 10, styleNone, 254},
    {ControlKind::Edit, leftIds[2], "", 2, 26, 100, 10, styleNone, 254},
    {ControlKind::Edit, rightIds[2], "", 114, 26, 100, 10, styleNone, 254},
    {ControlKind::Static, noControlId, " >", 104, 2, 10, 8},
    {ControlKind::Static, noControlId, " >", 104, 14, 10, 8},
    {ControlKind::Static, noControlId, " >", 104, 26, 10, 8},
    {ControlKind::Button, relationPlotId, "Plot", 2, 38, 20, 9},
    {ControlKind::Button, relationClearId, "Clear", 24, 38, 24, 9},
    {ControlKind::Button, relationCloseId, "Close", 50, 38, 22, 9},
    {ControlKind::Static, noControlId, "Enter up to 3 inequalities", 80, 38, 100, 8},
};

constexpr DialogKeys inequalKeys{relationPlotId, relationCloseId};

constexpr DialogTemplate inequalTemplate{
    DialogFrame::None, nullptr, "Bookman Old Style", 8, 32, 90, 230, 48, inequalControls, inequalKeys};

} // namespace

QDialog* createInequalDialog(QWidget* owner) {
    return createRelationDialog(owner, {inequalTemplate, QSize(410, 96), leftIds, rightIds,
                                        plotSettings.inequalityLeft, plotSettings.inequalityRight,
                                        PlotMode::Inequalities, Trigger::InequalityPlot});
}

QDialog* openInequalDialog(QWidget* owner) {
    return showModeless(createInequalDialog(owner));
}
