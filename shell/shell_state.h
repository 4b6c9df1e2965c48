#pragma once
// The window layer's own mutable state, as a new session starts it. Start-up and the window test
// fixtures put it back through this one call, beside the resets of the expression language and
// the graph engine.

// The Vary and Parametric sliders at their first step.
void resetShellState();
