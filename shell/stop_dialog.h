// Long work in the window: after about half a second a wait cursor and a progress dialog that
// names the work and shows how far it got; its Stop button or Escape ends the work. The dialog
// is application-modal, so no other input reaches the windows until the work has ended. Presses
// and keys given while the window stood still (before the dialog showed, or just before long work
// ended) are dropped rather than delivered late; an Escape among them stops the work.
#pragma once

class QWidget;

// Installs the stop hook with dialogs owned by `owner`; nullptr removes it.
void installStopDialog(QWidget* owner);
// True while the hook is handling events in the middle of long work: a paint then only shows
// the picture, for rebuilding it would run plotters inside the running work.
bool handlingEventsDuringWork();
