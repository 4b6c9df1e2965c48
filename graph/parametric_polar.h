// Curves sampled along a parameter: the parametric curve (x(t), y(t)) with its slider marker,
// and polar graphs r(angle) of the polar function rows.
#pragma once

#include "expr/symbol_store.h"

#include <QPoint>

#include <optional>
#include <string>
#include <vector>

// The parametric set-up compiled as the plotter compiles it.
struct ParametricSetup {
    ExpListPtr x;
    ExpListPtr y;
    double from;
    double to;
    Variable* parameter;

    // The pixel of the curve at parameter value t; y is evaluated before x.
    QPoint pointAt(double t) const;
};

// Nothing when a field of the set-up is empty.
std::optional<ParametricSetup> prepareParametric();
// The parameter values the curve is drawn through: from, from + step, ... while below to.
std::vector<double> parameterValues(double from, double to);
// The angles a polar graph is drawn through: 0, 0.01, ... while below 2 pi.
std::vector<double> polarAngles();
// "x = X, y = Y": what the parametric curve is called while it is drawn or traced.
std::string parametricLabel();

// Draws the curve over what is shown; nothing when a field of the set-up is empty.
void plotParametric();
// A cross at the parameter value `position` thousandths of the way from start to end.
void markParameter(int position);
// Draws every polar row over what is shown, each labelled along its own curve.
void plotPolar();
