// Shared helpers of the dsp tests: a reproducible test signal, a hash of
// float output, and a unit set up the way the effect drives it.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "dsp/ReverbEngine.h"

namespace dsptest {

// Reproducible white noise in -0.5..0.5 from a 32-bit linear congruential
// generator: the same samples on every build.
class Noise {
public:
    explicit Noise(std::uint32_t seed = 1) : state(seed) {}
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(static_cast<std::int32_t>(state) >> 8) * (1.0f / 16777216.0f);
    }

private:
    std::uint32_t state;
};

// FNV-1a (64-bit) over the bytes of float samples.
class Fnv1a {
public:
    void add(const float* samples, int count) {
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(samples);
        for (std::size_t i = 0; i < static_cast<std::size_t>(count) * sizeof(float); ++i) {
            hash ^= bytes[i];
            hash *= 1099511628211ull;
        }
    }
    std::uint64_t value() const { return hash; }

private:
    std::uint64_t hash = 14695981039346656037ull;
};

// Two channels of samples.
struct Stereo {
    explicit Stereo(int frames = 0) : left(frames), right(frames) {}
    std::vector<float> left;
    std::vector<float> right;
    int frames() const { return static_cast<int>(left.size()); }
};

// A new unit at `rate`, set up as the effect sets it: damping cutoff at the
// top, density 1, fully wet, late reverberation only; decay and low-pass from
// knob values (the effect's mapping), pre-delay and gain as given.
inline std::unique_ptr<ReverbEngine> makeEffectUnit(float rate, float decayKnob = 0.5f,
                                                    float lowPassKnob = 1.0f,
                                                    float preDelay = 0.0f, float gain = 1.0f) {
    auto e = std::make_unique<ReverbEngine>();
    e->setSampleRate(rate);
    e->reset();
    e->setParameter(EngineParam::DampingFreq, 0.0f);
    e->setParameter(EngineParam::Density, 1.0f);
    e->setParameter(EngineParam::BandwidthFreq, (lowPassKnob + 0.06f) * 0.94f);
    e->setParameter(EngineParam::Size, (decayKnob + 0.37f) * 0.729f);
    e->setParameter(EngineParam::Decay, decayKnob);
    e->setParameter(EngineParam::PreDelay, preDelay);
    e->setParameter(EngineParam::Gain, gain);
    e->setParameter(EngineParam::Mix, 1.0f);
    e->setParameter(EngineParam::EarlyMix, 1.0f);
    return e;
}

// Runs `frames` frames of `in` through the unit in blocks of `block` frames
// (separate output buffers).
inline Stereo render(ReverbEngine& e, const Stereo& in, int block) {
    Stereo out(in.frames());
    for (int pos = 0; pos < in.frames(); pos += block) {
        const int n = in.frames() - pos < block ? in.frames() - pos : block;
        const float* inputs[2] = {in.left.data() + pos, in.right.data() + pos};
        float* outputs[2] = {out.left.data() + pos, out.right.data() + pos};
        e.process(inputs, outputs, n);
    }
    return out;
}

// Noise for `soundFrames`, then silence up to `frames`.
inline Stereo burst(int frames, int soundFrames, std::uint32_t seed = 7) {
    Stereo s(frames);
    Noise n(seed);
    for (int i = 0; i < soundFrames && i < frames; ++i) {
        s.left[i] = n.next();
        s.right[i] = n.next();
    }
    return s;
}

// The same bits, or both NaN: which NaN an operation with two NaN operands
// passes on depends on the operand order the compiler picked, so NaN
// outputs compare as equal to each other.
inline bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (a != a && b != b);
}

// Index of the first sample that differs (see sameBits), or -1.
inline int firstDifference(const std::vector<float>& a, const std::vector<float>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (!sameBits(a[i], b[i])) return static_cast<int>(i);
    return a.size() == b.size() ? -1 : static_cast<int>(a.size() < b.size() ? a.size() : b.size());
}

}  // namespace dsptest
