#include "graph/curves.h"

#include "expr/compiler.h"
#include "expr/evaluation_session.h"
#include "expr/evaluator.h"
#include "expr/five_point_derivative.h"
#include "graph/axes.h"
#include "graph/chord.h"
#include "graph/curve_breaks.h"
#include "graph/function_rows.h"
#include "graph/plot_settings.h"
#include "graph/sample_rows.h"
#include "graph/sample_trail.h"
#include "graph/surface.h"
#include "graph/sweep.h"
#include "graph/view_model.h"

#include <vector>

namespace {

// Where the last label went; shared by the rows of one plotFunctions call. A first row that never
// passes through the view puts its label at the top of the area.
struct LabelPlace {
    int column = 0;
    int row = 0;
};

double valueAt(Variable* x, double worldValue, const ExpListPtr& list) {
    setVariableValue(x, worldValue);
    return evaluateNumber(list).value;
}

// Draws a row from its value at worldX(0), where the pen starts, and its values at the columns
// evaluated before any Stop; a math error or a sample without a value lifts the pen until the
// next column without one, and so does a pole or a jump between two columns, which evaluate()
// at x looks into.
template <typename Evaluate>
void drawRow(Surface& surface, double start, const SampleRows& columns, LabelPlace& label, Variable* x,
             Evaluate evaluate) {
    const RowScale toRow = rowScale();
    const double yMin = viewLimits.yMin;
    const double yMax = viewLimits.yMax;
    const BetweenSamples between(x);
    const auto pointAt = [&](double t) { return curvePoint(t, t, between(t, evaluate)); };
    bool labelPending = true;
    CurvePoint previous = curvePoint(worldX(0), worldX(0), start);
    surface.moveTo(0, toRow(start), exactOf(previous));
    bool penUp = false;
    for (std::size_t i = 0; i < columns.evaluated; ++i) {
        const int column = static_cast<int>(i);
        const double value = columns.results[0][i];
        const int row = toRow(value);
        if (labelPending && yMin < value && value < yMax && column > label.column + toDevice(labelGap)) {
            label = {column, row};
            labelPending = false;
        }
        const CurvePoint point = curvePoint(columns.values[i], columns.values[i], value);
        if (columns.errors[i] != 0 || columns.incomplete[i] != 0) {
            penUp = true;
        } else if (penUp) {
            surface.moveTo(column, row, exactOf(point));
            penUp = false;
        } else {
            lineAcrossBreaks(surface, previous, point, QPoint(column, row), pointAt);
        }
        previous = point;
    }
}

// evaluate() at x = worldX(0) and at each column, one column at a time, for what is not one list
// (the derivatives); gives the first.
template <typename Evaluate> double evaluateColumns(Variable* x, Evaluate evaluate, SampleRows& columns) {
    setVariableValue(x, worldX(0));
    const double start = evaluate();
    columns.evaluateEach(x, 1, [&](std::size_t i) { columns.results[0][i] = evaluate(); });
    return start;
}

// The label where the sweep chose, lifted off the bottom edge; the dark pen is taken up again.
void drawLabel(Surface& surface, LabelPlace& label, const std::string& text) {
    surface.setTextColour(colours().labelText);
    if (label.row > graphView.height - toDevice(20)) label.row -= toDevice(20);
    surface.readoutOut(label.column + toDevice(10), label.row, text, false);
    surface.setPen(darkPenColour);
}

void plotRow(Surface& surface, const FunctionEntry& entry, int row, SampleRows& columns, LabelPlace& label) {
    const ExpListPtr list = compileExpression(entry.bodyText);
    integralSum = 0.0;
    if (displayFlags[row] == 0) return;
    const std::string task = functionLabel(entry);
    setWorkTask(task);
    surface.setCurvePen(rowColour(row));
    Variable* x = findOrCreateVariable("x");
    const double start = valueAt(x, worldX(0), list);
    columns.evaluate(x, list);
    drawRow(surface, start, columns, label, x, [&] { return evaluateNumber(list).value; });
    if (plotSettings.chordShown != 0 && plotSettings.chordRow == row) drawChord(list, surface);
    drawLabel(surface, label, task);
}

// The row's colour moved halfway (f') or three quarters (f'') toward white.
QRgb derivativeColour(int row, int order) {
    return lighterColour(rowColour(row), order == 1 ? 2 : 4);
}

void plotDerivatives(Surface& surface, const FunctionEntry& entry, int row, SampleRows& columns,
                     LabelPlace& label) {
    const std::size_t index = static_cast<std::size_t>(row);
    const bool shown[2] = {plotSettings.firstDerivativeFlags[index] != 0,
                           plotSettings.secondDerivativeFlags[index] != 0};
    if (!shown[0] && !shown[1]) return;
    const ExpListPtr list = compileExpression(entry.bodyText);
    Variable* x = findOrCreateVariable("x");
    // Computed as the language's diff computes diff(f(x),x), and f'' as diff of that.
    const auto first = [&] { return fivePointDerivative(*x, [&] { return evaluateNumber(list).value; }); };
    const auto second = [&] { return fivePointDerivative(*x, first); };
    for (int order = 1; order <= 2; ++order) {
        if (!shown[order - 1]) continue;
        integralSum = 0.0;
        const std::string task = derivativeLabel(entry, order);
        setWorkTask(task);
        surface.setCurvePen(derivativeColour(row, order));
        const auto draw = [&](auto evaluate) {
            drawRow(surface, evaluateColumns(x, evaluate, columns), columns, label, x, evaluate);
        };
        order == 1 ? draw(first) : draw(second);
        drawLabel(surface, label, task);
    }
}

} // namespace

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

std::string derivativeLabel(const FunctionEntry& entry, int order) {
    return entry.name + std::string(static_cast<std::size_t>(order), '\'') + "(x)";
}

// Worked out once per call and shared by all rows.
std::vector<double> columnValues() {
    std::vector<double> values(static_cast<std::size_t>(graphView.width));
    for (int i = 0; i < graphView.width; ++i)
        values[static_cast<std::size_t>(i)] = worldX(i);
    return values;
}

void plotFunctions() {
    Surface surface;
    surface.setBackgroundColour(colours().labelBox);
    surface.setBackgroundMode(BackgroundMode::Opaque);
    LabelPlace label;
    SampleRows columns;
    columns.values = columnValues();
    const EvaluationSession session; // Stop ends every row
    forEachFunctionRow([&](const FunctionEntry& entry, int row) {
        plotRow(surface, entry, row, columns, label);
        plotDerivatives(surface, entry, row, columns, label);
    });
}

void plotGraphExpression(const ExpListPtr& list) {
    clearGraph();
    drawGraphExpression(list);
}

void drawGraphExpression(const ExpListPtr& list) {
    const EvaluationSession session;
    Surface surface;
    surface.setCurvePen(colours().graphExpression);
    SampleRows samples;
    samples.values = columnValues();
    samples.values.insert(samples.values.begin(), worldX(0)); // the pen's start
    Variable* x = findOrCreateVariable("x");
    samples.evaluate(x, list);
    const BetweenSamples between(x);
    joinAcrossBreaks(
        surface, samples,
        [&](std::size_t i) { return QPoint(i == 0 ? 0 : static_cast<int>(i) - 1, screenY(samples.results[0][i])); },
        [&](std::size_t i) { return curvePoint(samples.values[i], samples.values[i], samples.results[0][i]); },
        [&](double t) { return curvePoint(t, t, between(t, [&] { return evaluateNumber(list).value; })); });
}
