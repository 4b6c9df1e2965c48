// The command table of the main window: one switch over the command ids.
#pragma once

#include "shell/command_ids.h"

#include <cstdint>

class MainWindow;

// Carries out one menu command. Ids without an action are ignored.
void dispatchCommand(MainWindow& window, Command id);

// The next row after row, cyclically, whose display flag is set. The search stops after one
// full cycle, so with no row ticked the row stays where it was.
int nextChordRow(int row, const std::int32_t (&flags)[10]);
