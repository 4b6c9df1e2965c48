#include "graph/view_state.h"

ViewState viewState;

PlotSettings& plotSettings = viewState.plotSettings;
Appearance& appearance = viewState.appearance;
