// The trace: a marker that sits on one shown curve and moves along it from sample to sample.
// It is held in the curve's own terms (which curve, and x or the parameter there), never in
// pixels, so every redraw finds it again after a zoom, a pan or a change of the functions.
#pragma once

#include "graph/shown_curves.h"

#include <QPoint>

#include <optional>
#include <string>

struct TraceReadout {
    CurveId curve;
    std::string name;
    double place;                    // x, the polar angle or the parameter
    std::optional<WorldPoint> point; // nothing where the curve has no value at the marker
};

// Puts the marker on the shown curve nearest the pixel (logical pixels of the graph area), at a
// point in view. False, and no trace, when no shown curve has such a point.
bool startTrace(QPoint pixel);
void endTrace();
bool isTracing();

// One sample on (+1: right on an explicit graph, towards larger parameters on the others) or
// back (-1); samples where the curve has no value are passed over. At the last sample with a
// value the marker stays.
void moveTrace(int direction);
// To the next (+1) or previous (-1) shown curve, at its point nearest the marker, going round.
void switchTraceCurve(int direction);

// Nothing when no trace runs or its curve is no longer shown.
std::optional<TraceReadout> traceReadout();

// The marker through the one draw path; a repaint calls it after the curves.
void drawTraceMarker();
