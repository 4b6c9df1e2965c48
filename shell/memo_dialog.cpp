#include "memo_dialog.h"

#include "dialog_template.h"
#include "graph/plot_settings.h"

namespace {

constexpr int memoId = 40303;
constexpr int okId = 40200;

constexpr ControlTemplate memoControls[] = {
    {ControlKind::Static, noControlId, "Enter or edit notes about this file -", 10, 10, 120, 8, styleCentred},
    {ControlKind::MultiLineEdit, memoId, "", 10, 20, 300, 250, styleVScroll | styleBorder},
    {ControlKind::Button, okId, "OK", 140, 10, 20, 10},
};

constexpr DialogKeys memoKeys{okId};

constexpr DialogTemplate memoTemplate{DialogFrame::None, nullptr, "Arial", 8, 32, 32, 320, 300,
                                      memoControls,      memoKeys};

} // namespace

QDialog* createMemoDialog(QWidget* owner) {
    auto* dialog = new TemplateDialog(owner, memoTemplate);
    dialog->fillFromState([dialog] { setFieldText(dialog, memoId, plotSettings.memoText.view()); });
    onClicked(dialog, okId, [dialog] {
        plotSettings.memoText = fieldText(dialog, memoId);
        dialog->done(QDialog::Accepted);
    });
    return dialog;
}

QDialog* openMemoDialog(QWidget* owner) {
    return showModeless(createMemoDialog(owner));
}
