// Starting a new document, as File > New and the first step of Open do. The graph is not
// cleared here: the caller runs clearGraph afterwards.
#pragma once

// Empties the variables, constants and functions (vectors stay), clears the function rows and
// their display flags, registers the standard symbols again, sets the view to factoryLimits and
// clears the memo. Every other plot setting is left as it was.
void resetDocument();
