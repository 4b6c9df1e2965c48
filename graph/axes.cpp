#include "graph/axes.h"

#include "graph/number_text.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <algorithm>
#include <cmath>

namespace {

// The span of one axis with its conversion, so that x and y share the tick and label code.
struct Axis {
    double min;
    double max;
    int (*toPixel)(double);
};

// The multiples k * unit of a tick spacing. Below 1 they are computed as k / (1 / unit), which
// gives the double nearest to the decimal value (k * 0.01 would make 100 * 0.01 miss 1.0).
struct Spacing {
    double unit;
    double inverse;

    explicit Spacing(double unitValue) : unit(unitValue), inverse(0.0) {
        const double reciprocal = 1.0 / unitValue;
        if (unitValue < 1.0 && std::isfinite(reciprocal)) inverse = std::round(reciprocal);
    }
    double at(double k) const { return inverse > 0.0 ? k / inverse : k * unit; }
};

// Generous bound on the multiples walked per axis: a span holds at most about 100 minor steps.
constexpr int maxMarks = 1000;

void drawMarks(Surface& surface, const Axis& axis, Spacing spacing, int halfLength, bool xAxis, int axisPos) {
    const double first = std::floor(axis.min / spacing.unit);
    const double count = std::ceil(axis.max / spacing.unit) - first;
    for (int i = 0; i <= count && i <= maxMarks; ++i) {
        const int pos = axis.toPixel(spacing.at(first + i));
        if (xAxis) {
            surface.moveTo(pos, axisPos + halfLength);
            surface.lineTo(pos, axisPos - halfLength);
        } else {
            surface.moveTo(axisPos + halfLength, pos);
            surface.lineTo(axisPos - halfLength, pos);
        }
    }
}

// The outermost multiple of spacing that still satisfies `inside`, found by walking from the
// multiple nearest to `from` in direction `outward` (-1 or +1); a bounded walk.
template <typename Inside> double edgeMultiple(double from, Spacing spacing, int outward, Inside inside) {
    double k = std::round(from / spacing.unit);
    for (int i = 0; i < maxMarks && inside(spacing.at(k + outward)); ++i)
        k += outward;
    for (int i = 0; i < maxMarks && !inside(spacing.at(k)); ++i)
        k -= outward;
    // A 0 reached from below is -0, which would print as "-0.00".
    return spacing.at(k) + 0.0;
}

void drawXLabels(Surface& surface, const Axis& axis, Spacing minor, int axisRow, int width) {
    const double left = edgeMultiple(axis.min, minor, -1, [](double v) { return screenX(v) >= 0; });
    const double right = edgeMultiple(axis.max, minor, 1, [width](double v) { return screenX(v) <= width; });
    surface.textOutInside(shiftedPixel(screenX(left), toDevice(3)), axisRow + toDevice(3),
                          formatNumber("%5.2lf", left));
    surface.textOutInside(shiftedPixel(screenX(right), toDevice(-40)), axisRow + toDevice(3),
                          formatNumber("%5.2lf", right));
}

void drawYLabels(Surface& surface, const Axis& axis, Spacing minor, int axisColumn, int height) {
    const double bottom =
        edgeMultiple(axis.min, minor, -1, [height](double v) { return screenY(v) <= height; });
    const double top = edgeMultiple(axis.max, minor, 1, [](double v) { return screenY(v) >= 0; });
    surface.textOutInside(axisColumn + toDevice(3), shiftedPixel(screenY(bottom), toDevice(-20)),
                          formatNumber("%5.2lf", bottom));
    surface.textOutInside(axisColumn + toDevice(3), shiftedPixel(screenY(top), toDevice(3)),
                          formatNumber("%5.2lf", top));
}

} // namespace

// The surface comes first: on a high-density image it makes the view count device pixels.
void clearGraph() {
    Surface surface;
    const int width = graphView.width;
    const int height = graphView.height;
    surface.setBrush(backgroundColour);
    surface.rectangle(0, 0, width, height);
    surface.setPen(axisColour);

    // Off-view origin: the axes stay at the top/left edge, at most 20 above the bottom and
    // 40 left of the right edge.
    const int axisRow = std::min(std::max(screenY(0.0), 0), height - toDevice(20));
    const int axisColumn = std::min(std::max(screenX(0.0), 0), width - toDevice(40));
    surface.moveTo(0, axisRow);
    surface.lineTo(width, axisRow);
    surface.moveTo(axisColumn, 0);
    surface.lineTo(axisColumn, height);

    surface.setTextColour(axisColour);
    surface.setBackgroundColour(backgroundColour);
    surface.setBackgroundMode(BackgroundMode::Opaque);

    const Axis xAxis{viewLimits.xMin, viewLimits.xMax, screenX};
    const double xStep = tickStep(xAxis.max - xAxis.min);
    if (xStep > 0.0) {
        drawMarks(surface, xAxis, Spacing(xStep), toDevice(4), true, axisRow);
        drawMarks(surface, xAxis, Spacing(xStep * 0.1), toDevice(2), true, axisRow);
        drawXLabels(surface, xAxis, Spacing(xStep * 0.1), axisRow, width);
    }
    const Axis yAxis{viewLimits.yMin, viewLimits.yMax, screenY};
    const double yStep = tickStep(yAxis.max - yAxis.min);
    if (yStep > 0.0) {
        drawMarks(surface, yAxis, Spacing(yStep), toDevice(4), false, axisColumn);
        drawMarks(surface, yAxis, Spacing(yStep * 0.1), toDevice(2), false, axisColumn);
        drawYLabels(surface, yAxis, Spacing(yStep * 0.1), axisColumn, height);
    }
}
