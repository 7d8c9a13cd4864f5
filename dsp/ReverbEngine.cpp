#include "dsp/ReverbEngine.h"

namespace {

// A value is usable when it is neither NaN nor infinite.
inline bool isFinite(float v) { return v - v == 0.0f; }

// Smoothing targets are kept within this range so that a wild setting can
// never make a step overflow to infinity (and the next step NaN). Real
// settings stay far below it (the largest is a pre-delay of a few million
// samples at the highest sample rate).
constexpr double kTargetLimit = 1.0e9;

inline double limitTarget(double t) {
    if (t > kTargetLimit) return kTargetLimit;
    if (t < -kTargetLimit) return -kTargetLimit;
    return t;
}

inline float limitTarget(float t) { return static_cast<float>(limitTarget(static_cast<double>(t))); }

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

void ReverbEngine::process(const float* const* inputs, float* const* outputs, int frames) {
    if (frames <= 0) return;
    processLiteral(inputs, outputs, frames);
}

void ReverbEngine::processLiteral(const float* const* inputs, float* const* outputs, int frames) {
    const float invN = static_cast<float>(1.0 / frames);
    const double invNd = invN;

    const float mixStep = (limitTarget(mix) - mixNow) * invN;
    const float bandwidthStep = static_cast<float>(
        (limitTarget(static_cast<double>(bandwidth * 18400.0f) + 100.0) - bandwidthHzNow) * invNd);
    const float dampingStep = static_cast<float>(
        (limitTarget(static_cast<double>(damping * 18400.0f) + 100.0) - dampingHzNow) * invNd);
    const float decayStep = static_cast<float>(
        (limitTarget(static_cast<double>(decay * 0.7995f) + 0.005) - decayNow) * invNd);
    const float preDelayStep =
        (limitTarget(sampleRate * 0.001f * preDelay * 260.0f) - preDelayNow) * invN;

    const float* in1p = inputs[0];
    const float* in2p = inputs[1];
    float* out1p = outputs[0];
    float* out2p = outputs[1];

    for (int i = 0; i < frames; ++i) {
        const float in1 = in1p[i];
        const float in2 = in2p[i];

        mixNow += mixStep;
        dampingHzNow += dampingStep;
        preDelayNow += preDelayStep;
        bandwidthHzNow += bandwidthStep;
        decayNow += decayStep;

        if (controlCounter >= controlInterval) {
            controlCounter = 0;
            bandwidthFilter1.frequency = bandwidthHzNow;
            bandwidthFilter2.frequency = bandwidthHzNow;
            dampingFilter1.frequency = dampingHzNow;
            dampingFilter2.frequency = dampingHzNow;
            bandwidthFilter1.updateCoefficient();
            bandwidthFilter2.updateCoefficient();
            dampingFilter1.updateCoefficient();
            dampingFilter2.updateCoefficient();
        }
        controlCounter += 1;

        preDelayLine.length = clampedLength(preDelayNow);

        double dd = static_cast<double>(decayNow) + 0.15;
        if (dd < 0.25) dd = 0.25;
        if (dd > 0.5) dd = 0.5;
        decayDiffusion2 = static_cast<float>(dd);
        tankAllpass2.gain = decayDiffusion2;
        tankAllpass4.gain = decayDiffusion2;
        tankAllpass1.gain = density;
        tankAllpass3.gain = density;

        const float x1 = bandwidthFilter1.step(in1);
        const float x2 = bandwidthFilter2.step(in2);
        const double x1d = x1;
        const double x2d = x2;

        float e1;
        {
            const double t1 = earlyLine1.tap(1), t2 = earlyLine1.tap(2), t3 = earlyLine1.tap(3),
                         t4 = earlyLine1.tap(4), t5 = earlyLine1.tap(5), t6 = earlyLine1.tap(6);
            const double y = earlyLine1.step(static_cast<float>(0.5 * x1d + 0.3 * x2d));
            e1 = static_cast<float>(y + 0.5 * (0.4 * x1d + 0.2 * x2d) + 0.6 * t1 + 0.4 * t2 +
                                    0.3 * (t3 + t4) + 0.1 * (t5 + t6));
        }
        float e2;
        {
            const double t1 = earlyLine2.tap(1), t2 = earlyLine2.tap(2), t3 = earlyLine2.tap(3),
                         t4 = earlyLine2.tap(4), t5 = earlyLine2.tap(5), t6 = earlyLine2.tap(6);
            const double y = earlyLine2.step(static_cast<float>(0.3 * x1d + 0.5 * x2d));
            e2 = static_cast<float>(y + 0.5 * (0.4 * x2d + 0.2 * x1d) + 0.6 * t1 + 0.4 * t2 +
                                    0.3 * (t3 + t4) + 0.1 * (t5 + t6));
        }

        const float p = preDelayLine.step(0.5f * (x1 + x2));
        const float d =
            inputDiffuser4.step(inputDiffuser3.step(inputDiffuser2.step(inputDiffuser1.step(p))));

        const float s1 = tankDelay1.step(tankAllpass1.step(d + feedback2));
        const float s2 = tankDelay2.step(tankAllpass2.step(dampingFilter1.step(s1)));
        const float s3 = tankDelay3.step(tankAllpass3.step(d + feedback1));
        const float s4 = tankDelay4.step(tankAllpass4.step(dampingFilter2.step(s3)));

        feedback2 = s4 * decayNow;
        feedback1 = s2 * decayNow;

        const float late1 = static_cast<float>(
            0.6 * tankDelay3.tap(2) + 0.6 * tankDelay3.tap(1) + 0.6 * tankDelay4.tap(1) -
            0.6 * tankAllpass4.tap(1) - 0.6 * tankDelay1.tap(1) - 0.6 * tankAllpass2.tap(1) -
            0.6 * tankDelay2.tap(1));
        const float late2 = static_cast<float>(
            0.6 * tankDelay1.tap(3) + 0.6 * tankDelay1.tap(2) + 0.6 * tankDelay2.tap(2) -
            0.6 * tankAllpass2.tap(2) - 0.6 * tankDelay3.tap(3) - 0.6 * tankAllpass4.tap(2) -
            0.6 * tankDelay4.tap(2));

        const float w1 = (1.0f - earlyMix) * e1 + earlyMix * late1;
        const float w2 = (1.0f - earlyMix) * e2 + earlyMix * late2;
        out1p[i] = gain * (in1 + mixNow * (w1 - in1));
        out2p[i] = gain * (in2 + mixNow * (w2 - in2));
    }
}
