// A plain delay of `length` samples in a fixed buffer.
//
// Each step returns the sample written `length` steps earlier and stores the
// new one; a length of 0 or 1 delays by one step. The length may change
// between steps (the pre-delay follows its smoothed value every sample); the
// write index then simply wraps early. Lengths above kLineCapacity are not
// allowed (callers use clampedLength).
#pragma once

#include <array>

#include "dsp/DelayLength.h"

struct DelayLine {
    std::array<float, kLineCapacity> buffer{};
    int writeIndex = 0;
    int length = 0;

    void clear() {
        buffer.fill(0.0f);
        writeIndex = 0;
    }

    float step(float v) {
        const float y = buffer[writeIndex];
        buffer[writeIndex] = v;
        if (++writeIndex >= length) writeIndex = 0;
        return y;
    }
};
