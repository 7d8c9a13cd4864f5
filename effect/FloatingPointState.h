// The SSE floating-point control state the effect computes in.
//
// Hosts may call in with flush-to-zero, denormals-are-zero, another rounding
// mode or unmasked exceptions left on by other code in their thread. The
// effect's results must not depend on that, so every entry that computes
// audio or coefficients holds a ScopedEffectFloatState: on entry it switches
// to the default state (round to nearest, denormals kept, all exceptions
// masked) and on exit it gives the host its own state back, flags included.
// Both builds compute with SSE2 scalar arithmetic, so MXCSR is the whole
// state that matters.
#pragma once

#include <xmmintrin.h>

class ScopedEffectFloatState {
public:
    // Round to nearest, no flush-to-zero, no denormals-are-zero, every
    // exception masked, no exception flags.
    static constexpr unsigned int kEffectState = 0x1F80u;
    // The exception flags (bits 0..5) are status, not control.
    static constexpr unsigned int kStatusBits = 0x3Fu;

    ScopedEffectFloatState() : saved(_mm_getcsr()) {
        changed = (saved & ~kStatusBits) != kEffectState;
        if (changed) _mm_setcsr(kEffectState);
    }
    ~ScopedEffectFloatState() {
        if (changed) _mm_setcsr(saved);
    }

    ScopedEffectFloatState(const ScopedEffectFloatState&) = delete;
    ScopedEffectFloatState& operator=(const ScopedEffectFloatState&) = delete;

private:
    unsigned int saved;
    bool changed;
};
