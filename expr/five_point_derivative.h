#pragma once
// The derivative that the built-in diff computes, for callers that evaluate their own expression
// at the point (a curve's slope readout must agree with diff to the last bit).

#include "expr/symbol_store.h"

// The scalar part of diff's five-point central difference. v stands 0.0001 below the point, where
// the value p was taken; v is moved on and back by the same amounts as diff moves it, so the
// rounding of the moves is the same too.
template <typename Evaluate> double fivePointDifference(Variable& v, double p, Evaluate evaluateHere) {
    v.value = v.value + 0.00005;
    const double q = evaluateHere();
    v.value = v.value + 0.0001;
    const double r = evaluateHere();
    v.value = v.value + 0.00005;
    const double s = evaluateHere();
    v.value = v.value - 0.0001;
    return (8.0 * (r - q) - (s - p)) * 1666.6666666666665;
}

// diff of a scalar evaluation at v's value, computed exactly as the built-in computes it.
template <typename Evaluate> double fivePointDerivative(Variable& v, Evaluate evaluateHere) {
    v.value = v.value - 0.0001;
    return fivePointDifference(v, evaluateHere(), evaluateHere);
}
