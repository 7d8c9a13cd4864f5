// Capacity of every delay buffer and the two rules that turn a real-valued
// duration in samples into a buffer length or a tap offset.
#pragma once

// Every delay buffer holds this many floats (a little over 2 s at 44.1 kHz,
// 1 s at 96 kHz). Lengths never exceed it.
constexpr int kLineCapacity = 96000;

// Length in samples from a duration v in samples: v truncated toward zero,
// then limited to 0..kLineCapacity. NaN and negative values give 0.
inline int clampedLength(double v) {
    if (!(v >= 1.0)) return 0;  // also catches NaN
    if (v >= static_cast<double>(kLineCapacity)) return kLineCapacity;
    return static_cast<int>(v);
}

// Tap offset (lead of a read position over the write position) from v in
// samples: v truncated toward zero. A lead only makes sense inside the ring
// of `length` samples, so it is kept at most length - 1 (0 for lengths 0 and
// 1); at ordinary sample rates every offset is well below its line's length
// and this limit changes nothing. Without it, taps of lines whose length is
// cut at kLineCapacity (sample rates above 640 kHz) would read outside their
// buffers. NaN and negative values give 0.
inline int tapOffset(double v, int length) {
    const int highest = length > 1 ? length - 1 : 0;
    if (!(v >= 1.0)) return 0;
    if (v >= static_cast<double>(highest)) return highest;
    return static_cast<int>(v);
}
