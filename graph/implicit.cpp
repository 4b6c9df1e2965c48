#include "graph/implicit.h"

#include "expr/compiler.h"
#include "expr/evaluation.h"
#include "expr/evaluator.h"
#include "graph/picture_log.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "graph/sweep.h"
#include "graph/view_model.h"

#include <array>
#include <cmath>
#include <string>

namespace {

constexpr double coarseFraction = 0.02;
constexpr double fineFraction = 0.005;
constexpr double rootTolerance = 0.001;
// A sign change at a pole or jump never meets the tolerance; after this many halvings (or when
// the interval cannot be halved any more) the refinement gives up without a dot.
constexpr int maxHalvings = 64;
constexpr QRgb implicitColour = qRgb(100, 100, 255);
constexpr double latticePoints = 600.0;
constexpr QRgb regionColour = qRgb(0, 0, 255);

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

    double at(double xValue, double yValue) const {
        setVariableValue(x, xValue);
        setVariableValue(y, yValue);
        const double r = evaluateToNumber(right);
        return evaluateToNumber(left) - r;
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

// Pass 1 scans horizontal lines (refining in x), pass 2 vertical lines (refining in y).
void scanEquation(Surface& surface, const Equation& f) {
    const ViewLimits v = viewLimits;
    // Once a sample had no value (a refused or stopped evaluation), no crossing can be trusted.
    evaluationIncomplete = 0;
    const auto dot = [&](double x, double y) {
        if (evaluationIncomplete == 0) surface.setPixel(screenX(x), screenY(y), implicitColour);
    };
    const double spanX = v.xMax - v.xMin;
    const double spanY = v.yMax - v.yMin;
    sweep(v.yMin, v.yMax, spanY * fineFraction, [&](double y) {
        const double dx = spanX * coarseFraction;
        double previous = f.at(v.xMin, y);
        sweep(v.xMin + dx, v.xMax, dx, [&](double x) {
            const double current = f.at(x, y);
            if (signOf(current) != signOf(previous)) {
                refine(
                    x - dx, x, previous, [&](double m) { return f.at(m, y); }, [&](double m) { dot(m, y); });
            }
            previous = current;
        });
    });
    sweep(v.xMin, v.xMax, spanX * fineFraction, [&](double x) {
        const double dy = spanY * coarseFraction;
        double previous = f.at(x, v.yMin);
        sweep(v.yMin + dy, v.yMax, dy, [&](double y) {
            const double current = f.at(x, y);
            if (signOf(current) != signOf(previous)) {
                refine(
                    y - dy, y, previous, [&](double m) { return f.at(x, m); }, [&](double m) { dot(x, m); });
            }
            previous = current;
        });
    });
}

void drawEquation(int index) {
    if (waitCursorHook != nullptr) waitCursorHook();
    {
        const std::string task = std::string(plotSettings.implicitLeft[index].view()) + " = " +
                                 std::string(plotSettings.implicitRight[index].view());
        workProgress.task = task.c_str();
        const ExpListPtr left = compileExpression(plotSettings.implicitLeft[index].view());
        const ExpListPtr right = compileExpression(plotSettings.implicitRight[index].view());
        const Equation equation{left, right, findOrCreateVariable("x"), findOrCreateVariable("y")};
        Surface surface;
        scanEquation(surface, equation);
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

} // namespace

void setCursorHooks(void (*showWait)(), void (*showCross)()) {
    waitCursorHook = showWait;
    crossCursorHook = showCross;
}

void plotImplicit() {
    addToPicture(plotImplicit);
    const PlotSettings& s = plotSettings;
    const EvaluationSession session; // Stop ends both curves
    for (int index = 0; index < 2 && sidesFilled(s.implicitLeft[index], s.implicitRight[index]); ++index) {
        drawEquation(index);
    }
}

void plotInequalities() {
    addToPicture(plotInequalities);
    const int count = inequalityCount();
    if (count == 0) return;
    const EvaluationSession session;
    workProgress.task = "Inequality region";
    std::array<Equation, 3> sides{};
    for (int i = 0; i < count; ++i) {
        sides[i].left = compileExpression(plotSettings.inequalityLeft[i].view());
        sides[i].right = compileExpression(plotSettings.inequalityRight[i].view());
    }
    Variable* x = findOrCreateVariable("x");
    Variable* y = findOrCreateVariable("y");
    const ViewLimits v = viewLimits;
    {
        Surface surface;
        sweep(v.yMin, v.yMax, (v.yMax - v.yMin) / latticePoints, [&](double yValue) {
            sweep(v.xMin, v.xMax, (v.xMax - v.xMin) / latticePoints, [&](double xValue) {
                setVariableValue(x, xValue);
                setVariableValue(y, yValue);
                evaluationIncomplete = 0;
                for (int i = 0; i < count; ++i) {
                    const double r = evaluateToNumber(sides[i].right);
                    if (!(evaluateToNumber(sides[i].left) - r > 0)) return;
                }
                if (evaluationIncomplete == 0) surface.dot(screenX(xValue), screenY(yValue), regionColour);
            });
        });
    }
    showCrossCursor();
}
