// Deterministic maths for everything the audio depends on.
//
// The native x86_64 build and the Windows i686 build must compute the same
// bits. Their C libraries may round sin, cos and friends differently in the
// last place, so the audio path never calls them: these functions are built
// from IEEE double +, -, * and / only (with SSE2 scalar arithmetic and no
// fused multiply-add, which the build enforces), and therefore give the same
// result on every build.
//
// Accuracy: within one unit in the last place of the exact result for |x| up
// to 2^19 * pi (about 1.6 million). Larger, infinite and NaN arguments give
// NaN (nothing in this system computes angles that large).
#pragma once

#include <limits>

namespace detmath {

namespace detail {

// pi/2 in pieces for the argument reduction: kPio2_1, kPio2_2 and
// kPio2_3 carry 33 bits each, so n * piece is exact for |n| < 2^20; each
// ..t constant is the rest of pi/2 after the pieces before it.
constexpr double kPio2_1 = 1.57079632673412561417e+00;
constexpr double kPio2_2 = 6.07710050630396597660e-11;
constexpr double kPio2_2t = 2.02226624879595063154e-21;
constexpr double kPio2_3 = 2.02226624871116645580e-21;
constexpr double kPio2_3t = 8.47842766036889956997e-32;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;

// Largest |x| reduced accurately: 2^19 pi, so the quadrant count stays
// below 2^20.
constexpr double kMaxArgument = 1647099.3291652855;

// Below this |x| sin(x) rounds to x and cos(x) to 1.
constexpr double kTiny = 7.450580596923828125e-09;  // 2^-27

// Minimax polynomials on |r| <= pi/4.
constexpr double kS1 = -1.66666666666666324348e-01;
constexpr double kS2 = 8.33333333332248946124e-03;
constexpr double kS3 = -1.98412698298579493134e-04;
constexpr double kS4 = 2.75573137070700676789e-06;
constexpr double kS5 = -2.50507602534068634195e-08;
constexpr double kS6 = 1.58969099521155010221e-10;

constexpr double kC1 = 4.16666666666666019037e-02;
constexpr double kC2 = -1.38888888888741095749e-03;
constexpr double kC3 = 2.48015872894767294178e-05;
constexpr double kC4 = -2.75573143513906633035e-07;
constexpr double kC5 = 2.08757232129817482790e-09;
constexpr double kC6 = -1.13596475577881948265e-11;

// sin(x + y) for |x + y| <= pi/4, y a tail much smaller than x.
inline double sinKernel(double x, double y) {
    const double z = x * x;
    const double v = z * x;
    const double r = kS2 + z * (kS3 + z * (kS4 + z * (kS5 + z * kS6)));
    return x - ((z * (0.5 * y - v * r) - y) - v * kS1);
}

// cos(x + y) for |x + y| <= pi/4, y a tail much smaller than x.
inline double cosKernel(double x, double y) {
    const double z = x * x;
    const double w2 = z * z;
    const double r = z * (kC1 + z * (kC2 + z * kC3)) + w2 * w2 * (kC4 + z * (kC5 + z * kC6));
    const double hz = 0.5 * z;
    const double w = 1.0 - hz;
    // w is 1 - z/2 rounded; the bracket restores what that rounding lost.
    return w + (((1.0 - w) - hz) + (z * r - x * y));
}

// Writes x - n * pi/2 as hi + lo with |hi + lo| <= pi/4 (about 118 correct
// bits) and returns n mod 4. The caller keeps |x| <= kMaxArgument.
inline int reduce(double x, double& hi, double& lo) {
    const double k = x * kTwoOverPi;
    const int n = static_cast<int>(k >= 0.0 ? k + 0.5 : k - 0.5);
    const double fn = static_cast<double>(n);
    double r = x - fn * kPio2_1;  // exact
    // Two rounds with the further pieces of pi/2; the second matters when r
    // cancels heavily (x close to a multiple of pi/2).
    double t = r;
    double w = fn * kPio2_2;
    r = t - w;
    w = fn * kPio2_2t - ((t - r) - w);
    t = r;
    w = fn * kPio2_3;
    r = t - w;
    w = fn * kPio2_3t - ((t - r) - w);
    hi = r - w;
    lo = (r - hi) - w;
    return n & 3;
}

}  // namespace detail

// Sine of x (radians). NaN for NaN, infinite and |x| > 1.6e6 arguments.
inline double sin(double x) {
    const double a = x < 0.0 ? -x : x;
    if (a < detail::kTiny) return x;
    if (!(a <= detail::kMaxArgument)) return std::numeric_limits<double>::quiet_NaN();
    double hi, lo;
    switch (detail::reduce(x, hi, lo)) {
        case 0: return detail::sinKernel(hi, lo);
        case 1: return detail::cosKernel(hi, lo);
        case 2: return -detail::sinKernel(hi, lo);
        default: return -detail::cosKernel(hi, lo);
    }
}

// Cosine of x (radians). NaN for NaN, infinite and |x| > 1.6e6 arguments.
inline double cos(double x) {
    const double a = x < 0.0 ? -x : x;
    if (a < detail::kTiny) return 1.0;
    if (!(a <= detail::kMaxArgument)) return std::numeric_limits<double>::quiet_NaN();
    double hi, lo;
    switch (detail::reduce(x, hi, lo)) {
        case 0: return detail::cosKernel(hi, lo);
        case 1: return -detail::sinKernel(hi, lo);
        case 2: return -detail::cosKernel(hi, lo);
        default: return detail::sinKernel(hi, lo);
    }
}

}  // namespace detmath
