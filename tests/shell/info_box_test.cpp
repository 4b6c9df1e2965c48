// The info box readouts as the mouse moves over the graph area and pulls the rubber band.
#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/graph_area.h"
#include "shell/info_box.h"
#include "shell_test_support.h"

#include <QLabel>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// The pixel of a world point on the 500 x 500 factory view.
QPoint pixelOf(double x, double y) {
    return {int((x + 5) * 50), int((5 - y) * 50)};
}

std::string formatted(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

struct AngleCase {
    const char* name;
    double x;
    double y;
    const char* theta;
};

class PolarAngle : public ::testing::TestWithParam<AngleCase> {};

TEST_P(PolarAngle, IsMeasuredFromThePositiveXAxis) {
    EXPECT_EQ(formatted(polarAngle(GetParam().x, GetParam().y)), GetParam().theta);
}

const AngleCase angleCases[] = {
    {"ThirdQuadrantAddsPi", -1, -1, "3.926991"},         {"FourthQuadrantAddsTwoPi", 1, -1, "5.497787"},
    {"FirstQuadrantIsTheArctangent", 1, 1, "0.785398"},  {"AboveTheOriginIsHalfPi", 0, 1, "1.570796"},
    {"BelowTheOriginIsMinusHalfPi", 0, -1, "-1.570796"}, {"NegativeXAxisIsPi", -2, 0, "3.141593"},
};

INSTANTIATE_TEST_SUITE_P(InfoBox, PolarAngle, ::testing::ValuesIn(angleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InfoBox, MouseMoveShowsPositionDistanceAndAngle) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    QTest::mouseMove(window->graphArea(), pixelOf(-1, -1));
    InfoBox* box = window->infoBox();
    EXPECT_EQ(box->fieldText(InfoBox::X), "-1.000000");
    EXPECT_EQ(box->fieldText(InfoBox::Y), "-1.000000");
    EXPECT_EQ(box->fieldText(InfoBox::R), "1.414214");
    EXPECT_EQ(box->fieldText(InfoBox::Theta), "3.926991");
}

struct WholeNumberCase {
    const char* name;
    double value;
    const char* text;
};

class WholeReadout : public ::testing::TestWithParam<WholeNumberCase> {};

// Every field, and the box, is wide enough for its text, which fits on a 1366-wide screen; values
// whose fixed-point text would run to hundreds of digits are shown in exponent form.
TEST_P(WholeReadout, ShowsTheNumberUncut) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    const double v = GetParam().value;
    setViewLimits({v, v + 10, v - 10, v});
    InfoBox* box = window->infoBox();
    box->updateReadouts(QPoint(0, 0), QPoint(1, 0));
    EXPECT_EQ(box->fieldText(InfoBox::X).toStdString(), GetParam().text);
    for (const QLabel* field : box->findChildren<QLabel*>()) {
        EXPECT_GE(field->width(), field->sizeHint().width()) << field->text().toStdString();
        // As in the box's own layout, only the field's outer frame line may meet the box's border.
        EXPECT_LE(field->geometry().right(), box->width()) << field->text().toStdString();
    }
    EXPECT_LE(box->geometry().right(), 1366);
    setViewLimits(factoryLimits);
}

const WholeNumberCase wholeNumberCases[] = {
    {"EightDigitsWithSign", -10787036.1525, "-10787036.152500"},
    {"MinusOneTrillion", -1e12, "-1000000000000.000000"},
    {"OneTrillion", 1e12, "1000000000000.000000"},
    {"HugeValueInExponentForm", -1e300, "-1.000000e+300"},
};

INSTANTIATE_TEST_SUITE_P(InfoBox, WholeReadout, ::testing::ValuesIn(wholeNumberCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct LongTraceCase {
    const char* name;
    CurveKind kind;
    std::string curveName;
    std::string parameterName;
};

// Long names are cut, so the box stays narrow; the marker's numbers stay whole.
TEST(InfoBox, TraceNamesAreCutToKeepTheBoxNarrow) {
    const LongTraceCase cases[] = {
        {"function_of_254_characters", CurveKind::Function, "f(x) = x" + std::string(246, '+') + "1", "t"},
        {"parameter_of_79_characters", CurveKind::Parametric, "x = t, y = t", std::string(79, 't')},
    };
    for (const LongTraceCase& c : cases) {
        auto window = makeShownWindow();
        ASSERT_TRUE(window);
        plotSettings.parameterName = c.parameterName;
        InfoBox* box = window->infoBox();
        box->showTrace(TraceReadout{{c.kind, 0}, c.curveName, 1.0, WorldPoint{-10787036.1525, 1.0}});
        EXPECT_LE(box->width(), 300) << c.name;
        EXPECT_EQ(box->fieldText(InfoBox::X), QLatin1String("-10787036.152500")) << c.name;
        if (c.kind == CurveKind::Parametric) {
            EXPECT_TRUE(box->findChild<QLabel*>(QStringLiteral("traceParameter"))->text().endsWith(
                QLatin1String(" = 1.000000")))
                << c.name;
        }
    }
}

TEST(InfoBox, BandReadoutsFollowTheBandAndKeepTheirLastValues) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    GraphArea* area = window->graphArea();
    InfoBox* box = window->infoBox();
    QTest::mousePress(area, Qt::LeftButton, {}, pixelOf(0, 0));
    QTest::mouseMove(area, pixelOf(3, 4));
    EXPECT_EQ(box->fieldText(InfoBox::D), "5.000000");
    EXPECT_EQ(box->fieldText(InfoBox::Slope), "1.333333");
    QTest::mouseRelease(area, Qt::LeftButton, {}, pixelOf(3, 4));

    QTest::mouseMove(area, pixelOf(-2, 1));
    EXPECT_EQ(box->fieldText(InfoBox::X), "-2.000000");
    EXPECT_EQ(box->fieldText(InfoBox::D), "5.000000");
    EXPECT_EQ(box->fieldText(InfoBox::Slope), "1.333333");
}

TEST(InfoBox, HidingAndShowingKeepsPositionAndTexts) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    InfoBox* box = window->infoBox();
    box->move(40, 70);
    QTest::mouseMove(window->graphArea(), pixelOf(1, 1));
    window->runCommand(Command::ShowInfoBox);
    EXPECT_FALSE(box->isVisible());
    EXPECT_FALSE(window->isChecked(Command::ShowInfoBox));
    window->runCommand(Command::ShowInfoBox);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(window->isChecked(Command::ShowInfoBox));
    EXPECT_EQ(box->pos(), QPoint(40, 70));
    EXPECT_EQ(box->fieldText(InfoBox::X), "1.000000");
}

} // namespace

namespace {

TEST(InfoBox, DraggingItsBackgroundKeepsTheGrabPointUnderTheMouse) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    InfoBox* box = window->infoBox();
    const QPoint grab(10, 130);
    QTest::mousePress(box, Qt::LeftButton, {}, grab);
    QTest::mouseMove(box, grab + QPoint(-300, 45));
    QTest::mouseRelease(box, Qt::LeftButton, {}, grab + QPoint(-300, 45));
    EXPECT_EQ(box->pos(), QPoint(300, 55));
    EXPECT_EQ(box->size(), QSize(100, 136));
}

} // namespace
