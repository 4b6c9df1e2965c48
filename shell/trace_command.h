// Trace from the popup menu or its key: the start at the popup point, and the keys that move the
// marker while the trace runs.
#pragma once

#include "shell/command_ids.h"

class QKeyEvent;

// Returns false for any other command. Without a curve in view near the point a message says so.
bool runTraceCommand(Command id);
// The keys a running trace takes over from the graph area's shortcuts: the arrows, Page Up,
// Page Down and Escape, without Shift, Ctrl or Alt.
bool isTraceKey(const QKeyEvent& event);
// Moves the marker, switches its curve or ends the trace; false when no trace runs or the key is
// none of its keys.
bool runTraceKey(const QKeyEvent& event);
