#include "expr_test_support.h"

#include "expr/compiler.h"

namespace {

using CompilerTest = ExprTest;

struct OrderCase {
    const char* name;
    const char* text;
    const char* order;
};

const OrderCase orderCases[] = {
    {"ProductBindsTighter", "2+3*4", "2 3 4 * +"},
    {"BracketsFirst", "(2+3)*4", "2 3 + 4 *"},
    {"CallIsAnOperand", "3*sin(x)^2", "3 x sin() 2 ^ *"}, // the argument runs in place
    {"VectorsWaitForTheNextOperator", "v=iXj", "v i j X ="},
    {"PowerGroupsFromTheLeft", "2^3^2", "2 3 ^ 2 ^"},
    {"LeadingSignCoversTheProduct", "-2*3", "2 3 * sign-"},
    {"SignInsideBrackets", "2*(-3)", "2 3 sign- *"},
    {"BlanksAreIgnored", " 1 + 2", "1 2 +"},
    {"PointStartsANumber", ".5", "0.5"},
    {"ExponentBelongsToTheNumber", "2.5e-3*1E+3", "0.0025 1000 *"},
    {"LetterEWithoutDigitsIsTheName", "e+1", "e 1 +"},
    {"AssignmentIsLowest", "x=2+3", "x 2 3 + ="},
};

class OrderTest : public CompilerTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(OrderTest, EvaluationOrder) {
    findOrCreateVector("v", 3, 0, 0, 0);
    EXPECT_EQ(postfixOf(GetParam().text), GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Compiler, OrderTest, ::testing::ValuesIn(orderCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RewriteCase {
    const char* name;
    const char* text;
    const char* rewritten;
};

const RewriteCase rewriteCases[] = {
    {"Number", "5!", "!(5)"},
    {"AfterOperator", "2+3!", "2+!(3)"},
    {"Name", "n!", "!(n)"},
    {"SignStaysOutside", "-3!", "-!(3)"},
    {"BracketGroup", "(n+1)!", "!(n+1)"},
    {"CallKeepsItsName", "f(x)!", "f!(x)"},
    {"CallInBrackets", "(f(x))!", "!(f(x))"},
    {"NestedGroups", "((2)!)!", "!(!(2))"},
    {"NoFactorial", "x+1", "x+1"},
};

class RewriteTest : public CompilerTest, public ::testing::WithParamInterface<RewriteCase> {};

TEST_P(RewriteTest, FactorialRewrite) {
    EXPECT_EQ(rewriteFactorials(GetParam().text), GetParam().rewritten);
}

INSTANTIATE_TEST_SUITE_P(Compiler, RewriteTest, ::testing::ValuesIn(rewriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CompilerTest, BuiltinCallCarriesOneCompiledListPerArgument) {
    const ExpListPtr sum = compileText("sum(n,1,3,n^2)");
    ASSERT_EQ(sum->tokens.size(), 1u);
    EXPECT_EQ(sum->tokens[0].argumentCount, 4u);
    EXPECT_EQ(compileText("diff(x^2,x)")->tokens[0].argumentCount, 2u);
}

TEST_F(CompilerTest, NumberAndNameReaders) {
    std::size_t position = 1;
    bool bad = false;
    EXPECT_EQ(readNumber("x12.5+1", position, bad), "12.5");
    EXPECT_EQ(position, 5u);
    EXPECT_FALSE(bad);
    position = 0;
    EXPECT_EQ(readNumber("1.2.3", position, bad), "1.2.3");
    EXPECT_TRUE(bad);
    position = 0;
    EXPECT_EQ(readName("sin(x)", position), "sin(");
    EXPECT_EQ(position, 4u);
    position = 0;
    EXPECT_EQ(readName("iXj", position), "i");
    position = 0;
    EXPECT_EQ(readName("Xj", position), "");
}

} // namespace
