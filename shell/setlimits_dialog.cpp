#include "setlimits_dialog.h"

#include "dialog_template.h"
#include "graph/view_model.h"
#include "redraws.h"

namespace {

constexpr int xMaxId = 40005;
constexpr int xMinId = 40006;
constexpr int yMaxId = 40007;
constexpr int yMinId = 40008;
constexpr int okId = 40200;

constexpr ControlTemplate setLimitsControls[] = {
    {ControlKind::Static, noControlId, "Set ranges of x and y values on the graphs:", 10, 5, 155, 8,
     styleCentred},
    {ControlKind::Static, noControlId, "Maximum x: ", 10, 20, 55, 8, styleCentred},
    {ControlKind::Edit, xMaxId, "", 60, 18, 60, 12, styleNone, 79},
    {ControlKind::Static, noControlId, "Minimum x: ", 9, 30, 55, 8, styleCentred},
    {ControlKind::Edit, xMinId, "", 60, 28, 60, 12, styleNone, 79},
    {ControlKind::Static, noControlId, "Maximum y: ", 10, 40, 55, 8, styleCentred},
    {ControlKind::Edit, yMaxId, "", 60, 38, 60, 12, styleNone, 79},
    {ControlKind::Static, noControlId, "Minimum y: ", 9, 50, 55, 8, styleCentred},
    {ControlKind::Edit, yMinId, "", 60, 48, 60, 12, styleNone, 79},
    {ControlKind::Button, okId, "OK", 15, 70, 20, 10},
};

constexpr DialogKeys setLimitsKeys{okId};

constexpr DialogTemplate setLimitsTemplate{DialogFrame::Caption, "",           "System", 8, 32, 80, 170, 90,
                                           setLimitsControls,    setLimitsKeys};

} // namespace

QDialog* createSetLimitsDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, setLimitsTemplate);
    setFieldText(dialog, xMaxId, formatNumber(viewLimits.xMax));
    setFieldText(dialog, xMinId, formatNumber(viewLimits.xMin));
    setFieldText(dialog, yMaxId, formatNumber(viewLimits.yMax));
    setFieldText(dialog, yMinId, formatNumber(viewLimits.yMin));
    onClicked(dialog, okId, [dialog] {
        ViewLimits limits{};
        limits.xMax = fieldNumber(dialog, xMaxId);
        limits.xMin = fieldNumber(dialog, xMinId);
        limits.yMax = fieldNumber(dialog, yMaxId);
        limits.yMin = fieldNumber(dialog, yMinId);
        setViewLimits(limits);
        dialog->done(QDialog::Accepted);
        redraw(Trigger::ViewChange);
    });
    return dialog;
}

void runSetLimitsDialog(QWidget* owner) {
    runModal(createSetLimitsDialog(owner));
}
