#include "graph_test_support.h"

#include "expr/command_interpreter.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"

void resetPlotState(const std::vector<const char*>& definitions) {
    resetSymbolStore();
    plotSettings = PlotSettings{};
    for (const char* definition : definitions)
        defineFunctionFromText(definition);
}
