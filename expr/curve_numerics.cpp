#include "expr/curve_numerics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr double epsilon = std::numeric_limits<double>::epsilon();
constexpr double smallest = std::numeric_limits<double>::min();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr int refinementLimit = 400; // Brent's methods converge in far fewer steps
// At a true root both sides of the final bracket are this small against the values that
// bracketed it; at a pole or a jump at least one side stays large.
constexpr double rootShrink = 1e-6;

double valueAt(RealFunction f, double x) {
    const double y = f(x);
    return std::isfinite(y) ? y : notANumber;
}

// The i-th of sampleIntervals + 1 evenly spaced points; ends exact, never overflowing.
double samplePoint(double a, double b, std::size_t i) {
    return std::lerp(a, b, static_cast<double>(i) / static_cast<double>(sampleIntervals));
}

bool oppositeSigns(double u, double v) {
    return (u < 0.0 && v > 0.0) || (u > 0.0 && v < 0.0);
}

// Brent's method on [low, high] whose ends have values of opposite sign; nothing when the change
// of sign is a pole or a jump rather than a root, or the function fails inside.
std::optional<double> brentRoot(RealFunction f, double low, double high, double fLow, double fHigh) {
    const double scale = std::max(std::fabs(fLow), std::fabs(fHigh));
    double a = low, b = high, c = high;
    double fa = fLow, fb = fHigh, fc = fHigh;
    double d = b - a, e = d;
    for (int i = 0; i < refinementLimit; ++i) {
        if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b, b = c, c = a;
            fa = fb, fb = fc, fc = fa;
        }
        const double tolerance = 2.0 * epsilon * std::fabs(b) + smallest;
        const double half = 0.5 * (c - b);
        if (fb == 0.0 || std::fabs(half) <= tolerance) break;
        if (std::fabs(e) >= tolerance && std::fabs(fa) > std::fabs(fb)) {
            // Inverse quadratic interpolation, or the secant when only two points differ.
            const double s = fb / fa;
            double p = 0.0, q = 0.0;
            if (a == c) {
                p = 2.0 * half * s;
                q = 1.0 - s;
            } else {
                const double qa = fa / fc, r = fb / fc;
                p = s * (2.0 * half * qa * (qa - r) - (b - a) * (r - 1.0));
                q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) q = -q;
            p = std::fabs(p);
            if (2.0 * p < std::min(3.0 * half * q - std::fabs(tolerance * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = e = half;
            }
        } else {
            d = e = half;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tolerance ? d : std::copysign(tolerance, half);
        fb = valueAt(f, b);
        if (std::isnan(fb)) return std::nullopt;
    }
    if (fb == 0.0) return b;
    if (std::max(std::fabs(fb), std::fabs(fc)) <= rootShrink * scale) return b;
    return std::nullopt;
}

// For minimisation a point without a value is never the lowest.
double lowered(double y) {
    return std::isnan(y) ? std::numeric_limits<double>::infinity() : y;
}

struct Point {
    double x;
    double y;
};

// Brent's minimiser (golden section with parabolic steps) on [a, b] starting from start.
Point brentMinimum(RealFunction f, double a, double b, Point start) {
    const double golden = 0.5 * (3.0 - std::sqrt(5.0));
    const double absolute = 1e-9 * (b - a) + smallest;
    Point x = start, w = start, v = start;
    double d = 0.0, e = 0.0;
    for (int i = 0; i < refinementLimit; ++i) {
        const double middle = 0.5 * (a + b);
        const double tolerance = std::sqrt(epsilon) * std::fabs(x.x) + absolute;
        if (std::fabs(x.x - middle) <= 2.0 * tolerance - 0.5 * (b - a)) break;
        double p = 0.0, q = 0.0, r = 0.0;
        if (std::fabs(e) > tolerance) {
            r = (x.x - w.x) * (x.y - v.y);
            q = (x.x - v.x) * (x.y - w.y);
            p = (x.x - v.x) * q - (x.x - w.x) * r;
            q = 2.0 * (q - r);
            if (q > 0.0) p = -p;
            q = std::fabs(q);
            r = e;
            e = d;
        }
        if (std::fabs(p) < std::fabs(0.5 * q * r) && p > q * (a - x.x) && p < q * (b - x.x)) {
            d = p / q;
            const double u = x.x + d;
            if (u - a < 2.0 * tolerance || b - u < 2.0 * tolerance) d = x.x < middle ? tolerance : -tolerance;
        } else {
            e = (x.x < middle ? b : a) - x.x;
            d = golden * e;
        }
        const double ux = x.x + (std::fabs(d) >= tolerance ? d : std::copysign(tolerance, d));
        const Point u{ux, lowered(valueAt(f, ux))};
        if (u.y <= x.y) {
            (u.x < x.x ? b : a) = x.x;
            v = w, w = x, x = u;
        } else {
            (u.x < x.x ? a : b) = u.x;
            if (u.y <= w.y || w.x == x.x) {
                v = w, w = u;
            } else if (u.y <= v.y || v.x == x.x || v.x == w.x) {
                v = u;
            }
        }
    }
    return x;
}

struct Segment {
    double low;
    double high;
    double value;
    double error;
    double absolute; // the area of |f|, for the tolerance of areas that cancel
    bool operator<(const Segment& other) const { return error < other.error; }
};

// Gauss-Kronrod nodes on [-1, 1] (positive half, centre last) and their weights.
constexpr double kronrodNodes[8] = {0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
                                    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
                                    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
                                    0.207784955007898467600689403773245, 0.0};
constexpr double kronrodWeights[8] = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
// The 7-point Gauss rule uses the odd-numbered Kronrod nodes and the centre.
constexpr double gaussWeights[4] = {0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
                                    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

// One 15-point rule with the error estimate of QUADPACK's qk15. A node without a value makes
// the segment's error infinite, so it is split until the node is gone or the limit is reached.
Segment kronrod(RealFunction f, double low, double high, bool& anyValue) {
    const double centre = 0.5 * (low + high);
    const double half = 0.5 * (high - low);
    double values[15];
    for (int j = 0; j < 7; ++j) {
        values[2 * j] = valueAt(f, centre - half * kronrodNodes[j]);
        values[2 * j + 1] = valueAt(f, centre + half * kronrodNodes[j]);
    }
    values[14] = valueAt(f, centre);
    double kronrodSum = kronrodWeights[7] * values[14];
    double gaussSum = gaussWeights[3] * values[14];
    double absoluteSum = kronrodWeights[7] * std::fabs(values[14]);
    for (int j = 0; j < 7; ++j) {
        const double pair = values[2 * j] + values[2 * j + 1];
        kronrodSum += kronrodWeights[j] * pair;
        if (j % 2 == 1) gaussSum += gaussWeights[j / 2] * pair;
        absoluteSum += kronrodWeights[j] * (std::fabs(values[2 * j]) + std::fabs(values[2 * j + 1]));
    }
    const double mean = 0.5 * kronrodSum;
    double spread = kronrodWeights[7] * std::fabs(values[14] - mean);
    for (int j = 0; j < 7; ++j)
        spread += kronrodWeights[j] * (std::fabs(values[2 * j] - mean) + std::fabs(values[2 * j + 1] - mean));
    const double width = std::fabs(half);
    double error = std::fabs((kronrodSum - gaussSum) * half);
    spread *= width;
    absoluteSum *= width;
    if (spread != 0.0 && error != 0.0) error = spread * std::min(1.0, std::pow(200.0 * error / spread, 1.5));
    error = std::max(50.0 * epsilon * absoluteSum, error);
    const bool finite = std::isfinite(kronrodSum * half) && std::isfinite(error);
    for (double y : values)
        anyValue = anyValue || !std::isnan(y);
    if (!finite) return {low, high, 0.0, std::numeric_limits<double>::infinity(), 0.0};
    return {low, high, kronrodSum * half, error, absoluteSum};
}

constexpr std::size_t segmentLimit = 2000;

} // namespace

RootSearch findRoots(RealFunction f, double a, double b, std::size_t most) {
    RootSearch search;
    bool allZero = true;
    std::optional<Point> lastValue;
    bool gap = false;
    for (std::size_t i = 0; i <= sampleIntervals && search.roots.size() < most; ++i) {
        const Point p{samplePoint(a, b, i), valueAt(f, samplePoint(a, b, i))};
        if (std::isnan(p.y)) {
            gap = gap || lastValue.has_value();
            continue;
        }
        search.anyValue = true;
        allZero = allZero && p.y == 0.0;
        if (p.y == 0.0) {
            search.roots.push_back(p.x);
        } else if (lastValue && oppositeSigns(lastValue->y, p.y)) {
            const std::optional<double> root =
                gap ? std::nullopt : brentRoot(f, lastValue->x, p.x, lastValue->y, p.y);
            if (root)
                search.roots.push_back(*root);
            else
                search.signChangeRefused = true;
        }
        lastValue = p;
        gap = false;
    }
    search.flat = search.anyValue && allZero;
    if (search.flat) search.roots.clear();
    return search;
}

namespace {

std::vector<double> loweredSamples(RealFunction f, double a, double b) {
    std::vector<double> samples(sampleIntervals + 1);
    for (std::size_t i = 0; i <= sampleIntervals; ++i)
        samples[i] = lowered(valueAt(f, samplePoint(a, b, i)));
    return samples;
}

// The minimum around the sample `best`, refined between its neighbours; flat when every sample
// has the same value, unbounded when the refinement runs away far below what the samples show.
Extremum refinedMinimum(RealFunction f, double a, double b, const std::vector<double>& samples,
                        std::size_t best) {
    const double lowest = samples[best];
    if (!std::isfinite(lowest)) return {};
    double highest = lowest;
    for (double y : samples)
        if (std::isfinite(y)) highest = std::max(highest, y);
    if (highest - lowest <= 4.0 * epsilon * std::max(std::fabs(lowest), std::fabs(highest)))
        return {ExtremumOutcome::flat};
    const std::size_t left = best > 0 ? best - 1 : best;
    const std::size_t right = best < sampleIntervals ? best + 1 : best;
    // How far the neighbours rise bounds how much lower a smooth function can go in between.
    double rise = 0.0;
    for (std::size_t i : {left, right})
        if (std::isfinite(samples[i])) rise = std::max(rise, samples[i] - lowest);
    const Point start{samplePoint(a, b, best), lowest};
    Point found =
        left == right ? start : brentMinimum(f, samplePoint(a, b, left), samplePoint(a, b, right), start);
    if (!(found.y <= lowest)) found = start;
    if (lowest - found.y > 4.0 * rise + 64.0 * epsilon * std::fabs(lowest))
        return {ExtremumOutcome::unbounded, found.x, found.y};
    return {ExtremumOutcome::found, found.x, found.y};
}

Extremum negated(Extremum e) {
    e.y = -e.y;
    return e;
}

} // namespace

Extremum findMinimum(RealFunction f, double a, double b) {
    const std::vector<double> samples = loweredSamples(f, a, b);
    const auto best = std::min_element(samples.begin(), samples.end()) - samples.begin();
    return refinedMinimum(f, a, b, samples, static_cast<std::size_t>(best));
}

Extremum findMaximum(RealFunction f, double a, double b) {
    return negated(findMinimum([&](double x) { return -f(x); }, a, b));
}

Extremum findMinimumNear(RealFunction f, double a, double b, double near) {
    const std::vector<double> samples = loweredSamples(f, a, b);
    const double where = (near - a) / (b - a);
    const double t = std::isnan(where) ? 0.0 : std::clamp(where, 0.0, 1.0);
    std::size_t best = static_cast<std::size_t>(std::lround(t * static_cast<double>(sampleIntervals)));
    if (!std::isfinite(samples[best])) return {};
    // Downhill over the samples, to the first sample below both its neighbours.
    for (;;) {
        if (best > 0 && samples[best - 1] < samples[best])
            --best;
        else if (best < sampleIntervals && samples[best + 1] < samples[best])
            ++best;
        else
            break;
    }
    if (best == 0 || best == sampleIntervals) return {ExtremumOutcome::atEnd};
    return refinedMinimum(f, a, b, samples, best);
}

Extremum findMaximumNear(RealFunction f, double a, double b, double near) {
    return negated(findMinimumNear([&](double x) { return -f(x); }, a, b, near));
}

Area integrate(RealFunction f, double a, double b) {
    Area area;
    std::vector<Segment> segments{kronrod(f, a, b, area.anyValue)};
    const auto totals = [&] {
        double value = 0.0, error = 0.0, absolute = 0.0;
        for (const Segment& s : segments) {
            value += s.value;
            error += s.error;
            absolute += s.absolute;
        }
        return Segment{a, b, value, error, absolute};
    };
    Segment total = totals();
    while (segments.size() < segmentLimit) {
        if (total.error <= areaTolerance * std::max(std::fabs(total.value), 1e-3 * total.absolute)) {
            area.converged = true;
            break;
        }
        std::pop_heap(segments.begin(), segments.end());
        const Segment worst = segments.back();
        const double middle = 0.5 * (worst.low + worst.high);
        if (!(worst.low < middle && middle < worst.high)) break; // too narrow to split
        segments.back() = kronrod(f, worst.low, middle, area.anyValue);
        std::push_heap(segments.begin(), segments.end());
        segments.push_back(kronrod(f, middle, worst.high, area.anyValue));
        std::push_heap(segments.begin(), segments.end());
        total = totals();
    }
    area.value = total.value;
    area.errorEstimate = total.error;
    area.finite = std::isfinite(total.value) && std::isfinite(total.error);
    return area;
}
