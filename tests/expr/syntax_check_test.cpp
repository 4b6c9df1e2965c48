#include "expr_test_support.h"

#include "expr/message_hook.h"
#include "expr/syntax_check.h"

namespace {

using SyntaxCheckTest = ExprTest;

struct SyntaxCase {
    const char* name;
    const char* text;
    const char* caption; // empty: the text passes
    const char* body;
};

const SyntaxCase syntaxCases[] = {
    {"WellFormed", "f(x,y)=x+2*y", "", ""},
    {"EmptyTextPasses", "", "", ""},
    {"UnbalancedBrackets", "f(x)=(x+1", "Brackets do not match in..", "f(x)=(x+1"},
    {"OnlyTheCountMatters", ")x(", "", ""},
    {"SquareBrackets", "f(x)=[x]", "Use only ( and ) brackets in ..", "f(x)=[x]"},
    {"BracesToo", "f(x)={x}", "Use only ( and ) brackets in ..", "f(x)={x}"},
    {"TwoPointsInANumber", "f(x)=1.2.3", "Incorrect number in ..", "f(x)=1.2.3"},
    {"TwoAdjacentPoints", "f(x)=1..2", "Incorrect number in ..", "f(x)=1..2"},
    {"PointBeforeDigitsStartsNothing", ".5.3", "", ""},
    {"TwoNumbersWithOnePointEach", "f(x)=1.5+2.5", "", ""},
    {"MinusAfterOperator", "f(x)=x*-1", "Two consecutive operators in ..", "f(x)=x*-1"},
    {"TwoOperatorsAtTheStart", "+-x", "Two consecutive operators in ..", "+-x"},
    {"MinusAfterEquals", "f(x)=-x", "", ""},
    {"FirstFailingCheckOnly", "f(x)=(x*-1", "Brackets do not match in..", "f(x)=(x*-1"},
    {"NumberBeforeBracket", "f(x)=2(x+1)", "You have missed out * .. or not a function..", "2"},
    {"ClosedGroupBeforeBracket", "f(x)=(x+1)(x-1)", "You have missed out * .. or not a function..", "1)"},
    {"VariableBeforeBracket", "f(x)=x(y)", "You have missed out * .. or not a function..", "x"},
    {"KnownFunction", "f(x)=sin(x)", "", ""},
    {"BlankAfterName", "f(x)=sin (x)", "You have missed out * .. or not a function..", "sin "},
    {"NestedBrackets", "f(x)=((x+1))", "", ""},
    {"BracketAfterBracket", "f(x)=sin((x))", "", ""},
    {"UnknownFunction", "f(x)=g(x)", "You have missed out * .. or not a function..", "g"},
    {"NameAfterOperator", "f(x)=1+g(x)", "You have missed out * .. or not a function..", "g"},
    {"NoEqualsPasses", "f(x)", "", ""},
    {"CharacterAfterEqualsIsNotExamined", "f(x)=(x)", "", ""},
};

class SyntaxTest : public SyntaxCheckTest, public ::testing::WithParamInterface<SyntaxCase> {};

TEST_P(SyntaxTest, ChecksTheDefinition) {
    const SyntaxCase& c = GetParam();
    const bool refused = c.caption[0] != '\0';
    EXPECT_EQ(checkDefinitionSyntax(c.text), refused ? 1 : 0);
    if (!refused) {
        EXPECT_TRUE(recordedMessages.empty());
        return;
    }
    ASSERT_EQ(recordedMessages.size(), 1u);
    EXPECT_EQ(recordedMessages[0].caption, c.caption);
    EXPECT_EQ(recordedMessages[0].body, c.body);
    EXPECT_EQ(recordedMessages[0].icon, messageIconError);
}

INSTANTIATE_TEST_SUITE_P(SyntaxChecks, SyntaxTest, ::testing::ValuesIn(syntaxCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SyntaxCheckTest, UserFunctionCountsAsKnown) {
    defineUserFunction("g", 1, {"x"}, "x");
    EXPECT_EQ(checkDefinitionSyntax("f(x)=g(x)"), 0);
}

TEST_F(SyntaxCheckTest, OperatorCharactersAreTheFiveArithmeticOnes) {
    std::string operators;
    for (int c = 1; c < 256; ++c) {
        if (isOperatorChar(static_cast<char>(c)) != 0) operators += static_cast<char>(c);
    }
    EXPECT_EQ(operators, "*+-/^");
}

TEST_F(SyntaxCheckTest, WithoutHookNothingIsShown) {
    setMessageHook(nullptr);
    EXPECT_EQ(checkDefinitionSyntax("f(x)=(x"), 1);
    EXPECT_TRUE(recordedMessages.empty());
}

} // namespace
