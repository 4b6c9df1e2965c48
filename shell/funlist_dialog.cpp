#include "funlist_dialog.h"

#include "dialog_template.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "redraws.h"

#include <QCheckBox>

#include <array>

namespace {

constexpr int firstCheckBoxId = 40020;
constexpr int firstLabelId = 40030;
constexpr int okId = 40200;
constexpr int firstDerivativeBoxId = 40240;
constexpr int secondDerivativeBoxId = 40250;

constexpr auto funListControls = [] {
    std::array<ControlTemplate, 2 + 4 * 10> controls{};
    controls[0] = {
        ControlKind::Static, noControlId, "Click next to each function to display its graph", 10, 10, 355, 8};
    for (int row = 0; row < 10; ++row) {
        const int y = 20 + 10 * row;
        controls[1 + 2 * row] = {ControlKind::CheckBox, firstCheckBoxId + row, "", 10, y, 10, 10};
        controls[2 + 2 * row] = {ControlKind::Static, firstLabelId + row, "", 20, y + 1, 255, 8};
        // The derivative boxes come after the labels, so they lie above a long label's end.
        controls[21 + 2 * row] = {ControlKind::CheckBox, firstDerivativeBoxId + row, "f'", 150, y, 20, 10};
        controls[22 + 2 * row] = {ControlKind::CheckBox, secondDerivativeBoxId + row, "f''", 172, y, 24, 10};
    }
    controls.back() = {ControlKind::Button, okId, "OK", 10, 130, 40, 12};
    return controls;
}();

constexpr DialogKeys funListKeys{okId};

constexpr DialogTemplate funListTemplate{DialogFrame::Caption,
                                         "Check functions to display  ..",
                                         "Bookman Old Style",
                                         10,
                                         32,
                                         80,
                                         200,
                                         150,
                                         funListControls,
                                         funListKeys};

} // namespace

std::string functionRowText(int row, std::string_view separator) {
    const FunctionEntry* entry = userFunctionAt(row);
    if (!entry) return {};
    std::string text = functionText(*entry, separator);
    if (text.size() > rowTextLimit) text.resize(rowTextLimit);
    return text;
}

void fillFunctionRows(QWidget* dialog, int firstLabelId, std::string_view separator) {
    for (int row = 0; row < 10; ++row)
        setFieldText(dialog, firstLabelId + row, functionRowText(row, separator));
}

void bindRowFlags(QWidget* dialog, int firstBoxId, std::span<std::int32_t, 10> flags) {
    for (int row = 0; row < 10; ++row) {
        auto* box = dialogControl<QCheckBox>(dialog, firstBoxId + row);
        std::int32_t& flag = flags[static_cast<std::size_t>(row)];
        box->setChecked(flag == 1);
        // Qt has already toggled the box when clicked arrives; the flag, not Qt, decides its state.
        QObject::connect(box, &QCheckBox::clicked, box, [box, &flag](bool nowChecked) {
            flag = nowChecked ? 1 : 0;
            box->setChecked(flag == 1);
        });
    }
}

QDialog* createFunListDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, funListTemplate);
    fillFunctionRows(dialog, firstLabelId, labelSeparator);
    bindRowFlags(dialog, firstCheckBoxId, displayFlags);
    bindRowFlags(dialog, firstDerivativeBoxId, plotSettings.firstDerivativeFlags);
    bindRowFlags(dialog, secondDerivativeBoxId, plotSettings.secondDerivativeFlags);
    onClicked(dialog, okId, [dialog] {
        dialog->done(QDialog::Accepted);
        redraw(Trigger::Repaint);
    });
    return dialog;
}

void runFunListDialog(QWidget* owner) {
    runModal(createFunListDialog(owner));
}
