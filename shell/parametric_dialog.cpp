#include "parametric_dialog.h"

#include "dialog_template.h"
#include "drag_move.h"
#include "graph/plot_settings.h"
#include "redraws.h"
#include "vary_dialog.h"

#include <QScrollBar>


namespace {

constexpr int xId = 40090;
constexpr int yId = 40091;
constexpr int nameId = 40100;
constexpr int fromId = 40101;
constexpr int toId = 40102;
constexpr int sliderId = 40103;
constexpr int closeId = 40200;
constexpr int plotId = 40104;
constexpr int clearId = 40125;
constexpr int valueId = 40105;

constexpr ControlTemplate parametricControls[] = {
    {ControlKind::Static, noControlId, "x:", 2, 2, 10, 8},
    {ControlKind::Edit, xId, "", 10, 2, 150, 10, styleNone, 79},
    {ControlKind::Static, noControlId, "y:", 2, 12, 10, 8},
    {ControlKind::Edit, yId, "", 10, 12, 150, 10, styleNone, 79},
    {ControlKind::Static, noControlId, "Vary", 2, 22, 30, 8},
    {ControlKind::Edit, nameId, "", 30, 22, 30, 10, styleNone, 79},
    {ControlKind::Static, noControlId, "from", 65, 22, 30, 8},
    {ControlKind::Edit, fromId, "", 85, 22, 30, 10, styleNone, 79},
    {ControlKind::Static, noControlId, "to", 120, 22, 10, 8},
    {ControlKind::Edit, toId, "", 130, 22, 30, 10, styleNone, 79},
    {ControlKind::HScrollBar, sliderId, "", 2, 34, 200, 5},
    {ControlKind::Button, closeId, "Close", 190, 0, 22, 10},
    {ControlKind::Button, plotId, "Plot", 165, 0, 22, 10},
    {ControlKind::Button, clearId, "Clear", 165, 11, 22, 10},
    {ControlKind::Static, valueId, "", 165, 22, 40, 10},
};

constexpr DialogKeys parametricKeys{plotId, closeId};

constexpr DialogTemplate parametricTemplate{
    DialogFrame::None, nullptr, "Bookman Old Style", 8, 32, 80, 220, 45, parametricControls, parametricKeys};

constexpr QSize parametricPixels(390, 90);

void fillFields(QDialog* dialog) {
    setFieldText(dialog, xId, plotSettings.parametricX.view());
    setFieldText(dialog, yId, plotSettings.parametricY.view());
    setFieldText(dialog, nameId, plotSettings.parameterName.view());
    setFieldText(dialog, fromId, plotSettings.parameterFrom.view());
    setFieldText(dialog, toId, plotSettings.parameterTo.view());
}

void storeFields(const QDialog* dialog) {
    plotSettings.parametricX = fieldText(dialog, xId);
    plotSettings.parametricY = fieldText(dialog, yId);
    plotSettings.parameterName = fieldText(dialog, nameId);
    plotSettings.parameterFrom = fieldText(dialog, fromId);
    plotSettings.parameterTo = fieldText(dialog, toId);
}

void sliderMoved(QDialog* dialog) {
    storeFields(dialog);
    const double from = textNumber(plotSettings.parameterFrom.c_str());
    const double to = textNumber(plotSettings.parameterTo.c_str());
    showReadout(dialog, valueId, from + parametricStepCount * (to - from) * 0.001);
    redrawParameterMark(parametricStepCount);
}

} // namespace

QDialog* createParametricDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, parametricTemplate);
    enableDragMove(dialog, parametricPixels);
    auto* slider = dialogControl<QScrollBar>(dialog, sliderId);
    slider->setRange(0, 1000);
    dialog->fillFromState([dialog] { fillFields(dialog); });
    bindStepSlider(slider, parametricStepCount, [dialog] { sliderMoved(dialog); });
    onClicked(dialog, plotId, [dialog] {
        storeFields(dialog);
        redraw(Trigger::Repaint);
    });
    onClicked(dialog, clearId, [] { redraw(Trigger::Clear); });
    onClicked(dialog, closeId, [dialog] { dialog->done(QDialog::Accepted); });
    return dialog;
}

QDialog* openParametricDialog(QWidget* owner) {
    return showModeless(createParametricDialog(owner));
}
