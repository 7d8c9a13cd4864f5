// Shared fixtures of the effect tests: both editions behind one table, a
// deterministic stereo test signal and a renderer that drives an effect the
// way a host does (processReplacing in blocks).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "effect/EditionFactory.h"
#include "host/AudioEffectX.h"

namespace effect_test {

struct EditionCase {
    const char* label;
    AudioEffect* (*make)(audioMasterCallback);
    int numParams;
    int mix;    // index of "Mix"
    int decay;  // index of (the first unit's) "Decay"
};

inline const EditionCase kVesk{"Vesk", &tovra_vesk::newKvEffect, 14, 13, 2};
inline const EditionCase kBrin{"Brin", &tovra_brin::newKvEffect, 6, 5, 1};
inline const EditionCase kEditions[] = {kVesk, kBrin};

using EffectPtr = std::unique_ptr<AudioEffectX>;

inline EffectPtr makeEffect(const EditionCase& e, audioMasterCallback cb = nullptr) {
    return EffectPtr(static_cast<AudioEffectX*>(e.make(cb)));
}

struct Stereo {
    std::vector<float> left, right;
    size_t size() const { return left.size(); }
    bool operator==(const Stereo& o) const {
        return left.size() == o.left.size() &&
               std::memcmp(left.data(), o.left.data(), left.size() * sizeof(float)) == 0 &&
               std::memcmp(right.data(), o.right.data(), right.size() * sizeof(float)) == 0;
    }
};

// Clicks and noise bursts, then silence: enough to excite and hear a tail.
inline Stereo testSignal(size_t frames, uint32_t seed = 12345u) {
    Stereo s;
    s.left.assign(frames, 0.0f);
    s.right.assign(frames, 0.0f);
    uint32_t x = seed;
    auto noise = [&x] {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return static_cast<float>(static_cast<double>(x) / 4294967296.0 - 0.5);
    };
    for (size_t i = 0; i < frames; ++i) {
        const size_t phase = i % 9000;
        if (phase == 0) {
            s.left[i] = 0.8f;
            s.right[i] = -0.6f;
        } else if (phase > 3000 && phase < 4500) {
            s.left[i] = 0.5f * noise();
            s.right[i] = 0.5f * noise();
        }
    }
    return s;
}

// Runs input through the effect in blocks of `block` frames (the last may be
// shorter); in place when inPlace, else into separate buffers.
inline Stereo render(AudioEffect& effect, const Stereo& input, int block, bool inPlace = false) {
    Stereo out = input;
    Stereo in = input;
    for (size_t done = 0; done < input.size();) {
        const size_t n = std::min(static_cast<size_t>(block), input.size() - done);
        float* ins[2] = {in.left.data() + done, in.right.data() + done};
        float* outs[2] = {out.left.data() + done, out.right.data() + done};
        if (inPlace) {
            effect.processReplacing(outs, outs, static_cast<VstInt32>(n));
        } else {
            effect.processReplacing(ins, outs, static_cast<VstInt32>(n));
        }
        done += n;
    }
    return out;
}

inline bool allFinite(const Stereo& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (!std::isfinite(s.left[i]) || !std::isfinite(s.right[i])) return false;
    return true;
}

inline Stereo silence(size_t frames) {
    Stereo s;
    s.left.assign(frames, 0.0f);
    s.right.assign(frames, 0.0f);
    return s;
}

inline uint32_t bitsOf(float v) {
    uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

}  // namespace effect_test
