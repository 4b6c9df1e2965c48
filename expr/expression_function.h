#pragma once
// A compiled expression seen as a real function of one of its variables: the value, or NaN when
// the evaluation fails (an evaluation error, a domain error, a refused expression) or the user
// has stopped the work.

#include <limits>

#include "expr/evaluation_session.h"
#include "expr/evaluator.h"
#include "expr/stop_hook.h"
#include "expr/symbol_store.h"

struct ExpressionFunction {
    const ExpList& list;
    Variable* variable; // may be null: the expression is then a constant
    // Where the last failed evaluation's error message goes, when not null.
    const char** lastError = nullptr;

    double operator()(double x) const {
        constexpr double failed = std::numeric_limits<double>::quiet_NaN();
        if (workStopped()) return failed;
        setVariableValue(variable, x);
        const NumberEvaluation y = evaluateNumber(list);
        if (!y.status.failed()) return y.value;
        if (lastError != nullptr && y.status.error != nullptr) *lastError = y.status.error;
        return failed;
    }
};

// One search over an expression: one piece of work that Stop ends as a whole; afterwards the
// variable is as it was before.
class SearchScope {
  public:
    explicit SearchScope(Variable* variable)
        : variable_(variable), kept_(variable != nullptr ? variable->value : 0.0) {}
    ~SearchScope() { setVariableValue(variable_, kept_); }
    // Whether the user stopped the search; its results are then incomplete.
    bool stopped() const { return workStopped(0); }
    SearchScope(const SearchScope&) = delete;
    SearchScope& operator=(const SearchScope&) = delete;

  private:
    const EvaluationSession session_;
    Variable* variable_;
    double kept_;
};
