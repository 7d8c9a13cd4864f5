// Exact output of the reverb unit.
//
// The golden hashes pin the unit's output bit for bit. Both builds (native
// x86_64 and the Windows i686 one under wine) must produce the same hashes;
// a difference means some arithmetic is not deterministic across builds.
// Re-blessing after an intended change of the sound: run the test, listen to
// a render of the changed unit, and copy the reported hashes into the table
// (the diff of the table is the review).
//
// The reference comparison runs the unit's plain per-sample loop next to the
// optimised one over many settings, block sizes and sample rates, and
// reports the first sample where they part.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <limits>

#include "tests/dsp/DspTestSupport.h"
#include "tests/dsp/ReverbEngineProbe.h"

namespace {

using dsptest::Stereo;

struct GoldenCase {
    const char* name;
    float rate;
    int block;
    std::uint64_t hash;
};

// Renders 1.5 s: noise for 0.5 s with a level step, then silence; halfway
// the Decay knob moves (a new size clears the tank) and the pre-delay and
// low-pass move; the "general" case also exercises the early reflections,
// density, damping, mix and gain that the effect keeps fixed.
std::uint64_t renderGolden(const GoldenCase& c, bool general) {
    auto e = dsptest::makeEffectUnit(c.rate, 0.5f, 1.0f, 0.1f);
    if (general) {
        e->setParameter(EngineParam::Density, 0.7f);
        e->setParameter(EngineParam::EarlyMix, 0.4f);
        e->setParameter(EngineParam::DampingFreq, 0.3f);
        e->setParameter(EngineParam::Mix, 0.6f);
        e->setParameter(EngineParam::Gain, 0.8f);
    }
    const int frames = static_cast<int>(c.rate * 1.5f);
    Stereo in = dsptest::burst(frames, frames / 3, 12345);
    for (int i = 0; i < frames / 6; ++i) {
        in.left[i] *= 0.25f;
        in.right[i] *= 0.25f;
    }
    Stereo out(frames);
    dsptest::Fnv1a hash;
    bool changed = false;
    for (int pos = 0; pos < frames; pos += c.block) {
        if (!changed && pos >= frames / 2) {
            changed = true;
            e->setParameter(EngineParam::Size, (0.8f + 0.37f) * 0.729f);
            e->setParameter(EngineParam::Decay, 0.8f);
            e->setParameter(EngineParam::PreDelay, 0.02f);
            e->setParameter(EngineParam::BandwidthFreq, (0.4f + 0.06f) * 0.94f);
        }
        const int n = frames - pos < c.block ? frames - pos : c.block;
        const float* ins[2] = {in.left.data() + pos, in.right.data() + pos};
        float* outs[2] = {out.left.data() + pos, out.right.data() + pos};
        e->process(ins, outs, n);
    }
    hash.add(out.left.data(), frames);
    hash.add(out.right.data(), frames);
    return hash.value();
}

TEST(ReverbEngineGolden, EffectSettings) {
    const GoldenCase cases[] = {
        {"44.1 kHz, blocks of 512", 44100.0f, 512, 0x8216eafbacad5722ull},
        {"96 kHz, blocks of 333", 96000.0f, 333, 0x52e38b6dd185c9c7ull},
        {"22.05 kHz, blocks of 64", 22050.0f, 64, 0xc902d34f2a08305full},
    };
    for (const GoldenCase& c : cases) {
        const std::uint64_t h = renderGolden(c, false);
        EXPECT_EQ(h, c.hash) << c.name << ": got 0x" << std::hex << h << "ull";
    }
}

TEST(ReverbEngineGolden, GeneralSettings) {
    const GoldenCase cases[] = {
        {"48 kHz, blocks of 1000", 48000.0f, 1000, 0x83f2e2e74bbab802ull},
        {"44.1 kHz, blocks of 7", 44100.0f, 7, 0xa226b224738e200eull},
    };
    for (const GoldenCase& c : cases) {
        const std::uint64_t h = renderGolden(c, true);
        EXPECT_EQ(h, c.hash) << c.name << ": got 0x" << std::hex << h << "ull";
    }
}

// A reproducible sequence of setting changes and block sizes.
class Script {
public:
    explicit Script(std::uint32_t seed) : noise(seed) {}
    float unit() { return noise.next() + 0.5f; }  // 0..1
    int below(int n) { return static_cast<int>(unit() * n) % n; }

private:
    dsptest::Noise noise;
};

TEST(ReverbEngineGolden, OptimisedProcessingMatchesThePlainLoop) {
    const struct {
        float rate;
        std::uint32_t seed;
        bool effectLike;  // density 1 and earlyMix 1 all the way
        bool wild;        // now and then huge, infinite or NaN input
    } cases[] = {
        {44100.0f, 1, true, false},   {48000.0f, 2, true, false},  {96000.0f, 3, true, false},
        {22050.0f, 4, true, false},   {44100.0f, 5, false, false}, {192000.0f, 6, false, false},
        {8000.0f, 7, false, false},   {700000.0f, 8, true, false}, {2000.0f, 9, false, false},
        {44100.0f, 10, true, true},   {44100.0f, 11, false, true}, {100.0f, 12, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rate << " Hz, seed " << c.seed);
        auto fast = dsptest::makeEffectUnit(c.rate);
        auto plain = dsptest::makeEffectUnit(c.rate);
        Script script(c.seed);
        dsptest::Noise signal(c.seed * 77u);
        Stereo in(4096), outFast(4096), outPlain(4096);
        long long done = 0;
        for (int block = 0; block < 300; ++block) {
            // Now and then a new setting, the same on both units.
            if (script.below(4) == 0) {
                const int p = c.effectLike ? (2 + script.below(5)) : script.below(kEngineParamCount);
                float v = script.unit();
                if (script.below(8) == 0) v = v * 3.0f - 1.0f;  // outside 0..1 too
                fast->setParameter(EngineParam(p), v);
                plain->setParameter(EngineParam(p), v);
            }
            if (script.below(50) == 0) {
                fast->reset();
                plain->reset();
            }
            const int frames = script.below(8) == 0 ? 1 + script.below(4) : 1 + script.below(4096);
            const bool silent = script.below(3) == 0;
            for (int i = 0; i < frames; ++i) {
                in.left[i] = silent ? 0.0f : signal.next();
                in.right[i] = silent ? 0.0f : signal.next();
            }
            if (c.wild && script.below(6) == 0) {
                const float wildValues[] = {3e38f, -1e38f, 1e37f, std::numeric_limits<float>::infinity(),
                                            std::numeric_limits<float>::quiet_NaN()};
                const float w = wildValues[script.below(5)];
                if (script.below(2) == 0) {
                    in.left[script.below(frames)] = w;  // one wild sample
                } else {
                    for (int i = 0; i < frames; ++i) in.right[i] *= w * 0.5f;  // a wild block
                }
                if (!(w - w == 0.0f)) {  // non-finite input sticks until a reset
                    const float* ins[2] = {in.left.data(), in.right.data()};
                    float* of[2] = {outFast.left.data(), outFast.right.data()};
                    float* op[2] = {outPlain.left.data(), outPlain.right.data()};
                    fast->process(ins, of, frames);
                    ReverbEngineProbe::processReference(*plain, ins, op, frames);
                    ASSERT_EQ(dsptest::firstDifference(outFast.left, outPlain.left), -1);
                    ASSERT_EQ(dsptest::firstDifference(outFast.right, outPlain.right), -1);
                    fast->reset();
                    plain->reset();
                    continue;
                }
            }
            const float* ins[2] = {in.left.data(), in.right.data()};
            float* of[2] = {outFast.left.data(), outFast.right.data()};
            float* op[2] = {outPlain.left.data(), outPlain.right.data()};
            fast->process(ins, of, frames);
            ReverbEngineProbe::processReference(*plain, ins, op, frames);
            for (int i = 0; i < frames; ++i) {
                if (!dsptest::sameBits(outFast.left[i], outPlain.left[i]) ||
                    !dsptest::sameBits(outFast.right[i], outPlain.right[i])) {
                    FAIL() << "differ at sample " << done + i << " (block " << block << ")";
                }
            }
            done += frames;
        }
    }
}

}  // namespace
