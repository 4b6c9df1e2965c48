#include "graph/view_model.h"

#include "expr/evaluator.h"
#include "graph/appearance.h"
#include "graph/view_state.h"

#include <cmath>

namespace {

ViewLimits& currentLimits = viewState.limits;
GraphView& currentView = viewState.view;

// The running integral "int" steps by one pixel column, so its step changes with the pixel width.
void setPixelWidth(double width) {
    currentView.pixelWidth = width;
    integralStep = width;
}

void updatePixelWidth() {
    setPixelWidth(currentView.width > 0 ? (currentLimits.xMax - currentLimits.xMin) / currentView.width
                                        : 0.0);
}

} // namespace

const ViewLimits& viewLimits = currentLimits;
const GraphView& graphView = currentView;

ViewLimits equalScaled(const ViewLimits& limits) {
    const double width = currentView.width;
    const double height = currentView.height;
    const double spanX = limits.xMax - limits.xMin;
    const double spanY = limits.yMax - limits.yMin;
    const auto usable = [](double v) { return v > 0.0 && std::isfinite(v); };
    if (!appearance.equalScale || !usable(width) || !usable(height) || !usable(spanX) || !usable(spanY))
        return limits;
    ViewLimits scaled = limits;
    const auto widen = [](double& min, double& max, double span) {
        const double middle = min * 0.5 + max * 0.5;
        min = middle - span * 0.5;
        max = middle + span * 0.5;
    };
    const double perColumn = spanX / width;
    const double perRow = spanY / height;
    if (perColumn < perRow) widen(scaled.xMin, scaled.xMax, perRow * width);
    if (perRow < perColumn) widen(scaled.yMin, scaled.yMax, perColumn * height);
    return scaled;
}

void setViewLimits(const ViewLimits& limits) {
    currentLimits = equalScaled(limits);
    updatePixelWidth();
}

void resizeArea(int width, int height) {
    currentView.width = width > 0 ? width : 0;
    currentView.height = height > 0 ? height : 0;
    currentLimits = equalScaled(currentLimits);
    updatePixelWidth();
}

void resizeView(int width, int height) {
    resizeArea(width, height);
    currentLimits = equalScaled(factoryLimits);
    setPixelWidth(currentView.width > 0 ? worldX(2) - worldX(1) : 0.0);
}

ScopedAreaNumbers::ScopedAreaNumbers() : saved_(currentView), savedIntegralStep_(integralStep) {}

ScopedAreaNumbers::~ScopedAreaNumbers() {
    currentView = saved_;
    integralStep = savedIntegralStep_;
}

DeviceView::DeviceView(int ratio) {
    if (ratio < 1 || ratio == currentView.ratio) return;
    currentView.width = currentView.width / currentView.ratio * ratio;
    currentView.height = currentView.height / currentView.ratio * ratio;
    currentView.ratio = ratio;
    updatePixelWidth();
}

ResizedView::ResizedView(int width, int height) {
    currentView.width = width > 0 ? width : 0;
    currentView.height = height > 0 ? height : 0;
    updatePixelWidth();
}

double tickStep(double span) {
    if (!(span > 0.0) || !std::isfinite(span)) return 0.0;
    // Both searches end: powers of ten overflow to infinity upwards and underflow to 0 downwards.
    int n = 0;
    if (span > 1.0) {
        while (std::pow(10.0, n + 1) < span)
            ++n;
    } else {
        while (std::pow(10.0, n) > span)
            --n;
    }
    return std::pow(10.0, n);
}

void zoomView(double factor) {
    ViewLimits v = currentLimits;
    const double midX = (v.xMax + v.xMin) * 0.5;
    v.xMin = (v.xMin - midX) * factor + midX;
    v.xMax = (v.xMax - midX) * factor + midX;
    const double midY = (v.yMax + v.yMin) * 0.5;
    v.yMin = (v.yMin - midY) * factor + midY;
    v.yMax = (v.yMax - midY) * factor + midY;
    setViewLimits(v);
}

void zoomAt(int column, int row, double factor) {
    const double cx = worldX(column);
    const double cy = worldY(row);
    const double hx = (currentLimits.xMax - currentLimits.xMin) * 0.5 * factor;
    const double hy = (currentLimits.yMax - currentLimits.yMin) * 0.5 * factor;
    setViewLimits({cx - hx, cx + hx, cy - hy, cy + hy});
}

void centreAt(int column, int row) {
    zoomAt(column, row, 1.0);
}

void panView(PanDirection direction) {
    ViewLimits v = currentLimits;
    const double dx = (v.xMax - v.xMin) * 0.5;
    const double dy = (v.yMax - v.yMin) * 0.5;
    switch (direction) {
    case PanDirection::Left:
        v.xMin -= dx;
        v.xMax -= dx;
        break;
    case PanDirection::Right:
        v.xMin += dx;
        v.xMax += dx;
        break;
    case PanDirection::Up:
        v.yMin += dy;
        v.yMax += dy;
        break;
    case PanDirection::Down:
        v.yMin -= dy;
        v.yMax -= dy;
        break;
    }
    setViewLimits(v);
}
