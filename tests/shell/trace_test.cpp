// Trace on the 500 x 500 factory view (50 pixels a unit, origin at 250, 250), driven by keys the
// way a user drives it: the marker's x, y and parameter as the info box shows them.
#include "expr/command_interpreter.h"
#include "expr/message_hook.h"
#include "graph/plot_settings.h"
#include "graph/trace.h"
#include "graph/view_model.h"
#include "shell/commands.h"
#include "shell/graph_area.h"
#include "shell/info_box.h"
#include "shell_test_support.h"

#include <QCursor>
#include <QDialog>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> shownMessages;

void recordMessage(const char* caption, const char* body, int) {
    shownMessages.push_back(std::string(caption) + ": " + body);
}

void showPolarRow() {
    displayFlags[0] = 0;
    plotSettings.polarFlags[0] = 1;
    plotSettings.angleVariable = "t";
}

void showCircle() {
    plotSettings.parametricX = "cos(t)";
    plotSettings.parametricY = "sin(t)";
    plotSettings.parameterName = "t";
    plotSettings.parameterFrom = "0";
    plotSettings.parameterTo = "6.283";
    plotSettings.parametricShown = 1;
}

void showFirstDerivative() {
    plotSettings.firstDerivativeFlags[0] = 1;
}

struct TraceCase {
    const char* name;
    std::vector<const char*> definitions;
    void (*setUp)();
    QPoint pointer;
    bool byKey; // T at the pointer instead of the popup's entry
    std::vector<Qt::Key> keys;
    const char* curve; // the name the box shows; nullptr when the start must fail
    const char* x;
    const char* y;
    const char* parameter; // empty on an explicit graph
    Qt::KeyboardModifiers modifiers = Qt::NoModifier; // held with every key
};

void PrintTo(const TraceCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<Qt::Key> repeated(Qt::Key key, int times) {
    return std::vector<Qt::Key>(static_cast<std::size_t>(times), key);
}

// clang-format off
const TraceCase traceCases[] = {
    {"RightMovesOneColumnAtATime", {"f(x)=x^2"}, nullptr, {300, 200}, false, repeated(Qt::Key_Right, 5),
     "f(x) = x^2", "1.100000", "1.210000", ""},
    {"LeftMovesBack", {"f(x)=x^2"}, nullptr, {300, 200}, false, repeated(Qt::Key_Left, 3),
     "f(x) = x^2", "0.940000", "0.883600", ""},
    {"ShiftRightMovesTenColumns", {"f(x)=x^2"}, nullptr, {300, 200}, false, {Qt::Key_Right},
     "f(x) = x^2", "1.200000", "1.440000", "", Qt::ShiftModifier},
    {"TKeyStartsAtThePointer", {"f(x)=x^2"}, nullptr, {300, 200}, true, {Qt::Key_Right},
     "f(x) = x^2", "1.020000", "1.040400", ""},
    {"ColumnsWithoutValueArePassedOver", {"f(x)=sqrt(x^2-1)"}, nullptr, {150, 163}, false,
     repeated(Qt::Key_Right, 51), "f(x) = sqrt(x^2-1)", "1.000000", "0.000000", ""},
    {"StopsAtTheLastColumnWithAValue", {"f(x)=sqrt(x)"}, nullptr, {255, 234}, false, repeated(Qt::Key_Left, 10),
     "f(x) = sqrt(x)", "0.000000", "0.000000", ""},
    {"PageDownGoesToTheNextCurve", {"f(x)=x^2", "g(x)=x+3"}, nullptr, {300, 200}, false, {Qt::Key_PageDown},
     "g(x) = x+3", "1.000000", "4.000000", ""},
    {"PageUpGoesRoundToTheLastCurve", {"f(x)=x^2", "g(x)=x+3"}, nullptr, {300, 200}, false, {Qt::Key_PageUp},
     "g(x) = x+3", "1.000000", "4.000000", ""},
    {"DerivativeCurveIsACurveOfItsOwn", {"f(x)=x^2"}, showFirstDerivative, {300, 200}, false, {Qt::Key_PageDown},
     "f'(x)", "1.000000", "2.000000", ""},
    {"PolarStepsTheAngle", {"f(t)=2"}, showPolarRow, {350, 250}, false, repeated(Qt::Key_Right, 10),
     "f(t) = 2", "1.990008", "0.199667", "θ = 0.100000"},
    {"ParametricStepsTheParameter", {}, showCircle, {300, 250}, false, repeated(Qt::Key_Right, 100),
     "x = cos(t), y = sin(t)", "0.809028", "0.587770", "t = 0.628300"},
    {"NoCurveInView", {"f(x)=x^2+100"}, nullptr, {300, 200}, false, {}, nullptr, "", "", ""},
};
// clang-format on

class TraceKeys : public ::testing::TestWithParam<TraceCase> {};

// A window with the graph area holding the keyboard, as after a click on it, and no trace.
std::unique_ptr<MainWindow> makeKeyboardWindow() {
    endTrace();
    shownMessages.clear();
    auto window = makeShownWindow();
    if (!window) return nullptr;
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) return nullptr;
    window->graphArea()->setFocus();
    setMessageHook(recordMessage); // after the window installed its own
    return window;
}

void startTraceAt(MainWindow& window, QPoint pointer, bool byKey) {
    if (byKey) {
        QCursor::setPos(window.graphArea()->mapToGlobal(pointer));
        QTest::keyClick(window.graphArea(), Qt::Key_T);
    } else {
        plotSettings.popupPoint = {pointer.x(), pointer.y()};
        dispatchCommand(window, Command::Trace);
    }
    QCoreApplication::processEvents();
}

QString traceName(const MainWindow& window) {
    const auto* label = window.infoBox()->findChild<QLabel*>(QStringLiteral("traceName"));
    return label->isHidden() ? QString() : label->text();
}

QString traceParameter(const MainWindow& window) {
    const auto* label = window.infoBox()->findChild<QLabel*>(QStringLiteral("traceParameter"));
    return label->isHidden() ? QString() : label->text();
}

TEST_P(TraceKeys, MoveTheMarkerAlongItsCurve) {
    const TraceCase& c = GetParam();
    auto window = makeKeyboardWindow();
    ASSERT_TRUE(window);
    for (const char* definition : c.definitions)
        answerConsoleLine(std::string(":defn ") + definition);
    if (c.setUp != nullptr) c.setUp();
    window->requestRepaint();
    QCoreApplication::processEvents();
    startTraceAt(*window, c.pointer, c.byKey);
    if (c.curve == nullptr) {
        EXPECT_EQ(shownMessages, std::vector<std::string>{"Trace: No curve in view near the pointer."});
        EXPECT_FALSE(isTracing());
        return;
    }
    for (Qt::Key key : c.keys)
        QTest::keyClick(window->graphArea(), key, c.modifiers);
    QCoreApplication::processEvents();
    EXPECT_TRUE(shownMessages.empty());
    EXPECT_EQ(traceName(*window), QString::fromUtf8(c.curve));
    EXPECT_EQ(window->infoBox()->fieldText(InfoBox::X), QLatin1String(c.x));
    EXPECT_EQ(window->infoBox()->fieldText(InfoBox::Y), QLatin1String(c.y));
    EXPECT_EQ(traceParameter(*window), QString::fromUtf8(c.parameter));
    EXPECT_EQ(viewLimits.xMin, factoryLimits.xMin) << "the arrows moved the marker, not the view";
}

INSTANTIATE_TEST_SUITE_P(Trace, TraceKeys, ::testing::ValuesIn(traceCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct EndCase {
    const char* name;
    bool byClick; // otherwise Escape
};

class TraceEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(TraceEnd, GivesTheArrowsBackToPanning) {
    auto window = makeKeyboardWindow();
    ASSERT_TRUE(window);
    answerConsoleLine(":defn f(x)=x^2");
    startTraceAt(*window, {300, 200}, false);
    ASSERT_TRUE(isTracing());
    if (GetParam().byClick)
        QTest::mouseClick(window->graphArea(), Qt::LeftButton, {}, QPoint(100, 100));
    else
        QTest::keyClick(window->graphArea(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(isTracing());
    EXPECT_TRUE(traceName(*window).isEmpty());
    QTest::keyClick(window->graphArea(), Qt::Key_Right);
    EXPECT_GT(viewLimits.xMin, factoryLimits.xMin);
}

INSTANTIATE_TEST_SUITE_P(Trace, TraceEnd, ::testing::Values(EndCase{"Escape", false}, EndCase{"Click", true}),
                         [](const auto& info) { return std::string(info.param.name); });

int whiteCorners(const QImage& image, QPoint centre) {
    int count = 0;
    for (const QPoint corner : {QPoint(-4, -4), QPoint(4, -4), QPoint(4, 4), QPoint(-4, 4)})
        count += (image.pixel(centre + corner) & RGB_MASK) == 0xffffffu ? 1 : 0;
    return count;
}

// The marker is a white square with arms of 4 pixels around the point, and stays on the point
// when the view zooms.
TEST(TraceMarker, SitsOnThePointAndFollowsTheZoom) {
    auto window = makeKeyboardWindow();
    ASSERT_TRUE(window);
    answerConsoleLine(":defn f(x)=x^2");
    startTraceAt(*window, {300, 200}, false);
    EXPECT_EQ(whiteCorners(window->graphArea()->image(), {300, 200}), 4);
    dispatchCommand(*window, Command::ZoomIn); // the view -2.5..2.5: (1, 1) at pixel (350, 150)
    QCoreApplication::processEvents();
    EXPECT_EQ(whiteCorners(window->graphArea()->image(), {350, 150}), 4);
    EXPECT_EQ(whiteCorners(window->graphArea()->image(), {300, 200}), 0);
}

// A dialog that clears and plots directly, as the Vary slider does, draws the marker again
// where its curve now runs, and the box shows the new point at once.
TEST(TraceMarker, FollowsTheVarySlider) {
    auto window = makeKeyboardWindow();
    ASSERT_TRUE(window);
    answerConsoleLine("a=1");
    answerConsoleLine(":defn f(x)=a*x");
    startTraceAt(*window, {300, 200}, false);
    dispatchCommand(*window, Command::Vary); // a from 0 to 10 in steps of 0.1
    auto* vary = window->findChild<QDialog*>();
    ASSERT_NE(vary, nullptr);
    auto* slider = vary->findChild<QScrollBar*>();
    ASSERT_NE(slider, nullptr);
    slider->triggerAction(QAbstractSlider::SliderSingleStepAdd); // a = 0.1: (1, 0.1) at (300, 245)
    EXPECT_EQ(window->infoBox()->fieldText(InfoBox::Y), QLatin1String("0.100000"));
    EXPECT_EQ(whiteCorners(window->graphArea()->image(), {300, 245}), 4);
    vary->done(QDialog::Accepted);
}

} // namespace
