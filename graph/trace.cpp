#include "graph/trace.h"

#include "expr/expression_function.h"
#include "graph/colours.h"
#include "graph/picture_state.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr int markerArm = 4;

std::optional<TraceMarker>& marker = pictureState.traceMarker;

bool shown(CurveId id) {
    const std::vector<CurveId> curves = shownCurves();
    return std::find(curves.begin(), curves.end(), id) != curves.end();
}

bool inView(const WorldPoint& point) {
    const int column = screenX(point.x);
    const int row = screenY(point.y);
    return column >= 0 && column < graphView.width && row >= 0 && row < graphView.height;
}

// The sample of an explicit curve nearest the column that has a value, looking both ways.
std::optional<double> nearestValuedColumn(const CompiledCurve& curve, int column) {
    const std::vector<double>& samples = curve.samples();
    if (samples.empty()) return std::nullopt;
    const long long last = static_cast<long long>(samples.size()) - 1;
    const long long start = std::clamp<long long>(column, 0, last);
    for (long long d = 0; d <= last; ++d)
        for (long long k : {start + d, start - d})
            if (k >= 0 && k <= last && curve.pointAt(samples[static_cast<std::size_t>(k)]))
                return samples[static_cast<std::size_t>(k)];
    return std::nullopt;
}

// The marker's pixel, or the middle of the area (in the marker's column on an explicit graph)
// where its curve has no value.
QPoint markerPixel(const CompiledCurve& curve, double place) {
    if (const std::optional<WorldPoint> point = curve.pointAt(place))
        return {screenX(point->x), screenY(point->y)};
    return {isExplicit(curve.id().kind) ? screenX(place) : graphView.width / 2, graphView.height / 2};
}

// The place on the curve nearest the pixel; on an explicit graph without a value in that column,
// the nearest column with one.
std::optional<double> placeNear(const CompiledCurve& curve, QPoint pixel) {
    if (const std::optional<CurvePoint> at = nearestPoint(curve, pixel)) return at->place;
    if (isExplicit(curve.id().kind)) return nearestValuedColumn(curve, pixel.x());
    return std::nullopt;
}

} // namespace

bool startTrace(QPoint pixel) {
    const DeviceView device(drawingRatio()); // columns and steps as the plotters count them
    for (const NearCurve& near : curvesNear(shownCurves(), {toDevice(pixel.x()), toDevice(pixel.y())})) {
        if (!inView(near.at.point)) continue;
        marker = TraceMarker{near.curve.id(), near.at.place};
        return true;
    }
    return false;
}

void endTrace() {
    marker.reset();
}

bool isTracing() {
    return marker.has_value();
}

void moveTrace(int direction) {
    if (!marker || (direction != 1 && direction != -1)) return;
    const DeviceView device(drawingRatio());
    const CompiledCurve curve(marker->curve);
    const std::vector<double>& samples = curve.samples();
    if (samples.empty()) return;
    const SearchScope search(curve.variable());
    // Samples run the other way on an explicit graph whose view is reversed.
    const double order = samples.front() <= samples.back() ? 1.0 : -1.0;
    const double place = marker->place;
    // From the end behind the move, every sample once: the first beyond the marker with a value.
    std::size_t k = direction > 0 ? 0 : samples.size() - 1;
    for (std::size_t n = 0; n < samples.size(); ++n, k += static_cast<std::size_t>(direction)) {
        if (direction * order * (samples[k] - place) > 0 && curve.pointAt(samples[k])) {
            marker->place = samples[k];
            return;
        }
    }
}

void switchTraceCurve(int direction) {
    if (!marker) return;
    const EvaluationSession session; // one Stop ends the look at every curve
    const DeviceView device(drawingRatio());
    const std::vector<CurveId> curves = shownCurves();
    const auto found = std::find(curves.begin(), curves.end(), marker->curve);
    if (found == curves.end()) return;
    QPoint pixel;
    {
        const CompiledCurve current(marker->curve);
        const SearchScope search(current.variable());
        pixel = markerPixel(current, marker->place);
    }
    const long long count = static_cast<long long>(curves.size());
    const long long index = found - curves.begin();
    for (long long step = 1; step <= count; ++step) {
        const CurveId id =
            curves[static_cast<std::size_t>(((index + direction * step) % count + count) % count)];
        const CompiledCurve candidate(id);
        const SearchScope search(candidate.variable());
        if (const std::optional<double> place = placeNear(candidate, pixel)) {
            marker = TraceMarker{id, *place};
            return;
        }
    }
}

std::optional<TraceReadout> traceReadout() {
    if (!marker || !shown(marker->curve)) return std::nullopt;
    const DeviceView device(drawingRatio());
    const CompiledCurve curve(marker->curve);
    const SearchScope search(curve.variable());
    return TraceReadout{marker->curve, curve.name(), marker->place, curve.pointAt(marker->place)};
}

// A small square around the point; the curve shows through its middle.
void drawTraceMarker() {
    if (!marker) return;
    Surface surface;
    const CompiledCurve curve(marker->curve);
    const SearchScope search(curve.variable());
    const std::optional<WorldPoint> point = curve.pointAt(marker->place);
    if (!point) return;
    const int column = screenX(point->x);
    const int row = screenY(point->y);
    const int arm = toDevice(markerArm);
    const int left = shiftedPixel(column, -arm);
    const int right = shiftedPixel(column, arm);
    const int top = shiftedPixel(row, -arm);
    const int bottom = shiftedPixel(row, arm);
    surface.setPen(colours().traceMarker);
    surface.moveTo(left, top);
    surface.lineTo(right, top);
    surface.lineTo(right, bottom);
    surface.lineTo(left, bottom);
    surface.lineTo(left, top);
}
