#include "graph/view_model.h"

#include "expr/evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

class ViewModel : public ::testing::Test {
  protected:
    void SetUp() override { resizeView(800, 600); }
};

TEST_F(ViewModel, ResizeSetsSizeFactoryLimitsAndPixelWidth) {
    zoomView(0.5);
    resizeView(1000, 500);
    EXPECT_EQ(graphView.width, 1000);
    EXPECT_EQ(graphView.height, 500);
    EXPECT_EQ(viewLimits.xMin, -5.0);
    EXPECT_EQ(viewLimits.xMax, 5.0);
    EXPECT_EQ(viewLimits.yMin, -5.0);
    EXPECT_EQ(viewLimits.yMax, 5.0);
    EXPECT_NEAR(graphView.pixelWidth, 0.01, 1e-15);
}

TEST_F(ViewModel, PixelWidthFollowsEveryLimitChange) {
    setViewLimits({0.0, 8.0, -1.0, 1.0});
    EXPECT_DOUBLE_EQ(graphView.pixelWidth, 0.01);
    zoomView(0.5);
    EXPECT_DOUBLE_EQ(graphView.pixelWidth, 0.005);
    panView(PanDirection::Left);
    EXPECT_DOUBLE_EQ(graphView.pixelWidth, 0.005);
    zoomAt(0, 0, 2.0);
    EXPECT_DOUBLE_EQ(graphView.pixelWidth, 0.01);
    EXPECT_EQ(integralStep, graphView.pixelWidth);
    resizeView(400, 10);
    EXPECT_EQ(integralStep, graphView.pixelWidth);
}

TEST_F(ViewModel, ConversionsTruncateTowardZero) {
    struct Row {
        const char* name;
        ViewLimits limits;
        double world;
        int column;
    };
    // 800 columns: one column per 0.0125 world units.
    const Row rows[] = {
        {"left_edge", {-5, 5, -5, 5}, -5.0, 0},
        {"right_edge", {-5, 5, -5, 5}, 5.0, 800},
        {"fraction_below_one_truncates_down", {-5, 5, -5, 5}, -5.0 + 0.0125 * 12.9, 12},
        {"small_negative_truncates_to_zero", {-5, 5, -5, 5}, -5.0 - 0.0125 * 0.7, 0},
        {"negative_truncates_up", {-5, 5, -5, 5}, -5.0 - 0.0125 * 1.2, -1},
        {"infinity_clamped_right", {-5, 5, -5, 5}, inf, pixelLimit},
        {"minus_infinity_clamped_left", {-5, 5, -5, 5}, -inf, -pixelLimit},
        {"nan_clamped_left", {-5, 5, -5, 5}, nan, -pixelLimit},
        {"far_value_clamped", {-5, 5, -5, 5}, 1e300, pixelLimit},
        {"empty_span_gives_defined_value", {1, 1, -5, 5}, 3.0, pixelLimit},
        {"reversed_span_mirrors", {5, -5, -5, 5}, 5.0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        setViewLimits(row.limits);
        EXPECT_EQ(screenX(row.world), row.column);
    }
}

TEST_F(ViewModel, RowsGrowDownwards) {
    EXPECT_EQ(screenY(-5.0), 600);
    EXPECT_EQ(screenY(5.0), 0);
    EXPECT_EQ(screenY(0.0), 300);
    EXPECT_EQ(screenY(1e12), -pixelLimit);
    EXPECT_DOUBLE_EQ(worldY(0), 5.0);
    EXPECT_DOUBLE_EQ(worldY(600), -5.0);
    EXPECT_DOUBLE_EQ(worldX(400), 0.0);
}

TEST_F(ViewModel, TickStep) {
    struct Row {
        const char* name;
        double span;
        double step;
    };
    const Row rows[] = {
        {"ten_gives_one", 10, 1},
        {"above_ten_gives_ten", 10.5, 10},
        {"hundred_gives_ten", 100, 10},
        {"one_gives_one", 1, 1},
        {"half_gives_tenth", 0.5, 0.1},
        {"tenth_gives_tenth", 0.1, 0.1},
        {"six_gives_one", 6, 1},
        {"zero_gives_no_step", 0, 0},
        {"negative_gives_no_step", -3, 0},
        {"infinite_gives_no_step", inf, 0},
        {"nan_gives_no_step", nan, 0},
        {"huge_span_ends", 1e308, 1e307},
        {"tiny_span_ends", 3e-300, 1e-300},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_DOUBLE_EQ(tickStep(row.span), row.step);
    }
}

TEST_F(ViewModel, ViewOperations) {
    struct Row {
        const char* name;
        void (*apply)();
        ViewLimits expected;
    };
    const Row rows[] = {
        {"zoom_in_halves", [] { zoomView(0.5); }, {-2.5, 2.5, -2.5, 2.5}},
        {"zoom_out_doubles", [] { zoomView(2.0); }, {-10, 10, -10, 10}},
        {"left_shifts_half_width", [] { panView(PanDirection::Left); }, {-10, 0, -5, 5}},
        {"right_shifts_half_width", [] { panView(PanDirection::Right); }, {0, 10, -5, 5}},
        {"up_shifts_half_height", [] { panView(PanDirection::Up); }, {-5, 5, 0, 10}},
        {"down_shifts_half_height", [] { panView(PanDirection::Down); }, {-5, 5, -10, 0}},
        // Column 540 and row 270 of 900 x 900 are the world point (1, 2).
        {"zoom_in_at_point", [] { zoomAt(540, 270, 0.5); }, {-1.5, 3.5, -0.5, 4.5}},
        {"centre_at_point", [] { centreAt(540, 270); }, {-4, 6, -3, 7}},
        {"zoom_out_at_point", [] { zoomAt(540, 270, 2.0); }, {-9, 11, -8, 12}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        resizeView(900, 900);
        row.apply();
        EXPECT_DOUBLE_EQ(viewLimits.xMin, row.expected.xMin);
        EXPECT_DOUBLE_EQ(viewLimits.xMax, row.expected.xMax);
        EXPECT_DOUBLE_EQ(viewLimits.yMin, row.expected.yMin);
        EXPECT_DOUBLE_EQ(viewLimits.yMax, row.expected.yMax);
    }
}

TEST_F(ViewModel, ZeroSizedAreaHasNoPixelWidth) {
    resizeView(-3, 0);
    EXPECT_EQ(graphView.width, 0);
    EXPECT_EQ(graphView.pixelWidth, 0.0);
    setViewLimits({0, 1, 0, 1});
    EXPECT_EQ(graphView.pixelWidth, 0.0);
}

} // namespace
