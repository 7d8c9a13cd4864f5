// The effect computes the same bits whatever floating-point control state the
// host's thread arrives with, and gives that state back unchanged.
#include "effect/FloatingPointState.h"

#include <gtest/gtest.h>
#include <xmmintrin.h>

#include "tests/effect/EffectTestSupport.h"

using namespace effect_test;

namespace {

constexpr unsigned int kFlushToZero = 0x8000u;
constexpr unsigned int kDenormalsAreZero = 0x0040u;
constexpr unsigned int kRoundTowardZero = 0x6000u;
constexpr unsigned int kRoundUp = 0x4000u;

// A signal with denormal samples in it: flush-to-zero or denormals-are-zero
// would change them.
Stereo denormalSignal() {
    Stereo s = testSignal(20000);
    for (size_t i = 0; i < s.size(); i += 7) {
        s.left[i] = 1e-39f;
        s.right[i] = -3e-41f;
    }
    return s;
}

// Creates, sets up and runs an effect; checks after every call that the
// host's state is back.
// Everything the test itself computes is computed before the host state is
// set, so only the effect runs under it; and only the control bits are
// compared, as the test's own moves may raise flags.
Stereo runUnder(unsigned int hostState, const EditionCase& ed, bool& stateKept) {
    const Stereo input = denormalSignal();
    Stereo out = input;
    float values[16];
    for (int i = 0; i < 16; ++i) values[i] = static_cast<float>(i % 4 + 1) / 5.0f;
    const float rate = 47000.0f;

    const unsigned int original = _mm_getcsr();
    _mm_setcsr(hostState);
    stateKept = true;
    auto check = [&] {
        stateKept = stateKept && (_mm_getcsr() & ~ScopedEffectFloatState::kStatusBits) ==
                                     (hostState & ~ScopedEffectFloatState::kStatusBits);
    };

    EffectPtr fx = makeEffect(ed);
    check();
    for (int i = 0; i < ed.numParams; ++i) {
        fx->setParameter(i, values[i]);
        check();
    }
    fx->setSampleRate(rate);
    check();
    fx->suspend();
    check();
    for (size_t done = 0; done < input.size(); done += 500) {
        float* ins[2] = {const_cast<float*>(input.left.data()) + done,
                         const_cast<float*>(input.right.data()) + done};
        float* outs[2] = {out.left.data() + done, out.right.data() + done};
        fx->processReplacing(ins, outs, 500);
        check();
    }
    fx.reset();
    _mm_setcsr(original);
    return out;
}

TEST(FloatingPointState, HostStateDoesNotChangeTheSound) {
    const unsigned int states[] = {
        ScopedEffectFloatState::kEffectState | kFlushToZero | kDenormalsAreZero,
        ScopedEffectFloatState::kEffectState | kRoundTowardZero,
        ScopedEffectFloatState::kEffectState | kRoundUp | kFlushToZero,
    };
    for (const EditionCase& ed : kEditions) {
        bool kept = false;
        const Stereo reference = runUnder(ScopedEffectFloatState::kEffectState, ed, kept);
        for (unsigned int state : states) {
            SCOPED_TRACE(std::string(ed.label) + " MXCSR " + std::to_string(state));
            EXPECT_TRUE(runUnder(state, ed, kept) == reference);
            EXPECT_TRUE(kept) << "the host's state was not given back";
        }
    }
}

TEST(FloatingPointState, GuardRestoresFlagsAndControlBits) {
    const unsigned int original = _mm_getcsr();
    const unsigned int host = ScopedEffectFloatState::kEffectState | kFlushToZero | 0x01u;
    _mm_setcsr(host);
    {
        ScopedEffectFloatState guard;
        EXPECT_EQ(_mm_getcsr() & ~ScopedEffectFloatState::kStatusBits,
                  ScopedEffectFloatState::kEffectState);
        volatile float tiny = 1e-30f;
        volatile float r = tiny * tiny;  // raises underflow and inexact here
        (void)r;
    }
    EXPECT_EQ(_mm_getcsr(), host);
    _mm_setcsr(original);
}

}  // namespace
