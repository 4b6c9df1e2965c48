#pragma once
// The window layer's own mutable state: one record, the one instance, beside the expression
// language's and the graph engine's. The code that owns each part reaches it through the record;
// only the reset below treats it as a whole. Start-up and the window test fixtures put it back
// through that one call.

#include "document/byte_stream.h"
#include "document/document_file.h"
#include "expr/symbol_store.h"
#include "graph/view_model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a redraw draws over the curves on request, at most one of each kind.
enum class Layer : std::uint8_t {
    None,
    Implicit,
    Inequalities,
    GraphExpression,
    ParameterMark,
    LoadedMode,   // the implicit curves or the region, as the plot mode says
    ImplicitMode, // the implicit curves in Implicit mode
};

// What the picture shows besides the document: whether the curves are shown and the layers.
struct RedrawScene {
    bool curvesShown = true;
    std::vector<Layer> layers; // in the order they were asked for, one of each kind
    ExpListPtr graphExpression;
    int markPosition = 0;
};

// What the picture was last drawn from: the view apart, as its change drops the layers.
struct DrawnInputs {
    ViewLimits view;
    Bytes rest;
};

struct ShellState {
    int varyStepCount = 0;       // the Vary slider's step
    int parametricStepCount = 0; // the Parametric slider's step
    RedrawScene scene;
    std::optional<DrawnInputs> drawnFrom;
    // The document's file as this program last opened or saved it; Save asks before writing over
    // what another program made of it since.
    DiskStamp documentStamp;
    std::string stampedPath;
};

extern ShellState shellState;

// A fresh record: the sliders at their first step, the curves shown with no layers and nothing
// drawn yet, no file stamped.
void resetShellState();
