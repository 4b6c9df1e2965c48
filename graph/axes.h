// The graph area's background, axes, tick marks and the four axis labels.
#pragma once

#include <QRgb>

inline constexpr QRgb backgroundColour = qRgb(10, 10, 20);
inline constexpr QRgb axisColour = qRgb(255, 0, 0);
// The pen the plotters leave selected.
inline constexpr QRgb darkPenColour = qRgb(5, 5, 55);

// Blanks the graph area and draws the axes. Ticks and labels need a positive finite span on
// their axis; with any other limits only the axes are drawn.
void clearGraph();
