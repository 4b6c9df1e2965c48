#include "graph_test_support.h"

#include "graph/appearance.h"
#include "graph/implicit.h"
#include "graph/plot_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

constexpr QRgb implicitDot = qRgb(100, 100, 255) & RGB_MASK;
constexpr QRgb regionDot = qRgb(0, 0, 255) & RGB_MASK;

int waits = 0;
int crosses = 0;

class Relations : public ::testing::Test {
  protected:
    void SetUp() override {
        resetPlotState();
        waits = crosses = 0;
        setCursorHooks([] { ++waits; }, [] { ++crosses; });
    }
    void TearDown() override { setCursorHooks(nullptr, nullptr); }
};

// World points of the dots, one per pixel centre-ish (the pixel's top-left world corner).
std::vector<std::pair<double, double>> worldPoints(const PixelSet& pixels) {
    std::vector<std::pair<double, double>> points;
    for (const Pixel& p : pixels)
        points.push_back({worldX(p.first), worldY(p.second)});
    return points;
}

std::size_t countWhere(const PixelSet& pixels, const std::function<bool(double, double)>& inside) {
    std::size_t n = 0;
    for (const auto& [x, y] : worldPoints(pixels))
        n += inside(x, y) ? 1 : 0;
    return n;
}

TEST_F(Relations, CircleIsFoundByBothPasses) {
    GraphArea area(600, 600);
    plotSettings.implicitLeft[0] = "x^2+y^2";
    plotSettings.implicitRight[0] = "4";
    plotImplicit();
    const PixelSet dots = area.pixelsOf(implicitDot);
    for (const auto& [x, y] : worldPoints(dots))
        ASSERT_NEAR(std::hypot(x, y), 2.0, 0.04);
    // Near the top the curve runs along the horizontal scan lines, so only the vertical pass
    // finds it there; near the right end the reverse.
    EXPECT_GE(countWhere(dots, [](double x, double y) { return std::fabs(x) < 0.3 && y > 1.9; }), 8u);
    EXPECT_GE(countWhere(dots, [](double x, double y) { return std::fabs(y) < 0.3 && x > 1.9; }), 8u);
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(crosses, 1);
}

TEST_F(Relations, ImplicitEquations) {
    struct Row {
        const char* name;
        const char* left0;
        const char* right0;
        const char* left1;
        const char* right1;
        int equationsDrawn;
        std::function<bool(double, double)> onCurve; // every dot must satisfy it
    };
    // Dots are within a pixel (0.025 world units) of the curve along each axis.
    const Row rows[] = {
        {"diagonal", "y", "x", "", "", 1, [](double x, double y) { return std::fabs(x - y) < 0.051; }},
        {"two_equations", "y", "1", "x", "0-2", 2,
         [](double x, double y) { return std::fabs(y - 1) < 0.026 || std::fabs(x + 2) < 0.026; }},
        {"empty_first_equation_stops", "", "", "y", "x", 0, [](double, double) { return false; }},
        {"pole_ends_without_dots", "1/x", "0", "", "", 1, [](double, double) { return false; }},
        {"tangent_poles_skipped", "tan(x)", "0", "", "", 1,
         [](double x, double) {
             return std::fabs(x) < 0.026 || std::fabs(std::fabs(x) - std::numbers::pi) < 0.026;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        GraphArea area(400, 400);
        plotSettings.implicitLeft[0] = row.left0;
        plotSettings.implicitRight[0] = row.right0;
        plotSettings.implicitLeft[1] = row.left1;
        plotSettings.implicitRight[1] = row.right1;
        plotImplicit();
        const PixelSet dots = area.pixelsOf(implicitDot);
        EXPECT_EQ(countWhere(dots, row.onCurve), dots.size());
        EXPECT_EQ(waits, row.equationsDrawn);
        EXPECT_EQ(crosses, row.equationsDrawn);
    }
}

TEST_F(Relations, InequalityRegions) {
    struct Row {
        const char* name;
        std::array<const char*, 6> sides; // left0, right0, left1, right1, left2, right2
        std::function<bool(double, double)> region;
        bool anyPainted;
    };
    const Row rows[] = {
        {"between_parabola_and_line",
         {"y", "x^2", "1", "y", "", ""},
         [](double x, double y) { return y > x * x && y < 1; },
         true},
        {"third_without_second_is_ignored",
         {"y", "x^2", "", "", "0", "1"},
         [](double x, double y) { return y > x * x; },
         true},
        {"three_inequalities",
         {"y", "x^2", "1", "y", "x", "0"},
         [](double x, double y) { return y > x * x && y < 1 && x > 0; },
         true},
        {"never_true", {"y", "y", "", "", "", ""}, [](double, double) { return false; }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        GraphArea area(600, 600);
        for (int i = 0; i < 3; ++i) {
            plotSettings.inequalityLeft[i] = row.sides[2 * i];
            plotSettings.inequalityRight[i] = row.sides[2 * i + 1];
        }
        plotInequalities();
        const PixelSet dots = area.pixelsOf(regionDot);
        EXPECT_EQ(!dots.empty(), row.anyPainted);
        // A lattice point lies within one pixel of its dot's corner.
        const double pixel = 10.0 / 600;
        const auto nearRegion = [&](double x, double y) {
            for (double dx : {0.0, pixel}) {
                for (double dy : {0.0, -pixel}) {
                    if (row.region(x + dx, y + dy)) return true;
                }
            }
            return false;
        };
        EXPECT_EQ(countWhere(dots, nearRegion), dots.size());
        EXPECT_EQ(waits, 0);
        EXPECT_EQ(crosses, 1);
    }
}

TEST_F(Relations, LatticeIsSparseInALargeArea) {
    GraphArea area(1200, 1200);
    plotSettings.inequalityLeft[0] = "1";
    plotSettings.inequalityRight[0] = "0";
    plotInequalities();
    const std::size_t painted = area.pixelsOf(regionDot).size();
    EXPECT_GE(painted, 599u * 599u);
    EXPECT_LE(painted, 601u * 601u);
    EXPECT_NE(area.at(1, 1), regionDot); // every other pixel is left alone
}

// Whether a walk from `start` across undrawn pixels, side to side, cannot reach the corner.
bool enclosed(const QImage& image, QRgb ink, Pixel start) {
    std::vector<bool> seen(static_cast<std::size_t>(image.width() * image.height()), false);
    std::vector<Pixel> open{start};
    while (!open.empty()) {
        const auto [x, y] = open.back();
        open.pop_back();
        if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) continue;
        const auto index = static_cast<std::size_t>(y * image.width() + x);
        if (seen[index] || (image.pixel(x, y) & RGB_MASK) == ink) continue;
        if (x == 0 && y == 0) return false;
        seen[index] = true;
        open.insert(open.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    return true;
}

// Joined segments on the factory view of a 600 x 600 area (60 pixels a unit): the circle is a
// closed ring round its centre, each curve passes within a pixel of every listed point, and
// nothing stands in the columns beside a pole.
TEST_F(Relations, SegmentsJoinIntoCurvesAndLeavePolesOpen) {
    struct Row {
        const char* name;
        const char* left;
        const char* right;
        std::function<bool(double, double)> near; // every pixel must satisfy it
        std::vector<std::pair<double, double>> passes;
        std::pair<int, int> emptyColumns;
        bool ring;
    };
    const Row rows[] = {
        {"circle_ring", "x^2+y^2", "4", [](double x, double y) { return std::fabs(std::hypot(x, y) - 2) < 0.04; },
         {{2, 0}, {0, 2}, {-2, 0}, {0, -2}, {std::sqrt(2.0), std::sqrt(2.0)}}, {0, 0}, true},
        {"hyperbola_pole", "y", "1/x", [](double x, double y) { return std::fabs(x * y - 1) < 0.2; },
         {{1, 1}, {-1, -1}, {0.25, 4}, {4, 0.25}}, {297, 303}, false},
        {"tangent_pole", "y", "tan(x)", [](double x, double y) { return std::fabs(y - std::tan(x)) < 0.6; },
         {{0, 0}, {1, std::tan(1.0)}, {-1, -std::tan(1.0)}}, {386, 402}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        appearance.implicitStyle = ImplicitStyle::Segments;
        GraphArea area(600, 600);
        plotSettings.implicitLeft[0] = row.left;
        plotSettings.implicitRight[0] = row.right;
        plotImplicit();
        appearance = Appearance{};
        const PixelSet drawn = area.pixelsOf(implicitDot);
        EXPECT_EQ(countWhere(drawn, row.near), drawn.size());
        for (const auto& [x, y] : row.passes) {
            const int column = screenX(x);
            const int line = screenY(y);
            const bool covered = std::any_of(drawn.begin(), drawn.end(), [&](const Pixel& p) {
                return std::abs(p.first - column) <= 1 && std::abs(p.second - line) <= 1;
            });
            EXPECT_TRUE(covered) << x << "," << y;
        }
        for (const Pixel& p : drawn)
            EXPECT_FALSE(p.first >= row.emptyColumns.first && p.first < row.emptyColumns.second) << p.first;
        if (row.ring) {
            EXPECT_TRUE(enclosed(area.image, implicitDot, {300, 300}));
        }
    }
}

} // namespace
