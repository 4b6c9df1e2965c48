#include "graph/plot_settings.h"

PlotSettings plotSettings;
