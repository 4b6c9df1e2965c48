// The plotters' sample loops: v = start, start + step, ... while v < end, by repeated addition.
#pragma once

#include "expr/stop_hook.h"

#include <vector>

// A sample counts as this many steps of work, so the stop hook is polled every 16 samples.
inline constexpr long sampleWork = stopPollSteps / 16;

// Stops early when an addition no longer moves v (a step lost in rounding far from the origin,
// a zero or not-a-number step), so no limits can make a plot loop for ever, and when the user
// stops the work.
template <typename Body> void sweep(double start, double end, double step, Body body) {
    for (double v = start; v < end && !workStopped(sampleWork);) {
        body(v);
        const double next = v + step;
        if (!(next > v)) break;
        v = next;
    }
}

// The values sweep() visits, gathered first where a loop over them must know how many there are.
inline std::vector<double> sweptValues(double start, double end, double step) {
    std::vector<double> values;
    sweep(start, end, step, [&](double v) { values.push_back(v); });
    return values;
}

// body(v) for each value in turn until the user stops the work; each value is one step of the
// progress record, whose total the caller has set.
template <typename Body> void forEachValueWithProgress(const std::vector<double>& values, Body body) {
    for (std::size_t i = 0; i < values.size() && !workStopped(sampleWork); ++i) {
        body(values[i]);
        ++workProgress.done;
    }
}
