// Two-pole state-variable low-pass run at four times the sample rate.
//
// Each step holds its input for four sub-steps at `oversampledRate` and
// returns the low-pass state. `damping` is fixed at 2 (no resonance). The
// low-state update is done in double precision and adds 1e-25, which keeps
// the state away from denormal numbers when the input falls silent (the
// output then settles on a tiny positive constant, never on exact zero).
//
// frequency: cutoff in Hz. For the coefficient it is limited to 0 Hz below
// and to the Nyquist frequency (oversampledRate / 8) above: beyond about 0.83
// the coefficient would make the recurrence unstable, which cutoffs near
// 18.5 kHz reach at sample rates below about 34 kHz. The limit changes
// nothing for cutoffs up to the Nyquist frequency.
#pragma once

#include "dsp/DetMath.h"

struct StateVariableFilter {
    float oversampledRate = 176400.0f;  // Hz, four times the sample rate
    float frequency = 1000.0f;          // Hz
    float damping = 2.0f;
    float coefficient = 0.0f;
    float low = 0.0f;
    float high = 0.0f;
    float band = 0.0f;

    StateVariableFilter() { updateCoefficient(); }

    // coefficient = 2 sin(pi * cutoff / oversampledRate), the quotient
    // rounded to float first, the rest in double precision.
    void updateCoefficient() { coefficient = coefficientFor(frequency, oversampledRate); }

    static float coefficientFor(float cutoff, float oversampled) {
        const float nyquist = oversampled * 0.125f;
        float f = cutoff;
        if (!(f > 0.0f)) f = 0.0f;  // also NaN
        if (f > nyquist) f = nyquist;
        if (!(oversampled > 0.0f)) return 0.0f;
        const float quotient = static_cast<float>(static_cast<double>(f) * 3.141592654 /
                                                  static_cast<double>(oversampled));
        return static_cast<float>(2.0 * detmath::sin(static_cast<double>(quotient)));
    }

    void clearState() { low = high = band = 0.0f; }

    float step(float v) {
        const float f = coefficient;
        const float q = damping;
        for (int i = 0; i < 3; ++i) {
            low = static_cast<float>(static_cast<double>(low) +
                                     static_cast<double>(f) * static_cast<double>(band) + 1e-25);
            band = band + f * (v - low - q * band);
        }
        low = static_cast<float>(static_cast<double>(low) +
                                 static_cast<double>(f) * static_cast<double>(band) + 1e-25);
        high = v - low - q * band;
        band = band + f * high;
        return low;
    }
};
