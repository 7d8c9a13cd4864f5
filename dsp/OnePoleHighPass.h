// One-pole high-pass filter for a reverb unit's output channel.
//
// step(x) returns x minus a one-pole low-pass memory of the input, so with
// coefficient 1 (a new filter) it passes only changes of the input. The
// memory is flushed to exact zero instead of entering the denormal range,
// so a silent input after sound costs nothing extra.
//
// setCutoff(v), v normally 0..1: cutoff about 6500 * (v^3 + 0.03) Hz, from
// 195 Hz at 0 to 6695 Hz at 1; the coefficient is limited to 0.02..1 (and
// becomes 0.02 if a bad sample rate makes it NaN). setSampleRate(rate)
// clears the memory and keeps the coefficient until the next setCutoff.
#pragma once

#include <cstdint>
#include <cstring>

#include "dsp/Realtime.h"

class OnePoleHighPass {
public:
    void setCutoff(float value);
    void setSampleRate(float rate);

    TOVRA_REALTIME float step(float x) {
        const float y = x - state;
        float next = state + coefficient * y;
        // Zero or denormal (all exponent bits zero) becomes exact zero.
        if (isZeroOrDenormal(next)) next = 0.0f;
        state = next;
        return y;
    }

    float getState() const { return state; }
    float getCoefficient() const { return coefficient; }
    float getSampleRate() const { return sampleRate; }

private:
    static bool isZeroOrDenormal(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return (bits & 0x7f800000u) == 0u;
    }
    void updateScale();

    float state = 0.0f;
    float coefficient = 1.0f;
    float scale = 0.0f;
    float sampleRate = 44100.0f;
};
