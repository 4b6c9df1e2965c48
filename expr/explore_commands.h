#pragma once
// The console commands that explore an expression on an interval:
//   :roots a,b,expression   :min a,b,expression   :max a,b,expression   :area a,b,expression
// The bounds are any expressions. The variable is named as for ":solv" (the name right after the
// first "("), or else it is the first plain name of the expression other than pi and e.

#include <string>
#include <string_view>

// Whether the stripped line starts with one of the words above.
bool isExploreCommand(std::string_view text);
// Runs one such stripped line and gives its one-line answer; the variable takes the (first)
// result's x, or keeps its value when there is none.
std::string runExploreCommand(std::string_view text);
