#pragma once
// Powers taken without the general pow: x^0.5 and x^3 to x^5. Each gives the correctly rounded
// result, where pow may be off in the last place, and pow's own value at zeros, infinities,
// not-a-number and the far ends of the doubles.

#include <cmath>

inline constexpr int firstWholePower = 3;
inline constexpr int lastWholePower = 5;

namespace exact_powers {

// Veltkamp's split: a = high + low with at most 26 significant bits each, so the products of
// the halves are exact.
struct Halves {
    double high;
    double low;
};

inline Halves split(double a) {
    const double c = 134217729.0 * a; // 2^27 + 1
    const double high = c - (c - a);
    return {high, a - high};
}

// The rounding error of p = a * b (Dekker), exact while neither the product nor its error leaves
// the normal doubles.
inline double productError(Halves a, Halves b, double p) {
    return ((a.high * b.high - p) + a.high * b.low + a.low * b.high) + a.low * b.low;
}

// x^n stays within 2^-900 .. 2^900 from these arguments up, which keeps every partial product
// and its error term normal.
inline constexpr double wholePowerLow[] = {0, 0, 0, 0x1p-300, 0x1p-225, 0x1p-180};
inline constexpr double wholePowerHigh[] = {0, 0, 0, 0x1p300, 0x1p225, 0x1p180};

inline bool inExactRange(double x, int n) {
    const double a = std::fabs(x);
    return a >= wholePowerLow[n] && a <= wholePowerHigh[n];
}

// x^n as an unevaluated sum high + low, carried within about n * 2^-105 of the exact power, then
// rounded once. Only for arguments in the exact range; n is a template argument so that the
// products unroll into straight code that a loop over many arguments can vectorise.
template <int n> double productPower(double x) {
    const Halves xs = split(x);
    double high = x;
    double low = 0.0;
    for (int k = 1; k < n; ++k) {
        const double p = high * x;
        low = low * x + productError(split(high), xs, p);
        high = p;
    }
    return high + low;
}

} // namespace exact_powers

// x^n for n from firstWholePower to lastWholePower.
inline double wholePower(double x, int n) {
    using namespace exact_powers;
    if (!inExactRange(x, n)) return std::pow(x, n);
    return n == 3 ? productPower<3>(x) : n == 4 ? productPower<4>(x) : productPower<5>(x);
}

// x^0.5: pow differs from sqrt at -0 (+0) and -infinity (+infinity), so it keeps all but the
// positive arguments.
inline double halfPower(double x) {
    return x > 0.0 ? std::sqrt(x) : std::pow(x, 0.5);
}
