#include "graph/graph_state.h"

#include "graph/picture_state.h"
#include "graph/view_state.h"

void resetGraphState() {
    // The area's size is its owner's (the window or a test's image); the view on it starts afresh.
    const GraphView area = viewState.view;
    viewState = ViewState{};
    pictureState = PictureState{};
    resizeView(area.width, area.height);
}
