// The Area dialog on the 240 x 160 test graph with the factory view (24 pixels a unit across,
// 16 down, origin at 120, 80): the signed area read out against closed forms, the refusals told
// in a message box, and the tint only between the curve and the axis over [a, b].
#include "dialog_test_support.h"

#include "expr/message_hook.h"
#include "graph/axes.h"
#include "graph/surface.h"
#include "graph/view_model.h"
#include "shell/area_dialog.h"
#include "shell/dialog_template.h"
#include "shell/graph_area.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int functionRow = 0;
constexpr int aId = 40472;
constexpr int bId = 40473;
constexpr int okId = 40200;

std::vector<std::string> bodies;

void recordBody(const char*, const char* body, int) {
    bodies.emplace_back(body);
}

class AreaDialog : public DialogTest {
  protected:
    // Defines the curve, fills the bounds in and presses OK; gives whether the dialog closed.
    bool shade(const std::string& definition, const char* a, const char* b) {
        setMessageHook(recordBody);
        defineFunctions({definition});
        QDialog* dialog = createAreaDialog(owner.get(), functionRow);
        dialog->show();
        typeInto(dialog, aId, QString::fromLatin1(a));
        typeInto(dialog, bId, QString::fromLatin1(b));
        clickControl(dialog, okId);
        return dialog->result() == QDialog::Accepted;
    }
    void SetUp() override {
        DialogTest::SetUp();
        bodies.clear();
        setTextLog(&texts);
    }
    void TearDown() override {
        setTextLog(nullptr);
        DialogTest::TearDown();
    }
    std::vector<TextDraw> texts;

    bool tinted(double x, double y) const { return graph.pixel(screenX(x), screenY(y)) != backgroundColour; }
};

struct AreaCase {
    const char* name;
    const char* definition;
    const char* a;
    const char* b;
    double area;         // the closed form, when the area is shown
    const char* message; // otherwise, the start of the message
};

const double pi = std::acos(-1.0);
const double refused = std::numeric_limits<double>::quiet_NaN();

const AreaCase areaCases[] = {
    {"ParabolaFromZeroToTwo", "f(x)=x^2", "0", "2", 8.0 / 3.0, nullptr},
    {"BellCurveIsRootPiTimesErf", "f(x)=e^(-x^2)", "-1", "sqrt(1)", std::sqrt(pi) * std::erf(1.0), nullptr},
    {"BelowTheAxisIsNegative", "f(x)=sin(x)", "-pi", "0", -2.0, nullptr},
    {"PoleInsideDoesNotConverge", "f(x)=1/x", "-1", "1", refused,
     "area = 0.000000 (Warning - no convergence"},
    {"PoleAtTheEnd", "f(x)=1/x", "0", "1", refused,
     "Error - no area, the expression has a pole or no value in part of the interval"},
    {"BoundsInTheWrongOrder", "f(x)=x", "2", "0", refused,
     "Error - the first bound must be below the second"},
    {"EqualBounds", "f(x)=x", "1", "1", refused, "Error - the first bound must be below the second"},
    {"BoundThatIsNoNumber", "f(x)=x", "1/0", "1", refused, "Error - the bounds must be finite numbers"},
    {"NoValueAnywhere", "f(x)=sqrt(0-1-x^2)", "0", "1", refused,
     "Error - the expression has no value on the interval"},
};

class AreaResult : public AreaDialog, public ::testing::WithParamInterface<AreaCase> {};

TEST_P(AreaResult, ReadsOutTheAreaOrSaysWhyNot) {
    const AreaCase& c = GetParam();
    const bool closed = shade(c.definition, c.a, c.b);
    bool readout = false;
    const std::string expected = formatNumber(c.area) + " (error estimate ";
    for (const TextDraw& text : texts)
        readout = readout || text.text.rfind("area = " + expected, 0) == 0;
    if (c.message != nullptr) {
        ASSERT_EQ(bodies.size(), 1u);
        EXPECT_EQ(bodies[0].rfind(c.message, 0), 0u) << bodies[0];
        EXPECT_FALSE(closed || readout);
        return;
    }
    EXPECT_TRUE(bodies.empty());
    EXPECT_TRUE(closed && readout) << "expected area = " << expected;
}

INSTANTIATE_TEST_SUITE_P(Dialog, AreaResult, ::testing::ValuesIn(areaCases),
                         [](const auto& info) { return std::string(info.param.name); });

// x on [-2, 1]: tinted up to the curve on both sides of the axis, nowhere beyond the curve or
// the bounds, and no longer once the view changes.
TEST_F(AreaDialog, TintsOnlyBetweenTheCurveAndTheAxis) {
    ASSERT_TRUE(shade("f(x)=x", "-2", "1"));
    const struct {
        double x, y;
        bool inside;
    } points[] = {{-1.5, -1.0, true}, {-0.5, -0.3, true},  {0.5, 0.3, true},  {-1.0, 0.5, false},
                  {0.5, 2.0, false},  {-1.0, -1.5, false}, {1.5, 0.5, false}, {-2.5, -1.0, false}};
    for (const auto& p : points)
        EXPECT_EQ(tinted(p.x, p.y), p.inside) << p.x << ", " << p.y;
    zoomView(2.0);
    clearGraph();
    plotShownCurves();
    EXPECT_FALSE(tinted(-1.5, -1.0));
}

} // namespace
