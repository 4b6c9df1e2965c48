// The world rectangle shown by the graph area, the area's geometry, and the conversions between them.
// Plain C++: the document code and its tests use this without Qt.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <limits>

struct ViewLimits {
    double xMin;
    double xMax;
    double yMin;
    double yMax;
};

inline constexpr ViewLimits factoryLimits{-5.0, 5.0, -5.0, 5.0};

struct GraphView {
    std::int32_t width = 0;
    std::int32_t height = 0;
    // World width of one pixel column; also the step of the running integral "int".
    double pixelWidth = 0.0;
    // Device pixels per logical pixel: above 1 only while a DeviceView lives, and then width,
    // height and pixelWidth count device pixels.
    std::int32_t ratio = 1;
};

// Read-only views of the one instance of each. Writes go through setViewLimits, resizeView and resizeArea so
// that pixelWidth (and the evaluator's integral step) can never fall out of step with the limits.
extern const ViewLimits& viewLimits;
extern const GraphView& graphView;

// Any four numbers are accepted, as the Set Limits dialog and documents may hand them over;
// the conversions and clearGraph stay defined for empty, reversed or non-finite spans. With the
// appearance's equal scale on, the shorter range is widened about its centre first.
void setViewLimits(const ViewLimits& limits);
// The limits as equal scale shows them in the current area: unchanged when it is off or when a
// span or a side of the area is not a positive finite number.
ViewLimits equalScaled(const ViewLimits& limits);

// The area's first size change: takes the new area size (negative sizes count as 0) and resets
// to factoryLimits (widened as equalScaled widens them).
void resizeView(int width, int height);
// A later size change: the new area size under the same limits (widened as equalScaled widens
// them), so a resize keeps the user's view.
void resizeArea(int width, int height);

// While one of the views below lives, the area counts other pixels under the same limits; its
// end restores the area's numbers (and the integral step that follows them) exactly.
class ScopedAreaNumbers {
  public:
    ScopedAreaNumbers(const ScopedAreaNumbers&) = delete;
    ScopedAreaNumbers& operator=(const ScopedAreaNumbers&) = delete;

  protected:
    ScopedAreaNumbers();
    ~ScopedAreaNumbers();

  private:
    GraphView saved_;
    double savedIntegralStep_;
};

// The area counts device pixels of an image with `ratio` device pixels per logical pixel, so the
// plotters sample, convert and draw at device resolution. Nested views of the same ratio change
// nothing.
class DeviceView : ScopedAreaNumbers {
  public:
    explicit DeviceView(int ratio);
};

// The area is `width` x `height` pixels, as a printed page lays the picture out.
class ResizedView : ScopedAreaNumbers {
  public:
    ResizedView(int width, int height);
};

// A length in logical pixels (tick lengths, label offsets, a pixel the mouse gave) in the
// pixels the area currently counts; saturates at the int range.
inline int toDevice(int logical) {
    const long long device = static_cast<long long>(logical) * graphView.ratio;
    return static_cast<int>(std::clamp<long long>(device, INT_MIN, INT_MAX));
}

// Pixel rows and columns beyond the int range (and those of non-finite values) are clamped to
// +-pixelLimit; the surface clips any int position. Not-a-number gives -pixelLimit.
inline constexpr int pixelLimit = std::numeric_limits<std::int32_t>::max();

// A pixel position moved by a layout offset, held within +-pixelLimit.
inline int shiftedPixel(int pixel, int offset) {
    const long long moved = static_cast<long long>(pixel) + offset;
    return static_cast<int>(moved > pixelLimit ? pixelLimit : moved < -pixelLimit ? -pixelLimit : moved);
}

// Conversions, inline because the plotters call them once per sample.
namespace view_detail {
// Truncation toward zero, with every value that has no int row or column mapped into +-pixelLimit.
inline int toPixel(double value) {
    if (!(value > -pixelLimit)) return -pixelLimit; // also not-a-number
    if (value >= pixelLimit) return pixelLimit;
    return static_cast<int>(value);
}
} // namespace view_detail

inline double worldX(int column) {
    return viewLimits.xMin + (viewLimits.xMax - viewLimits.xMin) * column / graphView.width;
}
inline double worldY(int row) {
    return viewLimits.yMax + (viewLimits.yMin - viewLimits.yMax) * row / graphView.height;
}
inline int screenX(double x) {
    return view_detail::toPixel((x - viewLimits.xMin) * graphView.width /
                                (viewLimits.xMax - viewLimits.xMin));
}
// The numbers screenY works with, read once by a sample loop (evaluations never change the view).
struct RowScale {
    double yMin;
    double span;
    double height;

    int operator()(double y) const { return view_detail::toPixel(height - (y - yMin) / span * height); }
};
inline RowScale rowScale() {
    return {viewLimits.yMin, viewLimits.yMax - viewLimits.yMin, static_cast<double>(graphView.height)};
}
inline int screenY(double y) {
    return rowScale()(y);
}

// Largest power of ten strictly below span (span > 1) or not above it (span <= 1).
// Returns 0 for a span that is not a positive finite number.
double tickStep(double span);

void zoomView(double factor);
void zoomAt(int column, int row, double factor);
void centreAt(int column, int row);

enum class PanDirection { Left, Right, Up, Down };
void panView(PanDirection direction);
