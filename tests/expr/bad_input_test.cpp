// Malformed and oversized input: every line must end, stay within its buffers and answer.
#include "expr_test_support.h"

#include <cstring>

#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "expr/syntax_check.h"

namespace {

using BadInputTest = ExprTest;

std::string repeated(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

struct BadLineCase {
    const char* name;
    std::vector<std::string> setup;
    std::string line;
};

const BadLineCase badLines[] = {
    {"DeepBrackets", {}, repeated("(", 600) + "1" + repeated(")", 600)},
    {"UnclosedBrackets", {}, repeated("(", 1000)},
    {"ClosingBracketsOnly", {}, repeated(")", 1000)},
    {"LongNumber", {}, std::string(1000, '9')},
    {"LongName", {}, std::string(1000, 'a')},
    {"LongSum", {}, repeated("1+", 500)},
    {"ManyFactorials", {}, repeated("()!", 340)},
    {"FactorialsOnly", {}, std::string(1023, '!')},
    {"CrossOnly", {}, std::string(1000, 'X')},
    {"OperatorsOnly", {}, repeated("+-*/=^.X", 120)},
    {"DirectRecursion", {":defn f(x)=f(x)+1"}, "f(2)"},
    {"DoublingRecursion", {":defn f(x)=f(x)+f(x)"}, "f(1)"},
    {"MutualRecursion", {":defn f(x)=g(x)", ":defn g(x)=f(x)"}, "f(1)"},
    {"SelfInsertingArgument", {":defn f(x)=x*x*x*x"}, "f(f(f(f(f(x+1)))))"},
    {"GrowingSubstitution", {":defn f(a)=aaaaaaaaaaaaaaaa"}, "f(" + std::string(70, 'a') + ")"},
    {"TripleRecursionWithTwoParameters", {":defn g(x,fy)=g(z,fy)=Nn g(x,fy)=g(z,fy)cot"}, "g(y,11)"},
    {"CallInPlaceIsNoOperandOfItsOwn", {}, "(2!+)int:defv!"},
    {"EmptyParameterName", {":defn f(,)=1"}, "f(2,3)"},
    {"ManyArguments", {}, "sin(" + repeated("1,", 120) + "1)"},
    {"NestedSums", {}, "sum(a,1,99999,sum(b,1,99999,sum(c,1,99999,1)))"},
    {"NanSumBounds", {}, "sum(n,0/0,1,n)+prod(n,1,0/0,n)"},
    {"InfiniteSumBound", {}, "sum(n,0-1/0,1,n)"},
    {"DeepDerivative", {}, "diffn(diffn(x,x,50),x,50)"},
    {"NanDerivativeOrder", {}, "diffn(x,x,0/0)"},
    {"MissingArguments", {}, "sum()+prod(n)+diff()+diffn(x)+int()"},
    {"SolveWithPoleEverywhere", {}, ":solv 0,99999999,(x-x)^(0-1)*x"},
    {"SolveWithNothing", {}, ":solv"},
    {"SolveWithEmptyName", {}, ":solv 1,2,((x))"},
    {"DefnWithoutBracket", {}, ":defn f"},
    {"DefnClosingFirst", {}, ":defn )f(x"},
    {"DefvLongName", {}, ":defv " + std::string(900, 'v') + "=(1,2,3)"},
    {"DefvShort", {}, ":defv ="},
    {"DefvEqualsAtEnd", {}, ":defv v=,,)"},
    {"OnlyColon", {}, ":"},
    {"ControlCharacters", {}, std::string("\x01\x7f\xff(\x80)", 6)},
};

class BadLineTest : public BadInputTest, public ::testing::WithParamInterface<BadLineCase> {};

TEST_P(BadLineTest, AnswersWithinTheBuffer) {
    setStopHook(stopAtFirstPoll); // endless sums and derivatives
    for (const std::string& line : GetParam().setup)
        answerTo(line);
    const std::string answer = answerTo(GetParam().line);
    EXPECT_LT(answer.size(), consoleBufferSize);
    EXPECT_EQ(workStack.count, 0);
}

INSTANTIATE_TEST_SUITE_P(BadInput, BadLineTest, ::testing::ValuesIn(badLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BadInputTest, UnterminatedConsoleLineIsReadUpToTheBuffer) {
    std::memset(consoleLine, '1', sizeof consoleLine);
    runConsoleLine();
    EXPECT_LT(std::strlen(consoleLine), consoleBufferSize);
}

TEST_F(BadInputTest, RecursiveCallIsRejectedButTheRestEvaluates) {
    answerTo(":defn f(x)=f(x)");
    EXPECT_EQ(valueOf("2+f(1)*0+3"), 5.0);
    EXPECT_STREQ(evalErrorMessage, "Error - recursive function");
}

TEST_F(BadInputTest, FullWorkStackDropsPushesAndReports) {
    workStack.count = workStackLimit - 1;
    EXPECT_EQ(valueOf("1+2"), 0.0);
    EXPECT_STREQ(evalErrorMessage, "Error - missing operand");
    EXPECT_EQ(workStack.count, workStackLimit - 1);
}

TEST_F(BadInputTest, LongDefinitionTextsAreCheckedSafely) {
    EXPECT_EQ(checkDefinitionSyntax("f(x)=" + repeated("x(", 500)), 1);
    EXPECT_EQ(checkDefinitionSyntax("=" + repeated("(", 20) + repeated(")", 20)), 0);
    EXPECT_EQ(checkDefinitionSyntax("=("), 1);
}

TEST_F(BadInputTest, CompilingTheSameTextAgainKeepsTheStoreBounded) {
    for (int i = 0; i < 20000; ++i) {
        const ExpListPtr list = compileExpression("1+2.5*x^2");
        evaluateToNumber(list);
    }
    EXPECT_EQ(symbolStore.constants.size(), constantsKept);
    EXPECT_EQ(symbolStore.variables.size(), 3u);
}

TEST_F(BadInputTest, DroppedRecordsAreFreedWithTheirLastList) {
    answerTo(":defn f(x)=x+q");
    std::weak_ptr<const FunctionEntry> entry = findFunctionRecord("f");
    std::weak_ptr<Variable> q = findOrCreateVariableRecord("q");
    ExpListPtr list = compileExpression("f(1)");
    resetSymbolStore();
    EXPECT_FALSE(entry.expired());
    EXPECT_EQ(evaluateToNumber(list), 1.0);
    list.reset();
    EXPECT_TRUE(entry.expired());
    EXPECT_TRUE(q.expired());
}

} // namespace
