// The region between a curve and the x axis over [a, b], as the Area dialog leaves it on the
// graph: each device column of the interval tinted from the curve to the axis in a translucent
// version of the curve's colour, and a readout of the area beside the axis.
#pragma once

#include "expr/symbol_store.h"

#include <QRgb>

#include <string>

class Surface;

struct AreaShading {
    ExpListPtr list; // the curve, a function of x
    double a = 0.0;
    double b = 0.0;
    QRgb colour = 0;
    double area = 0.0; // its sign puts the readout on the side of the axis away from the shading
    std::string readout;
};

// Columns where the curve has no value (a failed or stopped sample) stay untinted.
void shadeArea(Surface& surface, const AreaShading& shading);
