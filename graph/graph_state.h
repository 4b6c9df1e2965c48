#pragma once
// The graph engine's whole mutable state, as a new session starts it. Start-up and the test
// fixtures put it back through this one call.

// The factory view on the graph area of its present size, the plot settings' start values, no
// trace, no explore marks or shading, no recorded picture. The surface hooks stay as installed.
void resetGraphState();
