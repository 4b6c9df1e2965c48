#include "varlist_dialog.h"

#include "dialog_template.h"
#include "drag_move.h"
#include "expr/symbol_store.h"
#include "redraws.h"

#include <array>

namespace {

constexpr int rowCount = 5;
constexpr int firstNameId = 40020;
constexpr int firstValueId = 40030;
constexpr int firstLessId = 40117;
constexpr int firstMoreId = 40122;
constexpr int closeId = 40200;
constexpr int replotId = 40116;

constexpr auto varListControls = [] {
    std::array<ControlTemplate, 4 * rowCount + 2> controls{};
    for (int row = 0; row < rowCount; ++row) {
        const int y = 2 + 10 * row;
        controls[4 * row] = {ControlKind::Edit, firstNameId + row, "", 2, y, 50, 10, styleNone, 79};
        controls[4 * row + 1] = {ControlKind::Edit, firstValueId + row, "", 52, y, 50, 10, styleNone, 79};
        controls[4 * row + 2] = {ControlKind::Button, firstLessId + row, "-", 104, y, 10, 10};
        controls[4 * row + 3] = {ControlKind::Button, firstMoreId + row, "+", 116, y, 10, 10};
    }
    controls[4 * rowCount] = {ControlKind::Button, closeId, "Close", 2, 54, 40, 10};
    controls[4 * rowCount + 1] = {ControlKind::Button, replotId, "Re-plot", 44, 54, 40, 10};
    return controls;
}();

constexpr DialogKeys varListKeys{replotId, closeId};

constexpr DialogTemplate varListTemplate{
    DialogFrame::None, nullptr, "Bookman Old Style", 8, 32, 90, 130, 65, varListControls, varListKeys};

constexpr QSize varListPixels(234, 128);

// Rows left over from variables that are gone are emptied, so that Re-plot cannot create them again.
void fillRows(QDialog* dialog) {
    int row = 0;
    for (const std::shared_ptr<Variable>& variable : symbolStore.variables) {
        if (row == rowCount) break;
        if (isStandardConstant(*variable)) continue;
        setFieldText(dialog, firstNameId + row, variable->name);
        setFieldText(dialog, firstValueId + row, formatNumber(variable->value));
        ++row;
    }
    for (; row < rowCount; ++row) {
        setFieldText(dialog, firstNameId + row, "");
        setFieldText(dialog, firstValueId + row, "");
    }
}

void applyRow(const QDialog* dialog, int row, double value) {
    const std::string name = fieldText(dialog, firstNameId + row);
    setVariableValue(findOrCreateVariable(name), value);
}

void applyRows(const QDialog* dialog) {
    for (int row = 0; row < rowCount; ++row) {
        if (!fieldText(dialog, firstNameId + row).empty())
            applyRow(dialog, row, fieldNumber(dialog, firstValueId + row));
    }
}

void scaleRow(QDialog* dialog, int row, double factor) {
    if (!fieldText(dialog, firstNameId + row).empty()) {
        const double value = fieldNumber(dialog, firstValueId + row) * factor;
        setFieldText(dialog, firstValueId + row, formatNumber(value));
        applyRow(dialog, row, value);
    }
    redraw(Trigger::Repaint);
}

} // namespace

QDialog* createVarListDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, varListTemplate);
    enableDragMove(dialog, varListPixels);
    dialog->fillFromState([dialog] { fillRows(dialog); });
    for (int row = 0; row < rowCount; ++row) {
        onClicked(dialog, firstLessId + row, [dialog, row] { scaleRow(dialog, row, 0.9); });
        onClicked(dialog, firstMoreId + row, [dialog, row] { scaleRow(dialog, row, 1.1); });
    }
    onClicked(dialog, replotId, [dialog] {
        applyRows(dialog);
        redraw(Trigger::Repaint);
    });
    onClicked(dialog, closeId, [dialog] {
        applyRows(dialog);
        dialog->done(QDialog::Accepted);
    });
    return dialog;
}

QDialog* openVarListDialog(QWidget* owner) {
    return showModeless(createVarListDialog(owner));
}
