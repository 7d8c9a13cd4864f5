#include "dsp/OnePoleHighPass.h"

void OnePoleHighPass::updateScale() {
    scale = static_cast<float>(static_cast<double>(1.0f / sampleRate) * 6.28319) * 6500.0f;
}

void OnePoleHighPass::setCutoff(float value) {
    updateScale();
    const double v = value;
    float c = static_cast<float>((v * v * v + 0.03) * static_cast<double>(scale));
    if (c > 1.0f) c = 1.0f;
    if (!(c >= 0.02f)) c = 0.02f;  // also NaN
    coefficient = c;
}

void OnePoleHighPass::setSampleRate(float rate) {
    sampleRate = rate;
    state = 0.0f;
    updateScale();
}
