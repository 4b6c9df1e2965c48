#pragma once
// The console commands that explore an expression on an interval:
//   :roots a,b,expression   :min a,b,expression   :max a,b,expression   :area a,b,expression
// The bounds are any expressions. The variable is named as for ":solv" (the name right after the
// first "("), or else it is the first plain name of the expression other than pi and e.

#include <optional>
#include <string>
#include <string_view>

struct Area;

// Whether the stripped line starts with one of the words above.
bool isExploreCommand(std::string_view text);
// Runs one such stripped line and gives its one-line answer; the variable takes the (first)
// result's x, or keeps its value when there is none.
std::string runExploreCommand(std::string_view text);

// The interval of two bound expressions, or the error answer that refuses them (no finite number,
// or not a < b). The evaluation error flag is left clear.
struct Bounds {
    double a = 0.0;
    double b = 0.0;
    const char* error = nullptr;
};
Bounds readBounds(std::string_view aText, std::string_view bText);
// The value of one bound expression, or nothing when it is not one finite number; it sets the
// evaluation error state as any evaluation does.
std::optional<double> boundValue(std::string_view text);

// "area = ..", with a warning and the error estimate when the estimate did not converge; or the
// error answer when the expression has no value or a pole on the interval.
std::string areaAnswer(const Area& area);
