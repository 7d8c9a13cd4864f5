// Deterministic maths for everything the audio depends on.
//
// The native x86_64 build and the Windows i686 build must compute the same
// bits. Their C libraries may round sin, cos and friends differently in the
// last place, so the audio path never calls them: these functions are built
// from IEEE double +, -, * and / only (with SSE2 scalar arithmetic and no
// fused multiply-add, which the build enforces), and therefore give the same
// result on every build.
//
// Accuracy: within about one unit in the last place of the exact result for
// |x| up to 2^19 * pi (about 1.6 million); beyond that the argument reduction
// loses precision gradually (results stay in -1..1). NaN and infinite
// arguments give NaN.
#pragma once

namespace detmath {

namespace detail {

// pi/2 split for Cody-Waite reduction: kPio2Hi carries the leading 33 bits,
// so k * kPio2Hi is exact for |k| < 2^20, and kPio2Lo the next 53 bits.
constexpr double kPio2Hi = 1.57079632673412561417e+00;
constexpr double kPio2Lo = 6.07710050650619224932e-11;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;

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

inline double sinKernel(double r) {
    const double z = r * r;
    const double v = z * r;
    const double p = kS2 + z * (kS3 + z * (kS4 + z * (kS5 + z * kS6)));
    return r + v * (kS1 + z * p);
}

inline double cosKernel(double r) {
    const double z = r * r;
    const double p = z * (kC1 + z * (kC2 + z * (kC3 + z * (kC4 + z * (kC5 + z * kC6)))));
    const double hz = 0.5 * z;
    const double w = 1.0 - hz;
    // w carries 1 - z/2 rounded; the bracket restores what that rounding lost.
    return w + (((1.0 - w) - hz) + z * p);
}

// Reduces x to r in -pi/4..pi/4 with x = r + quadrant * pi/2 (mod 2 pi).
// Returns false for NaN and infinities.
inline bool reduce(double x, double& r, int& quadrant) {
    if (!(x - x == 0.0)) return false;  // NaN or infinite
    double k = x * kTwoOverPi;
    // Round to nearest by truncating k +- 0.5; the limit keeps the integer
    // conversion defined for huge arguments.
    if (k > 1073741823.0) k = 1073741823.0;
    if (k < -1073741823.0) k = -1073741823.0;
    const int n = static_cast<int>(k >= 0.0 ? k + 0.5 : k - 0.5);
    const double nd = static_cast<double>(n);
    r = (x - nd * kPio2Hi) - nd * kPio2Lo;
    quadrant = n & 3;
    return true;
}

}  // namespace detail

// Sine of x (radians).
inline double sin(double x) {
    double r;
    int q;
    if (!detail::reduce(x, r, q)) return x - x;  // NaN
    switch (q) {
        case 0: return detail::sinKernel(r);
        case 1: return detail::cosKernel(r);
        case 2: return -detail::sinKernel(r);
        default: return -detail::cosKernel(r);
    }
}

// Cosine of x (radians).
inline double cos(double x) {
    double r;
    int q;
    if (!detail::reduce(x, r, q)) return x - x;  // NaN
    switch (q) {
        case 0: return detail::cosKernel(r);
        case 1: return -detail::sinKernel(r);
        case 2: return -detail::cosKernel(r);
        default: return detail::sinKernel(r);
    }
}

}  // namespace detmath
