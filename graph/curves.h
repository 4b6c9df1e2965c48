// Explicit graphs y = f(x): the ticked function rows with their labels, and a one-off expression.
#pragma once

#include "expr/symbol_store.h"

#include <QRgb>

#include <string>

inline constexpr int labelGap = 120;
inline constexpr std::size_t functionLabelSize = 80; // terminator included

QRgb rowColour(int row);
// name(parameters) = body, cut at functionLabelSize - 1 characters.
std::string functionLabel(const FunctionEntry& entry);

// Draws every ticked row over what is shown, and the chord on chordRow when it is shown.
void plotFunctions();
// Clears the graph area and draws the compiled expression with the dark pen.
void plotGraphExpression(const ExpListPtr& list);
