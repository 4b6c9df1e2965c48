#pragma once
// Runs the evaluation order of a compiled ExpList on the WorkStack. Errors do not stop an
// evaluation: the failing operation records the error in the evaluation's status and gives 0.

#include <cstdint>
#include <optional>
#include <span>

#include "expr/evaluation_status.h"
#include "expr/symbol_store.h"

// Parts of the expression state (expr/expression_state.h).
// The mirror of what evaluate and evaluateToNumber raised, for the console and the checks: set
// when an evaluation raises an error, never cleared by the evaluator.
extern std::int32_t& evalErrorFlag;
extern const char*& evalErrorMessage;
// The evaluator's own domain-error flag (not errno): mirrors a status's mathError.
extern std::int32_t& mathErrorIndicator;
extern double& integralSum;  // accumulator of the built-in int
extern double& integralStep; // step of int: the graph engine keeps it equal to its pixel width
inline constexpr double derivativeStep = 0.0625;

struct ValueEvaluation {
    std::optional<Value> value;
    EvaluationStatus status;
};
struct NumberEvaluation {
    double value;
    EvaluationStatus status;
};

// The result left on top of the WorkStack (nothing for an empty expression), and what went wrong
// in this evaluation alone; the mirror is left as it was.
ValueEvaluation evaluateValue(const ExpList& list);
// The scalar value of the result: a number's value, a variable's current value, 0 otherwise; and
// this evaluation's status, the mirror left as it was. Makes no heap allocation.
NumberEvaluation evaluateNumber(const ExpList& list);
// evaluateValue and evaluateNumber with their status mirrored.
std::optional<Value> evaluate(const ExpList& list);
double evaluateToNumber(const ExpList& list);

// Whether evaluateSweep can run the list over many samples at once: it takes the scalar path.
bool canSweep(const ExpList& list);
// evaluateNumber at each of `values` of `varying`, all at once. results[i] is the value at
// values[i]; mathErrors[i] is set to the mathError of that sample's status and left alone where
// it raised none (the scalar path raises nothing else). `varying` is left as evaluating the
// samples one after another would leave it. Only for lists canSweep allows; no heap allocation.
void evaluateSweep(const ExpList& list, Variable* varying, std::span<const double> values,
                   std::span<double> results, std::span<std::int32_t> mathErrors);
// Cleared only to measure or check the sample-by-sample path against the sweeps.
extern bool& sweepsEnabled;

inline std::optional<Value> evaluate(const ExpListPtr& list) {
    return list ? evaluate(*list) : std::nullopt;
}
inline double evaluateToNumber(const ExpListPtr& list) {
    return list ? evaluateToNumber(*list) : 0.0;
}
inline NumberEvaluation evaluateNumber(const ExpListPtr& list) {
    return list ? evaluateNumber(*list) : NumberEvaluation{0.0, {}};
}
