#pragma once
// Roots, extrema and areas of a real function on a closed interval [a, b] with a < b, both finite.
// A value that is not a finite number (a failed evaluation, a pole) counts as no value at all.
// Every loop is bounded, so no function can make a search run for ever.

#include <cstddef>
#include <vector>

// A non-owning reference to anything callable as double(double); nothing is allocated per call.
class RealFunction {
  public:
    template <typename Callable>
    RealFunction(const Callable& callable) // NOLINT: converts like a function reference
        : object(&callable), call([](const void* o, double x) {
              return static_cast<double>((*static_cast<const Callable*>(o))(x));
          }) {}
    double operator()(double x) const { return call(object, x); }

  private:
    const void* object;
    double (*call)(const void*, double);
};

inline constexpr std::size_t sampleIntervals = 2000; // subintervals of the first coarse look

struct RootSearch {
    std::vector<double> roots;      // increasing, at most the number asked for
    bool anyValue = false;          // some sample had a value
    bool flat = false;              // every sample was zero: no single root to name
    bool signChangeRefused = false; // a change of sign at a pole or a jump, not a root
};

// Every root where the function changes sign or is exactly zero, each to full precision.
RootSearch findRoots(RealFunction f, double a, double b, std::size_t most);

enum class ExtremumOutcome { found, noValue, flat, unbounded, atEnd };

struct Extremum {
    ExtremumOutcome outcome = ExtremumOutcome::noValue;
    double x = 0.0;
    double y = 0.0;
};

// The smallest value on [a, b], to the limit of double precision where the function is smooth.
Extremum findMinimum(RealFunction f, double a, double b);
Extremum findMaximum(RealFunction f, double a, double b);
// The local minimum reached by going downhill from `near`; atEnd when the way down leaves [a, b].
Extremum findMinimumNear(RealFunction f, double a, double b, double near);
Extremum findMaximumNear(RealFunction f, double a, double b, double near);

struct Area {
    double value = 0.0;
    double errorEstimate = 0.0;
    bool anyValue = false;
    bool finite = true;     // false while some part still has a point without a value
    bool converged = false; // the estimate met the tolerance within the subdivision limit
};

inline constexpr double areaTolerance = 1e-10; // relative

// The signed area by adaptive Gauss-Kronrod (7 and 15 points).
Area integrate(RealFunction f, double a, double b);
