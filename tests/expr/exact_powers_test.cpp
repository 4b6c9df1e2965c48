// x^0.5 and x^3 to x^5 are taken without std::pow. Over millions of arguments of every kind they
// must keep pow's value wherever pow's is exact or special (zeros with their signs, infinities,
// not-a-number, overflow and underflow), and elsewhere be no further from the true power than
// pow is, judged against a 113-bit reference.
#include "expr_test_support.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "expr/compiler.h"
#include "expr/evaluator.h"

namespace {

using Quad = __float128;

struct PowerCase {
    const char* name;
    const char* text;
    double exponent;
};

const PowerCase powerCases[] = {
    {"SquareRoot", "x^0.5", 0.5}, {"SquareRootBuiltIn", "sqrt(x*1)", 0.5},
    {"Cube", "x^3", 3},           {"Fourth", "x^4", 4},
    {"Fifth", "(x*1)^5", 5},
};

constexpr int argumentsPerCase = 1 << 21;

// Random bit patterns (every exponent, subnormals, infinities and not-a-numbers), ordinary
// values, values spread over the whole exponent range, and the special ones.
std::vector<double> arguments() {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {0.0,       -0.0,       inf,       -inf,     std::nan(""), -std::nan(""),
                                  0x1p-1074, -0x1p-1074, 0x1p-1022, 0x1p1023, -0x1p1023,    0x1p-300,
                                  -0x1p300,  0x1p225,    0x1p-180,  1.0,      -1.0,         2.0};
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> ordinary(-4.0, 4.0);
    std::uniform_int_distribution<int> exponent(-1074, 1023);
    while (values.size() < argumentsPerCase) {
        values.push_back(std::bit_cast<double>(random()));
        values.push_back(ordinary(random));
        values.push_back(std::ldexp(ordinary(random), exponent(random)));
    }
    return values;
}

Quad reference(double x, double exponent) {
    if (exponent == 0.5) { // one Newton step from the double square root doubles its precision
        const Quad s = std::sqrt(x);
        return (s + Quad(x) / s) / 2;
    }
    Quad p = x;
    for (int k = 1; k < static_cast<int>(exponent); ++k)
        p *= x;
    return p;
}

// The distance from the reference in units of the last place of r.
double ulpsFrom(double r, Quad exact) {
    const Quad difference = Quad(r) - exact;
    return static_cast<double>((difference < 0 ? -difference : difference) /
                               std::ldexp(1.0, std::ilogb(r) - 52));
}

bool sameDouble(double a, double b) {
    return std::isnan(a) ? std::isnan(b) : std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

class ExactPowerTest : public ExprTest, public ::testing::WithParamInterface<PowerCase> {};

TEST_P(ExactPowerTest, IsNoFurtherFromTheTruePowerThanPow) {
    const PowerCase& c = GetParam();
    const ExpListPtr list = compileExpression(c.text);
    Variable* x = findOrCreateVariable("x");
    int differing = 0;
    double worstOurs = 0.0;
    double worstPow = 0.0;
    for (const double argument : arguments()) {
        setVariableValue(x, argument);
        const double ours = evaluateToNumber(list);
        const double theirs = std::pow(argument, c.exponent);
        if (sameDouble(ours, theirs)) continue;
        ++differing;
        // Only finite, normal results may differ, and only in the last place.
        ASSERT_TRUE(std::isnormal(ours) && std::isnormal(theirs))
            << argument << ": " << ours << " " << theirs;
        const Quad exact = reference(argument, c.exponent);
        const double errorOurs = ulpsFrom(ours, exact);
        const double errorPow = ulpsFrom(theirs, exact);
        EXPECT_LE(errorOurs, errorPow + 0x1p-40) << std::hexfloat << argument;
        worstOurs = std::max(worstOurs, errorOurs);
        worstPow = std::max(worstPow, errorPow);
    }
    EXPECT_LE(worstOurs, 0.5 + 0x1p-40); // correctly rounded
    RecordProperty("differing", differing);
    std::printf("%s: %d of %d differ from pow; worst error %.6f ulp (pow %.6f)\n", c.name, differing,
                argumentsPerCase, worstOurs, worstPow);
}

INSTANTIATE_TEST_SUITE_P(ExactPowers, ExactPowerTest, ::testing::ValuesIn(powerCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
