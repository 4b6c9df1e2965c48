#include "graph_test_support.h"

#include "graph/appearance.h"
#include "graph/axes.h"
#include "graph/colours.h"
#include "graph/curves.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Expected {
    int x;
    int y;
    QRgb colour;
};

// Each setting on the factory view of an 800 x 600 area with f(x)=1 and g(x)=2 (rows 240 and
// 180): the pixels where the setting shows (x = 1 is column 480, x = 0.5 column 440, y = 2.5 row
// 150). No text of the picture covers another or is cut by the edge. The default appearance is
// the seed's picture.
TEST(Appearance, EachSettingShowsInThePicture) {
    struct Row {
        const char* name;
        Appearance wanted;
        std::vector<Expected> pixels;
        std::vector<const char*> texts = {};
    };
    const Row rows[] = {
        {"classic_defaults", {}, {{1, 1, backgroundColour}, {100, 300, axisColour}, {600, 240, qRgb(64, 0, 255)},
                                  {600, 180, qRgb(64, 64, 255)}, {480, 100, backgroundColour}}},
        {"light_theme", {Theme::Light}, {{1, 1, qRgb(255, 255, 255)}, {100, 300, qRgb(40, 40, 40)},
                                         {600, 240, qRgb(0, 114, 178)}, {600, 180, qRgb(213, 94, 0)}}},
        {"major_grid", {Theme::Classic, GridLines::Major}, {{480, 100, qRgb(48, 48, 72)}, {440, 100, backgroundColour},
                                                            {100, 150, backgroundColour}}},
        {"minor_grid", {Theme::Classic, GridLines::MajorAndMinor}, {{480, 100, qRgb(48, 48, 72)},
                                                                   {440, 100, qRgb(26, 26, 42)},
                                                                   {100, 150, qRgb(26, 26, 42)}}},
        {"distinct_palette", {Theme::Classic, GridLines::None, Palette::Distinct},
         {{600, 240, qRgb(86, 180, 233)}, {600, 180, qRgb(230, 159, 0)}}},
        {"width_three", {Theme::Classic, GridLines::None, Palette::Classic, 3},
         {{600, 239, qRgb(64, 0, 255)}, {600, 241, qRgb(64, 0, 255)}, {600, 242, backgroundColour}}},
        // x from -20/3 to 20/3: the tick at x = 1 moves from column 480 to 460.
        {"equal_scale", {Theme::Classic, GridLines::None, Palette::Classic, 1, false, true},
         {{460, 301, axisColour}, {480, 301, backgroundColour}}},
        {"numbered_axes", {Theme::Classic, GridLines::None, Palette::Classic, 1, true}, {}, {"1", "-2", "4"}},
        // x from -20/3 to 20/3 has no major tick but the origin's: the minor ticks carry numbers.
        {"numbered_wide_axis", {Theme::Classic, GridLines::None, Palette::Classic, 1, true, true}, {}, {"6", "-5"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(800, 600);
        resetPlotState({"f(x)=1", "g(x)=2"});
        appearance = row.wanted;
        setViewLimits(factoryLimits); // as equal scale shows them
        clearGraph();
        plotFunctions();
        appearance = Appearance{};
        for (const Expected& pixel : row.pixels)
            EXPECT_EQ(area.at(pixel.x, pixel.y), pixel.colour & RGB_MASK) << pixel.x << "," << pixel.y;
        for (const char* text : row.texts)
            EXPECT_NE(area.findText(text), nullptr) << text;
        for (std::size_t i = 0; i < area.texts.size(); ++i) {
            EXPECT_TRUE(QRect(0, 0, 800, 600).contains(textBoxOf(area.texts[i]))) << area.texts[i].text;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(textBoxOf(area.texts[i]).intersects(textBoxOf(area.texts[j])))
                    << area.texts[i].text << " on " << area.texts[j].text;
        }
    }
}

// y = x / 3 on the factory view of a 400 x 300 area, on the image and through a painter (as
// exports and prints draw): smoothed, the sloped curve's edge pixels take colours between the
// curve's and the ground's; unsmoothed, every pixel near it is one or the other.
TEST(Appearance, SmoothingBlendsCurveEdgesOnImageAndPainter) {
    struct Row {
        const char* name;
        bool painter;
        bool smooth;
    };
    const Row rows[] = {
        {"image_plain", false, false},
        {"image_smooth", false, true},
        {"painter_plain", true, false},
        {"painter_smooth", true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(400, 300);
        QImage picture(400, 300, QImage::Format_RGB32);
        QPainter painter(&picture);
        if (row.painter) setPainterTarget(&painter);
        resetPlotState({"f(x)=x/3"});
        appearance.antialiasing = row.smooth;
        clearGraph();
        plotFunctions();
        setPainterTarget(nullptr);
        painter.end();
        appearance = Appearance{};
        const QImage& drawn = row.painter ? picture : area.image;
        int blended = 0;
        for (int y = 160; y < 200; ++y) {
            for (int x = 45; x < 125; ++x) {
                const QRgb pixel = drawn.pixel(x, y) & RGB_MASK;
                blended += pixel != (backgroundColour & RGB_MASK) && pixel != (rowColour(0) & RGB_MASK) ? 1 : 0;
            }
        }
        EXPECT_EQ(blended > 0, row.smooth) << blended;
    }
}

// The label of y = 1/x would lie over the x axis's numbers; it moves to a free slot instead.
TEST(Appearance, CurveLabelsKeepClearOfAxisNumbers) {
    GraphArea area(800, 600);
    resetPlotState({"f(x)=1/x"});
    appearance.numberedAxes = true;
    clearGraph();
    plotFunctions();
    const TextDraw* label = area.findText("f(x) = 1/x");
    ASSERT_NE(label, nullptr);
    for (const TextDraw& text : area.texts) {
        if (&text == label) continue;
        EXPECT_FALSE(textBoxOf(*label).intersects(textBoxOf(text))) << text.text;
    }
}

// A smoothed shallow line (y = x/30 climbs one row in 40 columns) moves its ink a little in
// every column rather than a whole row at a time; the columns right of its label.
TEST(Appearance, SmoothedShallowLineHasNoSteps) {
    GraphArea area(800, 600, qRgb(0, 0, 0));
    resetPlotState({"f(x)=x/30"});
    appearance.antialiasing = true;
    plotFunctions();
    double largestMove = 0.0;
    double previous = -1.0;
    for (int x = 250; x < 750; ++x) {
        double ink = 0.0;
        double weighted = 0.0;
        for (int y = 280; y < 320; ++y) {
            const double v = qBlue(area.at(x, y)) + qGreen(area.at(x, y)) + qRed(area.at(x, y));
            ink += v;
            weighted += v * y;
        }
        ASSERT_GT(ink, 0.0) << x;
        const double centre = weighted / ink;
        if (previous >= 0.0) largestMove = std::max(largestMove, std::fabs(centre - previous));
        previous = centre;
    }
    EXPECT_LT(largestMove, 0.3);
}

} // namespace
