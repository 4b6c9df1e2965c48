#include "document/document_reset.h"

#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"

void resetDocument() {
    resetSymbolStore();
    setViewLimits(factoryLimits);
    plotSettings.memoText = "";
}
