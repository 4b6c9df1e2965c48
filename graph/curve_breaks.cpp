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
