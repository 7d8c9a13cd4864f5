// What a parameter value does to the sound once it leaves the 0..1 range.
//
// Hosts and the editor give values in 0..1, and the effect stores and shows
// every value exactly as given. A value inside 0..1 also reaches the units,
// filters and gains unchanged. Values outside it (a faulty host, a damaged
// project) are limited on their way there, so that no setting can make the
// output grow without bound or become NaN:
//   - NaN counts as 0; everything else is limited to -1000..1000, so gains
//     stay finite factors (the output of finite input stays finite);
//   - Decay is limited to -1.24..1.24: beyond that the tank's feedback gain
//     (Decay * 0.7995 + 0.005) reaches 1 and the reverberation grows for ever.
#pragma once

namespace applied {

constexpr float kValueLimit = 1000.0f;
constexpr float kDecayLimit = 1.24f;

inline float limit(float v, float bound) {
    if (!(v == v)) return 0.0f;  // NaN
    if (v > bound) return bound;
    if (v < -bound) return -bound;
    return v;
}

// Any parameter's value as it is applied.
inline float value(float v) { return limit(v, kValueLimit); }

// A Decay value as it is applied (to the unit's Size and Decay).
inline float decay(float v) { return limit(v, kDecayLimit); }

}  // namespace applied
