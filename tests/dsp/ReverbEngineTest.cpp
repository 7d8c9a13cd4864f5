#include "dsp/ReverbEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "dsp/OnePoleHighPass.h"
#include "tests/dsp/DspTestSupport.h"
#include "tests/dsp/ReverbEngineProbe.h"

namespace {

using P = ReverbEngineProbe;
using dsptest::Stereo;

std::unique_ptr<ReverbEngine> unitAt(float rate) {
    auto e = std::make_unique<ReverbEngine>();
    e->setSampleRate(rate);
    e->reset();
    return e;
}

template <class Line>
void expectLine(const Line& line, int length, std::vector<int> offsets, const char* name) {
    EXPECT_EQ(line.length, length) << name;
    for (std::size_t k = 0; k < offsets.size(); ++k)
        EXPECT_EQ(line.index[k + 1], offsets[k]) << name << " tap " << k + 1;
}

// Lengths, tap offsets, control interval and filter coefficients at the
// usual rates, with size 1.
TEST(ReverbEngine, DimensionsAtTheUsualRates) {
    struct Case {
        float rate;
        int controlInterval;
        int diffusers[4];
        int early1, early1Taps[6], early2, early2Taps[6];
        int allpass[4], ap2Taps[2], ap4Taps[2];
        int delay[4], d1Taps[3], d2Taps[2], d3Taps[3], d4Taps[2];
        float coefficient1000;  // a cutoff of 1000 Hz, as set up at construction
    };
    const Case cases[] = {
        {44100.0f, 44, {211, 158, 560, 410},
         3924, {965, 1561, 1715, 1825, 3051, 0}, 3042, {485, 802, 833, 939, 1900, 0},
         {882, 2646, 1323, 3924}, {264, 1808}, {1367, 485},
         {6615, 5292, 6174, 4851}, {2954, 485, 5336}, {1587, 3924}, {392, 4365, 0}, {2954, 180},
         0.035617083f},
        {48000.0f, 48, {230, 172, 609, 446},
         4272, {1051, 1699, 1867, 1987, 3321, 0}, 3312, {528, 873, 907, 1022, 2068, 0},
         {960, 2880, 1440, 4272}, {288, 1968}, {1488, 528},
         {7200, 5760, 6720, 5280}, {3216, 528, 5808}, {1727, 4272}, {427, 4752, 0}, {3216, 196},
         0.032723464f},
        {96000.0f, 96, {460, 345, 1219, 892},
         8544, {2102, 3398, 3734, 3974, 6643, 0}, 6624, {1056, 1747, 1814, 2044, 4137, 0},
         {1920, 5760, 2880, 8544}, {576, 3936}, {2976, 1056},
         {14400, 11520, 13440, 10560}, {6432, 1056, 11616}, {3455, 8544}, {854, 9504, 0},
         {6432, 393}, 0.016362280f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        auto e = unitAt(c.rate);
        EXPECT_EQ(e->getControlInterval(), c.controlInterval);
        const Allpass* diffusers[] = {&(*e.*P::inputDiffuser1), &(*e.*P::inputDiffuser2),
                                      &(*e.*P::inputDiffuser3), &(*e.*P::inputDiffuser4)};
        const float gains[] = {0.75f, 0.75f, 0.625f, 0.625f};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(diffusers[k]->length, c.diffusers[k]) << "diffuser " << k + 1;
            EXPECT_EQ(diffusers[k]->gain, gains[k]) << "diffuser " << k + 1;
        }
        expectLine(*e.*P::earlyLine1, c.early1, {c.early1Taps, c.early1Taps + 6}, "earlyLine1");
        expectLine(*e.*P::earlyLine2, c.early2, {c.early2Taps, c.early2Taps + 6}, "earlyLine2");
        expectLine(*e.*P::tankAllpass1, c.allpass[0], {}, "tankAllpass1");
        expectLine(*e.*P::tankAllpass2, c.allpass[1], {c.ap2Taps, c.ap2Taps + 2}, "tankAllpass2");
        expectLine(*e.*P::tankAllpass3, c.allpass[2], {}, "tankAllpass3");
        expectLine(*e.*P::tankAllpass4, c.allpass[3], {c.ap4Taps, c.ap4Taps + 2}, "tankAllpass4");
        expectLine(*e.*P::tankDelay1, c.delay[0], {c.d1Taps, c.d1Taps + 3}, "tankDelay1");
        expectLine(*e.*P::tankDelay2, c.delay[1], {c.d2Taps, c.d2Taps + 2}, "tankDelay2");
        expectLine(*e.*P::tankDelay3, c.delay[2], {c.d3Taps, c.d3Taps + 3}, "tankDelay3");
        expectLine(*e.*P::tankDelay4, c.delay[3], {c.d4Taps, c.d4Taps + 2}, "tankDelay4");
        for (auto f : {P::bandwidthFilter1, P::bandwidthFilter2, P::dampingFilter1,
                       P::dampingFilter2}) {
            EXPECT_EQ((*e.*f).oversampledRate, c.rate * 4.0f);
            EXPECT_NEAR((*e.*f).coefficient, c.coefficient1000, 1e-9);
        }
    }
}

TEST(ReverbEngine, SizeScalesTheTankAndLeavesTheRestAlone) {
    auto e = unitAt(44100.0f);
    e->setParameter(EngineParam::Size, 0.0f);  // size 0.05: 2205 Hz worth of tank
    EXPECT_EQ(*e.*P::size, 0.05f);
    EXPECT_EQ((*e.*P::tankDelay1).length, 330);
    EXPECT_EQ((*e.*P::tankAllpass4).length, 196);
    EXPECT_EQ((*e.*P::tankDelay3).index[2], 218);
    EXPECT_EQ((*e.*P::earlyLine1).length, 3924);
    EXPECT_EQ((*e.*P::inputDiffuser3).length, 560);
    // The effect's Decay 0.5 maps to size ((0.5 + 0.37) * 0.729) * 0.95 + 0.05.
    e->setParameter(EngineParam::Size, (0.5f + 0.37f) * 0.729f);
    EXPECT_EQ((*e.*P::tankDelay1).length, 4316);
}

TEST(ReverbEngine, ABlockMovesEverySmoothedValueToItsTarget) {
    for (int frames : {1, 2, 37, 512}) {
        SCOPED_TRACE(frames);
        auto e = dsptest::makeEffectUnit(44100.0f);
        e->setParameter(EngineParam::Mix, 0.25f);
        e->setParameter(EngineParam::BandwidthFreq, 0.5f);
        e->setParameter(EngineParam::DampingFreq, 0.25f);
        e->setParameter(EngineParam::Decay, 0.75f);
        e->setParameter(EngineParam::PreDelay, 0.5f);
        const Stereo in(frames);
        dsptest::render(*e, in, frames);
        const float bandwidthHz = static_cast<float>(0.5f * 18400.0f + 100.0);
        const float dampingHz = static_cast<float>(0.75f * 18400.0f + 100.0);
        const float decay = static_cast<float>(0.75f * 0.7995f + 0.005);
        const float preDelay = 44100.0f * 0.001f * 0.5f * 260.0f;
        if (frames == 1) {  // from 0: one step lands exactly on the target
            EXPECT_EQ(*e.*P::mixNow, 0.25f);
            EXPECT_EQ(*e.*P::bandwidthHzNow, bandwidthHz);
            EXPECT_EQ(*e.*P::dampingHzNow, dampingHz);
            EXPECT_EQ(*e.*P::decayNow, decay);
            EXPECT_EQ(*e.*P::preDelayNow, preDelay);
        } else {  // a straight line of rounded steps ends within rounding
            EXPECT_NEAR(*e.*P::mixNow, 0.25f, 1e-6);
            EXPECT_NEAR(*e.*P::bandwidthHzNow, bandwidthHz, 0.02);
            EXPECT_NEAR(*e.*P::dampingHzNow, dampingHz, 0.02);
            EXPECT_NEAR(*e.*P::decayNow, decay, 1e-6);
            EXPECT_NEAR(*e.*P::preDelayNow, preDelay, 0.01);
        }
    }
}

TEST(ReverbEngine, FilterCoefficientsFollowTheSmoothedCutoffsOncePerControlInterval) {
    auto e = dsptest::makeEffectUnit(44100.0f);
    const Stereo in(44);
    dsptest::render(*e, in, 44);  // samples 0..43: no update yet
    EXPECT_NEAR((*e.*P::bandwidthFilter1).coefficient, 0.035617083f, 1e-9);
    const Stereo one(1);
    dsptest::render(*e, one, 1);  // sample 44: first update
    EXPECT_EQ((*e.*P::bandwidthFilter1).frequency, *e.*P::bandwidthHzNow);
    EXPECT_EQ((*e.*P::dampingFilter2).frequency, 18500.0f);
    EXPECT_NEAR((*e.*P::dampingFilter2).coefficient, 0.64709342f, 1e-7);
    EXPECT_EQ(*e.*P::controlCounter, 1);
}

TEST(ReverbEngine, DecayDiffusionFollowsTheFeedbackWithinItsLimits) {
    const struct {
        float decay, diffusion;
    } cases[] = {{0.0f, 0.25f}, {0.1f, 0.25f}, {0.3f, 0.39485f}, {0.5f, 0.5f}, {1.0f, 0.5f}};
    for (const auto& c : cases) {
        auto e = dsptest::makeEffectUnit(44100.0f, c.decay);
        const Stereo in(1);
        dsptest::render(*e, in, 1);
        EXPECT_NEAR(*e.*P::decayDiffusion2, c.diffusion, 1e-6) << c.decay;
        EXPECT_EQ((*e.*P::tankAllpass2).gain, *e.*P::decayDiffusion2);
        EXPECT_EQ((*e.*P::tankAllpass4).gain, *e.*P::decayDiffusion2);
    }
    auto e = dsptest::makeEffectUnit(44100.0f, 1.0f);
    dsptest::render(*e, Stereo(1), 1);
    EXPECT_NEAR(*e.*P::decayNow, 0.8045f, 1e-7);
}

TEST(ReverbEngine, InPlaceAndSharedInputChannelGiveTheSameResultAsSeparateBuffers) {
    const Stereo in = dsptest::burst(6000, 3000);
    for (bool sharedInput : {false, true}) {
        SCOPED_TRACE(sharedInput);
        auto a = dsptest::makeEffectUnit(44100.0f, 0.7f, 0.8f, 0.05f);
        auto b = dsptest::makeEffectUnit(44100.0f, 0.7f, 0.8f, 0.05f);
        Stereo separate(in.frames());
        Stereo inPlace = in;
        if (sharedInput) inPlace.right = inPlace.left;
        for (int pos = 0; pos < in.frames(); pos += 500) {
            const float* ins[2] = {in.left.data() + pos,
                                   (sharedInput ? in.left : in.right).data() + pos};
            float* outs[2] = {separate.left.data() + pos, separate.right.data() + pos};
            a->process(ins, outs, 500);
            float* io[2] = {inPlace.left.data() + pos, inPlace.right.data() + pos};
            if (sharedInput) {
                // Both inputs name the left channel, which is also output 0.
                const float* sameIns[2] = {io[0], io[0]};
                b->process(sameIns, io, 500);
            } else {
                b->process(io, io, 500);
            }
        }
        EXPECT_EQ(dsptest::firstDifference(separate.left, inPlace.left), -1);
        EXPECT_EQ(dsptest::firstDifference(separate.right, inPlace.right), -1);
    }
}

TEST(ReverbEngine, DensityOneMakesTheFirstTankAllpassesNegateAndKeepsTheirBuffersZero) {
    auto e = dsptest::makeEffectUnit(44100.0f);
    dsptest::render(*e, dsptest::burst(20000, 20000), 256);
    for (auto ap : {P::tankAllpass1, P::tankAllpass3}) {
        const TappedAllpass& a = *e.*ap;
        int nonZero = 0;
        for (float v : a.buffer) nonZero += v != 0.0f;
        EXPECT_EQ(nonZero, 0);
    }
    // The tank holds sound, so the all-passes did see input.
    float energy = 0.0f;
    for (float v : (*e.*P::tankDelay1).buffer) energy += v * v;
    EXPECT_GT(energy, 0.0f);
}

TEST(ReverbEngine, EarlyMixZeroGivesEarlyReflectionsOnly) {
    // With earlyMix 0 the tank cannot be heard: units with very different
    // tanks give the same output. With earlyMix 1 they differ.
    const Stereo in = dsptest::burst(8000, 2000);
    for (float earlyMix : {0.0f, 1.0f}) {
        auto a = dsptest::makeEffectUnit(44100.0f, 0.2f);
        auto b = dsptest::makeEffectUnit(44100.0f, 0.9f);
        a->setParameter(EngineParam::EarlyMix, earlyMix);
        b->setParameter(EngineParam::EarlyMix, earlyMix);
        const Stereo outA = dsptest::render(*a, in, 512);
        const Stereo outB = dsptest::render(*b, in, 512);
        const bool same = dsptest::firstDifference(outA.left, outB.left) == -1 &&
                          dsptest::firstDifference(outA.right, outB.right) == -1;
        EXPECT_EQ(same, earlyMix == 0.0f) << earlyMix;
    }
}

TEST(ReverbEngine, FirstBlockAfterConstructionFadesInFromTheDryInput) {
    auto e = dsptest::makeEffectUnit(44100.0f);
    Stereo in(512);
    for (int i = 0; i < 512; ++i) in.left[i] = in.right[i] = 0.5f;
    const Stereo out = dsptest::render(*e, in, 512);
    // First sample: mixNow is 1/512, so the output is almost the dry input.
    EXPECT_NEAR(out.left[0], 0.5f * (1.0f - 1.0f / 512.0f), 1e-3);
}

// Energy of frames [from, to) of both channels.
double energy(const Stereo& s, int from, int to) {
    double sum = 0.0;
    for (int i = from; i < to; ++i)
        sum += double(s.left[i]) * s.left[i] + double(s.right[i]) * s.right[i];
    return sum;
}

TEST(ReverbEngine, SizeDuringSoundSilencesTheTankAtOnceOtherSettingsKeepTheTail) {
    const struct {
        EngineParam param;
        float value;
        bool silences;
    } cases[] = {
        {EngineParam::Size, 0.5f, true},           {EngineParam::Decay, 0.3f, false},
        {EngineParam::BandwidthFreq, 0.3f, false}, {EngineParam::PreDelay, 0.4f, false},
        {EngineParam::Gain, 0.5f, false},          {EngineParam::DampingFreq, 0.5f, false},
        {EngineParam::Density, 0.9f, false},       {EngineParam::EarlyMix, 0.9f, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.param));
        auto e = dsptest::makeEffectUnit(44100.0f, 0.9f);
        // Sound, then 0.5 s of silence: the input side is empty, the tank rings.
        dsptest::render(*e, dsptest::burst(44100, 22050), 512);
        e->setParameter(c.param, c.value);
        // The tank's outputs are its taps: after a clear they stay silent
        // until new input has travelled to the nearest of them.
        const Stereo after = dsptest::render(*e, Stereo(200), 200);
        const double tail = energy(after, 0, 200);
        if (c.silences)
            EXPECT_LT(tail, 1e-30);
        else
            EXPECT_GT(tail, 1e-4);
    }
}

TEST(ReverbEngine, SilenceAfterSoundSettlesOnATinyResidueWithoutDenormals) {
    auto e = dsptest::makeEffectUnit(44100.0f, 0.5f);
    dsptest::render(*e, dsptest::burst(4410, 4410), 512);
    OnePoleHighPass highPass;
    highPass.setSampleRate(44100.0f);
    highPass.setCutoff(0.3f);
    const Stereo silence(512);
    bool denormal = false;
    float largestLate = 0.0f;
    const int blocks = 44100 * 20 / 512;
    for (int block = 0; block < blocks; ++block) {
        const Stereo out = dsptest::render(*e, silence, 512);
        for (int i = 0; i < 512; ++i) {
            for (float v : {out.left[i], out.right[i]}) {
                denormal |= std::fpclassify(v) == FP_SUBNORMAL;
                if (block >= blocks - 86) {  // the last second
                    largestLate = std::max(largestLate, std::fabs(v));
                    EXPECT_NE(v, 0.0f);
                }
            }
            highPass.step(out.left[i]);
            const float s = highPass.getState();
            denormal |= s != 0.0f && !std::isnormal(s);
        }
    }
    EXPECT_FALSE(denormal);
    EXPECT_LT(largestLate, 1e-20f);
}

TEST(ReverbEngine, ZeroOrNegativeFrameCountsChangeNothing) {
    const Stereo in = dsptest::burst(3000, 1000);
    auto a = dsptest::makeEffectUnit(44100.0f);
    auto b = dsptest::makeEffectUnit(44100.0f);
    dsptest::render(*a, in, 300);
    dsptest::render(*b, in, 300);
    float sentinel[2][4] = {{9, 9, 9, 9}, {9, 9, 9, 9}};
    const float* ins[2] = {in.left.data(), in.right.data()};
    float* outs[2] = {sentinel[0], sentinel[1]};
    a->process(ins, outs, 0);
    a->process(ins, outs, -5);
    a->process(ins, outs, std::numeric_limits<int>::min());
    for (auto& ch : sentinel)
        for (float v : ch) EXPECT_EQ(v, 9.0f);
    const Stereo outA = dsptest::render(*a, in, 300);
    const Stereo outB = dsptest::render(*b, in, 300);
    EXPECT_EQ(dsptest::firstDifference(outA.left, outB.left), -1);
}

TEST(ReverbEngine, NonFiniteSettingsAreIgnored) {
    const Stereo in = dsptest::burst(3000, 1000);
    auto a = dsptest::makeEffectUnit(44100.0f);
    auto b = dsptest::makeEffectUnit(44100.0f);
    const float inf = std::numeric_limits<float>::infinity();
    for (int p = 0; p < kEngineParamCount; ++p)
        for (float bad : {std::nanf(""), inf, -inf}) a->setParameter(EngineParam(p), bad);
    a->setParameter(EngineParam(42), 0.3f);  // not a setting
    const Stereo outA = dsptest::render(*a, in, 256);
    const Stereo outB = dsptest::render(*b, in, 256);
    EXPECT_EQ(dsptest::firstDifference(outA.left, outB.left), -1);
    EXPECT_EQ(dsptest::firstDifference(outA.right, outB.right), -1);
}

// Every index of every line stays below its length and inside its buffer.
void expectIndicesInside(const ReverbEngine& e) {
    auto check = [](const auto& line, const char* name) {
        EXPECT_LE(line.length, kLineCapacity) << name;
        for (int idx : line.index) {
            EXPECT_GE(idx, 0) << name;
            EXPECT_LT(idx, line.length > 0 ? line.length : 1) << name;
        }
    };
    check(e.*P::earlyLine1, "earlyLine1");
    check(e.*P::earlyLine2, "earlyLine2");
    check(e.*P::tankAllpass1, "tankAllpass1");
    check(e.*P::tankAllpass2, "tankAllpass2");
    check(e.*P::tankAllpass3, "tankAllpass3");
    check(e.*P::tankAllpass4, "tankAllpass4");
    check(e.*P::tankDelay1, "tankDelay1");
    check(e.*P::tankDelay2, "tankDelay2");
    check(e.*P::tankDelay3, "tankDelay3");
    check(e.*P::tankDelay4, "tankDelay4");
    EXPECT_LT((e.*P::preDelayLine).writeIndex, kLineCapacity);
}

TEST(ReverbEngine, BadSampleRatesNeverBreakTheUnit) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float rate;
        float expected;  // the rate the unit runs at afterwards
    } cases[] = {
        {0.0f, 44100.0f},      {-48000.0f, 44100.0f}, {std::nanf(""), 44100.0f},
        {-inf, 44100.0f},      {0.5f, 44100.0f},      {1.0f, 1.0f},
        {8000.0f, 8000.0f},    {22050.0f, 22050.0f},  {32000.0f, 32000.0f},
        {700000.0f, 700000.0f}, {2e6f, 2e6f},         {1e7f, 1e7f},
        {1e9f, 1e8f},          {inf, 1e8f},           {std::numeric_limits<float>::max(), 1e8f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        auto e = dsptest::makeEffectUnit(44100.0f, 1.0f, 1.0f, 1.0f);
        e->setSampleRate(c.rate);
        e->reset();
        e->setParameter(EngineParam::Size, 1.0f);  // the largest tank
        EXPECT_EQ(e->getSampleRate(), c.expected);
        const Stereo out = dsptest::render(*e, dsptest::burst(30000, 10000), 1024);
        bool finite = true;
        float peak = 0.0f;
        for (int i = 0; i < out.frames(); ++i) {
            finite &= std::isfinite(out.left[i]) && std::isfinite(out.right[i]);
            peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
        }
        EXPECT_TRUE(finite);
        EXPECT_LT(peak, 10.0f);
        expectIndicesInside(*e);
    }
}

TEST(ReverbEngine, ALineWhoseIndexIsBeyondItsLengthStartsOver) {
    // What a Size change from another thread in the middle of a block can
    // leave behind: the block writes back indices of the old, longer tank.
    auto e = dsptest::makeEffectUnit(44100.0f, 1.0f);
    dsptest::render(*e, dsptest::burst(8000, 8000), 512);
    for (auto line : {P::tankDelay1, P::tankDelay2, P::tankDelay3, P::tankDelay4}) {
        TappedDelay& d = *e.*line;
        d.length = 10;
        d.index[0] = 5000;
    }
    (*e.*P::tankAllpass2).length = 3;
    (*e.*P::tankAllpass2).index[0] = 90000;
    const Stereo out = dsptest::render(*e, dsptest::burst(4000, 4000), 512);
    for (float v : out.left) ASSERT_TRUE(std::isfinite(v));
    expectIndicesInside(*e);
}

}  // namespace
