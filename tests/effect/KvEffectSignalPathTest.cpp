// The effect's signal path in both editions: mix and pan laws, the "Stereo"
// split, unit 2 on and off, in-place processing, long blocks, odd block
// counts, bad input samples and bad parameter values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace {

constexpr size_t kFrames = 24000;

// Vesk indices.
constexpr int kFirstLevel = 0, kHighPass1 = 4, kSecondLevel = 5, kPan1 = 10, kPan2 = 11,
              kStereo = 12, kVeskMix = 13;

Stereo renderWith(const EditionCase& ed, std::initializer_list<std::pair<int, float>> settings,
                  const Stereo& input, int block = 512) {
    EffectPtr fx = makeEffect(ed);
    for (auto& s : settings) fx->setParameter(s.first, s.second);
    return render(*fx, input, block);
}

// Sample-by-sample numeric equality (so that -0 equals +0).
::testing::AssertionResult sameNumbers(const Stereo& a, const Stereo& b) {
    if (a.size() != b.size()) return ::testing::AssertionFailure() << "sizes differ";
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a.left[i] == b.left[i]) || !(a.right[i] == b.right[i]))
            return ::testing::AssertionFailure()
                   << "first difference at sample " << i << ": (" << a.left[i] << ", "
                   << a.right[i] << ") vs (" << b.left[i] << ", " << b.right[i] << ")";
    return ::testing::AssertionSuccess();
}

Stereo map(const Stereo& wet, const Stereo& dry, float wetScale, float dryScale) {
    Stereo s = wet;
    for (size_t i = 0; i < s.size(); ++i) {
        s.left[i] = wet.left[i] * wetScale + dry.left[i] * dryScale;
        s.right[i] = wet.right[i] * wetScale + dry.right[i] * dryScale;
    }
    return s;
}

// The mix law, checked exactly with one unit running: Mix 0 is the dry
// input, 1 the units alone, 0.5 both at full level; 0.25 halves the units,
// 0.75 halves the dry part.
TEST(KvEffectSignalPath, MixLaw) {
    const Stereo input = testSignal(kFrames);
    for (const EditionCase& ed : kEditions) {
        SCOPED_TRACE(ed.label);
        auto with = [&](float mix) {
            if (ed.numParams == 14) return renderWith(ed, {{kSecondLevel, 0.0f}, {ed.mix, mix}}, input);
            return renderWith(ed, {{ed.mix, mix}}, input);
        };
        const Stereo wet = with(1.0f);
        EXPECT_TRUE(sameNumbers(with(0.0f), input));
        EXPECT_TRUE(sameNumbers(with(0.5f), map(wet, input, 1.0f, 1.0f)));
        EXPECT_TRUE(sameNumbers(with(0.25f), map(wet, input, 0.5f, 1.0f)));
        EXPECT_TRUE(sameNumbers(with(0.75f), map(wet, input, 1.0f, 0.5f)));
    }
}

// Vesk at start-up: the full dry input plus half of each unit on each side;
// each unit alone is what the sum holds of it.
TEST(KvEffectSignalPath, VeskSumsBothUnitsAndTheDryPartOnce) {
    const Stereo input = testSignal(kFrames);
    const Stereo both = renderWith(kVesk, {}, input);
    const Stereo unit1 = renderWith(kVesk, {{kSecondLevel, 0.0f}, {kVeskMix, 1.0f}}, input);
    const Stereo unit2 = renderWith(kVesk, {{kFirstLevel, 0.0f}, {kVeskMix, 1.0f}}, input);
    double worst = 0.0;
    for (size_t i = 0; i < kFrames; ++i) {
        worst = std::max(worst, std::fabs(static_cast<double>(both.left[i]) - unit1.left[i] -
                                          unit2.left[i] - input.left[i]));
        worst = std::max(worst, std::fabs(static_cast<double>(both.right[i]) - unit1.right[i] -
                                          unit2.right[i] - input.right[i]));
    }
    EXPECT_LT(worst, 1e-6);
}

// Linear balance: 0 keeps only the unit's channel 1, on the left; 1 only its
// channel 2, on the right; the centre gives half of each.
TEST(KvEffectSignalPath, PanLaw) {
    const Stereo input = testSignal(kFrames);
    for (int pan : {kPan1, kPan2}) {
        SCOPED_TRACE(pan == kPan1 ? "Pan 1" : "Pan 2");
        const int other = pan == kPan1 ? kSecondLevel : kFirstLevel;
        auto with = [&](float v) {
            return renderWith(kVesk, {{other, 0.0f}, {kVeskMix, 1.0f}, {pan, v}}, input);
        };
        const Stereo centre = with(0.5f), hardLeft = with(0.0f), hardRight = with(1.0f);
        double heard = 0.0;
        for (size_t i = 0; i < kFrames; ++i) {
            ASSERT_EQ(hardLeft.right[i], 0.0f) << i;
            ASSERT_EQ(hardRight.left[i], 0.0f) << i;
            ASSERT_EQ(centre.left[i], 0.5f * hardLeft.left[i]) << i;
            ASSERT_EQ(centre.right[i], 0.5f * hardRight.right[i]) << i;
            heard += std::fabs(hardLeft.left[i]) + std::fabs(hardRight.right[i]);
        }
        EXPECT_GT(heard, 1.0);
    }
}

// "Stereo": unit 1 hears the left input alone, unit 2 the right one. A unit
// that hears a silent channel sounds exactly like one fed silence.
TEST(KvEffectSignalPath, StereoSplitFeedsEachUnitOneSide) {
    const Stereo input = testSignal(kFrames);
    Stereo leftOnly = input, rightOnly = input;
    std::fill(leftOnly.right.begin(), leftOnly.right.end(), 0.0f);
    std::fill(rightOnly.left.begin(), rightOnly.left.end(), 0.0f);
    const Stereo silent = silence(kFrames);

    struct Case {
        const char* label;
        int silencedUnit;  // level parameter set to 0
        const Stereo& deafInput;
        const Stereo& hearingInput;
    } cases[] = {
        {"unit 1 ignores the right input", kSecondLevel, rightOnly, leftOnly},
        {"unit 2 ignores the left input", kFirstLevel, leftOnly, rightOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto with = [&](float stereo, const Stereo& in) {
            return renderWith(kVesk, {{c.silencedUnit, 0.0f}, {kVeskMix, 1.0f}, {kStereo, stereo}},
                              in);
        };
        const Stereo quiet = with(1.0f, silent);
        EXPECT_TRUE(with(1.0f, c.deafInput) == quiet);
        EXPECT_FALSE(with(1.0f, c.hearingInput) == quiet);
        // Without the split both inputs reach the unit.
        EXPECT_FALSE(with(0.0f, c.deafInput) == with(0.0f, silent));
    }
    // With the split and unit 2 stopped the right input reaches the output
    // only through the dry part.
    const Stereo dryRight = renderWith(kVesk, {{kSecondLevel, 0.0f}, {kStereo, 1.0f}}, rightOnly);
    const Stereo quietDry = renderWith(kVesk, {{kSecondLevel, 0.0f}, {kStereo, 1.0f}}, silent);
    EXPECT_TRUE(sameNumbers(dryRight, map(quietDry, rightOnly, 1.0f, 1.0f)));
    // The switch turns on just above 0.001.
    EXPECT_TRUE(renderWith(kVesk, {{kStereo, 0.001f}}, input) == renderWith(kVesk, {}, input));
    EXPECT_FALSE(renderWith(kVesk, {{kStereo, 0.0011f}}, input) == renderWith(kVesk, {}, input));
}

// Stopping unit 2 freezes its tail; running it again continues that tail.
TEST(KvEffectSignalPath, UnitTwoStopsAndContinuesItsTail) {
    const Stereo a = testSignal(9000, 1), b = testSignal(9000, 2), c = silence(20000);
    auto run = [&](bool stopDuringB, bool skipB) {
        EffectPtr fx = makeEffect(kVesk);
        fx->setParameter(kFirstLevel, 0.0f);  // only unit 2 is heard
        fx->setParameter(kVeskMix, 1.0f);
        render(*fx, a, 512);
        if (!skipB) {
            if (stopDuringB) fx->setParameter(kSecondLevel, 0.0f);
            render(*fx, b, 512);
            fx->setParameter(kSecondLevel, 1.0f);
        }
        return render(*fx, c, 512);
    };
    const Stereo frozen = run(true, false);
    EXPECT_TRUE(frozen == run(false, true));  // as if b had never come
    EXPECT_FALSE(frozen == run(false, false));
    double energy = 0.0;
    for (float v : frozen.left) energy += static_cast<double>(v) * v;
    EXPECT_GT(energy, 1e-3);  // the old tail, not silence

    // 0.00001 stops the unit, a little more runs it.
    const Stereo input = testSignal(kFrames);
    EXPECT_TRUE(sameNumbers(renderWith(kVesk, {{kSecondLevel, 1e-5f}}, input),
                            renderWith(kVesk, {{kSecondLevel, 0.0f}}, input)));
    EXPECT_FALSE(sameNumbers(renderWith(kVesk, {{kSecondLevel, 2e-5f}}, input),
                             renderWith(kVesk, {{kSecondLevel, 0.0f}}, input)));
}

TEST(KvEffectSignalPath, HighPassRunsAboveItsThreshold) {
    const Stereo input = testSignal(kFrames);
    for (const EditionCase& ed : kEditions) {
        SCOPED_TRACE(ed.label);
        const int highPass = ed.numParams == 14 ? kHighPass1 : 3;
        const Stereo off = renderWith(ed, {}, input);
        EXPECT_TRUE(renderWith(ed, {{highPass, 1e-5f}}, input) == off);
        EXPECT_TRUE(renderWith(ed, {{highPass, -1.0f}}, input) == off);
        EXPECT_FALSE(renderWith(ed, {{highPass, 2e-5f}}, input) == off);
        // Disabled again, the filters are bypassed again.
        EXPECT_TRUE(renderWith(ed, {{highPass, 0.8f}, {highPass, 0.0f}}, input) == off);
    }
}

TEST(KvEffectSignalPath, InPlaceEqualsSeparateBuffers) {
    const Stereo input = testSignal(kFrames);
    const struct {
        const EditionCase& ed;
        std::vector<std::pair<int, float>> settings;
        const char* label;
    } cases[] = {
        {kVesk, {}, "Vesk defaults"},
        {kVesk, {{kStereo, 1.0f}}, "Vesk stereo"},
        {kVesk, {{kSecondLevel, 0.0f}}, "Vesk unit 2 off"},
        {kVesk, {{kSecondLevel, 0.0f}, {kStereo, 1.0f}, {kHighPass1, 0.5f}}, "Vesk split, one unit"},
        {kBrin, {}, "Brin defaults"},
        {kBrin, {{3, 0.5f}}, "Brin high-pass"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EffectPtr separate = makeEffect(c.ed), inPlace = makeEffect(c.ed);
        for (auto& s : c.settings) {
            separate->setParameter(s.first, s.second);
            inPlace->setParameter(s.first, s.second);
        }
        EXPECT_TRUE(render(*separate, input, 512, false) == render(*inPlace, input, 512, true));
    }
}

// A block longer than the internal buffers sounds exactly like the same audio
// in blocks of 2048 frames.
TEST(KvEffectSignalPath, LongBlocksEqualBlocksOf2048) {
    const Stereo input = testSignal(100000);
    for (const EditionCase& ed : kEditions) {
        SCOPED_TRACE(ed.label);
        EffectPtr whole = makeEffect(ed), sliced = makeEffect(ed), inPlace = makeEffect(ed);
        const Stereo expected = render(*sliced, input, 2048);
        EXPECT_TRUE(render(*whole, input, 100000) == expected);
        EXPECT_TRUE(render(*inPlace, input, 100000, true) == expected);
    }
}

TEST(KvEffectSignalPath, NoFramesWriteNothing) {
    for (const EditionCase& ed : kEditions) {
        SCOPED_TRACE(ed.label);
        EffectPtr fx = makeEffect(ed), fresh = makeEffect(ed);
        float in[2][4] = {{1, 1, 1, 1}, {1, 1, 1, 1}};
        float out[2][4] = {{7, 7, 7, 7}, {7, 7, 7, 7}};
        float* ins[2] = {in[0], in[1]};
        float* outs[2] = {out[0], out[1]};
        for (VstInt32 frames : {0, -1, -100000}) fx->processReplacing(ins, outs, frames);
        for (auto& channel : out)
            for (float v : channel) EXPECT_EQ(v, 7.0f);
        // ... and leave no trace in the state.
        const Stereo input = testSignal(5000);
        EXPECT_TRUE(render(*fx, input, 512) == render(*fresh, input, 512));
    }
}

// NaN, infinity or absurdly large input samples never reach the units: the
// sound is that of silence in their place, except that the dry part passes
// the sample itself; the reverberation is not poisoned, before or after a
// suspend.
TEST(KvEffectSignalPath, BadInputSamplesDoNotPoisonTheReverb) {
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), 3e38f, -1e20f};
    for (const EditionCase& ed : kEditions) {
        for (float b : bad) {
            SCOPED_TRACE(std::string(ed.label) + " sample " + std::to_string(b));
            Stereo poisoned = testSignal(kFrames), cleaned = testSignal(kFrames);
            const size_t at[] = {100, 3333, 3334, 10000};
            for (size_t i : at) {
                poisoned.left[i] = b;
                poisoned.right[i + 1] = b;
                cleaned.left[i] = 0.0f;
                cleaned.right[i + 1] = 0.0f;
            }
            EffectPtr fx = makeEffect(ed);
            const Stereo heard = render(*fx, poisoned, 512);
            const Stereo expected = renderWith(ed, {}, cleaned);
            for (size_t i = 0; i < kFrames; ++i) {
                const bool badLeft = i == 100 || i == 3333 || i == 3334 || i == 10000;
                const bool badRight = i == 101 || i == 3334 || i == 3335 || i == 10001;
                if (!badLeft) {
                    ASSERT_EQ(heard.left[i], expected.left[i]) << i;
                }
                if (!badRight) {
                    ASSERT_EQ(heard.right[i], expected.right[i]) << i;
                }
            }
            fx->suspend();
            EXPECT_TRUE(allFinite(render(*fx, testSignal(kFrames), 512)));
        }
    }
}

// Values outside 0..1 (a faulty host) never make the output NaN or
// infinite; a Decay too large to stay stable acts as the largest stable one.
TEST(KvEffectSignalPath, OutOfRangeValuesKeepTheOutputFinite) {
    const float values[] = {-1.0f,
                            2.0f,
                            50.0f,
                            -1e30f,
                            1e30f,
                            std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity()};
    const Stereo input = testSignal(30000);
    for (const EditionCase& ed : kEditions) {
        for (int i = 0; i < ed.numParams; ++i) {
            for (float v : values) {
                SCOPED_TRACE(std::string(ed.label) + " parameter " + std::to_string(i) + " = " +
                             std::to_string(v));
                EffectPtr fx = makeEffect(ed);
                fx->setParameter(i, v);
                const Stereo out = render(*fx, input, 512);
                ASSERT_TRUE(allFinite(out));
                ASSERT_TRUE(allFinite(render(*fx, silence(44100), 4096)));
            }
        }
        SCOPED_TRACE(ed.label);
        const Stereo limited = renderWith(ed, {{ed.decay, 1.24f}}, input);
        EXPECT_TRUE(renderWith(ed, {{ed.decay, 3.0f}}, input) == limited);
        EXPECT_FALSE(renderWith(ed, {{ed.decay, 1.0f}}, input) == limited);
    }
}

}  // namespace
