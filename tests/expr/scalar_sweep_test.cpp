// A sweep evaluates a list over a whole row of samples at once; on random expressions and
// arguments it must give what evaluateToNumber gives one sample after another, bit for bit
// (which not-a-number comes out of two is the compiler's choice), with the same domain errors,
// the same final mathErrorIndicator and the swept variable left at the last sample.
#include "expr_test_support.h"
#include "random_expression.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "expr/compiler.h"
#include "expr/evaluator.h"

namespace {

using ScalarSweepTest = ExprTest;

// Two blocks and a part: ordinary values and every kind of special one.
std::vector<double> samples(unsigned seed) {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {0.0, -0.0, inf, -inf, std::nan(""), 1e300, -1e-310, 1.0, -1.0};
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> ordinary(-6.0, 6.0);
    while (values.size() < 300)
        values.push_back(values.size() % 7 == 0 ? std::bit_cast<double>(random()) : ordinary(random));
    std::shuffle(values.begin(), values.end(), random);
    return values;
}

bool sameDouble(double a, double b) {
    return std::isnan(a) ? std::isnan(b) : std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST_F(ScalarSweepTest, GivesWhatSampleBySampleEvaluationGives) {
    defineUserFunction("f", 1, {"a"}, "a^3-a");
    defineUserFunction("g", 1, {"a"}, "sin(a)*y+cos(a)");
    Variable* x = findOrCreateVariable("x");
    setVariableValue(findOrCreateVariable("y"), 0.75);
    RandomExpression expressions(17, "xxxy");
    for (unsigned round = 0; round < 400; ++round) {
        const std::string text = expressions.next(4);
        const ExpListPtr list = compileExpression(text);
        ASSERT_TRUE(canSweep(*list)) << text;
        const std::vector<double> values = samples(round);
        std::vector<double> expected;
        std::vector<std::int32_t> expectedErrors;
        for (const double value : values) {
            setVariableValue(x, value);
            const NumberEvaluation sample = evaluateNumber(list);
            expected.push_back(sample.value);
            expectedErrors.push_back(sample.status.mathError);
        }

        std::vector<double> results(values.size());
        std::vector<std::int32_t> errors(values.size(), 0);
        mathErrorIndicator = 0;
        setVariableValue(x, 0.0);
        evaluateSweep(*list, x, values, results, errors);
        EXPECT_EQ(mathErrorIndicator, 0) << text; // each sample's status is its own, not the console's
        EXPECT_TRUE(sameDouble(x->value, values.back())) << text;
        for (std::size_t i = 0; i < values.size(); ++i) {
            ASSERT_TRUE(sameDouble(results[i], expected[i]))
                << text << " at x = " << values[i] << ": " << results[i] << " instead of " << expected[i];
            ASSERT_EQ(errors[i], expectedErrors[i]) << text << " at x = " << values[i];
        }
    }
    EXPECT_EQ(evalErrorFlag, 0);
}

} // namespace
