#include "graph/marching_squares.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace {

// As the scan's sign test: zero and not-a-number count as positive.
bool negative(double v) {
    return v < 0;
}

// Below this |f| a crossing counts as a root whatever its neighbours are: the interpolation's
// error on a smooth curve at the lattice's spacing stays within it.
constexpr double rootTolerance = 0.001;

struct Corner {
    WorldPoint at;
    double value;
};

// Corners counter-clockwise from the lower left; side k joins corner k and corner k + 1.
using Cell = std::array<Corner, 4>;

Corner cornerOf(const Cell& cell, std::size_t k) {
    return cell[k % 4];
}

// Where side k crosses f = 0 (its corners' signs differ), if f there is near 0.
bool nearRoot(const Cell& cell, std::size_t k, const std::function<double(double, double)>& at,
              WorldPoint& crossing) {
    const Corner p = cornerOf(cell, k);
    const Corner q = cornerOf(cell, k + 1);
    const double t = std::clamp(p.value / (p.value - q.value), 0.0, 1.0);
    crossing = {p.at.x + (q.at.x - p.at.x) * t, p.at.y + (q.at.y - p.at.y) * t};
    const double there = std::fabs(at(crossing.x, crossing.y));
    return there < rootTolerance || there < std::min(std::fabs(p.value), std::fabs(q.value));
}

void traceCell(const Cell& cell, const std::function<double(double, double)>& at,
               const std::function<void(WorldPoint, WorldPoint)>& segment) {
    std::array<WorldPoint, 4> crossings{};
    std::array<std::size_t, 4> sides{};
    std::size_t count = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        if (negative(cornerOf(cell, k).value) == negative(cornerOf(cell, k + 1).value)) continue;
        if (!nearRoot(cell, k, at, crossings[k])) return;
        sides[count++] = k;
    }
    if (count == 2) {
        segment(crossings[sides[0]], crossings[sides[1]]);
    } else if (count == 4) {
        // Corner k lies between sides k - 1 and k. The corners of the centre's sign join through
        // the middle, so the segments cut off the other two.
        const double centre = (cell[0].value + cell[1].value + cell[2].value + cell[3].value) * 0.25;
        const std::size_t cut = negative(cell[0].value) == negative(centre) ? 1 : 0;
        segment(crossings[(cut + 3) % 4], crossings[cut]);
        segment(crossings[cut + 1], crossings[cut + 2]);
    }
}

} // namespace

void traceCellRow(const CellRow& row, const std::function<double(double x, double y)>& at,
                  const std::function<void(WorldPoint from, WorldPoint to)>& segment) {
    const std::size_t n = std::min({row.xs.size(), row.below.size(), row.above.size()});
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const Cell cell{{{{row.xs[i], row.yBelow}, row.below[i]},
                         {{row.xs[i + 1], row.yBelow}, row.below[i + 1]},
                         {{row.xs[i + 1], row.yAbove}, row.above[i + 1]},
                         {{row.xs[i], row.yAbove}, row.above[i]}}};
        if (std::all_of(cell.begin(), cell.end(), [](const Corner& c) { return std::isfinite(c.value); }))
            traceCell(cell, at, segment);
    }
}
