#include "graph/curve_breaks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Neighbouring samples of a smooth curve in a view of ordinary size lie a few pixels apart;
// a longer step is looked into.
constexpr int smoothStep = 2;

} // namespace

CurvePoint curvePoint(double t, double x, double y) {
    const double column = (x - viewLimits.xMin) * graphView.width / (viewLimits.xMax - viewLimits.xMin);
    const RowScale toRow = rowScale();
    return {t, column, toRow.height - (y - toRow.yMin) / toRow.span * toRow.height};
}

QPoint pixelOf(const CurvePoint& point) {
    return {view_detail::toPixel(point.column), view_detail::toPixel(point.row)};
}

QPointF exactOf(const CurvePoint& point) {
    if (!hasPlace(point)) return QPointF(pixelOf(point)) + QPointF(0.5, 0.5);
    const auto held = [](double v) {
        constexpr double limit = pixelLimit;
        return std::clamp(v, -limit, limit);
    };
    return {held(point.column) + 0.5, held(point.row) + 0.5};
}

bool hasPlace(const CurvePoint& point) {
    return std::isfinite(point.column) && std::isfinite(point.row);
}

double pixelDistance(const CurvePoint& a, const CurvePoint& b) {
    return std::max(std::abs(a.column - b.column), std::abs(a.row - b.row));
}

bool mayBreak(const CurvePoint& a, const CurvePoint& b) {
    return !hasPlace(a) || !hasPlace(b) || pixelDistance(a, b) > toDevice(smoothStep);
}

double BetweenSamples::failedValue() {
    return std::numeric_limits<double>::quiet_NaN();
}
