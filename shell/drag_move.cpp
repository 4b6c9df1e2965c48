#include "drag_move.h"

#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

namespace {

// Watches the window's own mouse events; presses on child controls that take the mouse (fields,
// buttons) never reach the window, presses on labels and on the background do.
class DragMover : public QObject {
  public:
    DragMover(QWidget* window, QSize size) : QObject(window), window_(window), size_(size) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_) return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return pressed(static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            return moved(static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            return released(static_cast<QMouseEvent*>(event));
        default:
            return false;
        }
    }

  private:
    // A top-level window is moved by the window system where it offers that: on Wayland a client
    // cannot place its own windows at all, and an X11 window manager moves them with its own rules.
    // Elsewhere (no window manager, child windows) the window follows the mouse by itself.
    bool pressed(QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) return false;
        QWindow* handle = window_->isWindow() ? window_->windowHandle() : nullptr;
        if (handle != nullptr && handle->startSystemMove()) return true;
        pressPoint_ = event->position().toPoint();
        window_->grabMouse();
        dragging_ = true;
        return true;
    }

    bool moved(QMouseEvent* event) {
        if (!dragging_ || event->buttons() != Qt::LeftButton || event->modifiers() != Qt::NoModifier)
            return false;
        window_->move(window_->pos() - pressPoint_ + event->position().toPoint());
        window_->resize(size_);
        return true;
    }

    bool released(QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) return false;
        if (dragging_) window_->releaseMouse();
        dragging_ = false;
        return true;
    }

    QWidget* window_;
    QSize size_;
    QPoint pressPoint_;
    bool dragging_ = false;
};

} // namespace

void enableDragMove(QWidget* window, QSize size) {
    const QSize kept = size.expandedTo(window->size());
    window->setFixedSize(kept);
    window->installEventFilter(new DragMover(window, kept));
}
