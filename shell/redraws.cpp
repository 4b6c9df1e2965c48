#include "shell/redraws.h"

#include "document/document_format.h"
#include "expr/evaluation_session.h"
#include "graph/axes.h"
#include "graph/curves.h"
#include "graph/implicit.h"
#include "graph/parametric_polar.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "graph/view_model.h"
#include "shell/graph_area.h"
#include "shell/shell_state.h"
#include "shell/stop_dialog.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

namespace {

struct RedrawRow {
    Trigger trigger;
    bool dropsLayers; // the layers drawn on request go
    bool showsCurves; // false: the axes alone until the next redraw
    Layer adds;       // drawn over the rest, in place of an earlier one of its kind
};

constexpr RedrawRow redraws[] = {
    {Trigger::Repaint, false, true, Layer::None},
    {Trigger::ViewChange, true, true, Layer::None},
    {Trigger::NewDocument, true, true, Layer::None},
    {Trigger::DocumentLoaded, true, true, Layer::LoadedMode},
    {Trigger::Clear, true, false, Layer::None},
    {Trigger::Replot, true, true, Layer::None},
    {Trigger::GraphExpression, true, false, Layer::GraphExpression},
    {Trigger::ImplicitPlot, false, true, Layer::Implicit},
    {Trigger::InequalityPlot, false, true, Layer::Inequalities},
    {Trigger::VarySlider, false, true, Layer::ImplicitMode},
    {Trigger::ParametricSlider, false, true, Layer::ParameterMark},
};

RedrawScene& scene = shellState.scene;
std::optional<DrawnInputs>& drawnFrom = shellState.drawnFrom;

template <typename T> void appendBytes(Bytes& bytes, const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    const auto* first = reinterpret_cast<const unsigned char*>(&value);
    bytes.insert(bytes.end(), first, first + sizeof value);
}

// The display choices that are no part of the document come after the document's bytes.
DrawnInputs presentInputs() {
    DrawnInputs inputs{viewLimits, writeDocumentSnapshot()};
    appendBytes(inputs.rest, plotSettings.parametricShown);
    appendBytes(inputs.rest, plotSettings.firstDerivativeFlags);
    appendBytes(inputs.rest, plotSettings.secondDerivativeFlags);
    appendBytes(inputs.rest, plotSettings.chordShown);
    appendBytes(inputs.rest, plotSettings.chordRow);
    appendBytes(inputs.rest, plotSettings.popupPoint);
    return inputs;
}

// Byte for byte, so that limits which are not numbers compare as themselves.
bool sameView(const ViewLimits& a, const ViewLimits& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

Layer resolved(Layer layer) {
    const PlotMode mode = plotSettings.plotMode;
    if (layer == Layer::LoadedMode && mode == PlotMode::Implicit) return Layer::Implicit;
    if (layer == Layer::LoadedMode && mode == PlotMode::Inequalities) return Layer::Inequalities;
    if (layer == Layer::ImplicitMode && mode == PlotMode::Implicit) return Layer::Implicit;
    if (layer == Layer::LoadedMode || layer == Layer::ImplicitMode) return Layer::None;
    return layer;
}

void drawLayer(Layer layer) {
    switch (layer) {
    case Layer::Implicit:
        plotImplicit();
        break;
    case Layer::Inequalities:
        plotInequalities();
        break;
    case Layer::GraphExpression:
        drawGraphExpression(scene.graphExpression);
        break;
    case Layer::ParameterMark:
        markParameter(scene.markPosition);
        break;
    default:
        break;
    }
}

void apply(const RedrawRow& row) {
    if (row.dropsLayers) scene.layers.clear();
    scene.curvesShown = row.showsCurves;
    const Layer added = resolved(row.adds);
    if (added == Layer::None) return;
    std::erase(scene.layers, added);
    scene.layers.push_back(added);
}

} // namespace

void drawScene() {
    const EvaluationSession session; // Stop ends the whole picture
    clearGraph();
    if (scene.curvesShown) plotShownCurves();
    for (const Layer layer : scene.layers)
        drawLayer(layer);
}

// The layers belong to the view they were drawn in, whichever way it changed since.
void redraw(Trigger trigger) {
    if (drawnFrom && !sameView(viewLimits, drawnFrom->view)) scene.layers.clear();
    const auto row = std::find_if(std::begin(redraws), std::end(redraws),
                                  [trigger](const RedrawRow& r) { return r.trigger == trigger; });
    if (row != std::end(redraws)) apply(*row);
    const DeviceView device(drawingRatio()); // the window's image, at the screen's density
    drawScene();
    drawnFrom = presentInputs(); // after drawing: the plotters leave their variables behind
}

void resetScene() {
    scene = RedrawScene{};
    drawnFrom.reset();
}

void redrawGraphExpression(ExpListPtr list) {
    scene.graphExpression = std::move(list);
    redraw(Trigger::GraphExpression);
}

void redrawParameterMark(int position) {
    scene.markPosition = position;
    redraw(Trigger::ParametricSlider);
}

// Before the first drawing there is no picture to be stale; the first repaint draws the state.
// Long work (a drawing among it) lets the progress dialog take events, whose looks wait for the
// next one after the work.
void redrawIfStale() {
    if (!drawnFrom || handlingEventsDuringWork()) return;
    const DrawnInputs inputs = presentInputs();
    if (!sameView(inputs.view, drawnFrom->view) || inputs.rest != drawnFrom->rest) redraw(Trigger::Repaint);
}
