#include "dsp/OnePoleHighPass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/dsp/DspTestSupport.h"

namespace {

TEST(OnePoleHighPass, Coefficients) {
    const struct {
        float rate, value, coefficient;
    } cases[] = {
        {44100.0f, 1.0f, 0.95388f},  {44100.0f, 0.0f, 0.027783f}, {44100.0f, 0.5f, 0.14354f},
        {96000.0f, 0.257f, 0.02f},   {96000.0f, 0.0f, 0.02f},     {96000.0f, 0.3f, 0.024249f},
        {8000.0f, 1.0f, 1.0f},       {44100.0f, 5.0f, 1.0f},      {44100.0f, -3.0f, 0.02f},
    };
    for (const auto& c : cases) {
        OnePoleHighPass hp;
        hp.setSampleRate(c.rate);
        hp.setCutoff(c.value);
        EXPECT_NEAR(hp.getCoefficient(), c.coefficient, 2e-5) << c.rate << " Hz, value " << c.value;
    }
}

TEST(OnePoleHighPass, ANewFilterPassesTheChangesOfItsInput) {
    OnePoleHighPass hp;
    EXPECT_EQ(hp.getCoefficient(), 1.0f);
    EXPECT_EQ(hp.step(0.5f), 0.5f);
    EXPECT_EQ(hp.step(0.75f), 0.25f);
    EXPECT_EQ(hp.step(0.75f), 0.0f);
}

TEST(OnePoleHighPass, SampleRateClearsTheStateAndKeepsTheCoefficient) {
    OnePoleHighPass hp;
    hp.setCutoff(0.5f);
    const float c = hp.getCoefficient();
    for (int i = 0; i < 100; ++i) hp.step(1.0f);
    hp.setSampleRate(96000.0f);
    EXPECT_EQ(hp.getState(), 0.0f);
    EXPECT_EQ(hp.getCoefficient(), c);
}

TEST(OnePoleHighPass, SilenceAfterSoundDrivesTheStateToExactZeroWithoutDenormals) {
    OnePoleHighPass hp;
    hp.setSampleRate(44100.0f);
    hp.setCutoff(0.0f);  // slowest decay: the longest way through small values
    dsptest::Noise noise;
    for (int i = 0; i < 10000; ++i) hp.step(noise.next());
    for (int i = 0; i < 200000; ++i) {
        hp.step(0.0f);
        const float s = hp.getState();
        ASSERT_TRUE(s == 0.0f || std::isnormal(s)) << "step " << i << " state " << s;
    }
    EXPECT_EQ(hp.getState(), 0.0f);
}

TEST(OnePoleHighPass, BadSampleRatesLeaveAStableCoefficient) {
    const float inf = std::numeric_limits<float>::infinity();
    for (float rate : {0.0f, -44100.0f, std::nanf(""), inf, -inf, 1e-30f, 1e30f}) {
        OnePoleHighPass hp;
        hp.setSampleRate(rate);
        hp.setCutoff(0.5f);
        const float c = hp.getCoefficient();
        EXPECT_TRUE(c >= 0.02f && c <= 1.0f) << rate << " gives " << c;
        float peak = 0.0f;
        dsptest::Noise noise;
        for (int i = 0; i < 1000; ++i) peak = std::max(peak, std::fabs(hp.step(noise.next())));
        EXPECT_LT(peak, 2.0f) << rate;
    }
}

}  // namespace
