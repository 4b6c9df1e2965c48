#include "graph/surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

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
    bits_ = image_->bits();
    bytesPerLine_ = image_->bytesPerLine();
    width_ = image_->width();
    height_ = image_->height();
}

Surface::~Surface() {
    if (releaseHook != nullptr) releaseHook();
}

inline void Surface::plot(long long x, long long y, QRgb colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    QRgb& pixel = reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_)[x];
    pixel = xorMode_ ? pixel ^ (colour & RGB_MASK) : colour | ~RGB_MASK;
}

void Surface::moveTo(int x, int y) {
    currentX_ = x;
    currentY_ = y;
}

void Surface::lineTo(int x, int y) {
    drawLine(currentX_, currentY_, x, y);
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
    const long long minorSpan = xMajor ? spanY : spanX;
    const long long majorStart = xMajor ? x0 : y0;
    const long long minorStart = xMajor ? y0 : x0;
    const long long majorDir = (xMajor ? x1 - x0 : y1 - y0) > 0 ? 1 : -1;
    const long long minorDir = (xMajor ? y1 - y0 : x1 - x0) >= 0 ? 1 : -1;
    const long long majorLimit = xMajor ? width_ : height_;
    const long long minorLimit = xMajor ? height_ : width_;

    // Steps k in [0, n) with majorStart + majorDir * k inside [0, majorLimit).
    long long first = majorDir > 0 ? -majorStart : majorStart - (majorLimit - 1);
    long long last = majorDir > 0 ? majorLimit - 1 - majorStart : majorStart;
    first = std::max(first, 0LL);
    last = std::min(last, n - 1);
    if (first > last) return;

    // first and minorSpan can each reach 2^32, so the starting product needs 128 bits then.
    long long offset;
    long long remainder;
    if (first == 0) { // the usual case: the line starts inside the image
        offset = 0;
        remainder = n;
    } else if (first < (1LL << 30) && minorSpan < (1LL << 30)) {
        const long long numerator = 2 * first * minorSpan + n;
        offset = numerator / (2 * n);
        remainder = numerator % (2 * n);
    } else {
        const __int128 numerator = static_cast<__int128>(2 * first) * minorSpan + n;
        offset = static_cast<long long>(numerator / (2 * n));
        remainder = static_cast<long long>(numerator % (2 * n));
    }
    for (long long k = first; k <= last; ++k) {
        const long long major = majorStart + majorDir * k;
        const long long minor = minorStart + minorDir * offset;
        if (minor >= 0 && minor < minorLimit) xMajor ? plot(major, minor, pen_) : plot(minor, major, pen_);
        remainder += 2 * minorSpan;
        if (remainder >= 2 * n) {
            remainder -= 2 * n;
            ++offset;
        }
    }
}

void Surface::setPixel(int x, int y, QRgb colour) {
    if (image_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    reinterpret_cast<QRgb*>(bits_ + static_cast<qsizetype>(y) * bytesPerLine_)[x] = colour | ~RGB_MASK;
}

// Fills the pixels left..right by top..bottom (inclusive), clipped to the image.
void Surface::fillRows(long long left, long long right, long long top, long long bottom, QRgb colour) {
    left = std::max(left, 0LL);
    top = std::max(top, 0LL);
    right = std::min(right, static_cast<long long>(width_) - 1);
    bottom = std::min(bottom, static_cast<long long>(height_) - 1);
    if (left > right) return;
    for (long long y = top; y <= bottom; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_) + left;
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
    fillRows(l + 1, r - 1, t + 1, b - 1, brush_);
    fillRows(l, r, t, t, pen_);
    if (b > t) fillRows(l, r, b, b, pen_);
    fillRows(l, l, t + 1, b - 1, pen_);
    if (r > l) fillRows(r, r, t + 1, b - 1, pen_);
}

void Surface::textOut(int x, int y, std::string_view text) {
    if (textLog != nullptr) textLog->push_back({x, y, std::string(text), textColour_});
    if (image_ == nullptr || text.empty()) return;
    const QString string = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    const QFont font = defaultFont();
    const QFontMetrics metrics(font);
    const long long boxWidth = metrics.horizontalAdvance(string);
    if (x >= width_ || y >= height_ || x + boxWidth <= 0 ||
        static_cast<long long>(y) + metrics.height() <= 0) {
        return;
    }
    QPainter painter(image_);
    painter.setFont(font);
    if (backgroundMode_ == BackgroundMode::Opaque) {
        painter.fillRect(x, y, metrics.horizontalAdvance(string), metrics.height(),
                         QColor(backgroundColour_));
    }
    painter.setPen(QColor(textColour_));
    painter.drawText(x, y + metrics.ascent(), string);
}
