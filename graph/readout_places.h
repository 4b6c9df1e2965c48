// Where the picture's readouts lie (curve labels, explore marks' readouts, the area readout, the
// chord's numbers), so that a later readout moves to a free slot instead of covering an earlier
// one. A new target or a cleared graph starts with no places taken.
#pragma once

#include <QPoint>
#include <QRect>

#include <string_view>

void clearReadoutPlaces();
// A box that readouts keep clear of from now on, as they keep clear of each other (the axis
// numbers of a numbered picture).
void reserveReadoutBox(const QRect& box);
// The top-left corner for a readout text whose box is `wanted`: the wanted corner when that box
// covers no earlier readout, otherwise the nearest free slot one box height at a time above or
// below (above first) whose box lies between rows 0 and areaHeight, and the wanted corner when
// there is none. The same text wanted at the same place gets the place it got before, so a
// plotter drawing over its own picture puts its readouts where they were.
QPoint takeReadoutPlace(const QRect& wanted, std::string_view text, int areaHeight);
