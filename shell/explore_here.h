// The popup's find entries: a root, a minimum, a maximum or an intersection of the shown
// explicit curve nearest the popup point, searched over the visible x-range and marked there.
#pragma once

#include "shell/command_ids.h"

// Returns false for any other command. Failures are told in a message box and leave no mark.
bool runFindCommand(Command id);

// The ticked row whose curve passes nearest the popup point at its column; -1 when no ticked
// row has a value there.
int rowNearestPopupPoint();
