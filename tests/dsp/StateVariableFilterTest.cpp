#include "dsp/StateVariableFilter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/dsp/DspTestSupport.h"

namespace {

TEST(StateVariableFilter, CoefficientsAtTheUsualRates) {
    const struct {
        float rate, cutoff, coefficient;
    } cases[] = {
        {44100.0f, 1000.0f, 0.035617083f}, {44100.0f, 18500.0f, 0.64709342f},
        {44100.0f, 100.0f, 0.0035618946f}, {96000.0f, 1000.0f, 0.016362280f},
        {96000.0f, 18500.0f, 0.30155116f}, {96000.0f, 100.0f, 0.0016362460f},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(StateVariableFilter::coefficientFor(c.cutoff, c.rate * 4.0f), c.coefficient,
                    1e-8)
            << c.rate << " Hz, cutoff " << c.cutoff;
    }
    StateVariableFilter fresh;
    EXPECT_EQ(fresh.coefficient, StateVariableFilter::coefficientFor(1000.0f, 176400.0f));
}

TEST(StateVariableFilter, CutoffIsLimitedToTheNyquistFrequencyAndToZero) {
    const float q = StateVariableFilter::coefficientFor(11025.0f, 88200.0f);
    EXPECT_NEAR(q, 2.0 * std::sin(3.14159265358979 / 8.0), 1e-6);
    EXPECT_EQ(StateVariableFilter::coefficientFor(18500.0f, 88200.0f), q);
    EXPECT_EQ(StateVariableFilter::coefficientFor(1e30f, 88200.0f), q);
    EXPECT_EQ(StateVariableFilter::coefficientFor(-500.0f, 88200.0f), 0.0f);
    EXPECT_EQ(StateVariableFilter::coefficientFor(std::nanf(""), 88200.0f), 0.0f);
    // Cutoffs up to the Nyquist frequency are untouched.
    EXPECT_NE(StateVariableFilter::coefficientFor(18500.0f, 148000.0f),
              StateVariableFilter::coefficientFor(18400.0f, 148000.0f));
}

TEST(StateVariableFilter, StaysBoundedOnNoiseAtLowRatesWithTheTopCutoff) {
    for (float rate : {8000.0f, 22050.0f, 32000.0f}) {
        StateVariableFilter f;
        f.oversampledRate = rate * 4.0f;
        f.frequency = 18500.0f;
        f.updateCoefficient();
        dsptest::Noise noise;
        float peak = 0.0f;
        for (int i = 0; i < 200000; ++i) peak = std::max(peak, std::fabs(f.step(noise.next())));
        EXPECT_LT(peak, 4.0f) << rate;
    }
}

TEST(StateVariableFilter, PassesDirectCurrentAndSettlesOnATinyConstantInSilence) {
    StateVariableFilter f;
    for (int i = 0; i < 20000; ++i) f.step(1.0f);
    EXPECT_NEAR(f.low, 1.0f, 1e-4);
    float last = 0.0f;
    for (int i = 0; i < 2000000; ++i) last = f.step(0.0f);
    EXPECT_GT(last, 0.0f);
    EXPECT_LT(last, 1e-20f);
    EXPECT_TRUE(std::isnormal(last));
    EXPECT_EQ(f.step(0.0f), last);
}

}  // namespace
