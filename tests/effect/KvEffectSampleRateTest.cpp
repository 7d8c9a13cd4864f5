// Sample rate, suspend and the re-application of parameters, for the edition
// this file is compiled for (TOVRA_EDITION_VESK or TOVRA_EDITION_BRIN).
//
// Every parameter change the effect makes goes through its own setParameter,
// which is also what mirrors it into the editor: counting the calls of an
// effect derived from KvEffect counts what an open editor would receive.
#include "effect/KvEffect.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace {

class CountingEffect : public KvEffect {
public:
    CountingEffect() : KvEffect(nullptr) {}
    void setParameter(VstInt32 index, float value) override {
        calls.push_back(index);
        KvEffect::setParameter(index, value);
    }
    std::vector<VstInt32> calls;
};

#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK
const std::vector<VstInt32> kDecays = {2, 7};
#else
const std::vector<VstInt32> kDecays = {1};
#endif

TEST(KvEffectSampleRate, ANewRateReappliesEveryParameter) {
    auto fx = std::make_unique<CountingEffect>();
    fx->setSampleRate(44100.0f);
    EXPECT_TRUE(fx->calls.empty()) << "the current rate changes nothing";

    const float bad[] = {0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity()};
    for (float rate : bad) {
        fx->setSampleRate(rate);
        EXPECT_EQ(fx->getSampleRate(), 44100.0f) << rate;
    }
    EXPECT_TRUE(fx->calls.empty());

    fx->setSampleRate(48000.0f);
    EXPECT_EQ(fx->getSampleRate(), 48000.0f);
    std::vector<VstInt32> expected = kDecays;  // resetEngines: each unit's Decay
    for (VstInt32 i = 0; i < edition::kNumParameters; ++i) expected.push_back(i);
    EXPECT_EQ(fx->calls, expected);

    fx->calls.clear();
    fx->suspend();
    EXPECT_EQ(fx->calls, kDecays);
}

// The derived settings follow the rate: an effect that went through other
// rates sounds exactly like one that started at the final rate.
TEST(KvEffectSampleRate, DerivedSettingsFollowTheRate) {
    auto travelled = std::make_unique<CountingEffect>();
    auto direct = std::make_unique<CountingEffect>();
    for (VstInt32 i = 0; i < edition::kNumParameters; ++i)
        travelled->setParameter(i, static_cast<float>(i % 5 + 1) / 6.0f);
    travelled->setSampleRate(96000.0f);
    travelled->setSampleRate(22050.0f);
    travelled->setSampleRate(48000.0f);

    direct->setSampleRate(48000.0f);
    for (VstInt32 i = 0; i < edition::kNumParameters; ++i)
        direct->setParameter(i, static_cast<float>(i % 5 + 1) / 6.0f);

    const Stereo input = testSignal(40000);
    EXPECT_TRUE(render(*travelled, input, 480) == render(*direct, input, 480));
}

}  // namespace
