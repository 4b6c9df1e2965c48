// The plotters' sample loops: v = start, start + step, ... while v < end, by repeated addition.
#pragma once

// Stops early when an addition no longer moves v (a step lost in rounding far from the origin,
// a zero or not-a-number step), so no limits can make a plot loop for ever.
template <typename Body> void sweep(double start, double end, double step, Body body) {
    for (double v = start; v < end;) {
        body(v);
        const double next = v + step;
        if (!(next > v)) break;
        v = next;
    }
}
