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

    double operator()(double x) const {
        constexpr double failed = std::numeric_limits<double>::quiet_NaN();
        if (workStopped()) return failed;
        setVariableValue(variable, x);
        evalErrorFlag = 0;
        mathErrorIndicator = 0;
        evaluationIncomplete = 0;
        const double y = evaluateToNumber(list);
        return evalErrorFlag != 0 || mathErrorIndicator != 0 || evaluationIncomplete != 0 ? failed : y;
    }
};

// One search over an expression: one piece of work that Stop ends as a whole; afterwards the
// variable and the error flags are as they were before.
class SearchScope {
  public:
    explicit SearchScope(Variable* variable)
        : variable_(variable), kept_(variable != nullptr ? variable->value : 0.0), errorFlag_(evalErrorFlag),
          mathError_(mathErrorIndicator) {}
    ~SearchScope() {
        setVariableValue(variable_, kept_);
        evalErrorFlag = errorFlag_;
        mathErrorIndicator = mathError_;
        evaluationIncomplete = 0;
    }
    // Whether the user stopped the search; its results are then incomplete.
    bool stopped() const { return workStopped(0); }
    SearchScope(const SearchScope&) = delete;
    SearchScope& operator=(const SearchScope&) = delete;

  private:
    const EvaluationSession session_;
    Variable* variable_;
    double kept_;
    std::int32_t errorFlag_;
    std::int32_t mathError_;
};
