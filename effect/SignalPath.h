// The per-sample loops of the effect's signal path, shared by both editions.
//
// All arithmetic is single precision, in the order written: the same
// operations give the same bits in every build.
#pragma once

#include <cstdint>
#include <cstring>

#include "dsp/OnePoleHighPass.h"
#include "dsp/Realtime.h"

namespace signal_path {

// Input samples whose magnitude passes 2^64 (about 1.8e19, far beyond any real
// signal), infinities and NaN: a reverb unit must not see them, because its
// tank would carry their overflow (and then NaN) for ever.
constexpr uint32_t kUnitSampleLimitBits = 0x5F800000u;  // 2^64

inline uint32_t magnitudeBits(float x) {
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits & 0x7FFFFFFFu;
}

// Copies frames samples of in to copy. Answers true when every sample is one
// a unit may see as it is.
TOVRA_REALTIME inline bool copyInput(const float* in, float* copy, int frames) {
    uint32_t highest = 0;
    for (int i = 0; i < frames; ++i) {
        const float x = in[i];
        copy[i] = x;
        const uint32_t m = magnitudeBits(x);
        highest = m > highest ? m : highest;
    }
    return highest <= kUnitSampleLimitBits;
}

// The input as a unit may see it: samples it must not see become 0.
TOVRA_REALTIME inline void guardUnitInput(const float* in, float* out, int frames) {
    for (int i = 0; i < frames; ++i)
        out[i] = magnitudeBits(in[i]) > kUnitSampleLimitBits ? 0.0f : in[i];
}

// One unit's output, high-passed when its filters run, weighted and added:
//   out[c][i] = hp(unit[c][i]) * wetGain * pan[c] + add[c][i] * addGain
// unit and out may be the same buffers. With addGain 1 and add the other
// unit's result this is also the second unit's sum (x * 1 == x exactly).
TOVRA_REALTIME inline void weightUnit(float* const unit[2], float* const out[2],
                                      const float* const add[2], float addGain,
                                      OnePoleHighPass* highPassLeft,
                                      OnePoleHighPass* highPassRight, bool highPassEnabled,
                                      float wetGain, float panLeft, float panRight, int frames) {
    float* u0 = unit[0];
    float* u1 = unit[1];
    float* o0 = out[0];
    float* o1 = out[1];
    const float* d0 = add[0];
    const float* d1 = add[1];
    if (highPassEnabled) {
        for (int i = 0; i < frames; ++i) {
            const float a = highPassLeft->step(u0[i]);
            const float b = highPassRight->step(u1[i]);
            o0[i] = a * wetGain * panLeft + d0[i] * addGain;
            o1[i] = b * wetGain * panRight + d1[i] * addGain;
        }
    } else {
        for (int i = 0; i < frames; ++i) {
            const float a = u0[i];
            const float b = u1[i];
            o0[i] = a * wetGain * panLeft + d0[i] * addGain;
            o1[i] = b * wetGain * panRight + d1[i] * addGain;
        }
    }
}

}  // namespace signal_path
