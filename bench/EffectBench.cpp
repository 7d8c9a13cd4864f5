// Speed of the whole effect through processReplacing at 44.1 kHz in blocks
// of 512 frames, both editions at their defaults, reported as per_frame (CPU
// time per stereo frame, printed with an SI prefix: 45.2n is 45.2 ns).
// Compare with Filter/Floor of the same run (ReverbEngineBench.cpp): one
// StateVariableFilter alone, the chain no unit can be faster than.
//
//   Effect/Vesk     two units, high-pass filters off, pans at the centre
//   Effect/Brin     one unit
//   Effect/VeskTail Vesk on silence after a loud burst (the tails dying away)
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "effect/EditionFactory.h"
#include "host/AudioEffectX.h"

namespace {

constexpr int kBlock = 512;
constexpr int kBlocks = 64;

struct EffectBuffers {
    std::vector<float> inL, inR, outL, outR;
    explicit EffectBuffers(float level)
        : inL(kBlock * kBlocks), inR(kBlock * kBlocks), outL(kBlock), outR(kBlock) {
        std::uint32_t s = 7;
        for (size_t i = 0; i < inL.size(); ++i) {
            s = s * 1664525u + 1013904223u;
            inL[i] = level * static_cast<float>(static_cast<std::int32_t>(s) >> 8) / 16777216.0f;
            s = s * 1664525u + 1013904223u;
            inR[i] = level * static_cast<float>(static_cast<std::int32_t>(s) >> 8) / 16777216.0f;
        }
    }
};

void reportFrames(benchmark::State& state) {
    state.counters["per_frame"] = benchmark::Counter(
        kBlock, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void runEffect(benchmark::State& state, AudioEffect* (*make)(audioMasterCallback), bool tail) {
    std::unique_ptr<AudioEffect> fx(make(nullptr));
    EffectBuffers b(1.0f);
    float* outs[2] = {b.outL.data(), b.outR.data()};
    if (tail) {
        for (int i = 0; i < 200; ++i) {
            float* ins[2] = {b.inL.data() + (i % kBlocks) * kBlock, b.inR.data() + (i % kBlocks) * kBlock};
            fx->processReplacing(ins, outs, kBlock);
        }
        std::fill(b.inL.begin(), b.inL.end(), 0.0f);
        std::fill(b.inR.begin(), b.inR.end(), 0.0f);
        for (int i = 0; i < 400; ++i) {
            float* ins[2] = {b.inL.data(), b.inR.data()};
            fx->processReplacing(ins, outs, kBlock);
        }
    }
    int block = 0;
    for (auto _ : state) {
        float* ins[2] = {b.inL.data() + block * kBlock, b.inR.data() + block * kBlock};
        fx->processReplacing(ins, outs, kBlock);
        benchmark::DoNotOptimize(b.outL[0]);
        block = (block + 1) % kBlocks;
    }
    reportFrames(state);
}

void EffectVesk(benchmark::State& state) { runEffect(state, &tovra_vesk::newKvEffect, false); }
void EffectBrin(benchmark::State& state) { runEffect(state, &tovra_brin::newKvEffect, false); }
void EffectVeskTail(benchmark::State& state) { runEffect(state, &tovra_vesk::newKvEffect, true); }

BENCHMARK(EffectVesk)->Name("Effect/Vesk");
BENCHMARK(EffectBrin)->Name("Effect/Brin");
BENCHMARK(EffectVeskTail)->Name("Effect/VeskTail");

}  // namespace
