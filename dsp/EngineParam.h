// The nine settings of a reverb unit, as passed to ReverbEngine::setParameter.
// Values are normally 0..1; what each one does is described at
// ReverbEngine::setParameter.
#pragma once

enum class EngineParam : int {
    DampingFreq = 0,
    Density = 1,
    BandwidthFreq = 2,
    Decay = 3,
    PreDelay = 4,
    Size = 5,
    Gain = 6,
    Mix = 7,
    EarlyMix = 8,
};

constexpr int kEngineParamCount = 9;
