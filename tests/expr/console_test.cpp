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

std::string caseName(const ::testing::TestParamInfo<ConsoleCase>& info) {
    return info.param.name;
}

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
    {"WholeQuotientPrintsAsInteger", {"0-8/2"}, "result = -4 "},
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

INSTANTIATE_TEST_SUITE_P(Console, ConsoleAnswerTest, ::testing::ValuesIn(consoleCases), caseName);

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
                         caseName);

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
    {"EighteenNestedCallsGrowNoText", {":defn dd(x)=x+x", nestedCalls("dd", 18, "1")}, "result = 262144 "},
    {"OnlyWholeNamesAreParameters", {":defn f(ab)=aabb", "f(a)"}, "result = aabb = 0.000000"},
    {"ArgumentHoldingTheNameIsInsertedOnce", {":defn f(x)=x*x", "f(x+1)"}, "result = 1.000000 "},
};

// Answers as the consoles show them: the evaluator's error in place of a failed answer.
class ShownAnswerTest : public ConsoleTest, public ::testing::WithParamInterface<ConsoleCase> {};

TEST_P(ShownAnswerTest, Answers) {
    std::string answer;
    for (const std::string& line : GetParam().lines)
        answer = answerConsoleLine(line);
    EXPECT_EQ(answer, GetParam().answer);
}

// A parameter stands for its argument's value, as if the argument were in brackets, and only a
// whole name equal to it is the parameter.
const ConsoleCase bindingCases[] = {
    {"ArgumentReplacesTheParameter", {":defn f(x)=x^2", "f(3)"}, "result = 9 "},
    {"SameNameStandsForItself", {":defn f(x)=x^2", "x=5", "f(x)"}, "result = 25.000000 "},
    {"ArgumentIsBracketed", {":defn g(x)=x^2-2", "g(1+1)"}, "result = 2 "},
    {"NegativeArgumentIsBracketed", {":defn g(x)=x^2-2", "g(0-2)"}, "result = 2 "},
    {"ProductOfASum", {":defn h(x)=2*x", "h(1+1)"}, "result = 4 "},
    {"ParametersBindTogether", {":defn g(x,y)=x-y", "y=7", "g(y,1)"}, "result = 6.000000 "},
    {"NamesHoldingTheParameterAreKept", {":defn f(t)=tan(t)", "f(1)"}, "result = 1.557408 "},
    {"SineAndCosineAreKept", {":defn c(s)=sin(s)+cos(s)", "c(0)"}, "result = 1.000000 "},
    {"SquareRootKeepsItsName", {":defn h(t)=sqrt(t)", "h(4)"}, "result = 2.000000 "},
    {"ArgumentHoldingTheName", {":defn f(x)=x*x", "x=2", "f(x+1)"}, "result = 9.000000 "},
    {"ExtraArgumentsAreIgnored", {":defn f(x)=x", "f(2,3)"}, "result = 2 "},
    {"VectorArgument", {":defn f(v)=v.i", "f(2*i)"}, "result = 2.000000 "},
    {"LongArgumentIsWhole",
     {":defn f(x)=sqrt(x+x+x+x+x+x+x+x+x+x)", "f(1.2345678)"},
     "result = 3.513642 "},
    {"SixteenNestedLogisticCalls", {":defn l(x)=3.7*x*(1-x)", nestedCalls("l", 16, "0.5")}, "result = 0.338187 "},
    {"DerivativeOfAParameter", {":defn f(x)=diff(x^2,x)", "f(3)"}, "result = 6.000000 "},
};

INSTANTIATE_TEST_SUITE_P(Binding, ShownAnswerTest, ::testing::ValuesIn(bindingCases), caseName);

// Numbers as people write them, printed by their value, and pi as the nearest double.
const ConsoleCase numberCases[] = {
    {"QuotientKeepsItsFraction", {"7/2"}, "result = 3.500000 "},
    {"NegativePowerKeepsItsFraction", {"2^(-1)"}, "result = 0.500000 "},
    {"Exponent", {"1e5"}, "result = 100000 "},
    {"NegativeExponent", {"2.5e-3*1000"}, "result = 2.500000 "},
    {"SignedExponent", {"1E+3"}, "result = 1000 "},
    {"LeadingPoint", {".5+1"}, "result = 1.500000 "},
    {"LetterEStaysTheVariable", {"e"}, "result = e = 2.718282"},
    {"PiIsTheNearestDouble", {"(pi-3.141592653589793)*10^10"}, "result = 0.000000 "},
    {"PiTimesAMillion", {"pi*1000000"}, "result = 3141592.653590 "},
};

INSTANTIATE_TEST_SUITE_P(Numbers, ShownAnswerTest, ::testing::ValuesIn(numberCases), caseName);

// A text the compiler cannot read to its end is refused with the reason, never half evaluated.
const ConsoleCase refusalCases[] = {
    {"NumberBeforeAName", {"x=3", "2x"}, "You have missed out * .. or not a function.."},
    {"NumberBeforeACall", {"3sin(x)"}, "You have missed out * .. or not a function.."},
    {"NumberBeforeABracket", {"2(x+1)"}, "You have missed out * .. or not a function.."},
    {"UnknownFunction", {"foo(3)"}, "Error - unknown function foo"},
    {"UnclosedBracket", {"(1"}, "Error - brackets do not match in (1"},
    {"StrayBracket", {")"}, "Error - brackets do not match in )"},
    {"OpenCall", {"sin("}, "Error - brackets do not match in sin("},
    {"EmptyArgument", {"sin()+1"}, "Error - missing operand"},
    {"EmptyBrackets", {"()+1"}, "Error - missing operand"},
    {"TwoPoints", {"1.2.3+4"}, "Error - incorrect number 1.2.3"},
    {"CrossWithoutOperand", {"1+X"}, "Error - cannot read X"},
    {"UnknownFunctionInABody", {":defn f(x)=nof(x)", "f(1)"}, "Error - unknown function nof"},
    {"BlanksInADefinition", {":defn f(x) = x + 1", "f(2)"}, "result = 3 "},
    {"AssignmentInBrackets", {"(x=2)"}, "Error - cannot assign inside brackets"},
    {"LineLongerThanTheBuffer", {"1+" + std::string(1100, '1')}, "Error - the line is longer than 1023 characters"},
};

INSTANTIATE_TEST_SUITE_P(Refusals, ShownAnswerTest, ::testing::ValuesIn(refusalCases), caseName);

// Brackets and arguments have no size limit of their own.
const ConsoleCase lengthCases[] = {
    {"SeventeenNestedSines", {nestedCalls("sin", 17, "1")}, "result = 0.375703 "},
    {"FifteenNestedRoots", {nestedCalls("sqrt", 15, "2")}, "result = 1.000021 "},
    {"DeepBrackets", {nestedCalls("", 129, "1")}, "result = 1 "},
};

INSTANTIATE_TEST_SUITE_P(Lengths, ShownAnswerTest, ::testing::ValuesIn(lengthCases), caseName);

// :solv reads signed bounds and says when it finds no change of sign.
const ConsoleCase solveCases[] = {
    {"NegativeBounds", {":defn f(x)=x^2-2", ":solv -2,0,f(x)", "x"}, "result = x = -1.414214"},
    {"BoundsAreExpressions", {":defn f(x)=x^2-2", ":solv 0-2,sqrt(0),f(x)", "x"}, "result = x = -1.414214"},
    {"NoChangeOfSign", {":defn f(x)=x^2-2", ":solv 3,5,f(x)"}, "Error - no change of sign"},
    {"NoVariableNamed", {":solv 1,2,x"}, "Error - name the variable after a bracket, as in :solv 1,2,f(x)"},
    {"NoChangeOfSignKeepsTheVariable", {":defn f(x)=x^2-2", "x=7", ":solv 3,5,f(x)", "x"}, "result = x = 7.000000"},
    {"RootOnASubintervalEnd", {":solv 0,21,(x-1)", "x"}, "result = x = 1.000000"},
};

INSTANTIATE_TEST_SUITE_P(Solve, ShownAnswerTest, ::testing::ValuesIn(solveCases), caseName);

// The functions a plotter's users expect, after the original ones.
const ConsoleCase newBuiltinCases[] = {
    {"Abs", {":defn m(x)=abs(x)", "m(0-3)"}, "result = 3.000000 "},
    {"Exp", {"exp(1)"}, "result = 2.718282 "},
    {"Ln", {"ln(exp(2))"}, "result = 2.000000 "},
    {"Log10", {"log10(1000)"}, "result = 3.000000 "},
    {"Min", {"min(2,0-3)"}, "result = -3.000000 "},
    {"Max", {"max(2,0-3)"}, "result = 2.000000 "},
    {"Sign", {"sign(0-5)+sign(0)"}, "result = -1.000000 "},
    {"MinNeedsTwoArguments", {"min(2)"}, "Error - two arguments needed"},
    {"AbsOfAVector", {"abs(i)"}, "Error - cannot apply abs to vector"},
    {"UserFunctionReplacesABuiltin", {":defn abs(x)=x+1", "abs(1)"}, "result = 2 "},
};

INSTANTIATE_TEST_SUITE_P(NewBuiltins, ShownAnswerTest, ::testing::ValuesIn(newBuiltinCases), caseName);


// Long work runs to its end, however long; a stop ends the whole line at once.
TEST_F(ConsoleTest, LongWorkEndsOnlyWhenDoneOrStopped) {
    EXPECT_EQ(answerConsoleLine("sum(n,1,20000000,1)"), "result = 20000000.000000 ");
    setStopHook(stopAtFirstPoll);
    for (const char* line : {"sum(n,1,10^300,n)", "diffn(x,x,64)", "1+sum(a,1,10^300,sum(b,1,10^300,1))"})
        EXPECT_EQ(answerConsoleLine(line), "Error - calculation stopped") << line;
    setStopHook(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Limits, ShownAnswerTest, ::testing::ValuesIn(limitCases), caseName);

TEST_F(ConsoleTest, FunctionListingShowsBuiltinsThenUserFunctions) {
    answerTo(":defn g(x)=x");
    answerTo(":defn f(x)=x");
    EXPECT_EQ(answerTo(":listf"),
              "Functions: sin cos sqrt sum prod ! mod inv gamma acos asin atan ceil cosh floor log "
              "sinh tan tanh diff diffn sec cosec cot int abs exp ln log10 min max sign g f ");
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
    EXPECT_EQ(findFunction("long")->bodyText.size(), 300u);
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
