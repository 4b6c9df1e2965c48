#include "graphexp_dialog.h"

#include "dialog_template.h"
#include "expr/compiler.h"
#include "redraws.h"

namespace {

constexpr int expressionId = 40003;
constexpr int okId = 40200;

constexpr ControlTemplate graphExpControls[] = {
    {ControlKind::Static, noControlId, "Enter expression to graph -", 10, 10, 100, 8, styleCentred},
    {ControlKind::Edit, expressionId, "", 110, 8, 200, 12, styleNone, 79},
    {ControlKind::Button, okId, "OK", 15, 20, 20, 10},
};

constexpr DialogKeys graphExpKeys{okId};

constexpr DialogTemplate graphExpTemplate{DialogFrame::None, nullptr,     "Arial", 8, 32, 32, 320, 40,
                                          graphExpControls,  graphExpKeys};

} // namespace

QDialog* createGraphExpDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, graphExpTemplate);
    onClicked(dialog, okId, [dialog] {
        const ExpListPtr list = compileExpression(fieldText(dialog, expressionId));
        dialog->done(QDialog::Accepted);
        redrawGraphExpression(list);
    });
    return dialog;
}

void runGraphExpDialog(QWidget* owner) {
    runModal(createGraphExpDialog(owner));
}
