// An all-pass (see Allpass.h) whose buffer can also be read at three taps.
//
// Taps are read after a step: tap k returns the sample written
// length - 1 - offset steps before the one just written.
#pragma once

#include "dsp/TappedBuffer.h"

struct TappedAllpass : TappedBuffer<3> {
    float gain = 0.0f;

    float step(float v) {
        const float y = buffer[index[0]] - gain * v;
        buffer[index[0]] = v + gain * y;
        advance();
        return y;
    }
};
