#include "graph/parametric_polar.h"

#include "expr/compiler.h"
#include "expr/evaluation_session.h"
#include "expr/evaluator.h"
#include "graph/colours.h"
#include "graph/curve_breaks.h"
#include "graph/curves.h"
#include "graph/function_rows.h"
#include "graph/plot_settings.h"
#include "graph/sample_rows.h"
#include "graph/sample_trail.h"
#include "graph/surface.h"
#include "graph/sweep.h"
#include "graph/view_model.h"

#include <QPoint>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <string>

namespace {

constexpr int markerArm = 5;
constexpr double parametricStepFraction = 0.001; // 1000 intervals
constexpr double polarStep = 0.01;
constexpr double polarLabelStep = 0.4;
void plotPolarRow(Surface& surface, const ExpListPtr& list, const FunctionEntry& entry, int row,
                  double labelAngle) {
    const QRgb colour = polarColour(row);
    surface.setCurvePen(colour);
    const std::string task = functionLabel(entry);
    setWorkTask(task);
    Variable* angle = findOrCreateVariable(polarAngleName());
    const auto point = [](double theta, double r) {
        return curvePoint(theta, r * std::cos(theta), r * std::sin(theta));
    };
    SampleRows samples;
    samples.values = polarAngles();
    samples.values.insert(samples.values.begin(), 0.0); // the pen's start
    samples.evaluate(angle, list);
    {
        const BetweenSamples between(angle);
        const auto pointAt = [&](std::size_t i) { return point(samples.values[i], samples.results[0][i]); };
        joinAcrossBreaks(
            surface, samples, [&](std::size_t i) { return pixelOf(pointAt(i)); }, pointAt,
            [&](double theta) { return point(theta, between(theta, [&] { return evaluateNumber(list).value; })); });
    }
    setVariableValue(angle, labelAngle);
    const QPoint labelPoint = pixelOf(point(labelAngle, evaluateNumber(list).value));
    surface.setTextColour(colour);
    surface.readoutOut(labelPoint.x(), labelPoint.y(), task, false);
}

} // namespace

QPoint ParametricSetup::pointAt(double t) const {
    setVariableValue(parameter, t);
    const double yValue = evaluateNumber(y).value;
    const double xValue = evaluateNumber(x).value;
    return {screenX(xValue), screenY(yValue)};
}

std::optional<ParametricSetup> prepareParametric() {
    const PlotSettings& s = plotSettings;
    if (s.parametricX.empty() || s.parametricY.empty() || s.parameterFrom.empty() || s.parameterTo.empty() ||
        s.parameterName.empty()) {
        return std::nullopt;
    }
    ExpListPtr x = compileExpression(s.parametricX.view());
    ExpListPtr y = compileExpression(s.parametricY.view());
    const double from = std::strtod(s.parameterFrom.c_str(), nullptr);
    const double to = std::strtod(s.parameterTo.c_str(), nullptr);
    return ParametricSetup{std::move(x), std::move(y), from, to,
                           findOrCreateVariable(s.parameterName.view())};
}

// No values unless from < to: sweep takes none then.
std::vector<double> parameterValues(double from, double to) {
    return sweptValues(from, to, (to - from) * parametricStepFraction);
}

std::vector<double> polarAngles() {
    return sweptValues(0.0, 2 * std::numbers::pi, polarStep);
}

std::string parametricLabel() {
    return "x = " + std::string(plotSettings.parametricX.view()) +
           ", y = " + std::string(plotSettings.parametricY.view());
}

void plotParametric() {
    const EvaluationSession session;
    const std::optional<ParametricSetup> setup = prepareParametric();
    if (!setup) return;
    setWorkTask(parametricLabel());
    Surface surface;
    surface.setCurvePen(colours().parametric);
    SampleRows samples;
    samples.values = parameterValues(setup->from, setup->to);
    samples.values.insert(samples.values.begin(), setup->from); // the pen's start
    samples.evaluate(setup->parameter, setup->y, setup->x);     // y before x, as at one point
    joinSamples(surface, samples, [&](std::size_t i) {
        return QPoint(screenX(samples.results[1][i]), screenY(samples.results[0][i]));
    });
}

void markParameter(int position) {
    const std::optional<ParametricSetup> setup = prepareParametric();
    if (!setup) return;
    Surface surface;
    surface.setPen(colours().parameterMarker);
    const double t = (setup->to - setup->from) * position * 0.001 + setup->from;
    const QPoint p = setup->pointAt(t);
    const int arm = toDevice(markerArm);
    surface.moveTo(p.x(), shiftedPixel(p.y(), -arm));
    surface.lineTo(p.x(), shiftedPixel(p.y(), arm));
    surface.moveTo(shiftedPixel(p.x(), -arm), p.y());
    surface.lineTo(shiftedPixel(p.x(), arm), p.y());
}

void plotPolar() {
    Surface surface;
    surface.setBackgroundMode(BackgroundMode::Transparent);
    double labelAngle = 0.0;
    const EvaluationSession session; // Stop ends every row
    forEachFunctionRow([&](const FunctionEntry& entry, int row) {
        const ExpListPtr list = compileExpression(entry.bodyText);
        integralSum = 0.0;
        if (plotSettings.polarFlags[row] == 0) return;
        plotPolarRow(surface, list, entry, row, labelAngle);
        labelAngle += polarLabelStep;
    });
}
