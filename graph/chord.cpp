#include "graph/chord.h"

#include "expr/evaluator.h"
#include "expr/stop_hook.h"
#include "graph/colours.h"
#include "graph/number_text.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <algorithm>

void drawChord(const ExpListPtr& list, Surface& surface) {
    surface.setPen(colours().chord);
    Variable* x = findOrCreateVariable("x");
    const int column1 = toDevice(plotSettings.popupPoint.x);
    const double x1 = worldX(column1);
    const double run = (viewLimits.xMax - viewLimits.xMin) * 0.1;
    const double x2 = x1 + run;
    setVariableValue(x, x1);
    const NumberEvaluation end1 = evaluateNumber(list);
    setVariableValue(x, x2);
    const NumberEvaluation end2 = evaluateNumber(list);
    // An end without a value: no chord rather than a wrong one.
    if (end1.status.incomplete || end2.status.incomplete) return;
    const double y1 = end1.value;
    const double y2 = end2.value;
    const int row1 = screenY(y1);
    const int column2 = screenX(x2);
    const int row2 = screenY(y2);
    surface.moveTo(column1, row1);
    surface.lineTo(column2, row1);
    surface.lineTo(column2, row2);
    surface.moveTo(column1, row1);
    surface.lineTo(column2, row2);

    const double up = y2 - y1;
    const double slope = up / run;
    surface.setTextColour(colours().chordReadout);
    // A rising chord has room below its start; any other has its readouts above.
    const bool below = slope > 0;
    // The two readouts by the start stay 20 rows apart where the area's edge moves them.
    const int top = std::max(
        0, std::min(shiftedPixel(row1, toDevice(below ? 10 : -40)), graphView.height - toDevice(40)));
    surface.readoutOut(column1, below ? top : top + toDevice(20), formatNumber("Along = %lf", run), true);
    surface.readoutOut(column1, below ? top + toDevice(20) : top, formatNumber("Chord slope = %lf", slope), true);
    const auto middleRow = static_cast<int>((static_cast<long long>(row1) + row2) / 2);
    surface.readoutOut(shiftedPixel(column2, toDevice(4)), middleRow, formatNumber("Up = %lf", up), true);
}
