#include "graph_test_support.h"

#include "graph/appearance.h"
#include "graph/axes.h"
#include "graph/colours.h"
#include "graph/curves.h"
#include "graph/explore_marks.h"
#include "graph/parametric_polar.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include <map>

namespace {

constexpr QRgb axis = axisColour & RGB_MASK;
constexpr QRgb labelBox = qRgb(55, 55, 20) & RGB_MASK;
constexpr QRgb labelInk = qRgb(220, 220, 250) & RGB_MASK;

// A 200 x 150 area (factory view) with y = x at device-pixel ratios 1, 2 and 4, drawn at the
// image's scale: the layout keeps its logical size while the curve is sampled in every device
// column (at ratio 1 one pixel per column) and the label box is the font's logical height in
// device pixels. Drawn without the scale, a dense image stays as it was.
TEST(DeviceRatio, LayoutInLogicalPixelsCurveAndTextInDevicePixels) {
    const int fontHeight = QFontMetrics(QFont()).height();
    for (const int r : {1, 2, 4}) {
        SCOPED_TRACE(r);
        GraphArea area(200, 150, qRgb(1, 2, 3), r);
        resetPlotState({"f(x)=x"});
        plotFunctions();
        EXPECT_EQ(area.pixelsOf(rowColour(0)).empty(), r > 1);
        area.texts.clear();
        {
            const DeviceView device(r);
            clearGraph();
            plotFunctions();
        }
        EXPECT_EQ(graphView.width, 200);
        EXPECT_EQ(graphView.ratio, 1);

        // The major tick at x = 1: column 120, four logical pixels either side of the axis row 75.
        EXPECT_EQ(area.at(120 * r, 79 * r), axis);
        EXPECT_NE(area.at(120 * r, 79 * r + 1), axis);
        EXPECT_EQ(area.at(120 * r, 71 * r + 1), axis);
        EXPECT_NE(area.at(120 * r, 71 * r), axis);

        std::map<int, int> perColumn;
        for (const Pixel& p : area.pixelsOf(rowColour(0)))
            ++perColumn[p.first];
        EXPECT_GT(perColumn.size(), 180u * r);
        if (r == 1) {
            for (const auto& [column, count] : perColumn)
                ASSERT_EQ(count, 1) << "column " << column;
        }

        // The label goes 10 logical pixels right of the first column past the 120-pixel gap.
        const TextDraw* label = area.findText("f(x) = x");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->x, 120 * r + 1 + 10 * r);
        int boxRows = 0;
        for (int y = 0; y < area.image.height(); ++y)
            boxRows += area.at(label->x, y) == labelBox || area.at(label->x, y) == labelInk ? 1 : 0;
        EXPECT_EQ(boxRows, fontHeight * r);

        // An explore cross off the curve keeps arms of 4 logical pixels.
        constexpr QRgb cross = qRgb(9, 200, 9);
        clearExploreMarks();
        addExploreMark({-2, 1, cross});
        {
            const DeviceView device(r);
            drawExploreMarks();
        }
        EXPECT_EQ(area.at((screenX(-2) + 4) * r, (screenY(1) + 4) * r), cross & RGB_MASK);
        EXPECT_EQ(area.at((screenX(-2) - 4) * r, (screenY(1) - 4) * r), cross & RGB_MASK);
        clearExploreMarks();
    }
}

// A horizontal curve (y = 1) and a vertical one (x(t) = 1) are as many device pixels across as
// the curve width in logical pixels times the ratio; at ratio 1 and width 1 the seed's one pixel.
TEST(DeviceRatio, CurveWidthsCountLogicalPixels) {
    struct Row {
        int ratio;
        int width;
        int across;
    };
    const Row rows[] = {{1, 1, 1}, {2, 1, 2}, {2, 2, 4}, {2, 3, 6}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "ratio " << row.ratio << " width " << row.width);
        GraphArea area(200, 150, qRgb(1, 2, 3), row.ratio);
        resetPlotState({"f(x)=1"});
        appearance.curveWidth = row.width;
        setParametric("1", "t", "t", "-4", "4");
        {
            const DeviceView device(row.ratio);
            plotFunctions();
            plotParametric();
        }
        appearance = Appearance{};
        int rowsAcross = 0;
        int columnsAcross = 0;
        for (int y = 0; y < area.image.height(); ++y)
            rowsAcross += area.at(20 * row.ratio, y) == (rowColour(0) & RGB_MASK) ? 1 : 0;
        for (int x = 0; x < area.image.width(); ++x)
            columnsAcross += area.at(x, 40 * row.ratio) == (colours().parametric & RGB_MASK) ? 1 : 0;
        EXPECT_EQ(rowsAcross, row.across);
        EXPECT_EQ(columnsAcross, row.across);
    }
}

} // namespace
