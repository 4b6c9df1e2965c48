// The function rows: the k-th user function of the symbol store's function list is row k;
// built-ins are skipped and functions after the tenth have no row.
#pragma once

#include "expr/symbol_store.h"

#include <memory>
#include <vector>

template <typename Visit> void forEachFunctionRow(Visit visit) {
    // A copy of the list keeps every entry alive even if an evaluation redefines a function.
    const std::vector<std::shared_ptr<FunctionEntry>> functions = symbolStore.functions;
    int row = 0;
    for (const std::shared_ptr<FunctionEntry>& entry : functions) {
        if (row >= functionRowCount) break;
        if (entry->isBuiltin != 0) continue;
        visit(*entry, row);
        ++row;
    }
}
