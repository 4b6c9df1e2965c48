#include "graph/axes.h"

#include "graph/appearance.h"
#include "graph/colours.h"
#include "graph/number_text.h"
#include "graph/readout_places.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <QRect>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

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

// Lines across the axis at every multiple of spacing, from `from` to `to` (excluded) along it.
void drawMarks(Surface& surface, const Axis& axis, Spacing spacing, bool xAxis, int from, int to) {
    const double first = std::floor(axis.min / spacing.unit);
    const double count = std::ceil(axis.max / spacing.unit) - first;
    for (int i = 0; i <= count && i <= maxMarks; ++i) {
        const int pos = axis.toPixel(spacing.at(first + i));
        if (xAxis) {
            surface.moveTo(pos, from);
            surface.lineTo(pos, to);
        } else {
            surface.moveTo(from, pos);
            surface.lineTo(to, pos);
        }
    }
}

void drawTicks(Surface& surface, const Axis& axis, Spacing spacing, int halfLength, bool xAxis, int axisPos) {
    drawMarks(surface, axis, spacing, xAxis, axisPos + halfLength, axisPos - halfLength);
}

// Lines across the whole area at the minor steps, then at the major ones over them.
void drawGrid(Surface& surface, const Axis& xAxis, const Axis& yAxis) {
    const double xStep = tickStep(xAxis.max - xAxis.min);
    const double yStep = tickStep(yAxis.max - yAxis.min);
    const ColourScheme& scheme = colours();
    const auto lines = [&](double scale, QRgb colour) {
        surface.setPen(colour);
        if (xStep > 0.0) drawMarks(surface, xAxis, Spacing(xStep * scale), true, graphView.height, -1);
        if (yStep > 0.0) drawMarks(surface, yAxis, Spacing(yStep * scale), false, 0, graphView.width);
    };
    if (appearance.grid == GridLines::MajorAndMinor) lines(0.1, scheme.minorGrid);
    lines(1.0, scheme.majorGrid);
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

// The edge labels' boxes go into `taken`, which the numbers of numbered axes keep clear of.
void drawXLabels(Surface& surface, const Axis& axis, Spacing minor, int axisRow, int width,
                 std::vector<QRect>& taken) {
    const double left = edgeMultiple(axis.min, minor, -1, [](double v) { return screenX(v) >= 0; });
    const double right = edgeMultiple(axis.max, minor, 1, [width](double v) { return screenX(v) <= width; });
    taken.push_back(surface.textOutInside(shiftedPixel(screenX(left), toDevice(3)), axisRow + toDevice(3),
                                          formatNumber("%5.2lf", left)));
    taken.push_back(surface.textOutInside(shiftedPixel(screenX(right), toDevice(-40)), axisRow + toDevice(3),
                                          formatNumber("%5.2lf", right)));
}

void drawYLabels(Surface& surface, const Axis& axis, Spacing minor, int axisColumn, int height,
                 std::vector<QRect>& taken) {
    const double bottom =
        edgeMultiple(axis.min, minor, -1, [height](double v) { return screenY(v) <= height; });
    const double top = edgeMultiple(axis.max, minor, 1, [](double v) { return screenY(v) >= 0; });
    taken.push_back(surface.textOutInside(axisColumn + toDevice(3), shiftedPixel(screenY(bottom), toDevice(-20)),
                                          formatNumber("%5.2lf", bottom)));
    taken.push_back(surface.textOutInside(axisColumn + toDevice(3), shiftedPixel(screenY(top), toDevice(3)),
                                          formatNumber("%5.2lf", top)));
}

// Where the number of the tick at pos goes: below the x axis (above it where the area ends
// first), left of the y axis (right of it where the area begins first).
QRect numberBox(QSize size, int pos, bool xAxis, int axisPos) {
    const int gap = toDevice(6);
    if (xAxis) {
        const int below = axisPos + gap;
        const int row = below + size.height() <= graphView.height ? below : axisPos - gap - size.height();
        return {QPoint(pos - size.width() / 2, row), size};
    }
    const int left = axisPos - gap - size.width();
    return {QPoint(left >= 0 ? left : axisPos + gap, pos - size.height() / 2), size};
}

// The ticks that carry numbers: the major ones, or the minor ones where the major ones would
// give fewer than two numbers (a span just over a power of ten, as equal scale makes on a wide
// area), so that no axis of a numbered picture goes without numbers.
Spacing numberSpacing(const Axis& axis, double majorStep) {
    const double first = std::ceil(axis.min / majorStep);
    const double last = std::floor(axis.max / majorStep);
    const double numbered = last - first + 1 - (first <= 0 && 0 <= last ? 1 : 0);
    return Spacing(numbered >= 2 ? majorStep : majorStep * 0.1);
}

// A number at every numbered tick inside the view but the origin's, skipping any that would cover
// an edge label or a number already placed, or that the area's edge would cut.
void drawNumbers(Surface& surface, const Axis& axis, Spacing major, bool xAxis, int axisPos,
                 std::vector<QRect>& taken) {
    const double first = std::ceil(axis.min / major.unit);
    const double count = std::floor(axis.max / major.unit) - first;
    for (int i = 0; i <= count && i <= maxMarks; ++i) {
        const double value = major.at(first + i) + 0.0;
        if (value == 0.0) continue;
        const std::string text = formatNumber("%g", value);
        const QRect box = numberBox(surface.textBox(text), axis.toPixel(value), xAxis, axisPos);
        const bool free = std::none_of(taken.begin(), taken.end(), [&](const QRect& t) { return t.intersects(box); });
        if (!free || !QRect(0, 0, graphView.width, graphView.height).contains(box)) continue;
        taken.push_back(box);
        reserveReadoutBox(box);
        surface.textOut(box.x(), box.y(), text);
    }
}

} // namespace

void clearGraph() {
    clearReadoutPlaces();
    Surface surface;
    const int width = graphView.width;
    const int height = graphView.height;
    const ColourScheme& scheme = colours();
    surface.setBrush(scheme.background);
    surface.rectangle(0, 0, width, height);
    const Axis xAxis{viewLimits.xMin, viewLimits.xMax, screenX};
    const Axis yAxis{viewLimits.yMin, viewLimits.yMax, screenY};
    if (appearance.grid != GridLines::None) drawGrid(surface, xAxis, yAxis);
    surface.setPen(scheme.axis);

    // Off-view origin: the axes stay at the top/left edge, at most 20 above the bottom and
    // 40 left of the right edge.
    const int axisRow = std::min(std::max(screenY(0.0), 0), height - toDevice(20));
    const int axisColumn = std::min(std::max(screenX(0.0), 0), width - toDevice(40));
    surface.moveTo(0, axisRow);
    surface.lineTo(width, axisRow);
    surface.moveTo(axisColumn, 0);
    surface.lineTo(axisColumn, height);

    surface.setTextColour(scheme.axis);
    surface.setBackgroundColour(scheme.background);
    surface.setBackgroundMode(BackgroundMode::Opaque);

    std::vector<QRect> taken;
    const double xStep = tickStep(xAxis.max - xAxis.min);
    if (xStep > 0.0) {
        drawTicks(surface, xAxis, Spacing(xStep), toDevice(4), true, axisRow);
        drawTicks(surface, xAxis, Spacing(xStep * 0.1), toDevice(2), true, axisRow);
        drawXLabels(surface, xAxis, Spacing(xStep * 0.1), axisRow, width, taken);
    }
    const double yStep = tickStep(yAxis.max - yAxis.min);
    if (yStep > 0.0) {
        drawTicks(surface, yAxis, Spacing(yStep), toDevice(4), false, axisColumn);
        drawTicks(surface, yAxis, Spacing(yStep * 0.1), toDevice(2), false, axisColumn);
        drawYLabels(surface, yAxis, Spacing(yStep * 0.1), axisColumn, height, taken);
    }
    if (!appearance.numberedAxes) return;
    if (xStep > 0.0) drawNumbers(surface, xAxis, numberSpacing(xAxis, xStep), true, axisRow, taken);
    if (yStep > 0.0) drawNumbers(surface, yAxis, numberSpacing(yAxis, yStep), false, axisColumn, taken);
}
