#pragma once
// What the picture keeps beside what it is drawn from: the trace's marker, the explore marks and
// the shaded area with the scene they were found on, and the places the readouts took. One
// record, the one instance; only the code that draws each part reads and writes it.

#include "graph/explore_marks.h"
#include "graph/shown_curves.h"
#include "graph/view_model.h"

#include <QRect>

#include <optional>
#include <string>
#include <vector>

// The trace's marker: on which curve, at which value of the curve's own variable.
struct TraceMarker {
    CurveId curve;
    double place;
};

// What an explore mark depends on: the view, every function row with its tick, and the values of
// the variables the user sets (a curve through `a` moves when the Vary slider changes `a`). The
// swept variables follow the plot, and the size of the target does not count, so a replot or an
// export at another size keeps the marks.
struct MarkScene {
    ViewLimits limits{};
    std::string functions;

    bool operator==(const MarkScene& other) const {
        return limits.xMin == other.limits.xMin && limits.xMax == other.limits.xMax &&
               limits.yMin == other.limits.yMin && limits.yMax == other.limits.yMax &&
               functions == other.functions;
    }
};

// A readout's wanted box, its text and the box it took.
struct ReadoutPlace {
    QRect wanted;
    std::string text;
    QRect box;
};

struct PictureState {
    std::optional<TraceMarker> traceMarker;
    std::vector<ExploreMark> marks;
    std::optional<AreaShading> shading;
    MarkScene markedScene;
    std::vector<ReadoutPlace> readoutPlaces;
};

extern PictureState pictureState;
