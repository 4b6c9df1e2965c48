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
    {"CallWithEmptyArgumentStaysNested", "sin()+1", "sin() 1 +"},
    {"VectorsWaitForTheNextOperator", "v=iXj", "v i j X ="},
    {"PowerGroupsFromTheLeft", "2^3^2", "2 3 ^ 2 ^"},
    {"LeadingSignCoversTheProduct", "-2*3", "2 3 * sign-"},
    {"SignInsideBrackets", "2*(-3)", "2 3 sign- *"},
    {"SecondSignEndsTheText", "2*-3", "2 *"},
    {"NoImplicitMultiplication", "2x", "2"},
    {"DigitEndsAName", "x2", "x"},
    {"LeadingBlankGivesNothing", " 1+2", ""},
    {"PointCannotStartANumber", ".5", ""},
    {"AssignmentInBracketsIsDropped", "(x=2)", "x 2"},
    {"AssignmentIsLowest", "x=2+3", "x 2 3 + ="},
    {"EmptyBracketsKeepTheList", "()+1", "1 +"},
    {"UnknownFunctionAddsNothing", "nof(1)+2", "2 +"},
    {"NumberWithTwoPointsAddsNoNode", "1.2.3+4", "+"},
    {"CrossWhereOperandBelongsEndsTheText", "1+X", "1 +"},
    {"UnclosedBracketEndsTheText", "1+(2", "1 +"},
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

struct ExpansionCase {
    const char* name;
    const char* definition; // name, parameters and body as name|p1,p2|body
    const char* call;
    const char* body; // evaluation order of the expanded body
};

const ExpansionCase expansionCases[] = {
    {"ArgumentReplacesTheParameter", "f|x|x^2", "f(3)", "3 2 ^"},
    {"SameNameIsLeftAlone", "f|x|x^2", "f(x)", "x 2 ^"},
    {"ArgumentIsPlainText", "f|x|x^2", "f(a+1)", "a 1 2 ^ +"},
    {"ParametersOneAfterAnother", "g|x,y|x-y", "g(y,1)", "1 1 -"},
    {"NameBoundariesAreIgnored", "h|t|sqrt(t)", "h(4)", "sqr"},
    {"SelfInsertionTerminates", "f|x|x*x", "f(x+1)", "x 1 x * + 1 +"},
    {"ExtraArgumentsAreIgnored", "f|x|x", "f(2,3)", "2"},
    {"StoredFactorialStopsTheBody", "f|x|x!", "f(3)", "3"},
};

class ExpansionTest : public CompilerTest, public ::testing::WithParamInterface<ExpansionCase> {};

TEST_P(ExpansionTest, UserCallExpandsItsBody) {
    const std::string definition = GetParam().definition;
    const std::size_t bar1 = definition.find('|');
    const std::size_t bar2 = definition.find('|', bar1 + 1);
    std::vector<std::string> parameters;
    const std::string list = definition.substr(bar1 + 1, bar2 - bar1 - 1);
    for (std::size_t start = 0;;) {
        const std::size_t comma = list.find(',', start);
        parameters.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    const int count = static_cast<int>(parameters.size());
    defineUserFunction(definition.substr(0, bar1), count, parameters, definition.substr(bar2 + 1));
    const ExpListPtr compiled = compileText(GetParam().call);
    toPostfix(*compiled);
    ASSERT_EQ(compiled->bodies.size(), 1u);
    std::string order;
    for (const ExpListNode& node : compiled->bodies[0]->postfix)
        order += (order.empty() ? "" : " ") + (node.kind == kindNumber
                                                   ? std::to_string(static_cast<int>(node.constant.value))
                                               : node.kind == kindVariable ? node.variable->name
                                                                           : std::string(1, node.op));
    EXPECT_EQ(order, GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(Compiler, ExpansionTest, ::testing::ValuesIn(expansionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CompilerTest, BuiltinCallCarriesOneCompiledListPerArgument) {
    const ExpListPtr sum = compileText("sum(n,1,3,n^2)");
    ASSERT_EQ(sum->tokens.size(), 1u);
    EXPECT_EQ(sum->tokens[0].argumentCount, 4u);
    EXPECT_EQ(compileText("diff(x^2,x)")->tokens[0].argumentCount, 2u);
    EXPECT_EQ(compileText("sin()")->tokens[0].argumentCount, 1u);
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
