#include "shell/graph_area.h"

#include "graph/axes.h"
#include "graph/curves.h"
#include "graph/explore_marks.h"
#include "graph/implicit.h"
#include "graph/parametric_polar.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "graph/trace.h"
#include "graph/view_model.h"
#include "graph/view_navigation.h"
#include "shell/info_box.h"
#include "shell/redraws.h"
#include "shell/stop_dialog.h"
#include "shell/trace_command.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr QRgb bandColour = qRgb(28, 128, 255);

// The graph area whose image the plotters draw on; releasing a surface shows that image.
GraphArea* shownArea = nullptr;
bool rebuilding = false;

void showReleasedImage() {
    if (shownArea != nullptr && !rebuilding) shownArea->update();
}

// Long plots block the event loop, so the cursor change is pushed to the window system at once.
void showWaitCursor() {
    if (shownArea == nullptr) return;
    shownArea->setCursor(Qt::WaitCursor);
    shownArea->grabMouse();
    QGuiApplication::sync();
}

void showCrossCursor() {
    if (shownArea == nullptr) return;
    shownArea->releaseMouse();
    shownArea->setCursor(Qt::CrossCursor);
}

} // namespace

// The explore marks sit on the function rows; a trace whose curve is no longer shown ends here.
void plotShownCurves() {
    plotFunctions();
    plotPolar();
    if (plotSettings.parametricShown != 0) plotParametric();
    drawExploreMarks();
    const std::optional<TraceReadout> readout = traceReadout();
    if (readout) {
        drawTraceMarker();
    } else {
        endTrace();
    }
    if (shownArea != nullptr) shownArea->infoBox()->showTrace(readout);
}

GraphArea::GraphArea(QWidget* parent) : QWidget(parent), infoBox_(new InfoBox(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    // Takes the keyboard, so that the arrow keys pan the view; a click gives the focus back.
    setFocusPolicy(Qt::StrongFocus);
    shownArea = this;
    resetScene();
    setGraphImage(&image_);
    setSurfaceReleaseHook(showReleasedImage);
    setCursorHooks(showWaitCursor, showCrossCursor);
}

GraphArea::~GraphArea() {
    if (shownArea != this) return;
    shownArea = nullptr;
    setGraphImage(nullptr);
    setSurfaceReleaseHook(nullptr);
    setCursorHooks(nullptr, nullptr);
}

void GraphArea::requestRepaint() {
    stale_ = true;
    update();
}

// A repaint the window system asked for (a size change, a trace step) is a fresh drawing of the
// state with the layers still alive.
void GraphArea::rebuildPicture() {
    rebuilding = true;
    redraw(Trigger::Repaint);
    rebuilding = false;
}

// While a trace runs it takes its keys before the graph area's shortcuts (the arrows pan).
bool GraphArea::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && isTracing() &&
        isTraceKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

// T traces from the pointer, as the popup's entry does from the popup point; from the middle of
// the area when the pointer is elsewhere.
void GraphArea::keyPressEvent(QKeyEvent* event) {
    if (runTraceKey(*event)) {
        requestRepaint();
    } else if (event->key() == Qt::Key_T && event->modifiers() == Qt::NoModifier) {
        QPoint pointer = mapFromGlobal(QCursor::pos());
        if (!rect().contains(pointer)) pointer = rect().center();
        plotSettings.popupPoint = {pointer.x(), pointer.y()};
        emit traceRequested();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void GraphArea::paintEvent(QPaintEvent*) {
    // A paint while long work lets the progress dialog take its events only shows the picture;
    // the rebuild waits until the work has ended.
    if (stale_ && handlingEventsDuringWork()) {
        QTimer::singleShot(0, this, [this] { update(); });
    } else if (stale_) {
        stale_ = false;
        rebuildPicture();
        if (plotSettings.infoBoxShown != 0) infoBox_->show();
    }
    QPainter(this).drawImage(0, 0, image_);
}

int GraphArea::pictureRatio() const {
    return std::clamp(qRound(devicePixelRatioF()), 1, 4);
}

// A new image of the new size. Only the first size change, when the window is created, sets the
// factory view; later ones (restore, maximise, a dragged frame) keep the user's limits and the
// picture is rebuilt at the new size before it is shown. On a high-density screen the image holds
// the device pixels (a whole ratio, at most 4) and the plotters draw at that resolution.
void GraphArea::resizeEvent(QResizeEvent* event) {
    const int ratio = pictureRatio();
    image_ = QImage(event->size() * ratio, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    if (sized_) {
        resizeArea(width(), height());
    } else {
        resizeView(width(), height());
        sized_ = true;
    }
    const DeviceView device(ratio);
    clearGraph();
    requestRepaint();
}

void GraphArea::drawBand(QPoint end) {
    const DeviceView device(pictureRatio());
    Surface surface;
    surface.setPen(bandColour);
    surface.setXorMode(true);
    surface.moveTo(toDevice(bandAnchor_.x()), toDevice(bandAnchor_.y()));
    surface.lineTo(toDevice(end.x()), toDevice(end.y()));
}

void GraphArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint mouse = event->position().toPoint();
    if (panning_) {
        panByPixels(mouse.x() - panLast_.x(), mouse.y() - panLast_.y());
        panLast_ = mouse;
        requestRepaint();
    }
    if (bandActive_) {
        drawBand(bandEnd_);
        drawBand(mouse);
        bandEnd_ = mouse;
    }
    // While a trace runs the box shows its marker.
    if (!isTracing())
        infoBox_->updateReadouts(mouse, bandActive_ ? std::optional(bandAnchor_) : std::nullopt);
}

// A click ends a trace and does nothing else; the right button's popup still opens on release.
void GraphArea::mousePressEvent(QMouseEvent* event) {
    if (isTracing()) {
        endTrace();
        requestRepaint();
        return;
    }
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && shift)) {
        panning_ = true;
        panLast_ = event->position().toPoint();
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    bandActive_ = true;
    bandZooms_ = (event->modifiers() & Qt::ControlModifier) != 0;
    bandAnchor_ = bandEnd_ = event->position().toPoint();
}

void GraphArea::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panning_ = false;
    } else if (event->button() == Qt::LeftButton && bandActive_) {
        bandActive_ = false;
        drawBand(bandEnd_);
        if (bandZooms_) {
            const QPoint end = event->position().toPoint();
            zoomToBox(bandAnchor_.x(), bandAnchor_.y(), end.x(), end.y());
            requestRepaint();
        }
    } else if (event->button() == Qt::RightButton) {
        const QPoint pixel = event->position().toPoint();
        plotSettings.popupPoint = {pixel.x(), pixel.y()};
        emit popupRequested(pixel);
    }
}

// A turn towards the user zooms in, away zooms out: about the centre, or with Ctrl about the
// point under the pointer. Events that carry no vertical turn (horizontal wheels, the start and
// end of touch-pad scrolls) are not wheel turns.
void GraphArea::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return;
    const double factor = delta < 0 ? 0.5 : 2.0;
    if ((event->modifiers() & Qt::ControlModifier) != 0) {
        const QPoint pointer = event->position().toPoint();
        zoomAbout(pointer.x(), pointer.y(), factor);
    } else {
        zoomView(factor);
    }
    requestRepaint();
}
