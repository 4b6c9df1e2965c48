// Roots, extrema and areas against closed forms.
#include "expr_test_support.h"

#include <cmath>
#include <functional>

#include "expr/curve_numerics.h"

namespace {

const double pi = std::acos(-1.0);
using Function = std::function<double(double)>;

struct RootCase {
    const char* name;
    Function f;
    double a, b;
    std::size_t most;
    std::vector<double> roots;
    bool signChangeRefused;
};

const RootCase rootCases[] = {
    {"SquareMinusTwo",
     [](double x) { return x * x - 2; },
     -2,
     2,
     20,
     {-std::sqrt(2.0), std::sqrt(2.0)},
     false},
    {"SineOnZeroToThree", [](double x) { return std::sin(x); }, 0, 3, 20, {0}, false},
    {"CubicThreeRoots", [](double x) { return x * x * x - x; }, -2, 2, 20, {-1, 0, 1}, false},
    {"IntersectionOfCosineAndLine",
     [](double x) { return std::cos(x) - x; },
     0,
     2,
     20,
     {0.73908513321516064},
     false},
    {"PoleIsNoRoot", [](double x) { return 1 / x; }, -1, 1, 20, {}, true},
    {"PoleBetweenRootsIsSkipped", [](double x) { return std::tan(x); }, 0, 4, 20, {0, pi}, true},
    {"JumpIsNoRoot", [](double x) { return std::floor(x) - 0.5; }, 0, 1.7, 20, {}, true},
    {"AtMostTheNumberAsked", [](double x) { return std::sin(x); }, 0.5, 100, 3, {pi, 2 * pi, 3 * pi}, false},
};

class RootTest : public ::testing::TestWithParam<RootCase> {};

TEST_P(RootTest, FindsEachRootToFullPrecision) {
    const RootCase& c = GetParam();
    const RootSearch search = findRoots(c.f, c.a, c.b, c.most);
    ASSERT_EQ(search.roots.size(), c.roots.size());
    for (std::size_t i = 0; i < c.roots.size(); ++i)
        EXPECT_NEAR(search.roots[i], c.roots[i], 4e-16 * std::max(1.0, std::fabs(c.roots[i])));
    EXPECT_EQ(search.signChangeRefused, c.signChangeRefused);
}

INSTANTIATE_TEST_SUITE_P(Roots, RootTest, ::testing::ValuesIn(rootCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ExtremumCase {
    const char* name;
    Function f;
    double a, b;
    bool isMinimum;
    Extremum expected;
};

const ExtremumCase extremumCases[] = {
    {"SineMaximum", [](double x) { return std::sin(x); }, 0, 3, false, {ExtremumOutcome::found, pi / 2, 1}},
    {"CubicLocalMinimum",
     [](double x) { return x * x * x - x; },
     0,
     2,
     true,
     {ExtremumOutcome::found, 1 / std::sqrt(3.0), -2 / (3 * std::sqrt(3.0))}},
    {"MinimumAtTheLowerEnd", [](double x) { return x; }, 1, 2, true, {ExtremumOutcome::found, 1, 1}},
    {"ConstantIsFlat", [](double) { return 5.0; }, -1, 1, true, {ExtremumOutcome::flat}},
    {"PoleIsUnbounded", [](double x) { return 1 / (x * x); }, -1, 1, false, {ExtremumOutcome::unbounded}},
    {"NoValueAnywhere", [](double) { return std::nan(""); }, 0, 1, true, {ExtremumOutcome::noValue}},
};

class ExtremumTest : public ::testing::TestWithParam<ExtremumCase> {};

TEST_P(ExtremumTest, FindsTheExtremum) {
    const ExtremumCase& c = GetParam();
    const Extremum e = c.isMinimum ? findMinimum(c.f, c.a, c.b) : findMaximum(c.f, c.a, c.b);
    ASSERT_EQ(e.outcome, c.expected.outcome);
    if (e.outcome != ExtremumOutcome::found) return;
    EXPECT_NEAR(e.x, c.expected.x, 1e-7);
    EXPECT_NEAR(e.y, c.expected.y, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(Extrema, ExtremumTest, ::testing::ValuesIn(extremumCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct AreaCase {
    const char* name;
    Function f;
    double a, b;
    double area;
    bool converged;
};

const AreaCase areaCases[] = {
    {"Parabola", [](double x) { return x * x; }, 0, 2, 8.0 / 3, true},
    {"SineOnZeroToThree", [](double x) { return std::sin(x); }, 0, 3, 1 - std::cos(3.0), true},
    {"GaussianAgainstErf", [](double x) { return std::exp(-x * x); }, -3, 1,
     std::sqrt(pi) / 2 * (std::erf(1.0) + std::erf(3.0)), true},
    {"CancellingToZero", [](double x) { return std::sin(x); }, -1, 1, 0, true},
    {"PoleDoesNotConverge", [](double x) { return 1 / (x - 0.3); }, 0, 1, NAN, false},
};

class AreaTest : public ::testing::TestWithParam<AreaCase> {};

TEST_P(AreaTest, IntegratesToTheTolerance) {
    const AreaCase& c = GetParam();
    const Area area = integrate(c.f, c.a, c.b);
    EXPECT_EQ(area.converged, c.converged);
    if (!c.converged) return;
    EXPECT_NEAR(area.value, c.area, 1e-10 * std::max(1.0, std::fabs(c.area)));
    EXPECT_LE(area.errorEstimate, 1e-10 * std::max(1.0, std::fabs(c.area)));
}

INSTANTIATE_TEST_SUITE_P(Areas, AreaTest, ::testing::ValuesIn(areaCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
