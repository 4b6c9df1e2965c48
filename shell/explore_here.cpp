#include "shell/explore_here.h"

#include "expr/curve_numerics.h"
#include "expr/expression_function.h"
#include "expr/message_hook.h"
#include "graph/curves.h"
#include "graph/explore_marks.h"
#include "graph/plot_settings.h"
#include "graph/shown_curves.h"
#include "graph/view_model.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

// The shown explicit graphs of the function rows with a value at the popup column, nearest the
// popup point first.
std::vector<NearCurve> functionCurvesNear() {
    std::vector<CurveId> rows = shownCurves();
    std::erase_if(rows, [](const CurveId& id) { return id.kind != CurveKind::Function; });
    return curvesNear(rows, {plotSettings.popupPoint.x, plotSettings.popupPoint.y});
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

Found find(Command id, const std::vector<NearCurve>& curves, Variable* x) {
    if (curves.empty()) return {std::nullopt, "No curve near the pointer."};
    const ExpressionFunction f{curves[0].curve.body(), x};
    if (id == Command::RootHere) return rootNearPointer(f);
    if (id != Command::IntersectionHere) return extremumNearPointer(f, id == Command::MinimumHere);
    if (curves.size() < 2) return {std::nullopt, "No other curve to meet."};
    const ExpressionFunction g{curves[1].curve.body(), x};
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
        const std::vector<NearCurve> curves = functionCurvesNear();
        found = find(id, curves, x);
        if (scope.stopped()) return true; // the user knows why nothing is marked
        if (found.x)
            addExploreMark({*found.x, ExpressionFunction{curves[0].curve.body(), x}(*found.x),
                            rowColour(curves[0].curve.id().row)});
    }
    if (!found.x) showMessage(captionOf(id), found.failure, messageIconNone);
    return true;
}

int rowNearestPopupPoint() {
    const SearchScope scope(findOrCreateVariable("x"));
    const std::vector<NearCurve> curves = functionCurvesNear();
    return curves.empty() || scope.stopped() ? -1 : curves.front().curve.id().row;
}
