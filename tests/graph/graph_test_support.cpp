#include "graph_test_support.h"

#include "expr/command_interpreter.h"
#include "expr/expression_state.h"
#include "graph/graph_state.h"

void resetPlotState(const std::vector<const char*>& definitions) {
    resetExpressionState();
    resetGraphState();
    for (const char* definition : definitions)
        defineFunctionFromText(definition);
}
