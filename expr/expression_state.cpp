#include "expr/expression_state.h"

#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "expr/evaluation.h"

#include <algorithm>
#include <iterator>

void resetExpressionState() {
    initSymbolStore();
    userFunctionCount = 0;
    std::fill(std::begin(displayFlags), std::end(displayFlags), 0);
    storeNameComparisons = 0;
    workStack.count = 0;
    std::fill(std::begin(consoleLine), std::end(consoleLine), '\0');
    std::fill(std::begin(answerText), std::end(answerText), '\0');
    evalErrorFlag = 0;
    evalErrorMessage = "";
    mathErrorIndicator = 0;
    integralSum = 0.0;
    integralStep = 0.0;
    resetCompileBudget();
    resetWorkState();
}
