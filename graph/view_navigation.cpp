#include "graph/view_navigation.h"

#include "graph/view_model.h"

#include <algorithm>
#include <cstdlib>

void zoomAbout(int column, int row, double factor) {
    const double cx = worldX(column);
    const double cy = worldY(row);
    const ViewLimits& v = viewLimits;
    setViewLimits({cx - (cx - v.xMin) * factor, cx + (v.xMax - cx) * factor, cy - (cy - v.yMin) * factor,
                   cy + (v.yMax - cy) * factor});
}

void panByPixels(int columns, int rows) {
    if (graphView.width <= 0 || graphView.height <= 0) return;
    const ViewLimits& v = viewLimits;
    const double dx = (v.xMax - v.xMin) * columns / graphView.width;
    const double dy = (v.yMax - v.yMin) * rows / graphView.height;
    setViewLimits({v.xMin - dx, v.xMax - dx, v.yMin + dy, v.yMax + dy});
}

void zoomToBox(int column0, int row0, int column1, int row1) {
    if (std::abs(static_cast<long long>(column1) - column0) < 2 || std::abs(static_cast<long long>(row1) - row0) < 2)
        return;
    const double x0 = worldX(std::min(column0, column1));
    const double x1 = worldX(std::max(column0, column1));
    const double y0 = worldY(std::max(row0, row1));
    const double y1 = worldY(std::min(row0, row1));
    setViewLimits({x0, x1, y0, y1});
}
