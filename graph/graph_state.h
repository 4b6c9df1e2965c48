#pragma once
// The graph engine's whole mutable state is two records: what the picture is drawn from
// (graph/view_state.h) and what the picture keeps (graph/picture_state.h). Start-up and the test
// fixtures put both back through this one call.

// Fresh records: the factory view on the graph area of its present size, the plot settings'
// start values, the default appearance, no trace, no explore marks or shading, no readout places.
// The surface's target and hooks stay as installed: they are the program's wiring, not its state.
void resetGraphState();
