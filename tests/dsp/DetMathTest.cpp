#include "dsp/DetMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

std::int64_t orderedBits(double v) {
    std::int64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b < 0 ? std::numeric_limits<std::int64_t>::min() - b : b;
}

// Distance in units in the last place between two doubles.
std::int64_t ulps(double a, double b) {
    const std::int64_t d = orderedBits(a) - orderedBits(b);
    return d < 0 ? -d : d;
}

// glibc's sin and cos are correctly rounded in practice; the Windows runtime
// makes no such promise, so the comparison runs on the native build only.
#if defined(_WIN32)
#define SKIP_WITHOUT_REFERENCE_LIBM() GTEST_SKIP() << "reference libm only on the native build"
#else
#define SKIP_WITHOUT_REFERENCE_LIBM() (void)0
#endif

TEST(DetMath, SineAndCosineWithinOneUlpOfTheCorrectlyRoundedResultOnASweep) {
    SKIP_WITHOUT_REFERENCE_LIBM();
    struct Range {
        double from, to;
        int steps;
    };
    const Range ranges[] = {
        {-1e-6, 1e-6, 20001}, {0.0, 0.4, 400001},  // the filters' arguments: 0..pi/8
        {-7.0, 7.0, 400001},  {-1000.0, 1000.0, 200001},
        {1e5, 1.6e6, 100001}, {1.5e6, 1.6e6, 100001},
    };
    for (const Range& r : ranges) {
        std::int64_t worstSin = 0, worstCos = 0;
        for (int i = 0; i < r.steps; ++i) {
            const double x = r.from + (r.to - r.from) * i / (r.steps - 1);
            worstSin = std::max(worstSin, ulps(detmath::sin(x), std::sin(x)));
            worstCos = std::max(worstCos, ulps(detmath::cos(x), std::cos(x)));
        }
        EXPECT_LE(worstSin, 1) << "sin on " << r.from << ".." << r.to;
        EXPECT_LE(worstCos, 1) << "cos on " << r.from << ".." << r.to;
    }
}

TEST(DetMath, NearMultiplesOfHalfPiWhereTheReductionCancels) {
    SKIP_WITHOUT_REFERENCE_LIBM();
    std::int64_t worst = 0;
    for (int k = 1; k < 1000000; k += 331) {
        const double x = k * 1.5707963267948966;
        for (double v : {x, std::nextafter(x, 0.0), std::nextafter(x, 1e7)}) {
            worst = std::max(worst, ulps(detmath::sin(v), std::sin(v)));
            worst = std::max(worst, ulps(detmath::cos(v), std::cos(v)));
        }
    }
    EXPECT_LE(worst, 1);
}

TEST(DetMath, FilterCoefficientsRoundToTheSameFloatAsTheCorrectlyRoundedSine) {
    SKIP_WITHOUT_REFERENCE_LIBM();
    // Every float argument the coefficient rule can see between 0 and pi/8
    // (step through the float grid sparsely; exhaustive would be 2^30 cases).
    int mismatches = 0;
    for (float q = 1e-6f; q < 0.3927f; q = std::nextafter(q, 1.0f) + q * 1e-6f) {
        const float ours = static_cast<float>(2.0 * detmath::sin(q));
        const float ref = static_cast<float>(2.0 * std::sin(static_cast<double>(q)));
        if (ours != ref) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(DetMath, ExactValuesAndNonFiniteArguments) {
    EXPECT_EQ(detmath::sin(0.0), 0.0);
    EXPECT_EQ(detmath::cos(0.0), 1.0);
    EXPECT_TRUE(std::signbit(detmath::sin(-0.0)));
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(detmath::sin(bad))) << bad;
        EXPECT_TRUE(std::isnan(detmath::cos(bad))) << bad;
    }
    // Beyond the accurately reduced range the answer is NaN, not garbage.
    for (double big : {1.7e6, -3e15, 1e300}) {
        EXPECT_TRUE(std::isnan(detmath::sin(big))) << big;
        EXPECT_TRUE(std::isnan(detmath::cos(big))) << big;
    }
}

}  // namespace
