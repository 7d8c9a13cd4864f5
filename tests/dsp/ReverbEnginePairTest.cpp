// Two units through ReverbEngine::processPair give the same bits as the same
// two units through process, one after the other.
//
// Each case drives two pairs of identically set-up units with the same
// script of blocks: one pair through processPair, the other through two
// process calls. The script changes settings of either unit between blocks
// (Size too, which clears a tank), now and then stops the second unit for a
// while as the effect does when its level is turned down (only the first
// unit runs), resets, and varies the block size from 1 frame to more than
// the effect ever hands a unit. The buffers are laid out as the effect lays
// them out: the first unit writes scratch buffers, the second writes in
// place over the inputs the first reads; with "Stereo" each unit hears one
// input channel on both of its inputs.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "dsp/ReverbEngine.h"
#include "tests/dsp/DspTestSupport.h"

namespace {

using dsptest::Stereo;

// A reproducible sequence of decisions.
class Script {
public:
    explicit Script(std::uint32_t seed) : noise(seed) {}
    float unit() { return noise.next() + 0.5f; }  // 0..1
    int below(int n) { return static_cast<int>(unit() * n) % n; }

private:
    dsptest::Noise noise;
};

struct PairCase {
    const char* name;
    float rate;
    std::uint32_t seed;
    bool split;        // "Stereo": unit 1 hears the left input, unit 2 the right
    bool effectLike;   // only the settings the effect changes (earlyMix 1 and so on)
    bool wild;         // now and then samples near the float range's end
    int maxBlock;
};

void PrintTo(const PairCase& c, std::ostream* os) { *os << c.name; }

// Two units set up as the effect sets its two units up, then moved apart.
struct UnitPair {
    std::unique_ptr<ReverbEngine> first, second;
    UnitPair(float rate, float preDelay1, float preDelay2)
        : first(dsptest::makeEffectUnit(rate, 0.5f, 1.0f, preDelay1)),
          second(dsptest::makeEffectUnit(rate, 0.7f, 0.6f, preDelay2, 0.8f)) {}
    ReverbEngine& unit(int k) { return k == 0 ? *first : *second; }
};

class ReverbEnginePair : public ::testing::TestWithParam<PairCase> {};

TEST_P(ReverbEnginePair, SameBitsAsTwoSeparateBlocks) {
    const PairCase& c = GetParam();
    // Pre-delay 0 is the effect's default; the second unit's is long.
    UnitPair paired(c.rate, 0.0f, 0.3f), single(c.rate, 0.0f, 0.3f);
    Script script(c.seed);
    dsptest::Noise signal(c.seed * 31u + 5u);

    const int capacity = c.maxBlock;
    // Host buffers (in place: the second unit's outputs), the first unit's
    // scratch outputs, for each side.
    Stereo hostPaired(capacity), hostSingle(capacity), scratchPaired(capacity),
        scratchSingle(capacity);
    bool secondRuns = true;
    long long done = 0;

    for (int block = 0; block < 400; ++block) {
        // Settings between blocks, the same on both sides.
        if (script.below(3) == 0) {
            const int k = script.below(2);
            int p = c.effectLike ? 2 + script.below(5) : script.below(kEngineParamCount);
            float v = script.unit();
            if (!c.effectLike && script.below(10) == 0) v = v * 3.0f - 1.0f;
            if (script.below(12) == 0) {
                p = static_cast<int>(EngineParam::PreDelay);
                v = 0.0f;
            }
            paired.unit(k).setParameter(EngineParam(p), v);
            single.unit(k).setParameter(EngineParam(p), v);
        }
        if (script.below(60) == 0) {
            const int k = script.below(2);
            paired.unit(k).reset();
            single.unit(k).reset();
        }
        if (script.below(25) == 0) secondRuns = !secondRuns;

        int frames;
        switch (script.below(6)) {
            case 0: frames = 1 + script.below(7); break;
            case 1: frames = capacity < 512 ? capacity : 512; break;
            default: frames = 1 + script.below(capacity); break;
        }
        const bool silent = script.below(4) == 0;
        for (int i = 0; i < frames; ++i) {
            hostPaired.left[i] = silent ? 0.0f : signal.next();
            hostPaired.right[i] = silent ? 0.0f : signal.next();
        }
        bool wildBlock = false;
        if (c.wild && script.below(8) == 0) {
            const float w = script.below(2) == 0 ? 3e38f : -1e37f;
            hostPaired.left[script.below(frames)] = w;
            wildBlock = true;
        }
        hostSingle.left = hostPaired.left;
        hostSingle.right = hostPaired.right;

        auto inputs = [&c](Stereo& host, int unit, const float* (&in)[2]) {
            const float* l = host.left.data();
            const float* r = host.right.data();
            if (!c.split) {
                in[0] = l;
                in[1] = r;
            } else {
                in[0] = in[1] = unit == 0 ? l : r;
            }
        };
        const float* in1[2];
        const float* in2[2];

        // Paired side: one call, or the first unit alone while the second
        // is stopped.
        inputs(hostPaired, 0, in1);
        inputs(hostPaired, 1, in2);
        float* scratchP[2] = {scratchPaired.left.data(), scratchPaired.right.data()};
        float* hostP[2] = {hostPaired.left.data(), hostPaired.right.data()};
        if (secondRuns)
            ReverbEngine::processPair(*paired.first, in1, scratchP, *paired.second, in2, hostP,
                                      frames);
        else
            paired.first->process(in1, scratchP, frames);

        // Separate side: the first unit, then the second.
        inputs(hostSingle, 0, in1);
        inputs(hostSingle, 1, in2);
        float* scratchS[2] = {scratchSingle.left.data(), scratchSingle.right.data()};
        float* hostS[2] = {hostSingle.left.data(), hostSingle.right.data()};
        single.first->process(in1, scratchS, frames);
        if (secondRuns) single.second->process(in2, hostS, frames);

        for (int i = 0; i < frames; ++i) {
            if (!dsptest::sameBits(scratchPaired.left[i], scratchSingle.left[i]) ||
                !dsptest::sameBits(scratchPaired.right[i], scratchSingle.right[i]))
                FAIL() << c.name << ": first unit differs at sample " << done + i << " (block "
                       << block << ", " << frames << " frames)";
            if (!dsptest::sameBits(hostPaired.left[i], hostSingle.left[i]) ||
                !dsptest::sameBits(hostPaired.right[i], hostSingle.right[i]))
                FAIL() << c.name << ": second unit differs at sample " << done + i << " (block "
                       << block << ", " << frames << " frames)";
        }
        if (wildBlock) {
            // Overflowed tanks stay NaN until a reset; start both sides over.
            for (int k = 0; k < 2; ++k) {
                paired.unit(k).reset();
                single.unit(k).reset();
            }
        }
        done += frames;
    }
}

const PairCase kPairCases[] = {
    {"44.1 kHz, effect settings", 44100.0f, 1, false, true, false, 2048},
    {"48 kHz, Stereo", 48000.0f, 2, true, true, false, 2048},
    {"96 kHz, every setting", 96000.0f, 3, false, false, false, 4096},
    {"22.05 kHz, every setting, Stereo", 22050.0f, 4, true, false, false, 700},
    {"44.1 kHz, near the float range's end", 44100.0f, 5, false, true, true, 2048},
    {"2 kHz, lines shorter than most blocks", 2000.0f, 6, false, false, false, 2048},
    {"200 Hz, lines of a few samples", 200.0f, 7, true, false, false, 300},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReverbEnginePair, ::testing::ValuesIn(kPairCases),
                         [](const ::testing::TestParamInfo<PairCase>& info) {
                             return "Case" + std::to_string(info.index);
                         });

// The same unit named twice runs its two blocks one after the other, and
// calls without frames change nothing.
TEST(ReverbEnginePairEdges, SameUnitTwiceAndEmptyBlocks) {
    auto paired = dsptest::makeEffectUnit(44100.0f, 0.6f);
    auto single = dsptest::makeEffectUnit(44100.0f, 0.6f);
    const Stereo in = dsptest::burst(3000, 1000);
    Stereo a(1500), b(1500), c(1500), d(1500);
    const float* first[2] = {in.left.data(), in.right.data()};
    const float* second[2] = {in.left.data() + 1500, in.right.data() + 1500};
    float* outA[2] = {a.left.data(), a.right.data()};
    float* outB[2] = {b.left.data(), b.right.data()};
    float* outC[2] = {c.left.data(), c.right.data()};
    float* outD[2] = {d.left.data(), d.right.data()};

    for (int frames : {0, -1, -4096})
        ReverbEngine::processPair(*paired, first, outA, *paired, second, outB, frames);
    ReverbEngine::processPair(*paired, first, outA, *paired, second, outB, 1500);
    single->process(first, outC, 1500);
    single->process(second, outD, 1500);
    EXPECT_EQ(dsptest::firstDifference(a.left, c.left), -1);
    EXPECT_EQ(dsptest::firstDifference(a.right, c.right), -1);
    EXPECT_EQ(dsptest::firstDifference(b.left, d.left), -1);
    EXPECT_EQ(dsptest::firstDifference(b.right, d.right), -1);
}

}  // namespace
