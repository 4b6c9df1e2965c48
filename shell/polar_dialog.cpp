#include "polar_dialog.h"

#include "dialog_template.h"
#include "funlist_dialog.h"
#include "graph/plot_settings.h"
#include "redraws.h"

#include <array>

namespace {

constexpr int firstCheckBoxId = 40060;
constexpr int firstLabelId = 40070;
constexpr int angleId = 40080;
constexpr int okId = 40200;

constexpr auto polarControls = [] {
    std::array<ControlTemplate, 5 + 2 * 10> controls{};
    controls[0] = {ControlKind::Static,
                   noControlId,
                   "Click next to each to graph using polar co-ordinates",
                   10,
                   10,
                   355,
                   8};
    for (int row = 0; row < 10; ++row) {
        const int y = 20 + 10 * row;
        controls[1 + 2 * row] = {ControlKind::CheckBox, firstCheckBoxId + row, "", 10, y, 10, 10};
        controls[2 + 2 * row] = {ControlKind::Static, firstLabelId + row, "", 20, y + 1, 255, 8};
    }
    controls[21] = {
        ControlKind::Static, noControlId, "Which variable to represent the angle?", 10, 120, 355, 8};
    controls[22] = {ControlKind::Edit, angleId, "t", 145, 118, 60, 10, styleNone, 79};
    controls[23] = {
        ControlKind::Static, noControlId, "This is the independent variable theta ", 10, 130, 355, 8};
    controls[24] = {ControlKind::Button, okId, "OK", 10, 140, 40, 12};
    return controls;
}();

constexpr DialogKeys polarKeys{okId};

constexpr DialogTemplate polarTemplate{DialogFrame::Caption,
                                       "Graphing using polar co-ordinates  ..",
                                       "Bookman Old Style",
                                       10,
                                       32,
                                       80,
                                       220,
                                       160,
                                       polarControls,
                                       polarKeys};

} // namespace

QDialog* createPolarDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, polarTemplate);
    fillFunctionRows(dialog, firstLabelId, labelSeparator);
    bindRowFlags(dialog, firstCheckBoxId, plotSettings.polarFlags);
    onClicked(dialog, okId, [dialog] {
        plotSettings.angleVariable = fieldText(dialog, angleId);
        dialog->done(QDialog::Accepted);
        redraw(Trigger::Repaint);
    });
    return dialog;
}

void runPolarDialog(QWidget* owner) {
    runModal(createPolarDialog(owner));
}
