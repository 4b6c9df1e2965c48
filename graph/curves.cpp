#include "graph/curves.h"

#include "expr/compiler.h"
#include "expr/evaluation.h"
#include "expr/evaluator.h"
#include "graph/axes.h"
#include "graph/chord.h"
#include "graph/function_rows.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <vector>

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

// worldX of every column, worked out once per call and shared by all rows.
std::vector<double> columnValues() {
    std::vector<double> values(static_cast<std::size_t>(graphView.width));
    for (int i = 0; i < graphView.width; ++i)
        values[static_cast<std::size_t>(i)] = worldX(i);
    return values;
}

// One column sweep; a math error lifts the pen until the next column without one.
void sweepRow(Surface& surface, Variable* x, const ExpListPtr& list, const std::vector<double>& columns,
              LabelPlace& label) {
    const RowScale toRow = rowScale();
    const double yMin = viewLimits.yMin;
    const double yMax = viewLimits.yMax;
    bool labelPending = true;
    surface.moveTo(0, toRow(valueAt(x, worldX(0), list)));
    bool penUp = false;
    const int width = static_cast<int>(columns.size());
    for (int i = 0; i < width; ++i) {
        setVariableValue(x, columns[static_cast<std::size_t>(i)]);
        mathErrorIndicator = 0;
        const double value = evaluateToNumber(list);
        const int row = toRow(value);
        if (labelPending && yMin < value && value < yMax && i > label.column + labelGap) {
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

void plotRow(Surface& surface, const FunctionEntry& entry, int row, const std::vector<double>& columns,
             LabelPlace& label) {
    const ExpListPtr list = compileExpression(entry.bodyText);
    integralSum = 0.0;
    if (displayFlags[row] == 0) return;
    // One allowance of work for the whole curve: a costly body (a deep diffn) ends the sweep in
    // about a second instead of spending a second on every sample.
    const EvaluationSession session;
    surface.setPen(rowColour(row));
    Variable* x = findOrCreateVariable("x");
    sweepRow(surface, x, list, columns, label);
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
    const std::vector<double> columns = columnValues();
    forEachFunctionRow(
        [&](const FunctionEntry& entry, int row) { plotRow(surface, entry, row, columns, label); });
}

void plotGraphExpression(const ExpListPtr& list) {
    clearGraph();
    const EvaluationSession session;
    Surface surface;
    surface.setPen(darkPenColour);
    Variable* x = findOrCreateVariable("x");
    surface.moveTo(0, screenY(valueAt(x, worldX(0), list)));
    for (int i = 0; i < graphView.width; ++i)
        surface.lineTo(i, screenY(valueAt(x, worldX(i), list)));
}
