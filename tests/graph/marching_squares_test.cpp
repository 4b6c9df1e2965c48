#include "graph/marching_squares.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// The unit cell from (0, 0) to (1, 1), corner values counter-clockwise from the lower left; f
// between the corners reads as `between`. Each segment is from and to, as x and y.
TEST(MarchingSquares, CellSegments) {
    struct Row {
        const char* name;
        std::array<double, 4> corners;
        double between;
        std::vector<std::array<double, 4>> segments;
    };
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const Row rows[] = {
        {"one_crossing", {-1, 1, 1, -1}, 0, {{0.5, 0, 0.5, 1}}},
        {"saddle_centre_positive_cuts_off_negative_corners",
         {-1, 2, -1, 2},
         0,
         {{0, 1.0 / 3, 1.0 / 3, 0}, {1, 2.0 / 3, 2.0 / 3, 1}}},
        {"saddle_centre_negative_cuts_off_positive_corners",
         {-2, 1, -2, 1},
         0,
         {{2.0 / 3, 0, 1, 1.0 / 3}, {1.0 / 3, 1, 0, 2.0 / 3}}},
        {"no_sign_change", {1, 2, 3, 0}, 0, {}},
        {"corner_not_finite", {-1, 1, nan, -1}, 0, {}},
        {"pole_grows_between", {-1, 1, 1, -1}, 5, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::array<double, 2> xs{0, 1};
        const std::array<double, 2> below{row.corners[0], row.corners[1]};
        const std::array<double, 2> above{row.corners[3], row.corners[2]};
        std::vector<std::array<double, 4>> found;
        traceCellRow(
            {xs, 0, 1, below, above}, [&](double, double) { return row.between; },
            [&](WorldPoint from, WorldPoint to) {
                found.push_back({from.x, from.y, to.x, to.y});
            });
        ASSERT_EQ(found.size(), row.segments.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_NEAR(found[i][k], row.segments[i][k], 1e-12) << i << ":" << k;
        }
    }
}

} // namespace
