#include "graph/area_shading.h"

#include "expr/evaluation_session.h"
#include "graph/curves.h"
#include "graph/sample_rows.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <algorithm>
#include <cmath>

namespace {

// Light enough that the axes, the grid of ticks and other curves show through.
constexpr int shadeAlpha = 96;
// Between the axis and the readout, and about a line of text, in logical pixels.
constexpr int readoutGap = 4;
constexpr int readoutHeight = 16;

struct ColumnSpan {
    int first = 0;
    int last = -1; // none when below first
};

// The device columns whose x lies in [a, b]; they are consecutive, as worldX is monotonic.
ColumnSpan columnsWithin(double a, double b) {
    ColumnSpan span{graphView.width, -1};
    for (int column = 0; column < graphView.width; ++column) {
        const double x = worldX(column);
        if (a <= x && x <= b) {
            span.first = std::min(span.first, column);
            span.last = std::max(span.last, column);
        }
    }
    return span;
}

// Beside the axis on the side away from the shading, moved inside the area when the axis or the
// whole interval is not, so that OK always shows the area.
void drawReadout(Surface& surface, const AreaShading& shading, ColumnSpan span, int axisRow) {
    const int middle = span.first <= span.last ? span.first + (span.last - span.first) / 2
                                               : screenX(shading.a / 2 + shading.b / 2);
    const int column = std::max(0, std::min(middle, graphView.width - 1));
    const int gap = toDevice(readoutGap);
    const int row =
        shading.area < 0 ? shiftedPixel(axisRow, -gap - toDevice(readoutHeight)) : shiftedPixel(axisRow, gap);
    surface.setBackgroundMode(BackgroundMode::Transparent);
    // The curves' own deep colours are hard to read as text on the dark ground.
    surface.setTextColour(readoutColour(shading.colour));
    surface.readoutOut(column, row, shading.readout, true);
}

} // namespace

void shadeArea(Surface& surface, const AreaShading& shading) {
    const ColumnSpan span = columnsWithin(shading.a, shading.b);
    const EvaluationSession session; // Stop ends the shading
    SampleRows columns;
    for (int column = span.first; column <= span.last; ++column)
        columns.values.push_back(worldX(column));
    columns.evaluate(findOrCreateVariable("x"), shading.list);
    const RowScale toRow = rowScale();
    const int axisRow = toRow(0.0);
    surface.setShadeColour(
        qRgba(qRed(shading.colour), qGreen(shading.colour), qBlue(shading.colour), shadeAlpha));
    for (std::size_t i = 0; i < columns.evaluated; ++i) {
        const double y = columns.results[0][i];
        if (columns.errors[i] == 0 && columns.incomplete[i] == 0 && std::isfinite(y))
            surface.shadeColumn(span.first + static_cast<int>(i), toRow(y), axisRow);
    }
    drawReadout(surface, shading, span, axisRow);
}
