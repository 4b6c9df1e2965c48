#pragma once
// Shared by the evaluator's loop and the built-in functions; not part of the public interface.

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <optional>

#include "expr/evaluation_session.h"
#include "expr/evaluator.h"
#include "expr/exact_powers.h"
#include "expr/expression_state.h"
#include "expr/five_point_derivative.h"
#include "expr/stop_hook.h"
#include "expr/symbol_store.h"

// The value of a scalar entry; a variable is read now, when an operator takes it.
inline double scalarOf(const Value& value) {
    return value.kind == kindVariable ? value.variable->value : value.components[0];
}

inline const std::array<double, 3>& componentsOf(const Value& value) {
    return value.vector != nullptr ? value.vector->components : value.components;
}

inline Value scalarValue(double number, std::int32_t isInteger = 0) {
    Value value;
    value.components[0] = number;
    value.isInteger = isInteger;
    return value;
}

inline Value vectorValue(const std::array<double, 3>& components) {
    Value value;
    value.kind = kindVector;
    value.components = components;
    return value;
}

// Records the evaluation error and gives the 0 that stands in for the failed result.
Value evaluationError(const char* message);

// What an evaluation raises besides an error; MeasuredEvaluations tells them apart.
inline void raiseMathError() {
    RaisedFailures& raised = expressionState.raised;
    raised.mathError = EDOM;
    ++raised.counts.mathErrors;
}
inline void raiseIncomplete() {
    ++expressionState.raised.counts.incompletes;
}

// The one place the console's globals are written: what a status says, added to the mirror.
void mirrorStatus(const EvaluationStatus& status);

// y == floor(y) without a call of floor: every double from 2^52 up is whole.
inline bool isWhole(double y) {
    if (std::fabs(y) < 0x1p52) return y == static_cast<double>(static_cast<std::int64_t>(y));
    return !std::isnan(y);
}

// Where the power raises mathErrorIndicator: a zero base with an exponent of 0 or below and a
// negative base with a fractional exponent.
inline bool outsidePowerDomain(double x, double y) {
    return (x == 0.0 && y <= 0.0) || (x < 0.0 && !isWhole(y));
}

// Whether wholePower takes the exponent y; the scalar path decides by the same rule.
inline bool takesWholePower(double y) {
    return y >= firstWholePower && y <= lastWholePower && isWhole(y);
}

inline double powerValue(double x, double y) {
    // The square is the commonest power; x*x is the correctly rounded value pow gives for it.
    if (y == 2.0) return x * x;
    if (y == 0.5) return halfPower(x);
    if (takesWholePower(y)) return wholePower(x, static_cast<int>(y));
    return std::pow(x, y);
}

// x to the power y. Inline: the scalar path calls it in its loop.
inline double power(double x, double y) {
    if (outsidePowerDomain(x, y)) raiseMathError();
    return powerValue(x, y);
}

// power(x, 0.5): of its domain cases only a negative base can occur.
inline double squareRootPower(double x) {
    if (x < 0.0) raiseMathError();
    return halfPower(x);
}

// Runs a list and gives its result entry, or nullptr for an empty expression. The entry stays
// readable until the next push onto the WorkStack. What it raises counts for the running
// evaluation, as it does for the built-ins that evaluate their arguments with these.
const Value* runToResult(const ExpList& list);
// evaluateNumber's value; what it raises counts for the running measure.
double runToNumber(const ExpList& list);
// evaluateValue's value; what it raises counts for the running measure.
std::optional<Value> runToValue(const ExpList& list);

// Whether the built-in takes its value from the first argument alone (sin, log, gamma, ...).
bool isOneArgumentBuiltin(Builtin builtin);
// A one-argument built-in applied to an evaluated argument.
Value applyOneArgument(Builtin builtin, const Value& argument);

// The rule of a one-argument built-in, for the scalar path.
using OneArgumentRule = double (*)(double);
OneArgumentRule oneArgumentRule(Builtin builtin);

// Fills list.scalarSteps when the list can take the scalar path; called by toPostfix.
void buildScalarProgram(ExpList& list);
// Runs a scalar program; it uses no WorkStack entry and evaluates no other list.
double runScalarProgram(const ScalarStep* step);

// The last argument of sin and cos, with both values: sin and cos of one argument in a scalar
// program share one computation of both.
struct SineAndCosine {
    std::uint64_t argument = 0;
    bool known = false;
    double sine = 0.0;
    double cosine = 0.0;

    const SineAndCosine& of(double a) {
        if (!known || std::bit_cast<std::uint64_t>(a) != argument) compute(a);
        return *this;
    }

    // Out of line so that g++ sees the pair once and makes it one sincos call, which gives the
    // same values as sin and cos each on its own.
    [[gnu::noinline]] void compute(double a) {
        sine = std::sin(a);
        cosine = std::cos(a);
        argument = std::bit_cast<std::uint64_t>(a);
        known = true;
    }
};

// Applies a built-in call node of `list`.
Value callBuiltin(const ExpListNode& node, const ExpList& list);
