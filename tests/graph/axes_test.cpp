#include "graph_test_support.h"

#include "graph/axes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <string>

namespace {

struct Label {
    std::string text;
    int x;
    int y;
    bool operator==(const Label&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Label& label) {
    return out << '"' << label.text << "\" at (" << label.x << ", " << label.y << ")";
}

TEST(ClearGraph, AxesAndLabelsWhereTheViewPutsThem) {
    struct Row {
        const char* name;
        int width;
        int height;
        ViewLimits limits;
        int axisRow;
        int axisColumn;
        std::vector<Label> labels; // left, right, bottom, top
    };
    const Row rows[] = {
        {"factory_view",
         800,
         600,
         factoryLimits,
         300,
         400,
         {{"-5.00", 3, 303}, {" 5.00", 760, 303}, {"-5.00", 403, 580}, {" 5.00", 403, 3}}},
        {"odd_size_truncates_half",
         801,
         601,
         factoryLimits,
         300,
         400,
         {{"-5.00", 3, 303}, {" 5.00", 761, 303}, {"-5.00", 403, 581}, {" 5.00", 403, 3}}},
        {"origin_left_of_view",
         600,
         400,
         {2, 8, -5, 5},
         200,
         0,
         {{" 2.00", 3, 203}, {" 8.00", 560, 203}, {"-5.00", 3, 380}, {" 5.00", 3, 3}}},
        {"origin_right_of_view",
         600,
         400,
         {-20, -10, -5, 5},
         200,
         560,
         {{"-20.00", 3, 203}, {"-10.00", 560, 203}, {"-5.00", 563, 380}, {" 5.00", 563, 3}}},
        {"small_y_span_keeps_axis_off_bottom",
         600,
         400,
         {-5, 5, 1, 1.5},
         380,
         300,
         {{"-5.00", 3, 383}, {" 5.00", 560, 383}, {" 1.00", 303, 380}, {" 1.50", 303, 3}}},
        {"far_from_origin",
         1000,
         500,
         {1e12, 1e12 + 10, -5, 5},
         250,
         0,
         // The right label moves left until it ends inside the area.
         {{"1000000000000.00", 3, 253}, {"1000000000010.00", 881, 253}, {"-5.00", 3, 480}, {" 5.00", 3, 3}}},
        {"labels_at_first_multiples_inside",
         1000,
         500,
         {-5.033, 4.967, -5, 5},
         250,
         503,
         {{"-5.00", 6, 253}, {" 4.90", 953, 253}, {"-5.00", 506, 480}, {" 5.00", 506, 3}}},
        {"edges_just_below_zero_read_plain_zero",
         600,
         400,
         {-0.01, 9.99, -0.01, 9.99},
         380,
         0,
         {{" 0.00", 3, 383}, {"10.00", 560, 383}, {" 0.00", 3, 379}, {"10.00", 3, 3}}},
        {"edges_just_above_zero_read_plain_zero",
         600,
         400,
         {-10.01, -0.01, -10.01, -0.01},
         0,
         560,
         {{"-10.00", 3, 3}, {" 0.00", 560, 3}, {"-10.00", 561, 379}, {" 0.00", 563, 3}}},
        // Half a pixel per minor step: a multiple less than a pixel outside still truncates into
        // the view (5.2 lands at 50.99..., column 50).
        {"truncation_admits_multiple_outside",
         50,
         40,
         factoryLimits,
         20,
         10,
         {{"-5.10", 3, 23}, {" 5.20", 10, 23}, {"-5.20", 13, 20}, {" 5.20", 13, 3}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(row.width, row.height);
        setViewLimits(row.limits);
        clearGraph();
        std::vector<Label> drawn;
        for (const TextDraw& text : area.texts) {
            drawn.push_back({text.text, text.x, text.y});
            EXPECT_EQ(text.colour & RGB_MASK, axisColour & RGB_MASK);
        }
        EXPECT_EQ(drawn, row.labels);
        // Axis lines, away from the labels.
        EXPECT_EQ(area.at(row.width / 4, row.axisRow), axisColour & RGB_MASK);
        EXPECT_EQ(area.at(row.axisColumn, row.height / 4), axisColour & RGB_MASK);
    }
}

TEST(ClearGraph, BackgroundWithBlackOutline) {
    GraphArea area(200, 100);
    clearGraph();
    EXPECT_EQ(area.at(0, 0), 0u);
    EXPECT_EQ(area.at(199, 99), 0u);
    EXPECT_EQ(area.at(199, 20), 0u);
    EXPECT_EQ(area.at(1, 1), backgroundColour & RGB_MASK);
    EXPECT_EQ(area.at(198, 98), backgroundColour & RGB_MASK);
}

TEST(ClearGraph, TicksExcludeTheirUpperEnd) {
    GraphArea area(800, 600);
    clearGraph();
    const QRgb red = axisColour & RGB_MASK;
    const QRgb back = backgroundColour & RGB_MASK;
    const int major = screenX(1.0); // 480
    const int minor = screenX(1.5); // 520
    EXPECT_EQ(area.at(major, 304), red);
    EXPECT_EQ(area.at(major, 297), red);
    EXPECT_EQ(area.at(major, 296), back);
    EXPECT_EQ(area.at(major, 305), back);
    EXPECT_EQ(area.at(minor, 302), red);
    EXPECT_EQ(area.at(minor, 299), red);
    EXPECT_EQ(area.at(minor, 298), back);
    const int yMajor = screenY(2.0); // row 180
    EXPECT_EQ(area.at(404, yMajor), red);
    EXPECT_EQ(area.at(397, yMajor), red);
    EXPECT_EQ(area.at(396, yMajor), back);
}

int tickColumnsOnRow(const GraphArea& area, int row) {
    const PixelSet red = area.pixelsOf(axisColour);
    return static_cast<int>(
        std::count_if(red.begin(), red.end(), [row](const Pixel& p) { return p.second == row; }));
}

TEST(ClearGraph, TicksFarFromTheOriginMatchThoseNearIt) {
    GraphArea area(1000, 500);
    setViewLimits({0, 10, -5, 5});
    clearGraph();
    const int nearOrigin = tickColumnsOnRow(area, 249);
    setViewLimits({1e12, 1e12 + 10, -5, 5});
    clearGraph();
    EXPECT_EQ(tickColumnsOnRow(area, 249), nearOrigin);
    EXPECT_GE(nearOrigin, 100);
}

TEST(ClearGraph, AxisWithoutPositiveFiniteSpanGetsNoTicksOrLabels) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* name;
        ViewLimits limits;
        std::size_t labels;
    };
    const Row rows[] = {
        {"empty_x_span", {1, 1, -5, 5}, 2},
        {"both_reversed", {5, -5, 5, -5}, 0},
        {"infinite_x_span", {-inf, inf, 0, 1}, 2},
        {"nan_x_limit", {std::numeric_limits<double>::quiet_NaN(), 1, 0, 1}, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(300, 200);
        setViewLimits(row.limits);
        clearGraph();
        EXPECT_EQ(area.texts.size(), row.labels);
        EXPECT_EQ(area.at(1, 1), backgroundColour & RGB_MASK);
    }
}

} // namespace
