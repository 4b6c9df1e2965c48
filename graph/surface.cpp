#include "graph/surface.h"

#include "graph/appearance.h"
#include "graph/readout_places.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <QTextLayout>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

namespace {

QImage* targetImage = nullptr;
QPainter* targetPainter = nullptr;
void (*releaseHook)() = nullptr;
std::vector<TextDraw>* textLog = nullptr;

// Unhinted, unsmoothed text, so that a label covers the same pixels on every run.
QFont defaultFont() {
    QFont font;
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The clipped part of one line: `steps` pixels from pixel `index`, whose minor coordinate is
// `minor`; the midpoint rule's remainder moves the minor coordinate on as it passes 2n.
struct LineWalk {
    long long steps;
    long long index;
    long long minor;
    long long minorDir;
    long long minorLimit;
    long long majorStep;
    long long minorStep;
    long long remainder;
    long long minorSpan;
    long long n;
};

// Pixels whose minor coordinate leaves the image are skipped, never addressed.
template <typename Paint> void walkLine(LineWalk w, Paint paint) {
    const long long twiceN = 2 * w.n;
    const long long twiceMinorSpan = 2 * w.minorSpan;
    for (long long k = 0; k < w.steps; ++k) {
        if (static_cast<unsigned long long>(w.minor) < static_cast<unsigned long long>(w.minorLimit))
            paint(w.index);
        w.index += w.majorStep;
        w.remainder += twiceMinorSpan;
        if (w.remainder >= twiceN) {
            w.remainder -= twiceN;
            w.minor += w.minorDir;
            w.index += w.minorStep;
        }
    }
}

// Hands `draw` the pen's operation on one pixel index: a copy of the pen, or in XOR mode an
// exclusive or with it. Choosing once per figure keeps the mode test out of the pixel loops, and
// a copy only stores, so it never waits for the pixel to be read.
template <typename Draw> void paintWithPen(QRgb* pixels, QRgb pen, bool xorMode, Draw draw) {
    if (xorMode) {
        const QRgb mask = pen & RGB_MASK;
        draw([pixels, mask](long long index) { pixels[index] ^= mask; });
    } else {
        const QRgb colour = pen | ~RGB_MASK;
        draw([pixels, colour](long long index) { pixels[index] = colour; });
    }
}

int imageRatio(const QImage& image) {
    return std::clamp(qRound(image.devicePixelRatio()), 1, 4);
}

} // namespace

void setGraphImage(QImage* image) {
    clearReadoutPlaces();
    targetImage = image;
}
QImage* graphImage() {
    return targetImage;
}
int drawingRatio() {
    return targetPainter == nullptr && targetImage != nullptr ? imageRatio(*targetImage) : 1;
}
void setSurfaceReleaseHook(void (*hook)()) {
    releaseHook = hook;
}
void setTextLog(std::vector<TextDraw>* log) {
    textLog = log;
}
void setPainterTarget(QPainter* painter) {
    clearReadoutPlaces();
    targetPainter = painter;
}

Surface::Surface() : image_(targetImage), painter_(targetPainter) {
    if (painter_ != nullptr) image_ = nullptr;
    if (image_ == nullptr || image_->isNull() || image_->depth() != 32 || imageRatio(*image_) != graphView.ratio) {
        image_ = nullptr;
        return;
    }
    pixels_ = reinterpret_cast<QRgb*>(image_->bits());
    stride_ = image_->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    width_ = image_->width();
    height_ = image_->height();
    ratio_ = imageRatio(*image_);
}

Surface::~Surface() {
    if (painter_ != nullptr || image_ != nullptr) flushVectors();
    if (releaseHook != nullptr) releaseHook();
}

void Surface::drawPolyline(QPainter& painter) const {
    const bool smoothed = painter.testRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::Antialiasing, polylineSmooth_);
    painter.setPen(QPen(QColor(polylinePen_), polylineWidth_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPolyline(polyline_.data(), static_cast<int>(polyline_.size()));
    painter.setRenderHint(QPainter::Antialiasing, smoothed);
}

// The shaded band, the open polyline, then the gathered dots, so that later figures stay on top.
// On the image the painter counts device pixels, as the surface does.
void Surface::flushVectors() {
    if (painter_ == nullptr) {
        if (polyline_.size() > 1 && image_ != nullptr) {
            QPainter painter(image_);
            painter.setWorldTransform(QTransform::fromScale(1.0 / ratio_, 1.0 / ratio_));
            drawPolyline(painter);
        }
        polyline_.clear();
        return;
    }
    flushShade();
    if (polyline_.size() > 1) drawPolyline(*painter_);
    polyline_.clear();
    if (!dots_.isNull()) painter_->drawImage(0, 0, dots_);
    dots_ = QImage();
}

void Surface::flushShade() {
    if (shadeUpper_.empty()) return;
    QPolygonF band(static_cast<qsizetype>(shadeUpper_.size() + shadeLower_.size()));
    std::copy(shadeUpper_.begin(), shadeUpper_.end(), band.begin());
    std::copy(shadeLower_.rbegin(), shadeLower_.rend(),
              band.begin() + static_cast<qsizetype>(shadeUpper_.size()));
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(QColor::fromRgba(shadePending_));
    painter_->drawPolygon(band);
    painter_->setBrush(Qt::NoBrush); // the outlines drawn later fill nothing
    shadeUpper_.clear();
    shadeLower_.clear();
}

// A column's pixel edges, so that the band covers the pixels the image would tint.
void Surface::vectorShade(int x, int top, int bottom) {
    const bool joins = !shadeUpper_.empty() && shadePending_ == shade_ && shadeUpper_.back().x() == x;
    if (!joins) {
        flushVectors();
        shadePending_ = shade_;
    }
    shadeUpper_.insert(shadeUpper_.end(), {QPointF(x, top), QPointF(x + 1.0, top)});
    shadeLower_.insert(shadeLower_.end(), {QPointF(x, bottom + 1.0), QPointF(x + 1.0, bottom + 1.0)});
}

// Pixel centres, so that a vector line covers the pixels the image would; a smoothed curve's
// exact places.
void Surface::vectorLineTo(int x, int y, QPointF exact) {
    const QPointF start = smooth_ ? currentExact_ : QPointF(currentX_ + 0.5, currentY_ + 0.5);
    if (!dots_.isNull() || polyline_.empty() || polyline_.back() != start || polylinePen_ != pen_ ||
        polylineWidth_ != penWidth_ || polylineSmooth_ != smooth_) {
        flushVectors();
        polyline_.push_back(start);
        polylinePen_ = pen_;
        polylineWidth_ = penWidth_;
        polylineSmooth_ = smooth_;
    }
    polyline_.push_back(smooth_ ? exact : QPointF(x + 0.5, y + 0.5));
}

// The curve plotters' segments are one column wide, so they skip the general walk.
void Surface::lineTo(int x, int y, QPointF exact) {
    if (painter_ != nullptr || (smooth_ && image_ != nullptr)) {
        vectorLineTo(x, y, exact);
        moveTo(x, y, exact);
        return;
    }
    settleLine();
    if (penWidth_ <= 1) {
        strokeLine(currentX_, currentY_, x, y);
    } else {
        // The line drawn again beside itself across and along: as thick as the pen whichever
        // way it runs.
        const int low = -(penWidth_ - 1) / 2;
        for (int k = low; k < low + penWidth_; ++k) {
            strokeLine(currentX_, currentY_ + static_cast<long long>(k), x, y + static_cast<long long>(k));
            if (k != 0) strokeLine(currentX_ + static_cast<long long>(k), currentY_, x + static_cast<long long>(k), y);
        }
    }
    moveTo(x, y, exact);
}

void Surface::strokeLine(long long x0, long long y0, long long x1, long long y1) {
    if (x1 == x0 + 1) {
        drawColumnStep(x0, y0, y1);
    } else {
        drawLine(x0, y0, x1, y1);
    }
}

void Surface::setCurvePen(QRgb colour) {
    setPen(colour);
    // At ratio 1 and width 1 the seed's single pixel; on a denser image one logical pixel, so
    // that curves keep their weight instead of thinning to hairlines.
    if (appearance.curveWidth > 1 || graphView.ratio > 1) penWidth_ = toDevice(appearance.curveWidth);
    smooth_ = appearance.antialiasing;
}

void Surface::endLine() {
    if (painter_ != nullptr || smooth_) return;
    settleLine();
    drawLine(currentX_, currentY_, currentX_ + 1LL, currentY_);
}

// Midpoint rule: step k along the major axis puts the minor coordinate at
// round-half-up(k * minorSpan / majorSpan). Only the steps whose major coordinate lies inside
// the image are visited, so the cost is bounded by the image size, however long the line.
void Surface::drawLine(long long x0, long long y0, long long x1, long long y1) {
    const long long spanX = std::llabs(x1 - x0);
    const long long spanY = std::llabs(y1 - y0);
    const bool xMajor = spanX >= spanY;
    const long long n = xMajor ? spanX : spanY;
    if (n == 0 || image_ == nullptr) return;
    LineWalk walk;
    walk.minorSpan = xMajor ? spanY : spanX;
    walk.n = n;
    const long long majorStart = xMajor ? x0 : y0;
    const long long minorStart = xMajor ? y0 : x0;
    const long long majorDir = (xMajor ? x1 - x0 : y1 - y0) > 0 ? 1 : -1;
    const long long minorDir = (xMajor ? y1 - y0 : x1 - x0) >= 0 ? 1 : -1;
    const long long majorLimit = xMajor ? width_ : height_;
    walk.minorLimit = xMajor ? height_ : width_;

    // Steps k in [0, n) with majorStart + majorDir * k inside [0, majorLimit).
    long long first = majorDir > 0 ? -majorStart : majorStart - (majorLimit - 1);
    long long last = majorDir > 0 ? majorLimit - 1 - majorStart : majorStart;
    first = std::max(first, 0LL);
    last = std::min(last, n - 1);
    if (first > last) return;
    walk.steps = last - first + 1;

    // first and minorSpan can each reach 2^32, so the starting product needs 128 bits then.
    long long offset;
    if (first == 0) { // the usual case: the line starts inside the image
        offset = 0;
        walk.remainder = n;
    } else if (first < (1LL << 30) && walk.minorSpan < (1LL << 30)) {
        const long long numerator = 2 * first * walk.minorSpan + n;
        offset = numerator / (2 * n);
        walk.remainder = numerator % (2 * n);
    } else {
        const __int128 numerator = static_cast<__int128>(2 * first) * walk.minorSpan + n;
        offset = static_cast<long long>(numerator / (2 * n));
        walk.remainder = static_cast<long long>(numerator % (2 * n));
    }
    // Pixel indices, in pixels from the image's first pixel.
    walk.minor = minorStart + minorDir * offset;
    walk.minorDir = minorDir;
    walk.majorStep = xMajor ? majorDir : majorDir * stride_;
    walk.minorStep = xMajor ? minorDir * stride_ : minorDir;
    const long long major = majorStart + majorDir * first;
    walk.index = xMajor ? walk.minor * stride_ + major : major * stride_ + walk.minor;
    paintWithPen(pixels_, pen_, xorMode_, [&walk](auto paint) { walkLine(walk, paint); });
}

// A line one column to the right: by the midpoint rule a flat one is its start pixel, a steeper
// one of n rows puts its first ceil(n / 2) rows in the start column and the rest in the next, so
// it is two runs of one column each. Declared inline, as is drawColumn, so that g++ folds both
// into lineTo: in position-independent code it keeps any function that is not inline a call.
inline void Surface::drawColumnStep(long long x0, long long y0, long long y1) {
    const long long n = std::llabs(y1 - y0);
    if (n <= 1) {
        drawColumn(x0, y0, y0);
        return;
    }
    const long long direction = y1 > y0 ? 1 : -1;
    const long long split = y0 + direction * ((n + 1) / 2); // first row of the second run
    const long long end = y1 - direction;                   // last row drawn
    drawColumn(x0, std::min(y0, split - direction), std::max(y0, split - direction));
    drawColumn(x0 + 1, std::min(split, end), std::max(split, end));
}

// Rows top..bottom (inclusive) of column x with the pen, clipped: a walk straight down the scan
// lines, as the curves' steep segments are almost all such runs.
inline void Surface::drawColumn(long long x, long long top, long long bottom) {
    top = std::max(top, 0LL);
    bottom = std::min(bottom, static_cast<long long>(height_) - 1);
    if (x < 0 || x >= width_ || top > bottom) return;
    const long long first = top * stride_ + x;
    const long long last = bottom * stride_ + x;
    const long long stride = stride_;
    paintWithPen(pixels_, pen_, xorMode_, [first, last, stride](auto paint) {
        for (long long index = first; index <= last; index += stride)
            paint(index);
    });
}

void Surface::setPixel(int x, int y, QRgb colour) {
    if (painter_ != nullptr) {
        if (!polyline_.empty()) flushVectors();
        if (dots_.isNull()) {
            dots_ = QImage(std::max(graphView.width, 1), std::max(graphView.height, 1),
                           QImage::Format_ARGB32_Premultiplied);
            dots_.fill(Qt::transparent);
        }
        if (x >= 0 && y >= 0 && x < dots_.width() && y < dots_.height())
            dots_.setPixel(x, y, colour | ~RGB_MASK);
        return;
    }
    if (image_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    settleLine();
    pixels_[static_cast<qsizetype>(y) * stride_ + x] = colour | ~RGB_MASK;
}

void Surface::shadeColumn(int x, int from, int to) {
    const bool vector = painter_ != nullptr;
    const int areaWidth = vector ? graphView.width : width_;
    const int areaHeight = vector ? graphView.height : height_;
    const int top = std::max(std::min(from, to), 0);
    const int bottom = std::min(std::max(from, to), areaHeight - 1);
    if (x < 0 || x >= areaWidth || top > bottom) return;
    if (vector) return vectorShade(x, top, bottom);
    if (image_ == nullptr) return;
    settleLine();
    const int alpha = qAlpha(shade_);
    // Rounded, so that shading a pixel of the shade's own colour leaves it as it is.
    const auto mix = [alpha](int under, int over) {
        return (under * (255 - alpha) + over * alpha + 127) / 255;
    };
    for (qsizetype index = top * stride_ + x; index <= bottom * stride_ + x; index += stride_) {
        const QRgb under = pixels_[index];
        pixels_[index] = qRgb(mix(qRed(under), qRed(shade_)), mix(qGreen(under), qGreen(shade_)),
                              mix(qBlue(under), qBlue(shade_)));
    }
}

// Fills the pixels left..right by top..bottom (inclusive), clipped to the image. The whole
// image (every repaint's background) goes through Qt's fill, which writes many pixels per store.
void Surface::fillRows(long long left, long long right, long long top, long long bottom, QRgb colour) {
    left = std::max(left, 0LL);
    top = std::max(top, 0LL);
    right = std::min(right, static_cast<long long>(width_) - 1);
    bottom = std::min(bottom, static_cast<long long>(height_) - 1);
    if (left > right || top > bottom) return;
    if (!xorMode_ && left == 0 && top == 0 && right == width_ - 1 && bottom == height_ - 1) {
        image_->fill(colour | ~RGB_MASK);
        pixels_ = reinterpret_cast<QRgb*>(image_->bits()); // moves only if the fill detached a shared image
        return;
    }
    for (long long y = top; y <= bottom; ++y) {
        QRgb* row = pixels_ + y * stride_ + left;
        if (xorMode_) {
            for (long long x = left; x <= right; ++x, ++row)
                *row ^= colour & RGB_MASK;
        } else {
            std::fill_n(row, right - left + 1, colour | ~RGB_MASK);
        }
    }
}

void Surface::dot(int x, int y, QRgb colour) {
    const long long last = static_cast<long long>(ratio_) - 1;
    for (long long row = y; row <= y + last; ++row) {
        for (long long column = x; column <= x + last; ++column) {
            if (row <= INT_MAX && column <= INT_MAX)
                setPixel(static_cast<int>(column), static_cast<int>(row), colour);
        }
    }
}

void Surface::rectangle(int left, int top, int right, int bottom) {
    if (painter_ != nullptr) {
        flushVectors();
        const QRectF box = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
        painter_->fillRect(box, QColor(brush_));
        painter_->setPen(QPen(QColor(pen_), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter_->drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
        return;
    }
    if (image_ == nullptr) return;
    settleLine();
    const long long l = std::min(left, right);
    const long long r = static_cast<long long>(std::max(left, right)) - 1;
    const long long t = std::min(top, bottom);
    const long long b = static_cast<long long>(std::max(top, bottom)) - 1;
    if (r < l || b < t) return;
    // Copying the brush under the outline too lets a whole-area rectangle fill in one go; in XOR
    // mode every pixel must be combined exactly once.
    if (xorMode_) {
        fillRows(l + 1, r - 1, t + 1, b - 1, brush_);
    } else {
        fillRows(l, r, t, b, brush_);
    }
    fillRows(l, r, t, t, pen_);
    if (b > t) fillRows(l, r, b, b, pen_);
    fillRows(l, l, t + 1, b - 1, pen_);
    if (r > l) fillRows(r, r, t + 1, b - 1, pen_);
}

// On a vector device the text stays text (a drawn glyph run would become outlines there). The
// font is sized in pixels as the screen shows it, so it scales with the drawing on any device.
void Surface::vectorText(int x, int y, const QString& text) {
    flushVectors();
    QFont font = defaultFont();
    font.setPixelSize(QFontInfo(font).pixelSize());
    const QFontMetricsF metrics(font);
    if (backgroundMode_ == BackgroundMode::Opaque) {
        painter_->fillRect(QRectF(x, y, metrics.horizontalAdvance(text), metrics.height()),
                           QColor(backgroundColour_));
    }
    painter_->setFont(font);
    painter_->setPen(QColor(textColour_));
    painter_->drawText(QPointF(x, y + metrics.ascent()), text);
}

// The text is shaped once, by the layout, for both its box width and its glyphs. On an image of
// ratio r the painter counts logical pixels, so the device position is divided by r and the
// font keeps its logical size while its glyphs are drawn at device resolution.
void Surface::textOut(int x, int y, std::string_view text) {
    if (textLog != nullptr) textLog->push_back({x, y, std::string(text), textColour_});
    if (text.empty()) return;
    const QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    if (painter_ != nullptr) {
        vectorText(x, y, shown);
        return;
    }
    if (image_ == nullptr) return;
    settleLine();
    const QFont font = defaultFont();
    QTextLayout layout(shown, font);
    layout.setCacheEnabled(true); // keeps the shaped glyphs for the draw
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const long long boxWidth = qRound(line.horizontalAdvance());
    const QFontMetrics metrics(font);
    if (x >= width_ || y >= height_ || x + boxWidth * ratio_ <= 0 ||
        static_cast<long long>(y) + static_cast<long long>(metrics.height()) * ratio_ <= 0) {
        return;
    }
    if (backgroundMode_ == BackgroundMode::Opaque) {
        const bool xorMode = std::exchange(xorMode_, false);
        fillRows(x, x + boxWidth * ratio_ - 1, y, y + static_cast<long long>(metrics.height()) * ratio_ - 1,
                 backgroundColour_);
        xorMode_ = xorMode;
    }
    QPainter painter(image_);
    const QPointF corner(static_cast<double>(x) / ratio_, static_cast<double>(y) / ratio_);
    painter.setPen(QColor(textColour_));
    layout.draw(&painter, corner + QPointF(0.0, metrics.ascent() - line.ascent()));
}

QSize Surface::textBox(std::string_view text) const {
    const QFontMetricsF metrics(defaultFont());
    const QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return {qCeil(metrics.horizontalAdvance(shown)) * ratio_, qCeil(metrics.height()) * ratio_};
}

QSize Surface::areaSize() const {
    return painter_ != nullptr ? QSize(graphView.width, graphView.height) : QSize(width_, height_);
}

QRect Surface::textOutInside(int x, int y, std::string_view text) {
    QSize box;
    if (image_ != nullptr || painter_ != nullptr) {
        box = textBox(text);
        const QSize area = areaSize();
        x = std::max(0, std::min(x, area.width() - box.width()));
        y = std::max(0, std::min(y, area.height() - box.height()));
    }
    textOut(x, y, text);
    return {QPoint(x, y), box};
}

void Surface::readoutOut(int x, int y, std::string_view text, bool inside) {
    if (image_ == nullptr && painter_ == nullptr) return textOut(x, y, text);
    const QSize box = textBox(text);
    const QSize area = areaSize();
    if (inside) {
        x = std::max(0, std::min(x, area.width() - box.width()));
        y = std::max(0, std::min(y, area.height() - box.height()));
    }
    // A readout out of view covers nothing; one in view has its slots well inside the int range.
    if (x > -box.width() && x < area.width() && y > -box.height() && y < area.height()) {
        const QPoint place = takeReadoutPlace(QRect(QPoint(x, y), box), text, area.height());
        x = place.x();
        y = place.y();
    }
    textOut(x, y, text);
}
