// Schroeder all-pass of `length` samples with feedback gain `gain`.
//
// Step with input v: y = buffer[index] - gain * v, buffer[index] = v + gain * y.
// A gain of exactly 1 makes it return -v with no delay and leaves its buffer
// zero. The delay is `length` samples (one sample for lengths 0 and 1).
#pragma once

#include <array>

#include "dsp/DelayLength.h"

struct Allpass {
    std::array<float, kLineCapacity> buffer{};
    int index = 0;
    int length = 0;
    float gain = 0.0f;

    // Zeroes the buffer and sets the length (0..kLineCapacity).
    void clear(int newLength) {
        buffer.fill(0.0f);
        index = 0;
        length = newLength;
    }

    float step(float v) {
        const float y = buffer[index] - gain * v;
        buffer[index] = v + gain * y;
        if (++index >= length) index = 0;
        return y;
    }
};
