// An all-pass (see Allpass.h) whose buffer can also be read at three taps.
//
// index[0] is the read/write position; index[1..3] lead it by their tap
// offsets and advance with it, wrapping at `length`. Read after a step, tap k
// returns the sample written length - 1 - offset steps before the one just
// written.
#pragma once

#include <array>

#include "dsp/DelayLength.h"

struct TappedAllpass {
    static constexpr int kTaps = 3;

    std::array<float, kLineCapacity> buffer{};
    int index[kTaps + 1] = {};
    int length = 0;
    float gain = 0.0f;
    // Leads of the taps over index[0], each at most length - 1.
    int offset[kTaps + 1] = {};

    // Zeroes the buffer, sets the length and places the taps. Offsets are in
    // samples and limited by tapOffset.
    void clear(int newLength, const double (&tapSamples)[kTaps]) {
        buffer.fill(0.0f);
        length = newLength;
        index[0] = 0;
        offset[0] = 0;
        for (int k = 1; k <= kTaps; ++k) {
            offset[k] = tapOffset(tapSamples[k - 1], length);
            index[k] = offset[k];
        }
    }

    float tap(int k) const { return buffer[index[k]]; }

    float step(float v) {
        const float y = buffer[index[0]] - gain * v;
        buffer[index[0]] = v + gain * y;
        for (int k = 0; k <= kTaps; ++k)
            if (++index[k] >= length) index[k] = 0;
        return y;
    }
};
