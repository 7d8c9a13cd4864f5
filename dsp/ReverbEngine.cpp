#include "dsp/ReverbEngine.h"

namespace {

// A value is usable when it is neither NaN nor infinite.
inline bool isFinite(float v) { return v - v == 0.0f; }

}  // namespace

ReverbEngine::ReverbEngine() { reset(); }

void ReverbEngine::setSampleRate(float rate) {
    if (!(rate >= kMinSampleRate)) return;  // NaN, zero, negative
    if (rate > kMaxSampleRate) rate = kMaxSampleRate;
    sampleRate = rate;
    controlInterval = static_cast<int>(rate * 0.001f);
}

void ReverbEngine::reset() {
    controlCounter = 0;
    earlyLinesLarge = 0;

    for (StateVariableFilter* f :
         {&bandwidthFilter1, &bandwidthFilter2, &dampingFilter1, &dampingFilter2}) {
        f->oversampledRate = sampleRate * 4.0f;
        f->updateCoefficient();
        f->clearState();
    }

    preDelayLine.clear();

    const double rate = sampleRate;
    inputDiffuser1.clear(clampedLength(rate * 0.0048));
    inputDiffuser2.clear(clampedLength(rate * 0.0036));
    inputDiffuser3.clear(clampedLength(rate * 0.0127));
    inputDiffuser4.clear(clampedLength(rate * 0.0093));
    inputDiffuser1.gain = 0.75f;
    inputDiffuser2.gain = 0.75f;
    inputDiffuser3.gain = 0.625f;
    inputDiffuser4.gain = 0.625f;

    resizeTank();

    earlyLine1.clear(clampedLength(rate * 0.089), {rate * 0.0219, rate * 0.0354, rate * 0.0389,
                                                   rate * 0.0414, rate * 0.0692, 0.0});
    earlyLine2.clear(clampedLength(rate * 0.069), {rate * 0.011, rate * 0.0182, rate * 0.0189,
                                                   rate * 0.0213, rate * 0.0431, 0.0});
}

void ReverbEngine::resizeTank() {
    const double r = static_cast<double>(sampleRate * size);

    tankAllpass1.clear(clampedLength(r * 0.02), {0.0, 0.0, 0.0});
    tankAllpass2.clear(clampedLength(r * 0.06), {r * 0.006, r * 0.041, 0.0});
    tankAllpass3.clear(clampedLength(r * 0.03), {0.0, 0.0, 0.0});
    tankAllpass4.clear(clampedLength(r * 0.089), {r * 0.031, r * 0.011, 0.0});
    tankDelay1.clear(clampedLength(r * 0.15), {r * 0.067, r * 0.011, r * 0.121});
    tankDelay2.clear(clampedLength(r * 0.12), {r * 0.036, r * 0.089, 0.0});
    tankDelay3.clear(clampedLength(r * 0.14), {r * 0.0089, r * 0.099, 0.0});
    tankDelay4.clear(clampedLength(r * 0.11), {r * 0.067, r * 0.0041, 0.0});

    // A tank that ran away (a wild Decay or Density) leaves NaN or infinity
    // in the state that a size change does not otherwise clear; without this
    // the unit would stay silent-NaN until the next reset.
    if (!isFinite(feedback1)) feedback1 = 0.0f;
    if (!isFinite(feedback2)) feedback2 = 0.0f;
    for (StateVariableFilter* f : {&dampingFilter1, &dampingFilter2})
        if (!isFinite(f->low) || !isFinite(f->band) || !isFinite(f->high)) f->clearState();
}

void ReverbEngine::setParameter(EngineParam index, float value) {
    if (!isFinite(value)) return;
    switch (index) {
        case EngineParam::DampingFreq: damping = 1.0f - value; break;
        case EngineParam::Density: density = value; break;
        case EngineParam::BandwidthFreq: bandwidth = value; break;
        case EngineParam::Decay: decay = value; break;
        case EngineParam::PreDelay: preDelay = value; break;
        case EngineParam::Size:
            size = static_cast<float>(static_cast<double>(value) * 0.95 + 0.05);
            resizeTank();
            break;
        case EngineParam::Gain: gain = value; break;
        case EngineParam::Mix: mix = value; break;
        case EngineParam::EarlyMix: earlyMix = value; break;
        default: break;
    }
}
