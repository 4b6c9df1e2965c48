// The plot-related state that the main window and dialogs change, the plotters read and the
// document saves. Plain C++, no Qt.
#pragma once

#include "expr/symbol_store.h" // functionRowCount, shared with displayFlags
#include "graph/bounded_text.h"

#include <array>
#include <cstdint>
#include <string_view>

enum class PlotMode : std::uint8_t {
    Explicit = 0,
    Parametric = 1,
    Polar = 2,
    Implicit = 3,
    Inequalities = 4
};

using ShortText = BoundedText<80>;  // at most 79 characters
using SideText = BoundedText<255>;  // at most 254 characters
using MemoText = BoundedText<2048>; // at most 2047 characters
using PathText = BoundedText<260>;  // at most 259 characters

struct PopupPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct PlotSettings {
    PlotMode plotMode = PlotMode::Explicit;
    std::int32_t parametricShown = 0;
    std::array<std::int32_t, functionRowCount> polarFlags{};
    // Whether f' and f'' of a row are drawn; a view choice, not saved with the document.
    std::array<std::int32_t, functionRowCount> firstDerivativeFlags{};
    std::array<std::int32_t, functionRowCount> secondDerivativeFlags{};
    std::int32_t chordShown = 0;
    std::int32_t chordRow = 0;
    PopupPoint popupPoint;
    std::int32_t infoBoxShown = 1;
    ShortText angleVariable;
    ShortText parametricX;
    ShortText parametricY;
    ShortText parameterName;
    ShortText parameterFrom;
    ShortText parameterTo;
    std::array<SideText, 2> implicitLeft;
    std::array<SideText, 2> implicitRight;
    std::array<SideText, 3> inequalityLeft;
    std::array<SideText, 3> inequalityRight;
    MemoText memoText;
    ShortText definitionText;
    PathText documentPath;
    PathText documentTitle;
};

// The one program-wide record, holding the start values until someone changes it.
extern PlotSettings& plotSettings; // part of the view state (graph/view_state.h)

// The variable that polar graphs sweep: angleVariable, or "t" (the name the Polar dialog offers)
// while that is empty, as it can be after a document load.
std::string_view polarAngleName();
// Whether the plotters set this variable while they draw (x, y, the polar angle, the parametric
// parameter): its value then follows the view rather than the user's work.
bool isSweptVariable(std::string_view name);
