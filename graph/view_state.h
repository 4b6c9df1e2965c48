#pragma once
// What the picture is drawn from, besides the expressions: the view on the graph area, the plot
// settings and the appearance. One record, the one instance of each; the rest of the program
// reaches its parts by their own names (viewLimits, graphView, plotSettings, appearance).
// Plain C++, as the document code uses it without Qt.

#include "graph/appearance.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"

struct ViewState {
    ViewLimits limits = factoryLimits;
    GraphView view;
    PlotSettings plotSettings;
    Appearance appearance;
};

extern ViewState viewState;
