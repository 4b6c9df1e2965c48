// Explicit graphs y = f(x): the ticked function rows with their labels, and a one-off expression.
#pragma once

#include "expr/symbol_store.h"
#include "graph/colours.h"

#include <QRgb>

#include <string>
#include <vector>

inline constexpr int labelGap = 120;
inline constexpr std::size_t functionLabelSize = 80; // terminator included

// name(parameters) = body, cut at functionLabelSize - 1 characters.
std::string functionLabel(const FunctionEntry& entry);
// name'(x) for the first derivative (order 1), name''(x) for the second.
std::string derivativeLabel(const FunctionEntry& entry, int order);
// worldX of every column, the x values an explicit graph is drawn through.
std::vector<double> columnValues();

// Draws every ticked row over what is shown, and the chord on chordRow when it is shown.
void plotFunctions();
// Clears the graph area and draws the compiled expression in the theme's graphExpression colour.
void plotGraphExpression(const ExpListPtr& list);
// The expression's curve alone, over what is shown.
void drawGraphExpression(const ExpListPtr& list);
