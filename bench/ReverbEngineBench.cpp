// Speed of one reverb unit at 44.1 kHz in blocks of 512 frames, reported as
// per_frame (CPU time per stereo frame), next to the floor it cannot beat:
// one StateVariableFilter stepping sample after sample (the unit's longest
// chain of dependent operations, whose order the precision rules fix).
//
//   Unit/Noise        white noise
//   Unit/Tail         silence after a loud burst, the tail dying away toward
//                     the denormal range (must be no slower than Noise)
//   Unit/DecayChange  white noise with a new Decay setting every block
//   Unit/PairNoise    two units on white noise through processPair, per
//                     frame of both (compare with twice Unit/Noise)
//   Filter/Floor      one filter alone, ns per sample
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "dsp/ReverbEngine.h"
#include "dsp/StateVariableFilter.h"

namespace {

constexpr int kBlock = 512;
constexpr float kRate = 44100.0f;

class Noise {
public:
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(static_cast<std::int32_t>(state) >> 8) * (1.0f / 16777216.0f);
    }

private:
    std::uint32_t state = 1;
};

// A unit set up as the effect runs it.
std::unique_ptr<ReverbEngine> makeUnit() {
    auto e = std::make_unique<ReverbEngine>();
    e->setSampleRate(kRate);
    e->reset();
    e->setParameter(EngineParam::DampingFreq, 0.0f);
    e->setParameter(EngineParam::Density, 1.0f);
    e->setParameter(EngineParam::BandwidthFreq, (1.0f + 0.06f) * 0.94f);
    e->setParameter(EngineParam::Size, (0.7f + 0.37f) * 0.729f);
    e->setParameter(EngineParam::Decay, 0.7f);
    e->setParameter(EngineParam::PreDelay, 0.1f);
    e->setParameter(EngineParam::Gain, 1.0f);
    e->setParameter(EngineParam::Mix, 1.0f);
    e->setParameter(EngineParam::EarlyMix, 1.0f);
    return e;
}

struct Buffers {
    std::vector<float> inL, inR, outL, outR;
    const float* in[2];
    float* out[2];
    explicit Buffers(int frames, float level) : inL(frames), inR(frames), outL(frames), outR(frames) {
        Noise n;
        for (int i = 0; i < frames; ++i) {
            inL[i] = level * n.next();
            inR[i] = level * n.next();
        }
        in[0] = inL.data();
        in[1] = inR.data();
        out[0] = outL.data();
        out[1] = outR.data();
    }
    void silence() {
        std::fill(inL.begin(), inL.end(), 0.0f);
        std::fill(inR.begin(), inR.end(), 0.0f);
    }
};

// Time per frame (CPU time), printed with an SI prefix: 45.2n is 45.2 ns.
void setFrameCounter(benchmark::State& state, double framesPerIteration) {
    state.counters["per_frame"] = benchmark::Counter(
        framesPerIteration,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void UnitNoise(benchmark::State& state) {
    auto e = makeUnit();
    Buffers b(kBlock * 64, 1.0f);
    int block = 0;
    for (auto _ : state) {
        const float* in[2] = {b.in[0] + block * kBlock, b.in[1] + block * kBlock};
        e->process(in, b.out, kBlock);
        benchmark::DoNotOptimize(b.outL[0]);
        block = (block + 1) % 64;
    }
    setFrameCounter(state, kBlock);
}
BENCHMARK(UnitNoise)->Name("Unit/Noise");

void UnitTail(benchmark::State& state) {
    auto e = makeUnit();
    Buffers b(kBlock, 8.0f);
    for (int i = 0; i < 200; ++i) e->process(b.in, b.out, kBlock);  // a loud burst
    b.silence();
    for (int i = 0; i < 400; ++i) e->process(b.in, b.out, kBlock);  // into the tail
    for (auto _ : state) {
        e->process(b.in, b.out, kBlock);
        benchmark::DoNotOptimize(b.outL[0]);
    }
    setFrameCounter(state, kBlock);
}
BENCHMARK(UnitTail)->Name("Unit/Tail");

void UnitDecayChange(benchmark::State& state) {
    auto e = makeUnit();
    Buffers b(kBlock * 64, 1.0f);
    int block = 0;
    for (auto _ : state) {
        e->setParameter(EngineParam::Decay, (block & 1) ? 0.3f : 0.8f);
        const float* in[2] = {b.in[0] + block * kBlock, b.in[1] + block * kBlock};
        e->process(in, b.out, kBlock);
        benchmark::DoNotOptimize(b.outL[0]);
        block = (block + 1) % 64;
    }
    setFrameCounter(state, kBlock);
}
BENCHMARK(UnitDecayChange)->Name("Unit/DecayChange");

void UnitPairNoise(benchmark::State& state) {
    auto a = makeUnit();
    auto b = makeUnit();
    b->setParameter(EngineParam::Decay, 0.4f);
    Buffers in(kBlock * 64, 1.0f);
    Buffers outB(kBlock, 0.0f);
    int block = 0;
    for (auto _ : state) {
        const float* ins[2] = {in.in[0] + block * kBlock, in.in[1] + block * kBlock};
        ReverbEngine::processPair(*a, ins, in.out, *b, ins, outB.out, kBlock);
        benchmark::DoNotOptimize(in.outL[0]);
        benchmark::DoNotOptimize(outB.outL[0]);
        block = (block + 1) % 64;
    }
    setFrameCounter(state, kBlock);
}
BENCHMARK(UnitPairNoise)->Name("Unit/PairNoise");

void FilterFloor(benchmark::State& state) {
    StateVariableFilter f;
    f.oversampledRate = kRate * 4.0f;
    f.frequency = 18500.0f;
    f.updateCoefficient();
    Buffers b(kBlock, 1.0f);
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) b.outL[i] = f.step(b.inL[i]);
        benchmark::DoNotOptimize(b.outL[kBlock - 1]);
    }
    setFrameCounter(state, kBlock);
}
BENCHMARK(FilterFloor)->Name("Filter/Floor");

}  // namespace
