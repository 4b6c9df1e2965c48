#include "editlist_dialog.h"

#include "deffunc_dialog.h"
#include "dialog_template.h"
#include "expr/symbol_store.h"
#include "funlist_dialog.h"
#include "graph/plot_settings.h"
#include "redraws.h"

#include <array>

namespace {

constexpr int firstEditId = 40020;
constexpr int firstDeleteId = 40220;
constexpr int firstLabelId = 40030;
constexpr int okId = 40200;

constexpr auto editListControls = [] {
    std::array<ControlTemplate, 2 + 3 * 10> controls{};
    controls[0] = {ControlKind::Static, noControlId, "Click next to a function to edit it", 10, 10, 355, 8};
    for (int row = 0; row < 10; ++row) {
        const int y = 20 + 10 * row;
        controls[1 + 3 * row] = {ControlKind::Button, firstEditId + row, "Edit", 10, y, 20, 8};
        controls[2 + 3 * row] = {ControlKind::Button, firstDeleteId + row, "Delete", 34, y, 25, 8};
        controls[3 + 3 * row] = {ControlKind::Static, firstLabelId + row, "", 62, y + 1, 255, 8};
    }
    controls.back() = {ControlKind::Button, okId, "OK", 10, 130, 40, 12};
    return controls;
}();

constexpr DialogKeys editListKeys{okId};

constexpr DialogTemplate editListTemplate{DialogFrame::Caption,
                                          "Select function to edit  ..",
                                          "Bookman Old Style",
                                          10,
                                          32,
                                          80,
                                          200,
                                          150,
                                          editListControls,
                                          editListKeys};

void editRow(QDialog* dialog, int row) {
    plotSettings.definitionText = fieldText(dialog, firstLabelId + row);
    runDefFuncDialog(dialog);
    setFieldText(dialog, firstLabelId + row, plotSettings.definitionText.view());
}

// An empty row, or one whose function has gone, is left as it is.
void deleteRow(QDialog* dialog, int row) {
    const std::string text = fieldText(dialog, firstLabelId + row);
    if (text.empty()) return;
    const std::string name = text.substr(0, text.find('('));
    if (unlinkFunction(name)) setFieldText(dialog, firstLabelId + row, "");
}

} // namespace

QDialog* createEditListDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, editListTemplate);
    fillFunctionRows(dialog, firstLabelId, definitionSeparator);
    for (int row = 0; row < 10; ++row) {
        onClicked(dialog, firstEditId + row, [dialog, row] { editRow(dialog, row); });
        onClicked(dialog, firstDeleteId + row, [dialog, row] { deleteRow(dialog, row); });
    }
    onClicked(dialog, okId, [dialog] {
        dialog->done(QDialog::Accepted);
        redraw(Trigger::Repaint);
    });
    return dialog;
}

void runEditListDialog(QWidget* owner) {
    runModal(createEditListDialog(owner));
}
