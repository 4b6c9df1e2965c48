#include "graph/appearance.h"

#include <algorithm>

Appearance validAppearance(Appearance wanted) {
    Appearance valid = wanted;
    if (wanted.theme != Theme::Light) valid.theme = Theme::Classic;
    if (wanted.grid != GridLines::Major && wanted.grid != GridLines::MajorAndMinor) valid.grid = GridLines::None;
    if (wanted.palette != Palette::Distinct) valid.palette = Palette::Classic;
    if (wanted.implicitStyle != ImplicitStyle::Segments) valid.implicitStyle = ImplicitStyle::Dots;
    valid.curveWidth = std::clamp(wanted.curveWidth, minCurveWidth, maxCurveWidth);
    return valid;
}
