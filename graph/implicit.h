// Relations in x and y: up to two implicit curves left = right, found as sign changes along scan
// lines, and the region where up to three inequalities left > right all hold.
#pragma once

// The shell's cursor switch for long plots: showWait puts up the wait cursor and captures the
// mouse, showCross restores the cross cursor and releases the capture. Either may be null.
void setCursorHooks(void (*showWait)(), void (*showCross)());

// Draws the implicit equations of the plot settings over what is shown.
void plotImplicit();
// Paints the inequality region of the plot settings over what is shown, on a 600 x 600 lattice.
void plotInequalities();
