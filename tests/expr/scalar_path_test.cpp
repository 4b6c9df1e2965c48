// evaluateToNumber takes a shorter path for lists without vectors; it must give what the
// evaluation order gives (evaluate), bit for bit (zeros keep their signs; which not-a-number
// comes out of two is the C++ compiler's choice on either path), with the same side effects.
#include "expr_test_support.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "expr/compiler.h"
#include "expr/evaluator.h"

namespace {

using ScalarPathTest = ExprTest;

struct SameCase {
    const char* name;
    const char* text;
};

// f(a)=a^3-a and g(a,b)=sin(a)*b are defined for every row.
const SameCase sameCases[] = {
    {"PolynomialTerms", "1+x+x^2/2+x^3/6+x^4/24+x^5/120"},
    {"ConstantsFoldFromTheLeft", "2*3*x+2^10-1/3+x*2*3"},
    {"ConstantLeftOfSumAndProduct", "3+x*(2*sin(x)^2)+4*x"},
    {"ConstantLeftOfDifferenceAndQuotient", "3-x+1/x+2^x"},
    {"NotANumberConstants", "0/0+x+(0/0)*x"},
    {"SinesAndCosinesOfOneArgument", "3*sin(x)^2+cos(x)+sin(x)*cos(x)*tan(x/7)"},
    {"SinesAndCosinesOfDifferentArguments", "sin(x)-cos(2*x)+cos(x)*sin(x+1)"},
    {"SineOfNegativeZeroAfterCosineOfZero", "cos(0*x)+1/sin(-0*x)"},
    {"SquareRootIsAPower", "sqrt(x^2+1)/(1+x^4)-2*x+sqrt(x)"},
    {"VariableToVariablePowers", "x^x+y^y-x^y"},
    {"SignsOfConstantsAndOperands", "-2^2+(-x)*(-3)-(-(x))"},
    {"OtherBuiltIns", "log(x)+gamma(x)+!(x)+mod(x)+atan(x)+cosh(x)+inv(x)"},
    {"UserFunctionsRunInPlace", "f(x)+f(2)*g(x,3)-g(f(x),x)"},
    {"FunctionOfConstantOnly", "f(2)"},
    {"LoneVariable", "x"},
    {"LoneConstant", "7/2"},
};

class SamePathTest : public ScalarPathTest, public ::testing::WithParamInterface<SameCase> {};

TEST_P(SamePathTest, GivesTheValueAndDomainFlagOfTheEvaluationOrder) {
    defineUserFunction("f", 1, {"a"}, "a^3-a");
    defineUserFunction("g", 2, {"a", "b"}, "sin(a)*b");
    Variable* x = findOrCreateVariable("x");
    setVariableValue(findOrCreateVariable("y"), 0.75);
    const ExpListPtr list = compileExpression(GetParam().text);
    const double sweep[] = {-2.5, -1.0, -0.0, 0.0, 0.5, 3.0, 1e300, std::numeric_limits<double>::quiet_NaN()};
    for (double value : sweep) {
        setVariableValue(x, value);
        mathErrorIndicator = 0;
        const std::optional<Value> expected = evaluate(list);
        const int expectedDomain = mathErrorIndicator;
        mathErrorIndicator = 0;
        const double actual = evaluateToNumber(list);
        ASSERT_TRUE(expected && expected->kind != kindVector);
        const double wanted =
            expected->kind == kindVariable ? expected->variable->value : expected->components[0];
        const bool same = std::isnan(wanted)
                              ? std::isnan(actual)
                              : std::bit_cast<std::uint64_t>(actual) == std::bit_cast<std::uint64_t>(wanted);
        EXPECT_TRUE(same) << "x = " << value << ": " << actual << " instead of " << wanted;
        EXPECT_EQ(mathErrorIndicator, expectedDomain) << "x = " << value;
    }
    EXPECT_EQ(evalErrorFlag, 0);
}

INSTANTIATE_TEST_SUITE_P(ScalarPath, SamePathTest, ::testing::ValuesIn(sameCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct LateReadCase {
    const char* name;
    const char* text;
    double value; // x is 3
};

// Something between the push of x and its use changes x: x must be read when it is used.
const LateReadCase lateReadCases[] = {
    {"SumLeavesItsCounter", "x*sum(x,1,3,x)", 18},
    {"DerivativeMovesTheVariableBack", "x+0*diff(x^2,x)", 2.9999999999999996},
    {"UserBodyAssigns", "x*h(5)", 25},
};

class LateReadTest : public ScalarPathTest, public ::testing::WithParamInterface<LateReadCase> {};

TEST_P(LateReadTest, ReadsTheVariableWhenTaken) {
    defineUserFunction("h", 1, {"a"}, "x=a");
    const ExpListPtr list = compileText(GetParam().text);
    toPostfix(*list);
    setVariableValue(findOrCreateVariable("x"), 3.0);
    EXPECT_EQ(evaluateToNumber(list), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(ScalarPath, LateReadTest, ::testing::ValuesIn(lateReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScalarPathTest, DomainErrorsOfConstantsAreRaisedAtEveryEvaluation) {
    for (const char* text : {"0^0+x", "(-8)^0.5*x", "sqrt(0-1)+x", "log(0-1)+x", "x^(0-1)"}) {
        const ExpListPtr list = compileExpression(text);
        setVariableValue(findOrCreateVariable("x"), 0.0);
        mathErrorIndicator = 0;
        evaluateToNumber(list);
        EXPECT_NE(mathErrorIndicator, 0) << text;
    }
}

// Every text needs four entries, f(x) for its body alone, while two are left.
TEST_F(ScalarPathTest, KeepsTheWorkStackLimit) {
    defineUserFunction("f", 1, {"a"}, "a+(a+(a+1))");
    for (const char* text : {"1+(2+(3+4))", "x*(x+(x+1))", "f(x)", "f(x)*2"}) {
        const ExpListPtr list = compileExpression(text);
        workStack.count = workStackLimit - 2;
        const std::optional<Value> expected = evaluate(list);
        const double actual = evaluateToNumber(list);
        workStack.count = 0;
        ASSERT_TRUE(expected);
        EXPECT_EQ(actual, expected->components[0]) << text;
        EXPECT_EQ(evalErrorFlag, 1) << text; // the dropped push leaves an operator short
        evalErrorFlag = 0;
    }
}

} // namespace
