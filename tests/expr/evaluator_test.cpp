#include "expr_test_support.h"

#include <cmath>

#include "expr/compiler.h"
#include "expr/evaluator.h"

namespace {

using EvaluatorTest = ExprTest;

struct ValueCase {
    const char* name;
    const char* text;
    double value;
    double tolerance; // 0: exact
};

// x is 1 for every row.
const ValueCase valueCases[] = {
    {"PowerOfThreeIsExact", "3^2", 9, 0},
    {"PowerOfTenIsExact", "10^2", 100, 0},
    {"PowerOfFiveIsExact", "5^2", 25, 0},
    {"PowerGroupsFromTheLeft", "2^3^2", 64, 0},
    {"SignAppliesAfterPower", "-2^2", -4, 0},
    {"NegativeBaseWholeExponent", "(-2)^3", -8, 0},
    {"PiHalved", "pi/2", 1.5707963267948966, 0},
    {"AcosUsesFullPi", "acos(0)", 1.5707963267948966, 0},
    {"SineOfPiIsTheRoundingOfPi", "sin(pi)", 1.2246467991473532e-16, 0},
    {"SumOfSquares", "sum(n,1,4,n^2)", 30, 0},
    {"EmptySum", "sum(n,5,1,n)", 0, 0},
    {"Product", "prod(n,1,5,n)", 120, 0},
    {"LeftOperandReadLate", "n*sum(n,1,3,n)", 18, 0},
    {"NegativeBoundIsEvaluated", "sum(n,-2,2,n^2)", 10, 0},
    {"SecondDerivative", "diffn(x^3,x,2)", 6, 1e-3},
    {"OrderBelowOneIsFirstDifference", "diffn(x^2,x,0)", 2, 1e-6},
    {"GammaOfFive", "gamma(5)", 24, 1e-9},
    {"GammaOfOne", "gamma(1)", 1, 0},
    {"GammaOfHalf", "gamma(0.5)", 1.7724538509055159, 1e-9},
    {"GammaOfMinusHalf", "gamma(0-0.5)", -3.5449077018110318, 1e-9},
    {"FactorialCall", "5!", 120, 0},
    {"FactorialOfGroup", "(2+3)!", 120, 0},
    {"FactorialUnderSign", "-3!", -6, 0},
    {"FactorialOfFraction", "2.5!", 3.75, 0},
    {"FactorialOfZero", "0!", 1, 0},
    {"FactorialOfNegative", "(-2)!", 1, 0},
    {"ModIsAbsolute", "mod(-3)", 3, 0},
    {"CeilOfNegative", "ceil(-1.5)", -1, 0},
    {"FloorOfNegative", "floor(-1.5)", -2, 0},
    {"InvIsReciprocal", "inv(4)", 0.25, 0},
    {"DotOfUnitVectors", "i.j", 0, 0},
    {"HyperbolicTangent", "tanh(1)", std::tanh(1.0), 1e-15},
    {"Secant", "sec(1)", 1 / std::cos(1.0), 0},
    {"ArcSineByTangent", "asin(0.5)", std::asin(0.5), 1e-15},
    {"VectorResultGivesZero", "iXj", 0, 0},
    {"EmptyExpressionGivesZero", "", 0, 0},
};

class ValueTest : public EvaluatorTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ValueTest, Evaluates) {
    setVariableValue(findOrCreateVariable("x"), 1.0);
    const double value = valueOf(GetParam().text);
    if (GetParam().tolerance == 0)
        EXPECT_EQ(value, GetParam().value);
    else
        EXPECT_NEAR(value, GetParam().value, GetParam().tolerance);
    EXPECT_EQ(evalErrorFlag, 0);
}

INSTANTIATE_TEST_SUITE_P(Evaluator, ValueTest, ::testing::ValuesIn(valueCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    const char* text;
    const char* message;
    double value;
};

const ErrorCase errorCases[] = {
    {"SineOfVector", "sin(i)", "Error - cannot apply sine to vector", 0},
    {"ErrorDoesNotStopTheWalk", "1+sin(i)", "Error - cannot apply sine to vector", 1},
    {"CosineOfVector", "cos(i)", "Error - cannot apply cosine to vector", 0},
    {"SquareRootOfVector", "sqrt(i)", "Error - cannot apply square root to vector", 0},
    {"FactorialOfVector", "!(i)", "Error - cannot apply factorial to vector", 0},
    {"InverseCosOfVector", "acos(i)", "Error - cannot apply inverse cos to vector", 0},
    {"InverseSinOfVector", "asin(i)", "Error - cannot apply inverse sin to vector", 0},
    {"AddScalarToVector", "i+1", "Cannot add scalar and vector", 0},
    {"SubtractVectorFromScalar", "1-i", "Error - cannot subtract vector from scalar", 0},
    {"SubtractScalarFromVector", "i-1", "Error - cannot subtract scalar from vector", 0},
    {"MultiplyTwoVectors", "i*j", "Error - use X for cross product of two vectors", 0},
    {"DivideVectors", "i/2", "Error - cannot divide vectors", 0},
    {"ExponentiateVectors", "2^i", "Error - cannot exponentiate vectors", 0},
    {"DotWithScalar", "i.2", "Error: dot product applied to scalar", 0},
    {"CrossWithScalar", "2Xi", "Error: cross product applied to scalar - use * to multiply", 0},
    {"AssignVectorToVariable", "x=i", "Error - cannot assign scalar to vector", 0},
    {"AssignScalarToVector", "i=2", "Error - cannot assign vector to scalar", 0},
    {"AssignToNumber", "3=4", "Error - can only assign to a variable", 0},
    {"SecondSignIsRefused", "2*-3", "Error - cannot read -3", 0},
    {"CallInPlaceTakesOnlyItsArgument", "(sin(0)+)", "Error - missing operand", 0},
    {"LoneSign", "-", "Error - missing operand", 0},
    {"CounterMustBeAVariable", "sum(i,1,3,1)", "Error - expected a variable name", 0},
    {"DerivativeVariableMissing", "diff(x^2)", "Error - expected a variable name", 0},
};

class ErrorTest : public EvaluatorTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ErrorTest, SetsTheErrorAndGivesZero) {
    EXPECT_EQ(valueOf(GetParam().text), GetParam().value);
    EXPECT_EQ(evalErrorFlag, 1);
    EXPECT_STREQ(evalErrorMessage, GetParam().message);
    EXPECT_EQ(workStack.count, 0);
}

INSTANTIATE_TEST_SUITE_P(Evaluator, ErrorTest, ::testing::ValuesIn(errorCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct StatusCase {
    const char* text;
    const char* error; // null: none
    bool mathError;
    bool incomplete;
};

// Each evaluation's status tells what it raised itself, after others that raised something, and
// leaves the console's mirror alone; nested evaluations (arguments, sums, calls) count for it.
TEST_F(EvaluatorTest, EachEvaluationGivesItsOwnStatus) {
    defineUserFunction("r", 1, {"a"}, "r(a)");
    const StatusCase cases[] = {
        {"x+1", nullptr, false, false},
        {"log(-1)", nullptr, true, false},
        {"sum(n,1,2,sqrt(-n))", nullptr, true, false},
        {"i.2", "Error: dot product applied to scalar", false, false},
        {"1+r(2)", "Error - recursive function", false, true},
        {"x*2", nullptr, false, false},
    };
    for (const StatusCase& c : cases) {
        const ExpListPtr list = compileExpression(c.text);
        evalErrorFlag = 0;
        mathErrorIndicator = 0;
        const EvaluationStatus status = evaluateNumber(list).status;
        EXPECT_STREQ(status.error != nullptr ? status.error : "", c.error != nullptr ? c.error : "") << c.text;
        EXPECT_EQ(status.mathError != 0, c.mathError) << c.text;
        EXPECT_EQ(status.incomplete, c.incomplete) << c.text;
        EXPECT_EQ(evalErrorFlag, 0) << c.text;
        EXPECT_EQ(mathErrorIndicator, 0) << c.text;
    }
}

struct DomainCase {
    const char* name;
    const char* text;
    bool raised;
};

const DomainCase domainCases[] = {
    {"LogOfNegative", "log(-1)", true},
    {"LogOfZeroIsMinusInfinityOnly", "log(0)", false},
    {"ZeroToZero", "0^0", true},
    {"ZeroToNegative", "0^(-1)", true},
    {"ZeroToPositive", "0^2", false},
    {"NegativeBaseFraction", "(-8)^(1/3.0)", true},
    {"NegativeBaseWhole", "(-8)^3", false},
    {"SqrtOfNegative", "sqrt(-1)", true},
    {"SqrtOfZero", "sqrt(0)", false},
    {"OverflowIsNoDomainError", "10^400", false},
    {"LibmRangeErrorIsIgnored", "gamma(200)", false},
    {"GammaOfNotANumber", "gamma(0/0)", true},
    {"AcosOutsideRange", "acos(2)", false},
    {"DivisionByZero", "1/0", false},
};

class DomainTest : public EvaluatorTest, public ::testing::WithParamInterface<DomainCase> {};

TEST_P(DomainTest, MathErrorIndicator) {
    valueOf(GetParam().text);
    EXPECT_EQ(mathErrorIndicator != 0, GetParam().raised);
    EXPECT_EQ(evalErrorFlag, 0);
}

INSTANTIATE_TEST_SUITE_P(Evaluator, DomainTest, ::testing::ValuesIn(domainCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EvaluatorTest, IntegerFlagFollowsBothOperands) {
    const auto flagOf = [](const char* text) {
        const ExpListPtr list = compileText(text);
        toPostfix(*list);
        return evaluate(list)->isInteger;
    };
    EXPECT_EQ(flagOf("1+2"), 1);
    EXPECT_EQ(flagOf("1.0+2"), 0);
    EXPECT_EQ(flagOf("7/2"), 1);
    EXPECT_EQ(flagOf("x+0"), 0);
    EXPECT_EQ(flagOf("x=3"), 1);
    EXPECT_EQ(flagOf("sin(0)"), 0);
}

TEST_F(EvaluatorTest, DerivativeMovesTheVariableAndBack) {
    Variable* x = findOrCreateVariable("x");
    setVariableValue(x, 3.0);
    EXPECT_NEAR(valueOf("diff(x^2,x)"), 6.0, 1e-9);
    EXPECT_EQ(x->value, 2.9999999999999996);
}

TEST_F(EvaluatorTest, RunningIntegralAddsValueTimesStep) {
    integralStep = 0.5;
    const ExpListPtr list = compileText("int(4,0,0)");
    toPostfix(*list);
    evaluateToNumber(list);
    EXPECT_EQ(evaluateToNumber(list), 4.0);
    // A call inside an argument that runs in place keeps its own arguments.
    EXPECT_EQ(valueOf("sqrt(int(2)+sin(0))"), std::sqrt(5.0));
}

TEST_F(EvaluatorTest, GammaPolesAndFarNegativeArguments) {
    EXPECT_EQ(valueOf("gamma(0)"), INFINITY);
    EXPECT_EQ(valueOf("gamma(0-3)"), -INFINITY);
    EXPECT_EQ(valueOf("gamma(0-10^300)"), INFINITY);
    EXPECT_EQ(valueOf("gamma(0-2000.5)"), 0.0);
    EXPECT_TRUE(std::isinf(valueOf("1000000!")));
}

TEST_F(EvaluatorTest, VectorAssignmentCopiesComponents) {
    findOrCreateVector("v", 3, 5, 5, 5);
    findOrCreateVector("w", 3, 1, 2, 3);
    valueOf("v=w");
    valueOf("w=iXj");
    EXPECT_EQ(findVector("v")->components, (std::array<double, 3>{1, 2, 3}));
    EXPECT_EQ(findVector("w")->components, (std::array<double, 3>{0, 0, 1}));
}

TEST_F(EvaluatorTest, NestedEvaluationsLeaveTheStackAsFound) {
    valueOf("sum(n,1,3,prod(m,1,2,m+n))+diff(x^2,x)*(x=2)");
    EXPECT_EQ(workStack.count, 0);
}

} // namespace
