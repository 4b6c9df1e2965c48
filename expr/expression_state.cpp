#include "expr/expression_state.h"

#include "expr/evaluation.h"

ExpressionState expressionState;

SymbolStore& symbolStore = expressionState.symbolStore;
std::uint64_t& storeNameComparisons = expressionState.storeNameComparisons;
std::int32_t (&displayFlags)[functionRowCount] = expressionState.displayFlags;
std::int32_t& userFunctionCount = expressionState.userFunctionCount;
WorkStack& workStack = expressionState.workStack;
char (&consoleLine)[consoleBufferSize] = expressionState.consoleLine;
char (&answerText)[consoleBufferSize] = expressionState.answerText;
std::int32_t& evalErrorFlag = expressionState.evalErrorFlag;
const char*& evalErrorMessage = expressionState.evalErrorMessage;
std::int32_t& mathErrorIndicator = expressionState.mathErrorIndicator;
double& integralSum = expressionState.integralSum;
double& integralStep = expressionState.integralStep;
bool& sweepsEnabled = expressionState.sweepsEnabled;
WorkProgress& workProgress = expressionState.work.progress;

void resetExpressionState() {
    expressionState = ExpressionState{};
    initSymbolStore();
}
