// Curves sampled along a parameter: the parametric curve (x(t), y(t)) with its slider marker,
// and polar graphs r(angle) of the polar function rows.
#pragma once

// Draws the curve over what is shown; nothing when a field of the set-up is empty.
void plotParametric();
// A cross at the parameter value `position` thousandths of the way from start to end.
void markParameter(int position);
// Draws every polar row over what is shown, each labelled along its own curve.
void plotPolar();
