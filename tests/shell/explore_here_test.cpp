// The popup's find entries on the 500 x 500 factory view (50 pixels a unit, origin at 250, 250):
// a cross with arms of 4 pixels in the curve's colour where the result lies, or a message.
#include "expr/command_interpreter.h"
#include "expr/message_hook.h"
#include "graph/curves.h"
#include "graph/explore_marks.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/commands.h"
#include "shell/graph_area.h"
#include "shell_test_support.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

std::vector<std::string> shownMessages;

void recordMessage(const char* caption, const char* body, int) {
    shownMessages.push_back(std::string(caption) + ": " + body);
}

struct FindCase {
    const char* name;
    std::vector<const char*> definitions;
    QPoint pointer;
    Command command;
    int row;             // whose colour the cross has
    double x, y;         // where the cross belongs, when there is one
    const char* message; // otherwise
};

const double rootTwo = std::sqrt(2.0);
const double rootThird = 1 / std::sqrt(3.0);

const double halfPi = std::acos(-1.0) / 2;
const double cubicLow = rootThird * rootThird * rootThird - rootThird;

// clang-format off
const FindCase findCases[] = {
    {"RootNearestThePointer", {"f(x)=x^2-2"}, {320, 250}, Command::RootHere, 0, rootTwo, 0, nullptr},
    {"LocalMinimum", {"f(x)=x^3-x"}, {280, 269}, Command::MinimumHere, 0, rootThird, cubicLow, nullptr},
    {"MaximumOfTheNearerCurve", {"g(x)=0-2", "f(x)=sin(x)"}, {330, 200}, Command::MaximumHere, 1, halfPi, 1, nullptr},
    {"IntersectionWithTheNextCurve", {"f(x)=x", "g(x)=2-x"}, {310, 200}, Command::IntersectionHere, 0, 1, 1, nullptr},
    {"PoleIsNoRoot", {"f(x)=1/x"}, {260, 200}, Command::RootHere, 0, 0, 0,
     "Root here: No root in view: the sign changes only at a pole or a jump."},
    {"FlatCurveHasNoMinimum", {"f(x)=3"}, {260, 100}, Command::MinimumHere, 0, 0, 0,
     "Minimum here: The curve is flat across the view."},
    {"MinimumBeyondTheView", {"f(x)=x"}, {260, 240}, Command::MinimumHere, 0, 0, 0,
     "Minimum here: No minimum in view near the pointer: the curve falls to the edge."},
    {"NoCurveAtAll", {}, {260, 240}, Command::RootHere, 0, 0, 0, "Root here: No curve near the pointer."},
    {"NoOtherCurveToMeet", {"f(x)=x"}, {260, 240}, Command::IntersectionHere, 0, 0, 0,
     "Intersection here: No other curve to meet."},
};
// clang-format on

class FindHere : public ::testing::TestWithParam<FindCase> {
  protected:
    void SetUp() override {
        shownMessages.clear();
        clearExploreMarks();
    }
    void TearDown() override { setMessageHook(nullptr); }
};

int armEndsOf(const QImage& image, int column, int row, QRgb colour) {
    int count = 0;
    for (const QPoint end : {QPoint(-4, -4), QPoint(4, 4), QPoint(-4, 4), QPoint(4, -4)})
        count += (image.pixel(column + end.x(), row + end.y()) & RGB_MASK) == (colour & RGB_MASK) ? 1 : 0;
    return count;
}

TEST_P(FindHere, MarksTheResultOrSaysWhyNot) {
    const FindCase& c = GetParam();
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    setMessageHook(recordMessage); // after the window installed its own
    for (const char* definition : c.definitions)
        answerConsoleLine(std::string(":defn ") + definition);
    plotSettings.popupPoint = {c.pointer.x(), c.pointer.y()};
    dispatchCommand(*window, c.command);
    QCoreApplication::processEvents();
    const QImage& image = window->graphArea()->image();
    if (c.message != nullptr) {
        EXPECT_EQ(shownMessages, std::vector<std::string>{c.message});
        return;
    }
    EXPECT_TRUE(shownMessages.empty());
    EXPECT_EQ(armEndsOf(image, screenX(c.x), screenY(c.y), rowColour(c.row)), 4);
    // A change of the view drops the mark.
    dispatchCommand(*window, Command::Right);
    QCoreApplication::processEvents();
    EXPECT_LT(armEndsOf(window->graphArea()->image(), screenX(c.x), screenY(c.y), rowColour(c.row)), 4);
}

// The curve moves when a variable in it changes, so its marks (and their readouts) go with it.
TEST(FindHereMarks, GoWhenAVariableOfTheCurveChanges) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    clearExploreMarks();
    answerConsoleLine("c=2");
    answerConsoleLine(":defn f(x)=x^2-c");
    plotSettings.popupPoint = {320, 250};
    dispatchCommand(*window, Command::RootHere);
    window->graphArea()->requestRepaint();
    QCoreApplication::processEvents();
    ASSERT_EQ(armEndsOf(window->graphArea()->image(), screenX(rootTwo), screenY(0), rowColour(0)), 4);
    answerConsoleLine("c=3");
    window->graphArea()->requestRepaint();
    QCoreApplication::processEvents();
    EXPECT_LT(armEndsOf(window->graphArea()->image(), screenX(rootTwo), screenY(0), rowColour(0)), 4);
}

INSTANTIATE_TEST_SUITE_P(Popup, FindHere, ::testing::ValuesIn(findCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
