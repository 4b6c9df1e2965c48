#include "graph/implicit.h"

#include "expr/compiler.h"
#include "expr/evaluation_session.h"
#include "expr/evaluator.h"
#include "graph/appearance.h"
#include "graph/colours.h"
#include "graph/marching_squares.h"
#include "graph/plot_settings.h"
#include "graph/sample_rows.h"
#include "graph/surface.h"
#include "graph/sweep.h"
#include "graph/view_model.h"

#include <QPointF>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double coarseFraction = 0.02;
constexpr double fineFraction = 0.005;
constexpr double rootTolerance = 0.001;
// A sign change at a pole or jump never meets the tolerance; after this many halvings (or when
// the interval cannot be halved any more) the refinement gives up without a dot.
constexpr int maxHalvings = 64;
constexpr double latticePoints = 600.0;

void (*waitCursorHook)() = nullptr;
void (*crossCursorHook)() = nullptr;

void showCrossCursor() {
    if (crossCursorHook != nullptr) crossCursorHook();
}

int signOf(double v) {
    return v < 0 ? -1 : 1;
}

// f(x, y) = left - right with x and y set first; the right side is evaluated first.
struct Equation {
    ExpListPtr left;
    ExpListPtr right;
    Variable* x;
    Variable* y;
    // Once an evaluation had no value (refused or stopped), no crossing can be trusted.
    mutable bool valueMissing = false;

    void place(double xValue, double yValue) const {
        setVariableValue(x, xValue);
        setVariableValue(y, yValue);
    }

    // f at a point, and whether both sides had a value.
    std::pair<double, bool> evaluated(double xValue, double yValue) const {
        place(xValue, yValue);
        const NumberEvaluation r = evaluateNumber(right);
        const NumberEvaluation l = evaluateNumber(left);
        return {l.value - r.value, !r.status.incomplete && !l.status.incomplete};
    }

    double at(double xValue, double yValue) const {
        const auto [value, complete] = evaluated(xValue, yValue);
        if (!complete) valueMissing = true;
        return value;
    }

    // f at a point; not-a-number where it has no value.
    double valueAt(double xValue, double yValue) const {
        const auto [value, complete] = evaluated(xValue, yValue);
        return complete ? value : std::numeric_limits<double>::quiet_NaN();
    }
};

// Bisects [a, b] along one coordinate until |f| < tolerance and marks that point. `along`
// gives f at a coordinate, `mark` sets the dot.
template <typename Along, typename Mark> void refine(double a, double b, double fa, Along along, Mark mark) {
    for (int i = 0; i < maxHalvings; ++i) {
        const double m = (a + b) * 0.5;
        if (!(m != a && m != b)) return;
        const double fm = along(m);
        if (std::fabs(fm) < rootTolerance) {
            mark(m);
            return;
        }
        if (signOf(fm) == signOf(fa)) {
            a = m;
            fa = fm;
        } else {
            b = m;
        }
    }
}

// The coarse samples of a scan line from `from`: the first, then every step while below `to`.
std::vector<double> coarseSamples(double from, double to, double step) {
    std::vector<double> samples = sweptValues(from + step, to, step);
    samples.insert(samples.begin(), from);
    return samples;
}

// One scan line along x (the line's y fixed) or along y: f at the coarse samples, and a dot
// refined between each two with a sign change. Where both sides take the scalar path the coarse
// values come from one sweep, and the variables end where f.at at each sample would leave them.
void scanLine(Surface& surface, const Equation& f, bool alongX, double fixed, SampleRows& coarse,
              double step) {
    const auto point = [&](double v) { return alongX ? QPointF(v, fixed) : QPointF(fixed, v); };
    const auto at = [&](double v) { return f.at(point(v).x(), point(v).y()); };
    const auto dot = [&](double v) {
        if (!f.valueMissing)
            surface.setPixel(screenX(point(v).x()), screenY(point(v).y()), colours().implicit);
    };
    const std::vector<double>& samples = coarse.values;
    const bool together = allSweepable({&f.right, &f.left});
    if (together) {
        f.place(point(samples[0]).x(), point(samples[0]).y());
        coarse.evaluate(alongX ? f.x : f.y, f.right, f.left);
        if (coarse.evaluated < samples.size()) return;
    }
    const auto coarseAt = [&](std::size_t i) {
        if (!together) return at(samples[i]);
        // The sweep left them at the last sample; a refinement since may have moved them.
        if (i + 1 == samples.size()) f.place(point(samples[i]).x(), point(samples[i]).y());
        return coarse.results[1][i] - coarse.results[0][i];
    };
    double previous = coarseAt(0);
    for (std::size_t i = 1; i < samples.size() && (together || !workStopped(sampleWork)); ++i) {
        const double current = coarseAt(i);
        if (signOf(current) != signOf(previous)) refine(samples[i] - step, samples[i], previous, at, dot);
        previous = current;
    }
}

// Pass 1 scans horizontal lines (refining in x), pass 2 vertical lines (refining in y).
void scanEquation(Surface& surface, const Equation& f) {
    const ViewLimits v = viewLimits;
    const double spanX = v.xMax - v.xMin;
    const double spanY = v.yMax - v.yMin;
    const double dx = spanX * coarseFraction;
    const double dy = spanY * coarseFraction;
    const std::vector<double> rows = sweptValues(v.yMin, v.yMax, spanY * fineFraction);
    const std::vector<double> columns = sweptValues(v.xMin, v.xMax, spanX * fineFraction);
    workProgress.done = 0;
    workProgress.total = static_cast<long>(rows.size() + columns.size());
    SampleRows coarse;
    coarse.values = coarseSamples(v.xMin, v.xMax, dx);
    forEachValueWithProgress(rows, [&](double y) { scanLine(surface, f, true, y, coarse, dx); });
    coarse.values = coarseSamples(v.yMin, v.yMax, dy);
    forEachValueWithProgress(columns, [&](double x) { scanLine(surface, f, false, x, coarse, dy); });
}

// The lattice values along a view side at the fine spacing, ending on the far edge so that the
// segments reach it.
std::vector<double> latticeSide(double from, double to) {
    std::vector<double> side = sweptValues(from, to, (to - from) * fineFraction);
    if (!side.empty() && side.back() < to) side.push_back(to);
    return side;
}

// f along one lattice row into `values`; not-a-number where a sample had no value (a refused or
// stopped evaluation). False when the user stopped the work.
bool latticeRow(const Equation& f, const std::vector<double>& xs, double y, SampleRows& row,
                std::vector<double>& values) {
    values.assign(xs.size(), std::numeric_limits<double>::quiet_NaN());
    if (allSweepable({&f.right, &f.left})) {
        row.values = xs;
        f.place(xs.front(), y);
        row.evaluate(f.x, f.right, f.left);
        for (std::size_t i = 0; i < row.evaluated; ++i)
            if (row.incomplete[i] == 0) values[i] = row.results[1][i] - row.results[0][i];
        return row.evaluated == xs.size();
    }
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (workStopped(sampleWork)) return false;
        values[i] = f.valueAt(xs[i], y);
    }
    return true;
}

// Marching squares over the fine lattice, drawn as segments with the curve pen.
void traceEquation(Surface& surface, const Equation& f) {
    const ViewLimits v = viewLimits;
    const std::vector<double> xs = latticeSide(v.xMin, v.xMax);
    const std::vector<double> ys = latticeSide(v.yMin, v.yMax);
    if (xs.empty() || ys.empty()) return;
    surface.setCurvePen(colours().implicit);
    SampleRows row;
    std::vector<double> below;
    std::vector<double> above;
    const auto at = [&f](double x, double y) { return f.valueAt(x, y); };
    const auto segment = [&surface](WorldPoint from, WorldPoint to) {
        surface.moveTo(screenX(from.x), screenY(from.y));
        surface.lineTo(screenX(to.x), screenY(to.y));
        surface.endLine();
    };
    workProgress.done = 0;
    workProgress.total = static_cast<long>(ys.size());
    for (std::size_t j = 0; j < ys.size() && !workStopped(sampleWork); ++j) {
        if (!latticeRow(f, xs, ys[j], row, above)) return;
        if (j > 0) traceCellRow({xs, ys[j - 1], ys[j], below, above}, at, segment);
        std::swap(below, above);
        ++workProgress.done;
    }
}

void drawEquation(int index) {
    if (waitCursorHook != nullptr) waitCursorHook();
    {
        const std::string task = std::string(plotSettings.implicitLeft[index].view()) + " = " +
                                 std::string(plotSettings.implicitRight[index].view());
        setWorkTask(task);
        const ExpListPtr left = compileExpression(plotSettings.implicitLeft[index].view());
        const ExpListPtr right = compileExpression(plotSettings.implicitRight[index].view());
        const Equation equation{left, right, findOrCreateVariable("x"), findOrCreateVariable("y")};
        Surface surface;
        if (appearance.implicitStyle == ImplicitStyle::Segments) {
            traceEquation(surface, equation);
        } else {
            scanEquation(surface, equation);
        }
    }
    showCrossCursor();
}

bool sidesFilled(const SideText& left, const SideText& right) {
    return !left.empty() && !right.empty();
}

// How many inequalities take part: the first always, each later one only if all before it do.
int inequalityCount() {
    const PlotSettings& s = plotSettings;
    int count = 0;
    while (count < 3 && sidesFilled(s.inequalityLeft[count], s.inequalityRight[count]))
        ++count;
    return count;
}

// One lattice row, point by point: the sides in order until one fails.
void regionRow(Surface& surface, std::span<const Equation> sides, Variable* x, Variable* y,
               const std::vector<double>& lattice, double yValue) {
    for (std::size_t i = 0; i < lattice.size() && !workStopped(sampleWork); ++i) {
        setVariableValue(x, lattice[i]);
        setVariableValue(y, yValue);
        const MeasuredEvaluations point;
        const bool inside = std::all_of(sides.begin(), sides.end(), [](const Equation& side) {
            const double r = evaluateNumber(side.right).value;
            return evaluateNumber(side.left).value - r > 0;
        });
        if (inside && !point.status().incomplete)
            surface.dot(screenX(lattice[i]), screenY(yValue), colours().region);
    }
}

// One lattice row side by side: each side is evaluated over the whole row at the points every
// side before it holds at, which are the evaluations regionRow makes.
void regionRowAtOnce(Surface& surface, std::span<const Equation> sides, Variable* x, Variable* y,
                     const std::vector<double>& lattice, double yValue, SampleRows& row) {
    if (lattice.empty()) return;
    row.values = lattice;
    setVariableValue(y, yValue);
    for (const Equation& side : sides) {
        row.evaluate(x, side.right, side.left);
        if (row.evaluated < row.values.size()) return; // stopped
        std::size_t kept = 0;
        for (std::size_t i = 0; i < row.values.size(); ++i)
            if (row.results[1][i] - row.results[0][i] > 0) row.values[kept++] = row.values[i];
        row.values.resize(kept);
    }
    for (const double xValue : row.values)
        surface.dot(screenX(xValue), screenY(yValue), colours().region);
    setVariableValue(x, lattice.back());
}

} // namespace

void setCursorHooks(void (*showWait)(), void (*showCross)()) {
    waitCursorHook = showWait;
    crossCursorHook = showCross;
}

void plotImplicit() {
    const PlotSettings& s = plotSettings;
    const EvaluationSession session; // Stop ends both curves
    for (int index = 0; index < 2 && sidesFilled(s.implicitLeft[index], s.implicitRight[index]); ++index) {
        drawEquation(index);
    }
}

void plotInequalities() {
    const int count = inequalityCount();
    if (count == 0) return;
    const EvaluationSession session;
    setWorkTask("Inequality region");
    std::array<Equation, 3> sides{};
    for (int i = 0; i < count; ++i) {
        sides[i].left = compileExpression(plotSettings.inequalityLeft[i].view());
        sides[i].right = compileExpression(plotSettings.inequalityRight[i].view());
    }
    Variable* x = findOrCreateVariable("x");
    Variable* y = findOrCreateVariable("y");
    const ViewLimits v = viewLimits;
    const std::span<const Equation> taking(sides.data(), static_cast<std::size_t>(count));
    {
        Surface surface;
        const std::vector<double> lattice = sweptValues(v.xMin, v.xMax, (v.xMax - v.xMin) / latticePoints);
        const std::vector<double> rows = sweptValues(v.yMin, v.yMax, (v.yMax - v.yMin) / latticePoints);
        const bool together = std::all_of(taking.begin(), taking.end(), [](const Equation& side) {
            return allSweepable({&side.right, &side.left});
        });
        SampleRows row;
        workProgress.done = 0;
        workProgress.total = static_cast<long>(rows.size());
        forEachValueWithProgress(rows, [&](double yValue) {
            if (together)
                regionRowAtOnce(surface, taking, x, y, lattice, yValue, row);
            else
                regionRow(surface, taking, x, y, lattice, yValue);
        });
    }
    showCrossCursor();
}
