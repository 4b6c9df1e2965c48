#include "expr_test_support.h"

#include "expr/compiler.h"
#include "expr/evaluator.h"

namespace {

std::string names(const auto& list) {
    std::string joined;
    for (const auto& record : list)
        joined += record->name + " ";
    return joined;
}

using StoreTest = ExprTest;

TEST_F(StoreTest, StartUpContentIsInListOrder) {
    EXPECT_EQ(names(symbolStore.variables), "x e pi ");
    EXPECT_EQ(names(symbolStore.vectors), "k j i ");
    EXPECT_EQ(names(symbolStore.functions),
              "sin cos sqrt sum prod ! mod inv gamma acos asin atan ceil cosh floor log sinh tan "
              "tanh diff diffn sec cosec cot int abs exp ln log10 min max sign ");
    EXPECT_EQ(findFunction("sum")->arity, 4);
    EXPECT_EQ(findOrCreateVariable("pi")->value, 3.141592653589793);
}

TEST_F(StoreTest, CompilingAnUnknownNameCreatesItAtZero) {
    EXPECT_EQ(valueOf("y+1"), 1.0);
    EXPECT_EQ(symbolStore.variables.front()->name, "y");
}

TEST_F(StoreTest, EveryCompiledNumberIsRecordedWithItsIntegerFlag) {
    symbolStore.constants.clear();
    compileText("2+2");
    compileText("2+2");
    compileText("2.0");
    ASSERT_EQ(symbolStore.constants.size(), 5u);
    EXPECT_EQ(symbolStore.constants[0].isInteger, 0);
    for (std::size_t i = 1; i < 5; ++i)
        EXPECT_EQ(symbolStore.constants[i].isInteger, 1);
}

TEST_F(StoreTest, ConstantsListKeepsOnlyTheNewestEntries) {
    for (int i = 0; i < 3000; ++i)
        addConstant(std::to_string(i));
    ASSERT_EQ(symbolStore.constants.size(), constantsKept);
    EXPECT_EQ(symbolStore.constants.front().value, 2999.0);
}

TEST_F(StoreTest, ExistingVectorIsReturnedUnchanged) {
    VectorVariable* i = findOrCreateVector("i", 3, 7, 7, 7);
    EXPECT_EQ(i->components, (std::array<double, 3>{1, 0, 0}));
    EXPECT_EQ(symbolStore.vectors.size(), 3u);
}

TEST_F(StoreTest, RedefinitionKeepsThePlaceAndTheRow) {
    defineUserFunction("f", 1, {"x"}, "x^2");
    defineUserFunction("g", 1, {"x"}, "x");
    defineUserFunction("f", 1, {"x"}, "x^3");
    EXPECT_EQ(userFunctionCount, 2);
    EXPECT_EQ(userFunctionAt(0)->bodyText, "x^3");
    EXPECT_EQ(userFunctionAt(1)->name, "g");
    EXPECT_EQ(userFunctionAt(2), nullptr);
    EXPECT_EQ(displayFlags[0], 1);
    EXPECT_EQ(displayFlags[1], 1);
    EXPECT_EQ(displayFlags[2], 0);
}

TEST_F(StoreTest, DefiningABuiltinNameReplacesItInPlace) {
    defineUserFunction("sin", 1, {"x"}, "x");
    EXPECT_EQ(symbolStore.functions.front()->name, "sin");
    EXPECT_EQ(symbolStore.functions.front()->isBuiltin, 0);
    EXPECT_EQ(valueOf("sin(3)"), 3.0);
}

TEST_F(StoreTest, FunctionsBeyondTheTenthRowHaveNoFlag) {
    for (int i = 0; i < 12; ++i)
        defineUserFunction(std::string(static_cast<std::size_t>(i + 1), 'f'), 0, {}, "1");
    EXPECT_EQ(userFunctionCount, 12);
    for (int flag : displayFlags)
        EXPECT_EQ(flag, 1);
}

TEST_F(StoreTest, UnlinkingKeepsCounterAndFlags) {
    defineUserFunction("f", 1, {"x"}, "x");
    defineUserFunction("g", 1, {"x"}, "x");
    EXPECT_TRUE(unlinkFunction("f"));
    EXPECT_FALSE(unlinkFunction("f"));
    EXPECT_EQ(userFunctionAt(0)->name, "g");
    EXPECT_EQ(userFunctionCount, 2);
    EXPECT_EQ(displayFlags[1], 1);
}

TEST_F(StoreTest, ResetKeepsVectorsAndRestoresStandardSymbols) {
    findOrCreateVector("v", 3, 1, 2, 3);
    defineUserFunction("f", 1, {"x"}, "x");
    findOrCreateVariable("q");
    resetSymbolStore();
    EXPECT_EQ(names(symbolStore.vectors), "v k j i ");
    EXPECT_EQ(names(symbolStore.variables), "x e pi ");
    EXPECT_EQ(symbolStore.functions.size(), builtinCount);
    EXPECT_EQ(userFunctionCount, 0);
    EXPECT_EQ(displayFlags[0], 0);
}

TEST_F(StoreTest, CompiledListStaysUsableAfterResetAndRedefinition) {
    defineUserFunction("f", 1, {"x"}, "x+y");
    const ExpListPtr list = compileExpression("f(x)*2");
    Variable* x = findOrCreateVariable("x");
    setVariableValue(x, 3);
    resetSymbolStore();
    defineUserFunction("f", 1, {"x"}, "0");
    // The list still reads the x and y it was compiled with.
    EXPECT_EQ(evaluateToNumber(list), 6.0);
}

} // namespace
