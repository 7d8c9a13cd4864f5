// A delay of `length` samples (see DelayLine.h) with six taps, read before
// each step.
//
// Read before a step, tap k returns the sample written length - offset steps
// earlier, so an offset of 0 returns the same sample as the step itself.
#pragma once

#include "dsp/TappedBuffer.h"

struct MultiTapDelay : TappedBuffer<6> {
    float step(float v) {
        const float y = buffer[index[0]];
        buffer[index[0]] = v;
        advance();
        return y;
    }
};
