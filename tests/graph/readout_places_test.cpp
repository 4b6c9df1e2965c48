#include "graph_test_support.h"

#include "expr/compiler.h"
#include "graph/axes.h"
#include "graph/curves.h"
#include "graph/explore_marks.h"
#include "graph/plot_settings.h"

#include <QRect>
#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr QRgb markColour = qRgb(9, 200, 9);

// Each row sets up readouts that would land on one another at their wanted places: every readout
// of the picture (the axis numbers aside) must lie in the area and cover no other.
TEST(Readouts, NeverCoverEachOther) {
    struct Row {
        const char* name;
        std::function<void()> setUp;
    };
    const Row rows[] = {
        {"two_marks_close",
         [] {
             addExploreMark({1, 1, markColour});
             addExploreMark({1.05, 1.05, markColour});
         }},
        {"mark_on_the_curve_label", [] { addExploreMark({-3.5, -3.4875, markColour}); }},
        {"mark_on_the_chord_readout",
         [] {
             plotSettings.chordShown = 1;
             plotSettings.popupPoint = {400, 0};
             addExploreMark({-0.05, -0.1, markColour});
         }},
        {"mark_on_the_area_readout",
         [] {
             setAreaShading({compileExpression("x"), 1, 3, markColour, 4, "Area = 4.000000"});
             addExploreMark({1.9, -0.05, markColour});
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(800, 600);
        resetPlotState({"f(x)=x"});
        clearExploreMarks();
        row.setUp();
        clearGraph();
        const std::size_t axisNumbers = area.texts.size();
        plotFunctions();
        drawExploreMarks();
        clearExploreMarks();
        ASSERT_GT(area.texts.size(), axisNumbers + 1);
        const QRect whole(0, 0, 800, 600);
        for (std::size_t i = axisNumbers; i < area.texts.size(); ++i) {
            const QRect box = textBoxOf(area.texts[i]);
            EXPECT_TRUE(whole.contains(box)) << area.texts[i].text;
            for (std::size_t j = axisNumbers; j < i; ++j)
                EXPECT_FALSE(box.intersects(textBoxOf(area.texts[j]))) << area.texts[i].text << " on " << area.texts[j].text;
        }
    }
}

} // namespace
