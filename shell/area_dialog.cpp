#include "area_dialog.h"

#include "dialog_template.h"
#include "expr/compiler.h"
#include "expr/curve_numerics.h"
#include "expr/explore_commands.h"
#include "expr/expression_function.h"
#include "expr/message_hook.h"
#include "graph/curves.h"
#include "graph/explore_marks.h"
#include "graph/number_text.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/funlist_dialog.h"
#include "shell/redraws.h"

#include <QComboBox>

#include <optional>

namespace {

constexpr int functionId = 40471;
constexpr int aId = 40472;
constexpr int bId = 40473;
constexpr int cancelId = 40002;
constexpr int okId = 40200;

constexpr const char* areaCaption = "Area";

constexpr ControlTemplate areaControls[] = {
    {ControlKind::Static, noControlId, "Shade the area between a curve and the x axis from a to b", 10, 5,
     200, 8},
    {ControlKind::Static, noControlId, "Curve:", 10, 19, 35, 8},
    {ControlKind::ComboBox, functionId, "", 45, 17, 165, 12},
    {ControlKind::Static, noControlId, "a =", 10, 33, 35, 8},
    {ControlKind::Edit, aId, "", 45, 32, 165, 10, styleNone, 79},
    {ControlKind::Static, noControlId, "b =", 10, 45, 35, 8},
    {ControlKind::Edit, bId, "", 45, 44, 165, 10, styleNone, 79},
    {ControlKind::Button, okId, "OK", 10, 60, 40, 12},
    {ControlKind::Button, cancelId, "Cancel", 60, 60, 40, 12},
};

constexpr DialogKeys areaKeys{okId, cancelId};

constexpr DialogTemplate areaTemplate{DialogFrame::Caption,
                                      "Area between a curve and the x axis  ..",
                                      "Bookman Old Style",
                                      10,
                                      32,
                                      80,
                                      220,
                                      78,
                                      areaControls,
                                      areaKeys};

void fillCurveChoice(QComboBox* choice, int row) {
    for (int shown = 0; shown < functionRowCount; ++shown) {
        if (displayFlags[shown] == 0 || userFunctionAt(shown) == nullptr) continue;
        choice->addItem(QString::fromLatin1(functionRowText(shown, labelSeparator)), shown);
        if (shown == row) choice->setCurrentIndex(choice->count() - 1);
    }
}

// The shading of the chosen row over the dialog's bounds, or nothing after a message that says
// why not (or after the user stopped the work).
std::optional<AreaShading> shadingOf(const QDialog* dialog) {
    const QComboBox* choice = dialogControl<QComboBox>(dialog, functionId);
    const FunctionEntry* entry = userFunctionAt(choice->currentData().toInt());
    if (choice->currentIndex() < 0 || entry == nullptr) {
        showMessage(areaCaption, "Error - no curve chosen", messageIconNone);
        return std::nullopt;
    }
    const Bounds bounds = readBounds(fieldText(dialog, aId), fieldText(dialog, bId));
    if (bounds.error != nullptr) {
        showMessage(areaCaption, bounds.error, messageIconNone);
        return std::nullopt;
    }
    const ExpListPtr list = compileExpression(entry->bodyText);
    Variable* x = findOrCreateVariable("x");
    Area area;
    {
        const SearchScope scope(x); // one piece of work, which Stop ends as a whole
        setWorkTask(functionLabel(*entry));
        area = integrate(ExpressionFunction{*list, x}, bounds.a, bounds.b);
        if (scope.stopped()) return std::nullopt;
    }
    const std::string answer = areaAnswer(area);
    if (!area.anyValue || !area.finite || !area.converged) {
        showMessage(areaCaption, answer.c_str(), messageIconNone);
        return std::nullopt;
    }
    return AreaShading{list,       bounds.a,
                       bounds.b,   rowColour(choice->currentData().toInt()),
                       area.value, answer + formatNumber(" (error estimate %.1e)", area.errorEstimate)};
}

} // namespace

QDialog* createAreaDialog(QWidget* owner, int row) {
    auto* dialog = new TemplateDialog(owner, areaTemplate);
    fillCurveChoice(dialogControl<QComboBox>(dialog, functionId), row);
    setFieldText(dialog, aId, formatNumber(viewLimits.xMin));
    setFieldText(dialog, bId, formatNumber(viewLimits.xMax));
    onClicked(dialog, cancelId, [dialog] { dialog->done(QDialog::Rejected); });
    onClicked(dialog, okId, [dialog] {
        std::optional<AreaShading> shading = shadingOf(dialog);
        if (!shading) return;
        setAreaShading(std::move(*shading));
        dialog->done(QDialog::Accepted);
        redraw(Trigger::Repaint);
    });
    return dialog;
}

void runAreaDialog(QWidget* owner, int row) {
    QDialog* dialog = createAreaDialog(owner, row);
    if (dialogControl<QComboBox>(dialog, functionId)->count() > 0) {
        runModal(dialog);
        return;
    }
    delete dialog;
    showMessage(areaCaption, "No curve is shown: tick one under Functions, Select graph..", messageIconNone);
}
