// Lines from sample to sample, for the plotters whose samples are joined in order.
#pragma once

#include "expr/stop_hook.h"
#include "graph/curve_breaks.h"
#include "graph/sample_rows.h"
#include "graph/surface.h"

#include <QPoint>

// Joins the samples evaluated before any Stop, in order, through join(i, pixel), which draws from
// the current position to sample i at that pixel, after start(i, pixel), which puts the pen down
// there. A sample whose evaluation could not give its value (stopped, or refused as recursive or
// too large) is never drawn: it lifts the pen until the next sample that could.
template <typename Pixel, typename Join, typename Start>
void joinSamples(const SampleRows& samples, Pixel pixelAt, Join join, Start start) {
    bool penUp = true;
    for (std::size_t i = 0; i < samples.evaluated; ++i) {
        if (samples.incomplete[i] != 0) {
            penUp = true;
            continue;
        }
        const QPoint p = pixelAt(i);
        if (penUp)
            start(i, p);
        else
            join(i, p);
        penUp = false;
    }
}

// Straight lines from sample to sample.
template <typename Pixel> void joinSamples(Surface& surface, const SampleRows& samples, Pixel pixelAt) {
    joinSamples(
        samples, pixelAt, [&](std::size_t, QPoint p) { surface.lineTo(p.x(), p.y()); },
        [&](std::size_t, QPoint p) { surface.moveTo(p.x(), p.y()); });
}

// Lines from sample to sample with the pen lifted across poles and jumps: pointAt(i) is where
// sample i lies, between(t) where the curve lies at a parameter between samples.
template <typename Pixel, typename PointAt, typename Between>
void joinAcrossBreaks(Surface& surface, const SampleRows& samples, Pixel pixelAt, PointAt pointAt, Between between) {
    joinSamples(
        samples, pixelAt,
        [&](std::size_t i, QPoint p) { lineAcrossBreaks(surface, pointAt(i - 1), pointAt(i), p, between); },
        [&](std::size_t i, QPoint p) { surface.moveTo(p.x(), p.y(), exactOf(pointAt(i))); });
}
