#include "graph_test_support.h"

#include "expr/command_interpreter.h"
#include "expr/expression_state.h"
#include "graph/graph_state.h"
#include "graph/plot_settings.h"

void resetPlotState(const std::vector<const char*>& definitions) {
    resetExpressionState();
    resetGraphState();
    for (const char* definition : definitions)
        defineFunctionFromText(definition);
}

void setParametric(const char* x, const char* y, const char* name, const char* from, const char* to) {
    plotSettings.parametricX = x;
    plotSettings.parametricY = y;
    plotSettings.parameterName = name;
    plotSettings.parameterFrom = from;
    plotSettings.parameterTo = to;
}
