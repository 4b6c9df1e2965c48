// Marching squares: where f(x, y) = 0 crosses the cells of a lattice, as line segments. Plain C++.
#pragma once

#include <functional>
#include <span>

struct WorldPoint {
    double x;
    double y;
};

// One row of cells between two lattice rows: the lattice's x values, the rows' y values and f
// at each lattice point of both rows (as many values as x values).
struct CellRow {
    std::span<const double> xs;
    double yBelow;
    double yAbove;
    std::span<const double> below;
    std::span<const double> above;
};

// Hands `segment` the pieces of f = 0 in each cell of the row. A cell with a corner whose value
// is not finite gives none. A crossing of a cell side is placed by linear interpolation and
// kept only where f there (`at`) is near 0: at a pole or a jump f grows towards the estimate
// instead, so a cell with such a side gives none either. A saddle (the signs alternate round
// the cell) is split by the sign of the mean of the corners, taken as f at the centre.
void traceCellRow(const CellRow& row, const std::function<double(double x, double y)>& at,
                  const std::function<void(WorldPoint from, WorldPoint to)>& segment);
