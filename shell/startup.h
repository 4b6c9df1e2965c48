// The program's start before any window exists: resources and the expression language.
#pragma once

// Sets C number conversions, registers the resources, loads the readout icons, initialises the
// expression language with its answer buffer and clears the display flags, in that order.
void initialiseProgram();
