#include "graph_test_support.h"

#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "expr/stop_hook.h"
#include "expr/symbol_store.h"
#include "graph/axes.h"
#include "graph/curves.h"
#include "graph/parametric_polar.h"
#include "graph/plot_settings.h"

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr QRgb labelText = qRgb(220, 220, 250) & RGB_MASK;
constexpr QRgb chordPen = qRgb(255, 255, 0) & RGB_MASK;
constexpr QRgb readout = qRgb(0, 255, 0) & RGB_MASK;

bool anyLeftOf(const PixelSet& pixels, int column) {
    for (const Pixel& p : pixels) {
        if (p.first < column) return true;
    }
    return false;
}

TEST(PlotFunctions, MathErrorLiftsThePen) {
    GraphArea area(800, 600);
    resetPlotState({"f(x)=sqrt(x)"});
    plotFunctions();
    const PixelSet curve = area.pixelsOf(rowColour(0));
    EXPECT_FALSE(anyLeftOf(curve, 400));
    EXPECT_TRUE(curve.count({400, 300}));
    EXPECT_TRUE(curve.count({401, 296}));
}

// A sample without a value (a recursive function, work stopped at once, a body that cannot be
// read to its end) is never drawn at 0.
TEST(PlotFunctions, SamplesWithoutAValueAreNotDrawn) {
    struct Row {
        std::vector<const char*> definitions;
        bool stopAtOnce;
    };
    const Row rows[] = {
        {{"r(x)=r(x)"}, false},   {{"f(x)=g(x)", "g(x)=f(x)"}, false}, {{"s(x)=sum(n,1,10^300,n)"}, true},
        {{"u(x)=2x"}, false},     {{"u(x)=x+(1"}, false},             {{"u(x)=nof(x)+x"}, false},
        {{"u(x)=x+1.2.3"}, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.definitions[0]);
        GraphArea area(800, 600);
        resetPlotState(row.definitions);
        setStopHook(row.stopAtOnce ? [](WorkEvent event) { return event == WorkEvent::poll; } : StopHook{});
        plotFunctions();
        setStopHook(nullptr);
        EXPECT_TRUE(area.pixelsOf(rowColour(0)).empty());
        EXPECT_TRUE(area.pixelsOf(rowColour(1)).empty());
    }
}

TEST(PlotFunctions, DerivativeCurvesInALighterShadeWithTheirLabels) {
    struct Row {
        const char* name;
        int order;
        double (*value)(double);
        QRgb colour;
        const char* label;
    };
    const Row rows[] = {
        {"first", 1, [](double x) { return 2 * x; }, qRgb(160, 128, 255), "f'(x)"},
        {"second", 2, [](double) { return 2.0; }, qRgb(208, 192, 255), "f''(x)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(800, 600);
        resetPlotState({"f(x)=x^2"});
        displayFlags[0] = 0;
        (row.order == 1 ? plotSettings.firstDerivativeFlags : plotSettings.secondDerivativeFlags)[0] = 1;
        plotFunctions();
        const PixelSet curve = area.pixelsOf(row.colour);
        for (int column : {300, 450, 600})
            EXPECT_TRUE(curve.count({column, screenY(row.value(worldX(column)))})) << column;
        EXPECT_TRUE(area.pixelsOf(rowColour(0)).empty());
        EXPECT_NE(area.findText(row.label), nullptr);
    }
}

// Neighbouring samples are joined only where the curve closes up between them: no line runs
// through a pole or up a jump, while a steep continuous curve still covers every row it crosses.
TEST(PlotFunctions, PolesAndJumpsLiftThePenSteepCurvesStayJoined) {
    struct Row {
        const char* name;
        const char* definition;
        ViewLimits view;
        bool polar;
        QRect empty;         // where the curve must draw nothing
        bool crossesEveryRow; // from the bottom edge to the top
    };
    const ViewLimits narrow{-2, 2, -5, 5};
    const Row rows[] = {
        {"tan", "f(x)=tan(x)", factoryLimits, false, QRect(QPoint(525, 0), QPoint(526, 599)), true},
        {"reciprocal", "f(x)=1/x", factoryLimits, false, QRect(QPoint(399, 0), QPoint(400, 599)), false},
        {"floor", "f(x)=floor(x)", factoryLimits, false, QRect(QPoint(479, 241), QPoint(480, 299)), false},
        {"polar_tan", "r(t)=tan(t)", factoryLimits, true, QRect(QPoint(479, 0), QPoint(479, 599)), false},
        {"steep_polynomial", "f(x)=x^9", narrow, false, QRect(), true},
        {"steep_sine", "f(x)=100*sin(x)", factoryLimits, false, QRect(), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(800, 600);
        resetPlotState({row.definition});
        setViewLimits(row.view);
        if (row.polar) {
            displayFlags[0] = 0;
            plotSettings.polarFlags[0] = 1;
            plotSettings.angleVariable = "t";
            plotPolar();
        } else {
            plotFunctions();
        }
        const PixelSet curve = area.pixelsOf(row.polar ? qRgb(255, 255, 0) : rowColour(0));
        std::set<int> rowsHit;
        int inEmpty = 0;
        for (const Pixel& p : curve) {
            inEmpty += row.empty.contains(p.first, p.second) ? 1 : 0;
            rowsHit.insert(p.second);
        }
        EXPECT_EQ(inEmpty, 0);
        if (row.crossesEveryRow) {
            EXPECT_EQ(rowsHit.size(), 600u);
        }
    }
}

TEST(PlotFunctions, LabelsFollowTheLabelRule) {
    struct Placed {
        const char* text;
        int x;
        int y;
    };
    struct Row {
        const char* name;
        std::vector<const char*> definitions;
        std::vector<Placed> labels;
    };
    // 800 x 600 factory view: the first qualifying column 121 is x = -3.4875, row 509. A label at
    // the previous label's place takes the free slot one box height above it.
    const int box = qCeil(QFontMetricsF(QFont()).height());
    const Row rows[] = {
        {"first_at_131_second_after_gap",
         {"f(x)=x", "g(x)=1"},
         {{"f(x) = x", 131, 509}, {"g(x) = 1", 252, 240}}},
        {"curve_above_view_moves_off_the_previous_label",
         {"f(x)=x", "g(x)=100"},
         {{"f(x) = x", 131, 509}, {"g(x) = 100", 131, 509 - box}}},
        {"first_curve_outside_view_labels_at_top", {"f(x)=0-100"}, {{"f(x) = 0-100", 10, 0}}},
        {"near_bottom_lifted_by_20", {"f(x)=0-4.99"}, {{"f(x) = 0-4.99", 131, 579}}},
        {"parameters_not_bound", {"f(t)=t+1"}, {{"f(t) = t+1", 131, 240}}},
        {"several_parameters", {"f(x,y)=x+2*y"}, {{"f(x,y) = x+2*y", 131, 509}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(800, 600);
        resetPlotState(row.definitions);
        plotFunctions();
        ASSERT_EQ(area.texts.size(), row.labels.size());
        for (std::size_t i = 0; i < row.labels.size(); ++i) {
            EXPECT_EQ(area.texts[i].text, row.labels[i].text);
            EXPECT_EQ(area.texts[i].x, row.labels[i].x);
            EXPECT_EQ(area.texts[i].y, row.labels[i].y);
            EXPECT_EQ(area.texts[i].colour & RGB_MASK, labelText);
        }
    }
}

TEST(PlotFunctions, RowsAndColours) {
    GraphArea area(400, 300);
    resetPlotState({"a(x)=0-4", "b(x)=0-3", "c(x)=0-2", "d(x)=0-1", "e(x)=0", "f(x)=1", "g(x)=2", "h(x)=3",
                    "k(x)=4", "m(x)=4.5", "n(x)=0.5"});
    displayFlags[2] = 0;
    plotFunctions();
    EXPECT_EQ(area.texts.size(), 9u); // ten rows, one hidden, the eleventh function has no row
    EXPECT_EQ(area.findText("n(x) = 0.5"), nullptr);
    EXPECT_EQ(area.findText("c(x) = 0-2"), nullptr);
    struct Row {
        int row;
        double value;
        QRgb colour;
    };
    const Row rows[] = {{0, -4, qRgb(64, 0, 255)}, {1, -3, qRgb(64, 64, 255)}, {3, -1, qRgb(64, 192, 255)},
                        {4, 0, qRgb(64, 0, 255)},  {6, 2, qRgb(64, 128, 255)}, {9, 4.5, qRgb(64, 64, 255)}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        EXPECT_EQ(rowColour(row.row) & RGB_MASK, row.colour & RGB_MASK);
        EXPECT_EQ(area.at(100, screenY(row.value)), row.colour & RGB_MASK);
    }
    EXPECT_NE(area.at(100, screenY(-2)), rowColour(2) & RGB_MASK);
}

TEST(PlotFunctions, RunningIntegralRestartsForEveryFunction) {
    GraphArea area(100, 100);
    resetPlotState({"f(x)=int(1)", "g(x)=int(1)"});
    plotFunctions();
    // One sample for the starting move and one per column, each adding one pixel width.
    EXPECT_NEAR(integralSum, 101 * graphView.pixelWidth, 1e-9);
    resetPlotState({"f(x)=int(1)", "g(x)=int(1)"});
    displayFlags[1] = 0;
    plotFunctions();
    EXPECT_EQ(integralSum, 0.0);
}

TEST(FunctionLabel, IsCutToTheLabelBuffer) {
    resetPlotState({"f(x)=x"});
    FunctionEntry entry = *userFunctionAt(0);
    EXPECT_EQ(functionLabel(entry), "f(x) = x");
    entry.bodyText = std::string(200, '1');
    EXPECT_EQ(functionLabel(entry).size(), functionLabelSize - 1);
}

TEST(PlotGraphExpression, ClearsThenDrawsInAColourThatStandsOut) {
    GraphArea area(800, 600);
    resetPlotState();
    plotGraphExpression(compileExpression("x"));
    EXPECT_EQ(area.at(1, 1), backgroundColour & RGB_MASK);
    const QRgb curve = area.at(100, 525); // x = -3.75
    EXPECT_EQ(curve, graphExpressionColour & RGB_MASK);
    const int margin = std::abs(qRed(curve) - qRed(backgroundColour)) +
                       std::abs(qGreen(curve) - qGreen(backgroundColour)) +
                       std::abs(qBlue(curve) - qBlue(backgroundColour));
    EXPECT_GT(margin, 255);
    EXPECT_EQ(area.texts.size(), 4u); // the axis labels only
}

void expectText(const GraphArea& area, const std::string& text, int x, int y) {
    const TextDraw* draw = area.findText(text);
    ASSERT_NE(draw, nullptr) << text;
    EXPECT_EQ(draw->x, x) << text;
    EXPECT_EQ(draw->y, y) << text;
}

TEST(DrawChord, ReadoutsBesideTheTriangle) {
    struct Readout {
        std::string text;
        int x;
        int y;
    };
    struct Row {
        const char* name;
        const char* definition;
        ViewLimits limits;
        std::vector<Readout> readouts;
    };
    // 800 x 600; the anchor is column 480, x = 1 on the factory view.
    const Row rows[] = {
        {"rising_below",
         "f(x)=x^2",
         factoryLimits,
         {{"Along = 1.000000", 480, 250}, {"Chord slope = 3.000000", 480, 270}, {"Up = 3.000000", 564, 150}}},
        {"falling_above",
         "f(x)=0-x",
         factoryLimits,
         {{"Along = 1.000000", 480, 340},
          {"Chord slope = -1.000000", 480, 320},
          {"Up = -1.000000", 564, 390}}},
        {"constant_above",
         "f(x)=2",
         factoryLimits,
         {{"Along = 1.000000", 480, 160}, {"Chord slope = 0.000000", 480, 140}, {"Up = 0.000000", 564, 180}}},
        {"run_halves_when_zoomed_in",
         "f(x)=x^2",
         {-2.5, 2.5, -2.5, 2.5},
         {{"Along = 0.500000", 480, 280}, {"Chord slope = 1.500000", 480, 300}, {"Up = 0.750000", 564, 225}}},
        // Rows 360000300 and -359999700: far outside the image, yet within the int range, so
        // "Up" stays in the middle, between them.
        {"steep_line_keeps_its_rows",
         "f(x)=12000000*x-18000000",
         factoryLimits,
         {{"Along = 1.000000", 480, 560},
          {"Chord slope = 12000000.000000", 480, 580},
          {"Up = 12000000.000000", 564, 300}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(800, 600);
        resetPlotState({row.definition});
        setViewLimits(row.limits);
        plotSettings.chordShown = 1;
        plotSettings.popupPoint = {480, 17};
        plotFunctions();
        for (const Readout& r : row.readouts)
            expectText(area, r.text, r.x, r.y);
        EXPECT_EQ(area.findText(row.readouts[0].text)->colour & RGB_MASK, readout);
    }
}

// A chord near the right edge of a steep curve: its readouts move into the area, whole.
TEST(DrawChord, ReadoutsStayWholeInsideTheArea) {
    GraphArea area(800, 600);
    setViewLimits(factoryLimits);
    resetPlotState({"f(x)=x*10^30"});
    plotSettings.chordShown = 1;
    plotSettings.popupPoint = {760, 17};
    plotFunctions();
    const QFontMetrics metrics{QFont()};
    int readouts = 0;
    for (const TextDraw& draw : area.texts) {
        if ((draw.colour & RGB_MASK) != readout) continue;
        ++readouts;
        const QString text = QString::fromStdString(draw.text);
        EXPECT_GE(draw.x, 0) << draw.text;
        EXPECT_GE(draw.y, 0) << draw.text;
        EXPECT_LE(draw.x + metrics.horizontalAdvance(text), 800) << draw.text;
        EXPECT_LE(draw.y + metrics.height(), 600) << draw.text;
    }
    EXPECT_EQ(readouts, 3);
}

TEST(DrawChord, TriangleLegsAndHypotenuse) {
    GraphArea area(800, 600);
    resetPlotState({"f(x)=x^2"});
    plotSettings.chordShown = 1;
    plotSettings.popupPoint = {480, 0};
    plotFunctions();
    EXPECT_EQ(area.at(520, 240), chordPen); // horizontal leg at y = 1
    EXPECT_EQ(area.at(560, 100), chordPen); // vertical leg at x = 2
    EXPECT_EQ(area.at(520, 150), chordPen); // chord from (1, 1) to (2, 4)
}

TEST(DrawChord, OnlyOnADisplayedChordRow) {
    struct Row {
        const char* name;
        int chordRow;
        int displayed;
        bool drawn;
    };
    const Row rows[] = {
        {"displayed_row", 1, 1, true}, {"hidden_row", 1, 0, false}, {"other_row", 0, 1, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(800, 600);
        resetPlotState({"f(x)=0-x", "g(x)=x"});
        displayFlags[0] = 0;
        displayFlags[1] = row.displayed;
        plotSettings.chordShown = 1;
        plotSettings.chordRow = row.chordRow;
        plotSettings.popupPoint = {480, 0};
        plotFunctions();
        EXPECT_EQ(area.findText("Chord slope = 1.000000") != nullptr, row.drawn);
    }
}

} // namespace
