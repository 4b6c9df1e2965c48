#pragma once
// A compiled expression seen as a real function of one of its variables: the value, or NaN when
// the evaluation fails (an evaluation error or a domain error).

#include <limits>

#include "expr/evaluator.h"
#include "expr/symbol_store.h"

struct ExpressionFunction {
    const ExpList& list;
    Variable* variable; // may be null: the expression is then a constant

    double operator()(double x) const {
        setVariableValue(variable, x);
        evalErrorFlag = 0;
        mathErrorIndicator = 0;
        const double y = evaluateToNumber(list);
        return evalErrorFlag != 0 || mathErrorIndicator != 0 ? std::numeric_limits<double>::quiet_NaN() : y;
    }
};
