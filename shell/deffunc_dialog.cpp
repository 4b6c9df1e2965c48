#include "deffunc_dialog.h"

#include "dialog_template.h"
#include "expr/command_interpreter.h"
#include "expr/syntax_check.h"
#include "graph/plot_settings.h"

namespace {

constexpr int definitionId = 40010;
constexpr int cancelId = 40002;
constexpr int okId = 40200;

constexpr ControlTemplate defFuncControls[] = {
    {ControlKind::Static, noControlId, "Define a function:", 10, 5, 155, 8},
    {ControlKind::Edit, definitionId, "", 10, 15, 160, 12, styleNone, 79},
    {ControlKind::Static, noControlId, "enter eg f(x)=1+x ", 9, 30, 55, 8},
    {ControlKind::Button, cancelId, "Cancel", 40, 40, 40, 10},
    {ControlKind::Button, okId, "OK", 10, 40, 20, 10},
};

constexpr DialogKeys defFuncKeys{okId, cancelId};

constexpr DialogTemplate defFuncTemplate{
    DialogFrame::None, nullptr, "Bookman Old Style", 8, 32, 80, 200, 60, defFuncControls, defFuncKeys};

void acceptDefinition(QDialog* dialog) {
    const std::string text = fieldText(dialog, definitionId);
    if (checkDefinitionSyntax(text) != 0 || checkDefinitionReads(text) != 0) return;
    if (!text.empty()) defineFunctionFromText(text);
    plotSettings.definitionText = text;
    dialog->done(QDialog::Accepted);
}

} // namespace

QDialog* createDefFuncDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, defFuncTemplate);
    setFieldText(dialog, definitionId, plotSettings.definitionText.view());
    onClicked(dialog, okId, [dialog] { acceptDefinition(dialog); });
    onClicked(dialog, cancelId, [dialog] { dialog->done(QDialog::Rejected); });
    return dialog;
}

int runDefFuncDialog(QWidget* owner) {
    return runModal(createDefFuncDialog(owner));
}
