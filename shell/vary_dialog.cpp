#include "vary_dialog.h"

#include "dialog_template.h"
#include "drag_move.h"
#include "expr/symbol_store.h"
#include "redraws.h"

#include <QScrollBar>

#include <climits>


namespace {

constexpr int nameId = 40016;
constexpr int fromId = 40017;
constexpr int toId = 40018;
constexpr int valueId = 40138;
constexpr int sliderId = 40019;
constexpr int okId = 40200;

constexpr ControlTemplate varyControls[] = {
    {ControlKind::Static, noControlId, "Vary:", 3, 3, 55, 8},
    {ControlKind::Edit, nameId, "a", 20, 1, 40, 12, styleNone, 79},
    {ControlKind::Static, noControlId, "From:", 65, 3, 55, 8},
    {ControlKind::Edit, fromId, "0", 85, 1, 30, 12, styleNone, 79},
    {ControlKind::Static, noControlId, "To:", 122, 3, 55, 8},
    {ControlKind::Edit, toId, "10", 134, 1, 30, 12, styleNone, 79},
    {ControlKind::Static, valueId, " ", 165, 16, 55, 8},
    {ControlKind::HScrollBar, sliderId, "", 3, 17, 150, 6},
    {ControlKind::Button, okId, "OK", 170, 2, 20, 10},
};

constexpr DialogKeys varyKeys{okId};

constexpr DialogTemplate varyTemplate{DialogFrame::None, nullptr, "Bookman Old Style", 10, 32, 80, 200, 25,
                                      varyControls,      varyKeys};

constexpr QSize varyPixels(410, 62);

void sliderMoved(QDialog* dialog) {
    const double from = fieldNumber(dialog, fromId);
    const double value = (fieldNumber(dialog, toId) - from) * varyStepCount * 0.01 + from;
    showReadout(dialog, valueId, value);
    setVariableValue(findOrCreateVariable(fieldText(dialog, nameId)), value);
    redraw(Trigger::VarySlider);
}

} // namespace

int changedStepCount(int count, int action, int thumbPosition) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
        return count > INT_MIN ? count - 1 : count;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
        return count < INT_MAX ? count + 1 : count;
    case QAbstractSlider::SliderMove:
        return thumbPosition;
    default:
        return count;
    }
}

void bindStepSlider(QScrollBar* bar, int& count, const std::function<void()>& moved) {
    // actionTriggered comes with the thumb already placed for the action but before the value
    // changes, so setting the position here decides where the thumb ends up.
    QObject::connect(bar, &QScrollBar::actionTriggered, bar, [bar, &count, moved](int action) {
        count = changedStepCount(count, action, bar->sliderPosition());
        bar->setSliderPosition(count);
        moved();
    });
}

QDialog* createVaryDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, varyTemplate);
    enableDragMove(dialog, varyPixels);
    auto* slider = dialogControl<QScrollBar>(dialog, sliderId);
    slider->setRange(0, 100);
    bindStepSlider(slider, varyStepCount, [dialog] { sliderMoved(dialog); });
    onClicked(dialog, okId, [dialog] {
        dialog->done(QDialog::Accepted);
        redraw(Trigger::Repaint);
    });
    return dialog;
}

QDialog* openVaryDialog(QWidget* owner) {
    return showModeless(createVaryDialog(owner));
}
