#include "shell/explore_here.h"

#include "expr/compiler.h"
#include "expr/curve_numerics.h"
#include "expr/expression_function.h"
#include "expr/message_hook.h"
#include "graph/curves.h"
#include "graph/explore_marks.h"
#include "graph/function_rows.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

struct Curve {
    ExpListPtr list;
    int row = 0;
    double distance = 0.0; // in pixel rows from the popup point
};

// The ticked rows whose value at the popup column is a number, nearest the popup point first.
std::vector<Curve> curvesByDistance(Variable* x) {
    std::vector<Curve> curves;
    const double column = worldX(plotSettings.popupPoint.x);
    forEachFunctionRow([&](const FunctionEntry& entry, int row) {
        if (displayFlags[row] == 0) return;
        ExpListPtr list = compileExpression(entry.bodyText);
        const double y = ExpressionFunction{*list, x}(column);
        if (std::isnan(y)) return;
        const double distance = std::fabs(static_cast<double>(screenY(y)) - plotSettings.popupPoint.y);
        curves.push_back({std::move(list), row, distance});
    });
    std::stable_sort(curves.begin(), curves.end(),
                     [](const Curve& a, const Curve& b) { return a.distance < b.distance; });
    return curves;
}

// The root of the list nearest the popup column, or the message that says why there is none.
struct Found {
    std::optional<double> x;
    const char* failure = "";
};

Found rootNearPointer(RealFunction f) {
    const RootSearch search =
        findRoots(f, viewLimits.xMin, viewLimits.xMax, std::numeric_limits<std::size_t>::max());
    if (search.flat) return {std::nullopt, "The curve is zero all across the view."};
    if (search.roots.empty())
        return {std::nullopt, search.signChangeRefused
                                  ? "No root in view: the sign changes only at a pole or a jump."
                                  : "No root in view."};
    const double pointer = worldX(plotSettings.popupPoint.x);
    double best = search.roots.front();
    for (double root : search.roots)
        if (std::fabs(root - pointer) < std::fabs(best - pointer)) best = root;
    return {best};
}

Found extremumNearPointer(RealFunction f, bool isMinimum) {
    const double pointer = worldX(plotSettings.popupPoint.x);
    const Extremum e = isMinimum ? findMinimumNear(f, viewLimits.xMin, viewLimits.xMax, pointer)
                                 : findMaximumNear(f, viewLimits.xMin, viewLimits.xMax, pointer);
    switch (e.outcome) {
    case ExtremumOutcome::found:
        return {e.x};
    case ExtremumOutcome::flat:
        return {std::nullopt, "The curve is flat across the view."};
    case ExtremumOutcome::unbounded:
        return {std::nullopt, "The curve runs off to infinity there (a pole)."};
    case ExtremumOutcome::atEnd:
        return {std::nullopt, isMinimum
                                  ? "No minimum in view near the pointer: the curve falls to the edge."
                                  : "No maximum in view near the pointer: the curve rises to the edge."};
    case ExtremumOutcome::noValue:
        break;
    }
    return {std::nullopt, "The curve has no value at the pointer."};
}

const char* captionOf(Command id) {
    switch (id) {
    case Command::RootHere:
        return "Root here";
    case Command::MinimumHere:
        return "Minimum here";
    case Command::MaximumHere:
        return "Maximum here";
    default:
        return "Intersection here";
    }
}

Found find(Command id, const std::vector<Curve>& curves, Variable* x) {
    if (curves.empty()) return {std::nullopt, "No curve near the pointer."};
    const ExpressionFunction f{*curves[0].list, x};
    if (id == Command::RootHere) return rootNearPointer(f);
    if (id != Command::IntersectionHere) return extremumNearPointer(f, id == Command::MinimumHere);
    if (curves.size() < 2) return {std::nullopt, "No other curve to meet."};
    const ExpressionFunction g{*curves[1].list, x};
    const Found meeting = rootNearPointer([&](double v) { return f(v) - g(v); });
    return meeting.x ? meeting : Found{std::nullopt, "The two curves do not meet in view."};
}

} // namespace

bool runFindCommand(Command id) {
    if (id != Command::RootHere && id != Command::MinimumHere && id != Command::MaximumHere &&
        id != Command::IntersectionHere)
        return false;
    Variable* x = findOrCreateVariable("x");
    Found found;
    {
        const SearchScope scope(x);
        const std::vector<Curve> curves = curvesByDistance(x);
        found = find(id, curves, x);
        if (scope.stopped()) return true; // the user knows why nothing is marked
        if (found.x)
            addExploreMark(
                {*found.x, ExpressionFunction{*curves[0].list, x}(*found.x), rowColour(curves[0].row)});
    }
    if (!found.x) showMessage(captionOf(id), found.failure, messageIconNone);
    return true;
}
