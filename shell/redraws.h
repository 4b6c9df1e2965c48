// What each change redraws, in one table, and the scene every redraw rebuilds: the axes, the
// shown curves in the fixed order of a repaint (unless the graph was cleared since), then the
// layers drawn on request (implicit curves, inequality regions, a graphed expression, the
// parameter mark), each drawn again from the present state until the view changes or the user
// clears the graph. What the window shows is therefore always a fresh drawing of the state.
#pragma once

#include "expr/symbol_store.h"

#include <cstdint>

enum class Trigger : std::uint8_t {
    Repaint,          // a change of what the repaint draws, or a repaint the window system asked for
    ViewChange,       // zoom, pan, centre, factory limits, the wheel, Set Limits
    NewDocument,      // File > New
    DocumentLoaded,   // Open, Undo, Redo: the loaded mode's own graph comes with the curves
    Clear,            // Graph > Clear and the set-up dialogs' Clear buttons: the axes alone
    Replot,           // Graph > Replot
    GraphExpression,  // the Graph expression dialog's OK
    ImplicitPlot,     // the Implicit dialog's Plot
    InequalityPlot,   // the Inequalities dialog's Plot
    VarySlider,       // the implicit curves follow the varied variable in Implicit mode
    ParametricSlider, // the parameter's mark over the picture
};

void redraw(Trigger trigger);
// No layers and nothing drawn yet: the scene of a new graph area.
void resetScene();
// The expression and the slider position their layer is drawn from, then the redraw.
void redrawGraphExpression(ExpListPtr list);
void redrawParameterMark(int position);

// Redraws the screen when anything the picture is drawn from (the document, the view, the
// display choices) changed since it was last drawn. Any redraw after the view changed drops the
// layers, whichever trigger asked for it.
void redrawIfStale();
// The scene the screen shows, drawn again onto whatever the surfaces draw on now (an exported
// picture, the clipboard, a printer page); redrawIfStale first makes it the present state's.
void drawScene();
