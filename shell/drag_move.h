// Moving a caption-less window by pulling its background with the left mouse button.
#pragma once

#include <QSize>

class QWidget;

// From now on, pressing the left button on the window's background (labels included) captures the
// mouse; while it moves with exactly the left button held and no modifier key, the window follows so
// that the press point stays under the mouse, and keeps `size` pixels. Releasing the button releases
// the capture. The window is given that size at once.
void enableDragMove(QWidget* window, QSize size);
