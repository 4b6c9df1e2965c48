// Moving a caption-less window by pulling its background with the left mouse button.
#pragma once

#include <QSize>

class QWidget;

// From now on, pressing the left button on the window's background (labels included) starts a move:
// a top-level window is handed to the window system's own move where it offers one (as it must be on
// Wayland); otherwise the press captures the mouse, and while it moves with exactly the left button
// held and no modifier key, the window follows so that the press point stays under the mouse, and
// keeps its size. Releasing the button releases the capture. The size is `size` pixels, or the
// window's present size where that is larger: a dialog font with larger metrics than the sizes were
// made for needs more room, and cutting off controls would help nobody. The window takes that size
// at once.
void enableDragMove(QWidget* window, QSize size);
