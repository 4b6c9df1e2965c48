// Shared helpers for the graph tests: an image installed as the graph area, pixel queries.
#pragma once

#include "graph/surface.h"
#include "graph/view_model.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRect>
#include <QString>
#include <QtMath>

#include <set>
#include <utility>
#include <vector>

using Pixel = std::pair<int, int>;
using PixelSet = std::set<Pixel>;

// An image of the given logical size and device-pixel ratio as the graph area, filled with one
// colour, with a text log.
class GraphArea {
  public:
    GraphArea(int width, int height, QRgb fill = qRgb(1, 2, 3), int ratio = 1)
        : image(width * ratio, height * ratio, QImage::Format_RGB32) {
        image.setDevicePixelRatio(ratio);
        image.fill(fill);
        setGraphImage(&image);
        setTextLog(&texts);
        resizeView(width, height);
    }
    ~GraphArea() {
        setGraphImage(nullptr);
        setTextLog(nullptr);
    }
    GraphArea(const GraphArea&) = delete;
    GraphArea& operator=(const GraphArea&) = delete;

    QRgb at(int x, int y) const { return image.pixel(x, y) & RGB_MASK; }
    PixelSet pixelsOf(QRgb colour) const {
        PixelSet found;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (at(x, y) == (colour & RGB_MASK)) found.insert({x, y});
            }
        }
        return found;
    }
    const TextDraw* findText(std::string_view text) const {
        for (const TextDraw& draw : texts) {
            if (draw.text == text) return &draw;
        }
        return nullptr;
    }

    QImage image;
    std::vector<TextDraw> texts;
};

// The box of a logged text at ratio 1, as the surface fills it.
inline QRect textBoxOf(const TextDraw& draw) {
    const QFontMetricsF metrics{QFont()};
    const QString text = QString::fromLatin1(draw.text.data(), static_cast<qsizetype>(draw.text.size()));
    return {draw.x, draw.y, qCeil(metrics.horizontalAdvance(text)), qCeil(metrics.height())};
}

// A fresh symbol store and plot settings, and the given definitions name(parameters)=body.
void resetPlotState(const std::vector<const char*>& definitions = {});
// The parametric curve's texts: x(t), y(t), the parameter's name and its range.
void setParametric(const char* x, const char* y, const char* name, const char* from, const char* to);
