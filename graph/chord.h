// The chord of a curve: a right-angled triangle from the popup point's column, one tenth of the
// view wide, with its run, rise and slope written beside it.
#pragma once

#include "expr/symbol_store.h"

class Surface;

void drawChord(const ExpListPtr& list, Surface& surface);
