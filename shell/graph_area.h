// The graph area: the main window's whole client area, drawn into a backing image that the
// plotters paint on and that every paint event shows.
#pragma once

#include "graph/shown_curves.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

class InfoBox;

// The curves every repaint draws over the axes: the ticked explicit graphs, the polar graphs and,
// when it is shown, the parametric curve; then the explore marks and the trace's marker on them.
void plotShownCurves();

class GraphArea : public QWidget {
    Q_OBJECT

  public:
    explicit GraphArea(QWidget* parent);
    ~GraphArea() override;

    // Marks the picture stale and schedules a paint, which rebuilds it from the state.
    void requestRepaint();
    InfoBox* infoBox() const { return infoBox_; }
    const QImage& image() const { return image_; }
    // The screen's device-pixel ratio as a whole number from 1 to 4: the resolution pictures of
    // the graph are drawn at.
    int pictureRatio() const;

  signals:
    // The right button came up at this pixel of the graph area.
    void popupRequested(QPoint pixel);
    // T was pressed: a trace from the pointer, which popupPoint now holds.
    void traceRequested();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void rebuildPicture();
    void drawBand(QPoint end);

    QImage image_;
    bool stale_ = false;
    bool sized_ = false; // the first size change has set the factory view
    InfoBox* infoBox_;
    // The rubber band: active while the left button is held, from anchor to the end last drawn;
    // with Ctrl held at the press, the view zooms to its box on release.
    bool bandActive_ = false;
    bool bandZooms_ = false;
    QPoint bandAnchor_;
    QPoint bandEnd_;
    // A drag of the picture (middle button, or Shift with the left): where the pointer last was.
    bool panning_ = false;
    QPoint panLast_;
};
