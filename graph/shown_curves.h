// The curves a repaint draws, and the points on them in each curve's own terms: x on an explicit
// graph and on its derivative curves, the angle on a polar graph, t on the parametric curve.
// Values are computed as the plotters compute them, through the same compiled expressions.
#pragma once

#include "expr/symbol_store.h"

#include <QPoint>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class CurveKind : std::uint8_t { Function, FirstDerivative, SecondDerivative, Polar, Parametric };

struct CurveId {
    CurveKind kind = CurveKind::Function;
    int row = 0; // the function row; 0 for the parametric curve

    bool operator==(const CurveId&) const = default;
};

// In the order a repaint draws them: each ticked row with its derivative curves, the polar rows,
// then the parametric curve.
std::vector<CurveId> shownCurves();

bool isExplicit(CurveKind kind);

struct WorldPoint {
    double x;
    double y;
};

// One curve compiled once; a point costs one evaluation of each expression and allocates nothing.
class CompiledCurve {
  public:
    // A curve that is not shown has no samples and no points.
    explicit CompiledCurve(CurveId id);

    CurveId id() const { return id_; }
    // The variable the curve is evaluated by: x, the polar angle or the parameter.
    Variable* variable() const { return variable_; }
    // The body of an explicit row (a function row's body, also under its derivative curves).
    const ExpList& body() const { return *first_; }
    // The places the plotter draws the curve through, in drawing order: the columns' x values,
    // the polar angles, the parameter values.
    const std::vector<double>& samples() const { return samples_; }
    const std::string& name() const { return name_; }

    // Nothing where the curve has no finite value (a failed evaluation, a pole).
    std::optional<WorldPoint> pointAt(double place) const;

  private:
    double valueAt(const ExpListPtr& list, double place) const;

    CurveId id_;
    ExpListPtr first_;  // the row's body, or x(t)
    ExpListPtr second_; // y(t)
    Variable* variable_ = nullptr;
    std::vector<double> samples_;
    std::string name_;
};

struct CurvePoint {
    double place;
    WorldPoint point;
    double distance; // in pixels from the point looked from
};

// The point of the curve nearest a pixel: on an explicit curve the one in the pixel's column
// (distance counted along the column), on the others the nearest sample.
std::optional<CurvePoint> nearestPoint(const CompiledCurve& curve, QPoint pixel);

struct NearCurve {
    CompiledCurve curve;
    CurvePoint at;
};

// The given curves that have a point for the pixel, nearest first; ties keep the given order.
// The curves' variables keep their values.
std::vector<NearCurve> curvesNear(const std::vector<CurveId>& curves, QPoint pixel);
