#include "graph/colours.h"

#include "graph/appearance.h"
#include "graph/axes.h"

#include <array>
#include <cstddef>

namespace {

constexpr ColourScheme classicScheme{
    backgroundColour,     axisColour,           qRgb(48, 48, 72),  qRgb(26, 26, 42),
    qRgb(220, 220, 250),  qRgb(55, 55, 20),     qRgb(255, 255, 0), qRgb(0, 255, 0),
    qRgb(0, 0, 255),      qRgb(255, 0, 0),      qRgb(100, 100, 255), qRgb(0, 0, 255),
    graphExpressionColour, qRgb(255, 255, 255), 2,
};

constexpr ColourScheme lightScheme{
    qRgb(255, 255, 255),  qRgb(40, 40, 40),     qRgb(200, 200, 200), qRgb(232, 232, 232),
    qRgb(20, 20, 20),     qRgb(244, 244, 236),  qRgb(170, 95, 0),    qRgb(0, 110, 40),
    qRgb(0, 0, 200),      qRgb(200, 0, 0),      qRgb(60, 60, 200),   qRgb(120, 160, 255),
    qRgb(170, 0, 170),    qRgb(0, 0, 0),        1,
};

constexpr std::size_t rowCount = 10;

// Okabe and Ito's colours without the one that vanishes on the ground, with three of Paul Tol's
// muted ones to make ten; neighbouring rows differ in hue and lightness.
constexpr std::array<QRgb, rowCount> distinctOnDark = {
    qRgb(86, 180, 233), qRgb(230, 159, 0),   qRgb(0, 158, 115), qRgb(240, 228, 66),  qRgb(213, 94, 0),
    qRgb(204, 121, 167), qRgb(240, 240, 240), qRgb(0, 114, 178), qRgb(153, 153, 51), qRgb(170, 68, 153),
};
constexpr std::array<QRgb, rowCount> distinctOnLight = {
    qRgb(0, 114, 178),  qRgb(213, 94, 0),   qRgb(0, 158, 115), qRgb(204, 121, 167), qRgb(230, 159, 0),
    qRgb(86, 180, 233), qRgb(0, 0, 0),      qRgb(136, 34, 85), qRgb(153, 153, 51),  qRgb(51, 34, 136),
};

std::size_t rowIndex(int row) {
    const int wrapped = row % static_cast<int>(rowCount);
    return static_cast<std::size_t>(wrapped < 0 ? wrapped + static_cast<int>(rowCount) : wrapped);
}

} // namespace

const ColourScheme& colours() {
    return appearance.theme == Theme::Light ? lightScheme : classicScheme;
}

QRgb rowColour(int row) {
    if (appearance.theme == Theme::Light) return distinctOnLight[rowIndex(row)];
    if (appearance.palette == Palette::Distinct) return distinctOnDark[rowIndex(row)];
    return qRgb(64, (64 * row) % 256, 255);
}

QRgb polarColour(int row) {
    if (appearance.theme == Theme::Classic && appearance.palette == Palette::Classic)
        return qRgb(255, 255, (64 * row) % 256);
    return rowColour(row);
}

QRgb lighterColour(QRgb colour, int divisor) {
    const auto lighter = [divisor](int v) { return 255 - (255 - v) / divisor; };
    return qRgb(lighter(qRed(colour)), lighter(qGreen(colour)), lighter(qBlue(colour)));
}

QRgb readoutColour(QRgb curveColour) {
    return lighterColour(curveColour, colours().readoutLightening);
}
