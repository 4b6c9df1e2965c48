#include "graph/surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <cstdlib>

namespace {

QImage* targetImage = nullptr;
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

} // namespace

void setGraphImage(QImage* image) {
    targetImage = image;
}
QImage* graphImage() {
    return targetImage;
}
void setSurfaceReleaseHook(void (*hook)()) {
    releaseHook = hook;
}
void setTextLog(std::vector<TextDraw>* log) {
    textLog = log;
}

Surface::Surface() : image_(targetImage) {
    if (image_ == nullptr || image_->isNull() || image_->depth() != 32) {
        image_ = nullptr;
        return;
    }
    pixels_ = reinterpret_cast<QRgb*>(image_->bits());
    stride_ = image_->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    width_ = image_->width();
    height_ = image_->height();
}

Surface::~Surface() {
    if (releaseHook != nullptr) releaseHook();
}

// The curve plotters' segments are one column wide, so they skip the general walk.
void Surface::lineTo(int x, int y) {
    if (x == currentX_ + 1LL) {
        drawColumnStep(currentX_, currentY_, y);
    } else {
        drawLine(currentX_, currentY_, x, y);
    }
    moveTo(x, y);
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
    if (image_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<qsizetype>(y) * stride_ + x] = colour | ~RGB_MASK;
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

void Surface::rectangle(int left, int top, int right, int bottom) {
    if (image_ == nullptr) return;
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

// The text is shaped once, by the layout, for both its box width and its glyphs.
void Surface::textOut(int x, int y, std::string_view text) {
    if (textLog != nullptr) textLog->push_back({x, y, std::string(text), textColour_});
    if (image_ == nullptr || text.empty()) return;
    const QFont font = defaultFont();
    QTextLayout layout(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), font);
    layout.setCacheEnabled(true); // keeps the shaped glyphs for the draw
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const long long boxWidth = qRound(line.horizontalAdvance());
    const QFontMetrics metrics(font);
    if (x >= width_ || y >= height_ || x + boxWidth <= 0 ||
        static_cast<long long>(y) + metrics.height() <= 0) {
        return;
    }
    QPainter painter(image_);
    if (backgroundMode_ == BackgroundMode::Opaque) {
        painter.fillRect(x, y, static_cast<int>(boxWidth), metrics.height(), QColor(backgroundColour_));
    }
    painter.setPen(QColor(textColour_));
    layout.draw(&painter, QPointF(x, y + metrics.ascent() - line.ascent()));
}

void Surface::textOutInside(int x, int y, std::string_view text) {
    if (image_ != nullptr) {
        const QFontMetricsF metrics(defaultFont());
        const QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
        const int boxWidth = qCeil(metrics.horizontalAdvance(shown));
        const int boxHeight = qCeil(metrics.height());
        x = std::max(0, std::min(x, width_ - boxWidth));
        y = std::max(0, std::min(y, height_ - boxHeight));
    }
    textOut(x, y, text);
}
