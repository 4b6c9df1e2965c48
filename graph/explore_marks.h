// What the exploring tools leave on the graph: a small cross with its "x = .., y = .." readout
// where a root, an extremum or an intersection was found, and one shaded area. Marks belong to
// the view and the functions they were found on: a change of either drops them.
#pragma once

#include "graph/area_shading.h"

#include <QRgb>

struct ExploreMark {
    double x;
    double y;
    QRgb colour;
};

void addExploreMark(const ExploreMark& mark);
// Replaces the shaded area, if there was one.
void setAreaShading(AreaShading shading);
void clearExploreMarks();
// Draws the shading and the marks that still belong to what is shown; drops them all otherwise.
void drawExploreMarks();
