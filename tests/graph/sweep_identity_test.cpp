// Where their lists take the scalar path the plotters evaluate whole rows of samples at once. On
// random expressions and views every plotter must draw the picture and texts, and leave the
// variables, that evaluating one sample at a time gives.
#include "graph_test_support.h"

#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "graph/curves.h"
#include "graph/implicit.h"
#include "graph/parametric_polar.h"
#include "graph/plot_settings.h"
#include "tests/expr/random_expression.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <random>
#include <string>

namespace {

using Texts = std::array<std::string, 3>;

struct PlotterCase {
    const char* name;
    const char* variables; // those the random expressions use
    void (*plot)(const Texts& texts);
};

void defineFunctions(std::initializer_list<std::string> bodies) {
    std::vector<std::string> definitions = {"f(a)=a^3-a", "g(a)=sin(a)*y+cos(a)"};
    for (const std::string& body : bodies)
        definitions.push_back("h" + std::to_string(definitions.size()) + "(x)=" + body);
    std::vector<const char*> texts;
    for (const std::string& definition : definitions)
        texts.push_back(definition.c_str());
    resetPlotState(texts);
}

const PlotterCase plotterCases[] = {
    {"Functions", "xxy",
     [](const Texts& t) {
         defineFunctions({t[0], t[1], t[2]});
         plotFunctions();
     }},
    {"GraphExpression", "xxy",
     [](const Texts& t) {
         defineFunctions({});
         plotGraphExpression(compileExpression(t[0]));
     }},
    {"Implicit", "xy",
     [](const Texts& t) {
         defineFunctions({});
         plotSettings.implicitLeft[0] = t[0];
         plotSettings.implicitRight[0] = t[1];
         plotSettings.implicitLeft[1] = t[2];
         plotSettings.implicitRight[1] = "y";
         plotImplicit();
     }},
    {"Inequalities", "xy",
     [](const Texts& t) {
         defineFunctions({});
         const char* rights[] = {"y", "x", "0.5"};
         for (int i = 0; i < 3; ++i) {
             plotSettings.inequalityLeft[i] = t[static_cast<std::size_t>(i)];
             plotSettings.inequalityRight[i] = rights[i];
         }
         plotInequalities();
     }},
    {"Parametric", "tty",
     [](const Texts& t) {
         defineFunctions({});
         plotSettings.parametricX = t[0];
         plotSettings.parametricY = t[1];
         plotSettings.parameterName = "t";
         plotSettings.parameterFrom = "-3";
         plotSettings.parameterTo = "4";
         plotParametric();
     }},
    {"Polar", "tty",
     [](const Texts& t) {
         defineFunctions({t[0], t[1]});
         plotSettings.angleVariable = "t";
         plotSettings.polarFlags.fill(1);
         plotPolar();
     }},
};

struct Drawing {
    QImage image;
    std::vector<std::string> texts;
    std::array<std::uint64_t, 3> variables;
};

Drawing draw(const PlotterCase& c, const Texts& texts, const ViewLimits& view, bool sweeps) {
    GraphArea area(240, 180);
    setViewLimits(view);
    sweepsEnabled = sweeps;
    c.plot(texts);
    sweepsEnabled = true;
    Drawing drawing{area.image, {}, {}};
    for (const TextDraw& text : area.texts)
        drawing.texts.push_back(std::to_string(text.x) + "," + std::to_string(text.y) + " " + text.text);
    const char* names[] = {"x", "y", "t"};
    for (std::size_t i = 0; i < 3; ++i)
        drawing.variables[i] = std::bit_cast<std::uint64_t>(findOrCreateVariable(names[i])->value);
    return drawing;
}

class SweepIdentityTest : public ::testing::TestWithParam<PlotterCase> {};

TEST_P(SweepIdentityTest, DrawsWhatSampleBySampleEvaluationDraws) {
    const PlotterCase& c = GetParam();
    RandomExpression expressions(23, c.variables);
    std::mt19937 random(29);
    std::uniform_real_distribution<double> corner(-8.0, 4.0);
    std::uniform_real_distribution<double> span(0.5, 16.0);
    for (int round = 0; round < 6; ++round) {
        const Texts texts = {expressions.next(3), expressions.next(3), expressions.next(3)};
        const double xMin = corner(random);
        const double yMin = corner(random);
        const ViewLimits view{xMin, xMin + span(random), yMin, yMin + span(random)};
        const Drawing together = draw(c, texts, view, true);
        const Drawing apart = draw(c, texts, view, false);
        const std::string about = texts[0] + " ; " + texts[1] + " ; " + texts[2];
        EXPECT_TRUE(together.image == apart.image) << about;
        EXPECT_EQ(together.texts, apart.texts) << about;
        EXPECT_EQ(together.variables, apart.variables) << about;
    }
}

INSTANTIATE_TEST_SUITE_P(Plotters, SweepIdentityTest, ::testing::ValuesIn(plotterCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
