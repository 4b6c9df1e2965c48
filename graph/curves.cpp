#include "graph/curves.h"

#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "graph/axes.h"
#include "graph/chord.h"
#include "graph/function_rows.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "graph/view_model.h"

namespace {

constexpr QRgb labelTextColour = qRgb(220, 220, 250);
constexpr QRgb labelBoxColour = qRgb(55, 55, 20);

// Where the last label went; shared by the rows of one plotFunctions call. A first row that never
// passes through the view puts its label at the top of the area.
struct LabelPlace {
    int column = 0;
    int row = 0;
};

double valueAt(Variable* x, double worldValue, const ExpListPtr& list) {
    setVariableValue(x, worldValue);
    return evaluateToNumber(list);
}

// One column sweep; a math error lifts the pen until the next column without one.
void sweepRow(Surface& surface, Variable* x, const ExpListPtr& list, LabelPlace& label) {
    bool labelPending = true;
    surface.moveTo(0, screenY(valueAt(x, worldX(0), list)));
    bool penUp = false;
    for (int i = 0; i < graphView.width; ++i) {
        setVariableValue(x, worldX(i));
        mathErrorIndicator = 0;
        const double value = evaluateToNumber(list);
        const int row = screenY(value);
        if (labelPending && viewLimits.yMin < value && value < viewLimits.yMax &&
            i > label.column + labelGap) {
            label = {i, row};
            labelPending = false;
        }
        if (mathErrorIndicator != 0) {
            penUp = true;
        } else if (penUp) {
            surface.moveTo(i, row);
            penUp = false;
        } else {
            surface.lineTo(i, row);
        }
    }
}

void plotRow(Surface& surface, const FunctionEntry& entry, int row, LabelPlace& label) {
    const ExpListPtr list = compileExpression(entry.bodyText);
    integralSum = 0.0;
    if (displayFlags[row] == 0) return;
    surface.setPen(rowColour(row));
    Variable* x = findOrCreateVariable("x");
    sweepRow(surface, x, list, label);
    if (plotSettings.chordShown != 0 && plotSettings.chordRow == row) drawChord(list, surface);
    surface.setTextColour(labelTextColour);
    if (label.row > graphView.height - 20) label.row -= 20;
    surface.textOut(label.column + 10, label.row, functionLabel(entry));
    surface.setPen(darkPenColour);
}

} // namespace

QRgb rowColour(int row) {
    return qRgb(64, (64 * row) % 256, 255);
}

std::string functionLabel(const FunctionEntry& entry) {
    std::string label = entry.name + "(";
    for (std::size_t i = 0; i < entry.parameters.size(); ++i) {
        if (i > 0) label += ",";
        label += entry.parameters[i].name;
    }
    label += ") = " + entry.bodyText;
    if (label.size() > functionLabelSize - 1) label.resize(functionLabelSize - 1);
    return label;
}

void plotFunctions() {
    Surface surface;
    surface.setBackgroundColour(labelBoxColour);
    surface.setBackgroundMode(BackgroundMode::Opaque);
    LabelPlace label;
    forEachFunctionRow([&](const FunctionEntry& entry, int row) { plotRow(surface, entry, row, label); });
}

void plotGraphExpression(const ExpListPtr& list) {
    clearGraph();
    Surface surface;
    surface.setPen(darkPenColour);
    Variable* x = findOrCreateVariable("x");
    surface.moveTo(0, screenY(valueAt(x, worldX(0), list)));
    for (int i = 0; i < graphView.width; ++i)
        surface.lineTo(i, screenY(valueAt(x, worldX(i), list)));
}
