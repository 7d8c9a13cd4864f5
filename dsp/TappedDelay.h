// A delay of `length` samples (see DelayLine.h) with three taps.
//
// Taps are read after a step: tap k returns the sample written
// length - 1 - offset steps before the one just written; an offset of 0
// returns the oldest sample held.
#pragma once

#include "dsp/TappedBuffer.h"

struct TappedDelay : TappedBuffer<3> {
    float step(float v) {
        const float y = buffer[index[0]];
        buffer[index[0]] = v;
        advance();
        return y;
    }
};
