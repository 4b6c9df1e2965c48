#include "expr_test_support.h"

#include "expr/command_interpreter.h"
#include "expr/evaluator.h"
#include "expr/stop_hook.h"

namespace {

using ConsoleTest = ExprTest;

// name(name(...name(innermost)...)), `depth` calls deep.
std::string nestedCalls(const std::string& name, int depth, const std::string& innermost) {
    std::string text = innermost;
    for (int i = 0; i < depth; ++i)
        text = name + "(" + text + ")";
    return text;
}

// Definitions of `count` functions, each adding 1 to the next one's value, then a call of the first.
std::vector<std::string> chainOfFunctions(int count) {
    // Letters a to h only, so that no name holds the parameter's letter.
    const auto name = [](int i) { return std::string("c") + char('a' + i / 8) + char('a' + i % 8); };
    std::vector<std::string> lines;
    for (int i = 0; i + 1 < count; ++i)
        lines.push_back(":defn " + name(i) + "(x)=" + name(i + 1) + "(x)+1");
    lines.push_back(":defn " + name(count - 1) + "(x)=x+1");
    lines.push_back(name(0) + "(0)");
    return lines;
}

struct ConsoleCase {
    const char* name;
    std::vector<std::string> lines; // the answer to the last one is checked
    const char* answer;
};

const ConsoleCase consoleCases[] = {
    {"IntegerSum", {"1+2"}, "result = 3 "},
    {"RealResult", {"sin(pi/2)"}, "result = 1.000000 "},
    {"PowerOfThreeAnswersNine", {"3^2"}, "result = 9 "},
    {"PowerOfTenAnswersHundred", {"10^2"}, "result = 100 "},
    {"PowerOfFiveAnswersTwentyFive", {"5^2"}, "result = 25 "},
    {"UserFunctionOfThree", {":defn f(x)=x^2", "f(3)"}, "result = 9 "},
    {"DefnAnswersNothing", {":defn f(x)=x^2"}, ""},
    {"DefnWithoutParameters", {":defn g()=5", "g()"}, "result = 5 "},
    {"DefnRewritesFactorials", {":defn f(x)=x!", "f(3)"}, "result = 6.000000 "},
    {"IntegerDivisionPrintsTruncated", {"7/2"}, "result = 3 "},
    {"NegativeIntegerTruncatesTowardZero", {"0-7/2"}, "result = -3 "},
    {"AssignmentKeepsTheFlag", {"x=3"}, "result = 3 "},
    {"VariableValueIsReal", {"x=3", "x+0"}, "result = 3.000000 "},
    {"VariableAlonePrintsItsName", {"x=4", "x"}, "result = x = 4.000000"},
    {"VectorReplacesThePrefix", {"i"}, "(  1.000000,  0.000000,  0.000000 )"},
    {"CrossProduct", {"iXj"}, "(  0.000000,  0.000000,  1.000000 )"},
    {"ScalarTimesVector", {"2*i"}, "(  2.000000,  0.000000,  0.000000 )"},
    {"VectorTimesScalar", {"i*2"}, "(  2.000000,  0.000000,  0.000000 )"},
    {"NegatedVector", {"-i"}, "(  -1.000000,  -0.000000,  -0.000000 )"},
    {"BlanksCountNowhere", {"1 + 2"}, "result = 3 "},
    {"EmptyLine", {""}, "result = "},
    {"IntegerBeyond32Bits", {"2^40"}, "result = 1099511627776 "},
    {"ByeKeepsTheLine", {" :bye"}, " :bye"},
    {"UnknownCommandAnswersNothing", {":listq"}, ""},
    {"ListVariables", {":listv"}, "Variables: x = 0.000000 .. e = 2.718282 .. pi = 3.141593 .. "},
    {"ListVecAlsoMatchesListV",
     {":listvecfoo"},
     "Vectors: Vector k  =  0.000000  0.000000  1.000000 Vector j  =  0.000000  1.000000  "
     "0.000000 Vector i  =  1.000000  0.000000  0.000000 "},
    {"ListConstantsAfterStripping", {": list c"}, "Constants: "},
    {"ListConstantsNewestFirst", {"1+2.5", ":listc"}, "Constants: 2.500000  1.000000  "},
    {"DefineVector", {":defv v=(1,2,3)"}, "Added vector name = v  : 1.000000  : 2.000000  : 3.000000"},
    {"DefineVectorReadsSignsAndExponents",
     {":defv v=(-1,2e1,abc)", "v"},
     "(  -1.000000,  20.000000,  0.000000 )"},
    {"DefineVectorWithoutEquals", {":defv v(1,2,3)"}, "Ignored - no '='"},
    {"DefineVectorMissingComma", {":defv v=(1,2)"}, "Ignored - missing comma"},
    {"DefineVectorMissingBracket", {":defv v=(1,2,3"}, "Ignored - missing closing bracket"},
    {"RedefinedVectorTakesNewComponents", {":defv i=(7,8,9)", "i"}, "(  7.000000,  8.000000,  9.000000 )"},
    {"AssignmentNeedsAVectorFirst", {":defv w=(0,0,0)", "w=iXj", "w"}, "(  0.000000,  0.000000,  1.000000 )"},
    {"SolveFindsTheRoot", {":defn f(x)=x^2-2", ":solv 1,2,f(x)", "x"}, "result = x = 1.414214"},
    {"SolveReadsNoSign", {":defn f(x)=x^2-2", ":solv -1,1,f(x)", "x"}, "result = x = 0.952381"},
    {"SolveKeepsTheFirstRoot", {":solv 0,3,(x-0.5)*(x-2.5)", "x"}, "result = x = 0.500000"},
    {"SolveStopsAtAPole", {":solv 0,2,(x-1)^(0-1)", "x"}, "result = x = 1.000000"},
    {"SolveWithoutBracketDoesNothing", {"x=5", ":solv 1,2,x", "x"}, "result = x = 5.000000"},
    {"ExploreRoots", {":roots -2,2,x^2-2"}, "roots: x = -1.414214, x = 1.414214"},
    {"ExploreRootsSetTheFirst", {":roots -2,2,x^2-2", "x"}, "result = x = -1.414214"},
    {"ExploreBoundsAreExpressions",
     {":roots -2, sqrt(4), x^3-x"},
     "roots: x = -1.000000, x = 0.000000, x = 1.000000"},
    {"ExploreVariableNamedAsForSolv", {":defn f(t)=t^2-2", ":roots 0,2,f(u)", "u"}, "result = u = 1.414214"},
    {"ExploreMaximum", {":max 0,3,sin(x)"}, "max: x = 1.570796, y = 1.000000"},
    {"ExploreMinimum", {":min 0,2,x^3-x"}, "min: x = 0.577350, y = -0.384900"},
    {"ExploreArea", {":area 0,2,x^2"}, "area = 2.666667"},
    {"ExploreAreaKeepsTheVariable", {"x=7", ":area 0,2,x^2", "x"}, "result = x = 7.000000"},
    {"ExploreAreaOfAConstant", {":area -1,2,3"}, "area = 9.000000"},
    {"ExplorePoleIsNoRoot",
     {":roots -1,1,1/x"},
     "Error - no root in the interval, the sign changes only at a pole or a jump"},
    {"ExplorePoleLeavesTheVariable", {"x=7", ":roots -1,1,1/x", "x"}, "result = x = 7.000000"},
    {"ExploreNoRoot", {":roots 0,1,x+5"}, "Error - no root in the interval"},
    {"ExploreZeroEverywhere", {":roots 0,1,0*x"}, "Error - the expression is zero on the whole interval"},
    {"ExploreFlatMinimum", {":min 0,1,5"}, "Error - the expression is constant on the interval"},
    {"ExploreUnboundedMaximum",
     {":max 0-1,1,1/x^2"},
     "Error - no max, the expression is unbounded near x = 0.000000"},
    {"ExploreUndefinedEverywhere",
     {":min 1,2,log(0-x)"},
     "Error - the expression has no value on the interval"},
    {"ExploreBoundsInTheWrongOrder", {":roots 2,1,x"}, "Error - the first bound must be below the second"},
    {"ExploreEqualBounds", {":area 1,1,x"}, "Error - the first bound must be below the second"},
    {"ExploreInfiniteBound", {":area 0,1/0,x"}, "Error - the bounds must be finite numbers"},
    {"ExploreVectorBound", {":area 0,i,x"}, "Error - the bounds must be finite numbers"},
    {"ExploreVectorExpression", {":roots 0,1,x*i"}, "Error - the expression gives a vector, not a number"},
    {"ExploreMissingExpression", {":max 0,1"}, "Error - expected :max a,b,expression"},
    {"ExploreDivergentAreaWarns",
     {":area 0,1,1/(x-0.3)"},
     "area = 0.847298 (Warning - no convergence, error estimate 0.000007)"},
};

class ConsoleAnswerTest : public ConsoleTest, public ::testing::WithParamInterface<ConsoleCase> {};

TEST_P(ConsoleAnswerTest, Answers) {
    EXPECT_EQ(answerAfter(GetParam().lines), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Console, ConsoleAnswerTest, ::testing::ValuesIn(consoleCases),
                         [](const auto& info) { return std::string(info.param.name); });

// An argument may itself be a call with commas; only the commas outside brackets separate arguments.
const ConsoleCase commaInsideArgumentCases[] = {
    {"OneArgumentBuiltinOfATwoArgumentCall", {":defn g(a,b)=a*b", "sinh(g(1,2))"}, "result = 3.626860 "},
    {"DerivativeOfADerivative", {"x=2", "diff(diff(x^3,x),x)"}, "result = 12.000000 "},
    {"HigherDerivativeOfACall", {":defn g(a,b)=a*b", "x=1", "diffn(g(x,x),x,2)"}, "result = 2.000000 "},
    {"SumOfACall", {":defn g(a,b)=a*b", "sum(n,1,3,g(n,2))"}, "result = 12.000000 "},
    {"CallAsFirstArgument", {":defn g(a,b)=a*b", ":defn f(a,b)=a+b", "f(g(1,2),3)"}, "result = 5 "},
    {"CallAsLastArgument", {":defn g(a,b)=a*b", ":defn f(a,b)=a+b", "f(3,g(1,2))"}, "result = 5 "},
    {"FactorialOfACall", {":defn g(a,b)=a*b", "(g(1,2))!"}, "result = 2.000000 "},
};

INSTANTIATE_TEST_SUITE_P(CommaInsideArgument, ConsoleAnswerTest,
                         ::testing::ValuesIn(commaInsideArgumentCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Expressions at the compiler's limits, answered as the console shows them (errors included).
const ConsoleCase limitCases[] = {
    {"RecursionIsRefused", {":defn r(x)=r(x)", "r(1)"}, "Error - recursive function"},
    {"MutualRecursionIsRefused",
     {":defn f(x)=g(x)", ":defn g(x)=f(x)", "1+f(1)"},
     "Error - recursive function"},
    {"RecursionBesideAnOperandIsRefused", {":defn rr(x)=rr(x)+1", "rr(1)"}, "Error - recursive function"},
    {"ThirteenNestedCalls", {":defn l(x)=3.7*x*(1-x)", nestedCalls("l", 13, "0.5")}, "result = 0.803120 "},
    {"SixteenNestedCalls", {":defn dd(x)=x+x", nestedCalls("dd", 16, "0.5")}, "result = 32768.000000 "},
    {"ChainOfFortyFunctions", chainOfFunctions(40), "result = 40 "},
    {"BeyondTheCeilingIsTooLarge",
     {":defn dd(x)=x+x", nestedCalls("dd", 18, "1")},
     "Error - expression too large"},
    {"SubstitutionSearchesTheWholeText", {":defn f(ab)=aabb", "f(a)"}, "result = aa = 0.000000"},
    {"ArgumentHoldingTheNameIsInsertedOnce", {":defn f(x)=x*x", "f(x+1)"}, "result = 1.000000 "},
};

class LimitAnswerTest : public ConsoleTest, public ::testing::WithParamInterface<ConsoleCase> {};

TEST_P(LimitAnswerTest, Answers) {
    std::string answer;
    for (const std::string& line : GetParam().lines)
        answer = answerConsoleLine(line);
    EXPECT_EQ(answer, GetParam().answer);
}

// Long work runs to its end, however long; a stop ends the whole line at once.
TEST_F(ConsoleTest, LongWorkEndsOnlyWhenDoneOrStopped) {
    EXPECT_EQ(answerConsoleLine("sum(n,1,20000000,1)"), "result = 20000000.000000 ");
    setStopHook(stopAtFirstPoll);
    for (const char* line : {"sum(n,1,10^300,n)", "diffn(x,x,64)", "1+sum(a,1,10^300,sum(b,1,10^300,1))"})
        EXPECT_EQ(answerConsoleLine(line), "Error - calculation stopped") << line;
    setStopHook(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Limits, LimitAnswerTest, ::testing::ValuesIn(limitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConsoleTest, FunctionListingShowsBuiltinsThenUserFunctions) {
    answerTo(":defn g(x)=x");
    answerTo(":defn f(x)=x");
    EXPECT_EQ(answerTo(":listf"),
              "Functions: sin cos sqrt sum prod ! mod inv gamma acos asin atan ceil cosh floor log "
              "sinh tan tanh diff diffn sec cosec cot int g f ");
}

TEST_F(ConsoleTest, LongListingIsCutAtTheBuffer) {
    for (int i = 0; i < 300; ++i)
        answerTo("123456+1");
    const std::string answer = answerTo(":listc");
    EXPECT_EQ(answer.size(), consoleBufferSize - 1);
    EXPECT_EQ(answer.substr(0, 11), "Constants: ");
    for (int i = 0; i < 100; ++i)
        answerTo(":defn " + std::string(12, char('a' + i % 26)) + char('a' + i / 26) + "(x)=x");
    const std::string functions = answerTo(":listf");
    EXPECT_EQ(functions.size(), consoleBufferSize - 1);
    EXPECT_TRUE(functions.ends_with("..")) << functions.substr(functions.size() - 20);
}

TEST_F(ConsoleTest, DefinitionTextParsing) {
    defineFunctionFromText("h(a,b)=a-b");
    const FunctionEntry* h = findFunction("h");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->arity, 2);
    EXPECT_EQ(h->parameters[1].name, "b");
    EXPECT_EQ(h->bodyText, "a-b");

    defineFunctionFromText("noBrackets=1");
    defineFunctionFromText("open(x=1");
    EXPECT_EQ(findFunction("noBrackets"), nullptr);
    EXPECT_EQ(findFunction("open"), nullptr);

    defineFunctionFromText("long(x)=" + std::string(300, '1'));
    EXPECT_EQ(findFunction("long")->bodyText.size(), 199u - 8u);
}

TEST_F(ConsoleTest, MoreThanTwentyParametersAreCut) {
    std::string text = "p(";
    for (char c = 'a'; c <= 'y'; ++c)
        text += std::string(c == 'a' ? "" : ",") + c;
    defineFunctionFromText(text + ")=a");
    EXPECT_EQ(findFunction("p")->arity, 20);
    EXPECT_EQ(findFunction("p")->parameters.back().name, "t");
}

TEST_F(ConsoleTest, ErrorIsLeftForTheConsoleToShow) {
    EXPECT_EQ(answerTo("i+1"), "result = 0.000000 ");
    EXPECT_EQ(evalErrorFlag, 1);
    EXPECT_STREQ(evalErrorMessage, "Cannot add scalar and vector");
}

} // namespace
