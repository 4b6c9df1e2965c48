#pragma once
// The expression language's whole mutable state: one record, whose one instance holds every
// thing the language keeps between calls. The rest of the program reaches its parts by their
// own names (symbolStore, workStack, evalErrorFlag, consoleLine, ...), declared beside the code
// that owns them; only the reset below treats the record as a whole, so it cannot miss a part.

#include <cstdint>

#include "expr/command_interpreter.h"
#include "expr/compile_budget.h"
#include "expr/evaluation_status.h"
#include "expr/stop_hook.h"
#include "expr/symbol_store.h"

// The state of the long work that the user can stop (see stop_hook.h).
struct WorkState {
    int sessionDepth = 0; // EvaluationSessions alive
    long stepsSincePoll = 0;
    long sessionSteps = 0; // the fuzz build's allowance
    bool stopped = false;
    WorkProgress progress;
};

struct ExpressionState {
    SymbolStore symbolStore;
    std::uint64_t storeNameComparisons = 0;
    std::int32_t displayFlags[functionRowCount] = {};
    std::int32_t userFunctionCount = 0;
    WorkStack workStack;
    char consoleLine[consoleBufferSize] = {};
    char answerText[consoleBufferSize] = {};
    // The console's mirror of the evaluations' statuses, and what the evaluations raised.
    std::int32_t evalErrorFlag = 0;
    const char* evalErrorMessage = "";
    std::int32_t mathErrorIndicator = 0;
    RaisedFailures raised;
    double integralSum = 0.0;
    double integralStep = 0.0;
    bool sweepsEnabled = true;
    CompileBudget compileBudget;
    WorkState work;
};

// The one instance.
extern ExpressionState expressionState;

// A fresh record: the store and its index with the standard symbols and i, j, k; no user
// function, no display flag; an empty WorkStack and console line; no evaluation or domain error;
// the running integral at 0; no compilation and no work in progress. Start-up, the terminal
// console, the fuzzers and the test fixtures put the state back through this one call. The
// message and stop hooks stay as installed: they are the program's wiring, not its state.
void resetExpressionState();
