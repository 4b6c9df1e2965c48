#include "graph/shown_curves.h"

#include "expr/compiler.h"
#include "expr/expression_function.h"
#include "expr/five_point_derivative.h"
#include "graph/curves.h"
#include "graph/function_rows.h"
#include "graph/parametric_polar.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"

#include <algorithm>
#include <cmath>

namespace {

bool flagged(const std::array<std::int32_t, functionRowCount>& flags, int row) {
    return flags[static_cast<std::size_t>(row)] != 0;
}

bool isShown(CurveKind kind, int row) {
    switch (kind) {
    case CurveKind::Function:
        return displayFlags[row] != 0;
    case CurveKind::FirstDerivative:
        return flagged(plotSettings.firstDerivativeFlags, row);
    case CurveKind::SecondDerivative:
        return flagged(plotSettings.secondDerivativeFlags, row);
    case CurveKind::Polar:
        return flagged(plotSettings.polarFlags, row);
    case CurveKind::Parametric:
        break;
    }
    return plotSettings.parametricShown != 0;
}

std::optional<WorldPoint> finitePoint(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    return WorldPoint{x, y};
}

} // namespace

std::vector<CurveId> shownCurves() {
    std::vector<CurveId> curves;
    forEachFunctionRow([&](const FunctionEntry&, int row) {
        for (CurveKind kind : {CurveKind::Function, CurveKind::FirstDerivative, CurveKind::SecondDerivative})
            if (isShown(kind, row)) curves.push_back({kind, row});
    });
    forEachFunctionRow([&](const FunctionEntry&, int row) {
        if (isShown(CurveKind::Polar, row)) curves.push_back({CurveKind::Polar, row});
    });
    if (isShown(CurveKind::Parametric, 0)) curves.push_back({CurveKind::Parametric, 0});
    return curves;
}

bool isExplicit(CurveKind kind) {
    return kind == CurveKind::Function || kind == CurveKind::FirstDerivative ||
           kind == CurveKind::SecondDerivative;
}

CompiledCurve::CompiledCurve(CurveId id) : id_(id) {
    if (id.kind == CurveKind::Parametric) {
        const std::optional<ParametricSetup> setup = prepareParametric();
        if (!setup || !isShown(id.kind, 0)) return;
        first_ = setup->x;
        second_ = setup->y;
        variable_ = setup->parameter;
        samples_ = parameterValues(setup->from, setup->to);
        name_ = parametricLabel();
        return;
    }
    forEachFunctionRow([&](const FunctionEntry& entry, int row) {
        if (row != id.row || !isShown(id.kind, row)) return;
        first_ = compileExpression(entry.bodyText);
        if (id.kind == CurveKind::Polar) {
            variable_ = findOrCreateVariable(polarAngleName());
            samples_ = polarAngles();
            name_ = functionLabel(entry);
            return;
        }
        variable_ = findOrCreateVariable("x");
        samples_ = columnValues();
        name_ = id.kind == CurveKind::Function
                    ? functionLabel(entry)
                    : derivativeLabel(entry, id.kind == CurveKind::FirstDerivative ? 1 : 2);
    });
    if (first_ == nullptr) samples_.clear();
}

double CompiledCurve::valueAt(const ExpListPtr& list, double place) const {
    return ExpressionFunction{*list, variable_}(place);
}

// Derivatives as the plotter computes them: the language's diff of the body, and diff of that.
std::optional<WorldPoint> CompiledCurve::pointAt(double place) const {
    if (samples_.empty()) return std::nullopt;
    switch (id_.kind) {
    case CurveKind::Function:
        return finitePoint(place, valueAt(first_, place));
    case CurveKind::FirstDerivative:
    case CurveKind::SecondDerivative: {
        Variable& x = *variable_;
        x.value = place;
        const auto value = [&] { return valueAt(first_, x.value); };
        const auto slope = [&] { return fivePointDerivative(x, value); };
        return finitePoint(place,
                           id_.kind == CurveKind::FirstDerivative ? slope() : fivePointDerivative(x, slope));
    }
    case CurveKind::Polar: {
        const double r = valueAt(first_, place);
        return finitePoint(r * std::cos(place), r * std::sin(place));
    }
    case CurveKind::Parametric:
        break;
    }
    const double y = valueAt(second_, place); // y before x, as the plotter evaluates them
    return finitePoint(valueAt(first_, place), y);
}

std::optional<CurvePoint> nearestPoint(const CompiledCurve& curve, QPoint pixel) {
    if (isExplicit(curve.id().kind)) {
        const double place = worldX(pixel.x());
        const std::optional<WorldPoint> point = curve.pointAt(place);
        if (!point) return std::nullopt;
        return CurvePoint{place, *point, std::fabs(static_cast<double>(screenY(point->y)) - pixel.y())};
    }
    std::optional<CurvePoint> nearest;
    for (double place : curve.samples()) {
        const std::optional<WorldPoint> point = curve.pointAt(place);
        if (!point) continue;
        const double distance = std::hypot(static_cast<double>(screenX(point->x)) - pixel.x(),
                                           static_cast<double>(screenY(point->y)) - pixel.y());
        if (!nearest || distance < nearest->distance) nearest = CurvePoint{place, *point, distance};
    }
    return nearest;
}

std::vector<NearCurve> curvesNear(const std::vector<CurveId>& curves, QPoint pixel) {
    std::vector<NearCurve> near;
    for (const CurveId id : curves) {
        CompiledCurve curve(id);
        std::optional<CurvePoint> at;
        {
            const SearchScope kept(curve.variable());
            at = nearestPoint(curve, pixel);
        }
        if (at) near.push_back({std::move(curve), *at});
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const NearCurve& a, const NearCurve& b) { return a.at.distance < b.at.distance; });
    return near;
}
