// The buffer, length and tap positions that the tapped lines share
// (TappedDelay, MultiTapDelay, TappedAllpass).
//
// index[0] is the read/write position; index[1..kTaps] lead it by their tap
// offsets and advance with it, wrapping at `length`. Whether a tap is read
// before or after a step, and so which sample it returns, is the owning
// line's convention.
#pragma once

#include <array>

#include "dsp/DelayLength.h"

template <int Taps>
struct TappedBuffer {
    static constexpr int kTaps = Taps;

    std::array<float, kLineCapacity> buffer{};
    int index[kTaps + 1] = {};
    int length = 0;
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

    // Moves the read/write position and every tap on by one sample.
    void advance() {
        for (int k = 0; k <= kTaps; ++k)
            if (++index[k] >= length) index[k] = 0;
    }
};
