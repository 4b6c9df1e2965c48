// How the user likes the picture to look. A preference of the desktop session, never part of a
// document: the shell loads and saves it; the plotters and the view read it. Plain C++.
#pragma once

enum class Theme { Classic, Light };
enum class GridLines { None, Major, MajorAndMinor };
enum class Palette { Classic, Distinct };
enum class ImplicitStyle { Dots, Segments };

struct Appearance {
    Theme theme = Theme::Classic;
    GridLines grid = GridLines::None;
    Palette palette = Palette::Classic;
    int curveWidth = 1; // logical pixels, minCurveWidth to maxCurveWidth
    bool numberedAxes = false; // a number at every major tick besides the four edge labels
    bool equalScale = false;   // one world unit as long across as up
    bool antialiasing = false; // curves with smoothed edges
    ImplicitStyle implicitStyle = ImplicitStyle::Dots; // the scan's dots, or segments joining them
};

inline constexpr int minCurveWidth = 1;
inline constexpr int maxCurveWidth = 3;

// The one instance; the defaults draw the picture as it has always been drawn.
extern Appearance& appearance; // part of the view state (graph/view_state.h)

// The appearance with every field inside its range (a stored preference may hold anything).
Appearance validAppearance(Appearance wanted);
