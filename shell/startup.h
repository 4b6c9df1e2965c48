// The program's start before any window exists: resources and the expression language.
#pragma once

// Sets C number conversions, registers the resources, loads the readout icons, then puts the
// expression language, the graph engine and the windows' state at their start, in that order.
void initialiseProgram();
