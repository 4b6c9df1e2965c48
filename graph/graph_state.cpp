#include "graph/graph_state.h"

#include "graph/explore_marks.h"
#include "graph/plot_settings.h"
#include "graph/trace.h"
#include "graph/view_model.h"

void resetGraphState() {
    // The area's size is its owner's (the window or a test's image); the view on it starts afresh.
    resizeView(graphView.width, graphView.height);
    plotSettings = PlotSettings{};
    endTrace();
    clearExploreMarks();
}
