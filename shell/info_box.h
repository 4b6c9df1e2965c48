// The info box: six read-only fields that follow the mouse over the graph area with its world
// position, distance and angle from the origin, and the length and slope of the rubber band.
#pragma once

#include "graph/trace.h"

#include <QFrame>
#include <QPoint>
#include <array>
#include <optional>

class QLabel;

// Loads the six 16 x 16 readout icons from the program's resources, once, at start-up.
void loadReadoutIcons();

class InfoBox : public QFrame {
    Q_OBJECT

  public:
    enum Row { X, Y, D, Slope, R, Theta, rowCount };

    explicit InfoBox(QWidget* graphArea);

    // Called on every mouse move over the graph area, visible or not. The band readouts D and
    // SLOPE change only while the rubber band is active, that is when anchor is given.
    void updateReadouts(QPoint mouse, std::optional<QPoint> anchor);

    QString fieldText(Row row) const;

    // While a trace runs, the marker instead of the mouse: its x and y (R and TH follow them),
    // and in rows below the six the curve's name and, on a polar or parametric curve, the angle
    // or the parameter. Nothing puts the box back to its six rows.
    void showTrace(const std::optional<TraceReadout>& readout);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void setField(Row row, double value);
    // X, Y, and R and TH of the point (x, y).
    void setPointFields(double x, double y);
    void fitFields();

    std::array<QLabel*, rowCount> fields_{};
    QLabel* traceName_;
    QLabel* traceParameter_;
};

// The polar angle of (x, y): the arctangent of y / x moved into [0, 2 pi) off the y axis,
// +-pi/2 on it and not a number at the origin.
double polarAngle(double x, double y);
