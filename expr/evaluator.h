#pragma once
// Runs the evaluation order of a compiled ExpList on the WorkStack. Errors do not stop an
// evaluation: the failing operation sets the error state and gives 0.

#include <cstdint>
#include <optional>
#include <span>

#include "expr/symbol_store.h"

extern std::int32_t evalErrorFlag;
extern const char* evalErrorMessage;
extern double integralSum;  // accumulator of the built-in int
extern double integralStep; // step of int: the graph engine keeps it equal to its pixel width
// The evaluator's own domain-error flag (not errno): set by log, ^, sqrt and gamma in their
// listed domain cases, never cleared here.
extern std::int32_t mathErrorIndicator;
inline constexpr double derivativeStep = 0.0625;

// The result left on top of the WorkStack; nothing for an empty expression.
std::optional<Value> evaluate(const ExpList& list);
// The scalar value of the result: a number's value, a variable's current value, 0 otherwise.
// Makes no heap allocation.
double evaluateToNumber(const ExpList& list);

// Whether evaluateSweep can run the list over many samples at once: it takes the scalar path.
bool canSweep(const ExpList& list);
// evaluateToNumber at each of `values` of `varying`, all at once. results[i] is the value at
// values[i]; mathErrors[i] is set to what that sample raised mathErrorIndicator to and left alone
// where it raised nothing. mathErrorIndicator and `varying` are left as evaluating the samples one
// after another would leave them. Only for lists canSweep allows; no heap allocation.
void evaluateSweep(const ExpList& list, Variable* varying, std::span<const double> values,
                   std::span<double> results, std::span<std::int32_t> mathErrors);
// Cleared only to measure or check the sample-by-sample path against the sweeps.
extern bool sweepsEnabled;

inline std::optional<Value> evaluate(const ExpListPtr& list) {
    return list ? evaluate(*list) : std::nullopt;
}
inline double evaluateToNumber(const ExpListPtr& list) {
    return list ? evaluateToNumber(*list) : 0.0;
}
