// Lines from sample to sample, for the plotters whose samples are joined in order.
#pragma once

#include "expr/stop_hook.h"
#include "graph/sample_rows.h"
#include "graph/surface.h"

#include <QPoint>

// Joins pixelAt(i) of the samples evaluated before any Stop, in order. A sample whose evaluation
// could not give its value (stopped, or refused as recursive or too large) is never drawn: it
// lifts the pen until the next sample that could.
template <typename Pixel> void joinSamples(Surface& surface, const SampleRows& samples, Pixel pixelAt) {
    bool penUp = true;
    for (std::size_t i = 0; i < samples.evaluated; ++i) {
        if (samples.incomplete[i] != 0) {
            penUp = true;
            continue;
        }
        const QPoint p = pixelAt(i);
        if (penUp)
            surface.moveTo(p.x(), p.y());
        else
            surface.lineTo(p.x(), p.y());
        penUp = false;
    }
    evaluationIncomplete = 0; // the samples' failures are spent on the pen
}
