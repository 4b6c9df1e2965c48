#include "graph_test_support.h"

#include "expr/symbol_store.h"
#include "graph/curves.h"
#include "graph/parametric_polar.h"
#include "graph/plot_settings.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr QRgb curveBlue = qRgb(0, 0, 255) & RGB_MASK;
constexpr QRgb markerRed = qRgb(255, 0, 0) & RGB_MASK;

// Distances of the pixels from the area's centre, in pixels.
std::pair<double, double> radiusRange(const PixelSet& pixels, int centreX, int centreY) {
    double low = 1e9;
    double high = 0.0;
    for (const Pixel& p : pixels) {
        const double r = std::hypot(p.first - centreX, p.second - centreY);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    return {low, high};
}

// The curve's pixels, without those of the labels drawn in the same colour.
PixelSet withoutLabels(const GraphArea& area, QRgb colour) {
    PixelSet pixels = area.pixelsOf(colour);
    std::erase_if(pixels, [&](const Pixel& p) {
        for (const TextDraw& text : area.texts) {
            if (p.first >= text.x && p.first < text.x + 200 && p.second >= text.y && p.second < text.y + 30)
                return true;
        }
        return false;
    });
    return pixels;
}

TEST(PlotParametric, Curves) {
    struct Row {
        const char* name;
        const char* x;
        const char* y;
        const char* from;
        const char* to;
        std::size_t minPixels;
        double minX; // leftmost world x the curve may reach
    };
    // 800 x 800 factory view: 80 pixels per world unit.
    const Row rows[] = {
        {"unit_circle", "cos(t)", "sin(t)", "0", "6.283", 400, -1.0},
        {"text_value_is_its_numeric_prefix", "cos(t)", "sin(t)", "0", "2pi", 100, std::cos(2.0)},
        {"equal_ends_draw_nothing", "cos(t)", "sin(t)", "1", "1", 0, 0},
        {"reversed_ends_draw_nothing", "cos(t)", "sin(t)", "3", "1", 0, 0},
        {"empty_field_draws_nothing", "cos(t)", "", "0", "6", 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(800, 800);
        resetPlotState();
        setParametric(row.x, row.y, "t", row.from, row.to);
        plotParametric();
        const PixelSet curve = area.pixelsOf(curveBlue);
        if (row.minPixels == 0) {
            EXPECT_TRUE(curve.empty());
            continue;
        }
        EXPECT_GE(curve.size(), row.minPixels);
        const auto [low, high] = radiusRange(curve, 400, 400);
        EXPECT_GE(low, 78.0);
        EXPECT_LE(high, 82.0);
        for (const Pixel& p : curve)
            ASSERT_GE(p.first, screenX(row.minX) - 1);
    }
}

TEST(PlotParametric, FarAwayEndsStillFinish) {
    GraphArea area(200, 200);
    resetPlotState();
    setParametric("t", "t", "t", "1e20", "1.0000000000001e20");
    plotParametric();
    EXPECT_TRUE(area.pixelsOf(curveBlue).empty());
}

TEST(MarkParameter, CrossAtTheSliderValue) {
    struct Row {
        const char* name;
        int position;
        Pixel centre;
    };
    // x = t, y = 2t for t from -1 to 1 on 800 x 800: t = -1 is (320, 560), t = 1 is (480, 240).
    const Row rows[] = {{"start", 0, {320, 560}}, {"middle", 500, {400, 400}}, {"end", 1000, {480, 240}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(800, 800);
        resetPlotState();
        setParametric("t", "2*t", "t", "-1", "1");
        markParameter(row.position);
        const auto [cx, cy] = row.centre;
        PixelSet expected;
        for (int d = -5; d < 5; ++d) {
            expected.insert({cx, cy + d});
            expected.insert({cx + d, cy});
        }
        EXPECT_EQ(area.pixelsOf(markerRed), expected);
    }
}

TEST(PlotPolar, RowsWithLabelsAlongTheirCurves) {
    GraphArea area(800, 800);
    resetPlotState({"f(t)=1", "g(t)=2", "h(t)=3"});
    plotSettings.angleVariable = "t";
    plotSettings.polarFlags[0] = 1;
    plotSettings.polarFlags[2] = 1;
    plotPolar();
    const QRgb first = qRgb(255, 255, 0) & RGB_MASK;
    const QRgb third = qRgb(255, 255, 128) & RGB_MASK;
    const auto [low1, high1] = radiusRange(withoutLabels(area, first), 400, 400);
    EXPECT_GE(low1, 78.0);
    EXPECT_LE(high1, 82.0);
    EXPECT_TRUE(area.pixelsOf(qRgb(255, 255, 64)).empty());
    ASSERT_EQ(area.texts.size(), 2u);
    EXPECT_EQ(area.texts[0].text, "f(t) = 1");
    EXPECT_EQ(area.texts[0].x, 480);
    EXPECT_EQ(area.texts[0].y, 400);
    EXPECT_EQ(area.texts[0].colour & RGB_MASK, first);
    EXPECT_EQ(area.texts[1].text, "h(t) = 3");
    EXPECT_EQ(area.texts[1].x, screenX(3 * std::cos(0.4)));
    EXPECT_EQ(area.texts[1].y, screenY(3 * std::sin(0.4)));
    EXPECT_EQ(area.texts[1].colour & RGB_MASK, third);
}

TEST(PlotPolar, BodyIsEvaluatedWithOnlyTheAngleVariableSet) {
    GraphArea area(800, 800);
    resetPlotState({"f(x)=x"});
    setVariableValue(findOrCreateVariable("x"), 3.0);
    plotSettings.angleVariable = "t";
    plotSettings.polarFlags[0] = 1;
    plotPolar();
    const auto [low, high] = radiusRange(withoutLabels(area, qRgb(255, 255, 0)), 400, 400);
    EXPECT_GE(low, 238.0);
    EXPECT_LE(high, 242.0);
}

TEST(PlotPolar, EmptyAngleVariableUsesT) {
    GraphArea area(800, 800);
    resetPlotState({"f(t)=t"});
    plotSettings.polarFlags[0] = 1;
    plotPolar();
    EXPECT_EQ(findOrCreateVariable("t")->value, 0.0); // left at the label angle
    for (const auto& variable : symbolStore.variables)
        EXPECT_FALSE(variable->name.empty());
    EXPECT_FALSE(area.pixelsOf(qRgb(255, 255, 0)).empty());
}

} // namespace
