// One reverb unit: a stereo plate reverberator with a figure-of-eight tank,
// band-limited inputs, pre-delay, four input diffusers, two early-reflection
// tap lines and an early / late / dry output mix.
//
// All memory is inline (15 buffers of kLineCapacity floats, about 5.8 MB),
// so a unit belongs inside a heap object, never on a stack. Nothing is
// allocated after construction.
//
// Life cycle: construct; setSampleRate then reset; setParameter for every
// EngineParam; then process block after block. setSampleRate clears nothing
// by itself: call reset after it.
//
// Settings (setParameter; values are normally 0..1 and are applied as given,
// except that NaN and infinite values are ignored):
//   DampingFreq    damping cutoff = (1 - v) * 18400 + 100 Hz, smoothed
//   Density        gain of the first all-pass of each tank branch, at once
//   BandwidthFreq  input band-limit cutoff = v * 18400 + 100 Hz, smoothed
//   Decay          tank feedback = v * 0.7995 + 0.005, smoothed
//   PreDelay       v * 260 ms, smoothed
//   Size           tank size v * 0.95 + 0.05; clears the tank at once
//   Gain           linear output factor, at once
//   Mix            dry (0) to wet (1), smoothed
//   EarlyMix       early reflections (0) to late reverberation (1), at once
// Smoothed settings move in a straight line over the next processed block
// and reach their targets at its last sample. Filter cutoffs follow the
// smoothed values once per millisecond of audio.
//
// Threads: nothing is locked. Settings are read at the start of a block, so
// one changed from another thread during process takes effect with the next
// block; Size clears the tank in the caller's thread at once (about 3 MB),
// and a block running meanwhile still stays inside its buffers.
//
// Input: finite samples. A NaN or infinite input sample makes the output NaN
// until the next reset, as in any recursive filter.
#pragma once

#include "dsp/Allpass.h"
#include "dsp/DelayLine.h"
#include "dsp/EngineParam.h"
#include "dsp/MultiTapDelay.h"
#include "dsp/Realtime.h"
#include "dsp/StateVariableFilter.h"
#include "dsp/TappedAllpass.h"
#include "dsp/TappedDelay.h"

class ReverbEngine {
public:
    // Lowest and highest sample rates the unit runs at; see setSampleRate.
    static constexpr float kMinSampleRate = 1.0f;
    static constexpr float kMaxSampleRate = 100000000.0f;

    // All buffers zero, sample rate 44100 Hz, decay 0.5, gain 1, mix 1,
    // earlyMix 1, size 1; then reset.
    ReverbEngine();

    // Sample rate in Hz. Rates above kMaxSampleRate (and +infinity) are
    // taken as kMaxSampleRate; NaN and rates below kMinSampleRate (zero,
    // negative) are ignored and the unit keeps its previous rate. Clears
    // nothing: call reset next.
    void setSampleRate(float rate);

    // Clears all delay memory and filter states and dimensions the lines for
    // the current sample rate and size. Settings and smoothed values stay.
    void reset();

    // Stores one setting (see the table above). Size also clears the tank.
    void setParameter(EngineParam index, float value);

    // Processes `frames` stereo frames. inputs[0], inputs[1], outputs[0] and
    // outputs[1] point to at least `frames` floats each. Outputs may be the
    // same buffers as the inputs (a buffer partly overlapping another one is
    // not allowed), and both inputs may be the same channel. Zero or negative
    // frame counts change nothing.
    TOVRA_REALTIME void process(const float* const* inputs, float* const* outputs, int frames);

    // Processes one block through two units at once: the same bits as
    // a.process(inputsA, outputsA, frames) followed by
    // b.process(inputsB, outputsB, frames), in less time, because the two
    // units' filter chains (the longest chain of dependent operations in a
    // unit) run interleaved and overlap. Buffers as for process; besides,
    // b's outputs may be a's inputs (as when a writes a scratch buffer and b
    // the host's in-place buffers): a reads each stretch of its inputs
    // before b writes over it. a's outputs must not be b's inputs: in one
    // call b cannot wait for a's whole block. a and b the same unit: the two
    // blocks run one after the other.
    TOVRA_REALTIME static void processPair(ReverbEngine& a, const float* const* inputsA,
                                           float* const* outputsA, ReverbEngine& b,
                                           const float* const* inputsB, float* const* outputsB,
                                           int frames);

    float getSampleRate() const { return sampleRate; }
    // Samples between filter-coefficient updates: trunc(rate * 0.001).
    int getControlInterval() const { return controlInterval; }

private:
    friend struct ReverbEngineProbe;  // inspection of the state in tests

    // Per-sample increments of the five smoothed values for a block.
    struct SmoothingSteps {
        float mix, bandwidthHz, dampingHz, preDelay, decay;
    };
    SmoothingSteps smoothingSteps(int frames) const;

    void resizeTank();
    void updateCoefficients();
    // The per-sample algorithm written out step by step: the definition that
    // process, which reorders independent work and runs the four filters
    // side by side, reproduces bit for bit.
    void processLiteral(const float* const* inputs, float* const* outputs, int frames);
    // One unit's run through a block, sample by sample and four samples at
    // a time (ReverbEngineProcess.cpp). kLateOnly:
    // earlyMix is exactly 1, so the early reflections are weighted by zero
    // and (while they are finite and the late signal is not -0) do not need
    // to be computed at all.
    template <bool kLateOnly>
    class BlockRun;
    // process and processPair for one block, once the callers have chosen
    // kLateOnly from earlyMix.
    template <bool kLateOnly>
    void processBlock(const float* const* inputs, float* const* outputs, int frames);
    template <bool kLateOnlyA, bool kLateOnlyB>
    static void processPairBlock(ReverbEngine& a, const float* const* inputsA,
                                 float* const* outputsA, ReverbEngine& b,
                                 const float* const* inputsB, float* const* outputsB, int frames);

    StateVariableFilter bandwidthFilter1;
    StateVariableFilter bandwidthFilter2;
    MultiTapDelay earlyLine1;
    MultiTapDelay earlyLine2;
    DelayLine preDelayLine;
    Allpass inputDiffuser1;
    Allpass inputDiffuser2;
    Allpass inputDiffuser3;
    Allpass inputDiffuser4;
    TappedAllpass tankAllpass1;
    TappedDelay tankDelay1;
    StateVariableFilter dampingFilter1;
    TappedAllpass tankAllpass2;
    TappedDelay tankDelay2;
    TappedAllpass tankAllpass3;
    TappedDelay tankDelay3;
    StateVariableFilter dampingFilter2;
    TappedAllpass tankAllpass4;
    TappedDelay tankDelay4;

    float sampleRate = 44100.0f;
    float damping = 0.0f;
    float density = 0.0f;
    float decayDiffusion2 = 0.0f;
    float bandwidth = 0.0f;
    float preDelay = 0.0f;
    float decay = 0.5f;
    float gain = 1.0f;
    float mix = 1.0f;
    float earlyMix = 1.0f;
    float size = 1.0f;
    float mixNow = 0.0f;
    float bandwidthHzNow = 0.0f;
    float dampingHzNow = 0.0f;
    float preDelayNow = 0.0f;
    float decayNow = 0.0f;
    float feedback1 = 0.0f;
    float feedback2 = 0.0f;
    int controlInterval = 44;
    int controlCounter = 0;
    // Samples for which the early lines may still hold a value so large (or
    // non-finite) that the early reflections could overflow; only then does
    // an earlyMix of 1 need them computed.
    int earlyLinesLarge = 0;
};
