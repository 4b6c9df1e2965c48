// Joins of neighbouring curve samples that look into the gap first: a pole (tan at pi/2, 1/x at
// 0) or a jump (floor) between two samples lifts the pen, so no line crosses the view where the
// curve does not; a steep but continuous piece (x^9, 100 sin(x)) stays joined.
#pragma once

#include "expr/evaluator.h"
#include "expr/stop_hook.h"
#include "expr/symbol_store.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <QPoint>
#include <QPointF>

#include <cstdint>
#include <optional>

// A point of a curve at parameter t: its unrounded place in the pixels the view counts.
struct CurvePoint {
    double t;
    double column;
    double row;
};

// World (x, y) of the curve at t, placed as screenX and screenY place it, before truncation.
CurvePoint curvePoint(double t, double x, double y);
// The pixel screenX and screenY give the point.
QPoint pixelOf(const CurvePoint& point);
// Where in that pixel's space the point lies, for a smoothed line: a whole place at the pixel's
// centre, as the pixel path draws it; held within the pixel range as pixelOf holds it, and the
// pixel's centre for a point without a place.
QPointF exactOf(const CurvePoint& point);
inline void moveToPoint(Surface& surface, const CurvePoint& point) {
    surface.moveTo(pixelOf(point).x(), pixelOf(point).y(), exactOf(point));
}
inline void lineToPoint(Surface& surface, const CurvePoint& point) {
    surface.lineTo(pixelOf(point).x(), pixelOf(point).y(), exactOf(point));
}
bool hasPlace(const CurvePoint& point);
// Distance in pixels along the axis on which the two points lie further apart.
double pixelDistance(const CurvePoint& a, const CurvePoint& b);
// Whether the join from a to b needs a closer look: a point without a finite place, or a step
// longer than a line between neighbouring samples of a smooth curve takes.
bool mayBreak(const CurvePoint& a, const CurvePoint& b);

// Where the curve leaves off before a gap and takes up again after it.
struct CurveBreak {
    CurvePoint before;
    CurvePoint after;
};

inline constexpr int maxHalvings = 64;

// Halves [a.t, b.t] toward its larger step until the step closes up to a pixel (no break) or
// the parameter can be halved no further (a break there). pointAt(t) evaluates between samples;
// a point without a place is a break. A curve whose first sample does not come back when it is
// evaluated again (one drawn through the running integral int) is not looked into: it is joined.
template <typename PointAt> std::optional<CurveBreak> findBreak(CurvePoint a, CurvePoint b, PointAt pointAt) {
    if (!hasPlace(a) || !hasPlace(b)) return CurveBreak{a, b};
    if (pixelDistance(pointAt(a.t), a) > 1e-6) return std::nullopt;
    for (int i = 0; i < maxHalvings; ++i) {
        const double middle = a.t + (b.t - a.t) * 0.5;
        if (middle == a.t || middle == b.t) break;
        const CurvePoint m = pointAt(middle);
        if (!hasPlace(m)) return CurveBreak{a, b};
        if (pixelDistance(a, m) >= pixelDistance(m, b))
            b = m;
        else
            a = m;
        if (pixelDistance(a, b) <= 1.0) return std::nullopt;
    }
    return CurveBreak{a, b};
}

// Draws from `from`, the surface's current position, to `to` (at pixel toPixel), with the pen
// lifted across a break between them; a point without a place is never drawn to.
template <typename PointAt>
void lineAcrossBreaks(Surface& surface, const CurvePoint& from, const CurvePoint& to, QPoint toPixel,
                      PointAt pointAt) {
    const std::optional<CurveBreak> gap = mayBreak(from, to) ? findBreak(from, to, pointAt) : std::nullopt;
    if (gap) {
        if (hasPlace(gap->before)) {
            lineToPoint(surface, gap->before);
            surface.endLine();
        }
        if (!hasPlace(gap->after)) return surface.moveTo(toPixel.x(), toPixel.y(), exactOf(to));
        moveToPoint(surface, gap->after);
    }
    surface.lineTo(toPixel.x(), toPixel.y(), exactOf(to));
}

// Evaluations between the samples of one curve: each sets the variable to t and leaves the
// evaluator's running integral as the samples left it; a failed evaluation gives not-a-number.
// The variable gets its value back at the end.
class BetweenSamples {
  public:
    explicit BetweenSamples(Variable* variable)
        : variable_(variable), value_(variable->value), integral_(integralSum) {}
    ~BetweenSamples() { setVariableValue(variable_, value_); }
    BetweenSamples(const BetweenSamples&) = delete;
    BetweenSamples& operator=(const BetweenSamples&) = delete;

    template <typename Evaluate> double operator()(double t, Evaluate evaluate) const {
        setVariableValue(variable_, t);
        const MeasuredEvaluations between;
        const double value = evaluate();
        integralSum = integral_;
        return between.status().failed() ? failedValue() : value;
    }

  private:
    static double failedValue();

    Variable* variable_;
    double value_;
    double integral_;
};
