// KvEffect: construction, parameters, names and displays, programs, sample
// rate, suspend and close. The block path is in KvEffectSignalPath.cpp.
#include "effect/KvEffect.h"

#include <cstring>
#include <new>

#include "effect/AppliedValue.h"
#include "effect/FloatingPointState.h"

#if TOVRA_WITH_EDITOR
#include "editor/AEffGUIEditor.h"
#include "editor/Editor.h"
#endif

inline namespace TOVRA_EDITION_NAMESPACE {

namespace {

constexpr int kEffectNameLength = 32;
constexpr int kVendorTextLength = 64;

// Copies at most maxLen characters of source and puts a zero at text[maxLen].
void copyText(char* text, const char* source, int maxLen) {
    if (!text) return;
    std::strncpy(text, source, static_cast<size_t>(maxLen));
    text[maxLen] = '\0';
}

// What a "Decay" value does to its unit: the tank size follows it (which
// clears the tank), then the feedback target.
void applyDecay(ReverbEngine& unit, float value) {
    const float v = applied::decay(value);
    unit.setParameter(EngineParam::Size, (v + 0.37f) * 0.729f);
    unit.setParameter(EngineParam::Decay, v);
}

// What a "LowPass" value does: the band-limit setting of its unit.
void applyLowPass(ReverbEngine& unit, float value) {
    unit.setParameter(EngineParam::BandwidthFreq, (applied::value(value) + 0.06f) * 0.94f);
}

// What a "HighPass" value does: the filters run above 1e-5 and then take the
// value as their cutoff; a disabled pair keeps its last cutoff.
void applyHighPass(float value, bool& enabled, OnePoleHighPass* left, OnePoleHighPass* right) {
    const float v = applied::value(value);
    enabled = v > 1e-5f;
    if (!enabled) return;
    if (left) left->setCutoff(v);
    if (right) right->setCutoff(v);
}

// The unit settings that no parameter changes.
void applyFixedSettings(ReverbEngine& unit) {
    unit.setParameter(EngineParam::DampingFreq, 0.0f);
    unit.setParameter(EngineParam::Density, 1.0f);
}

void applyFixedMixes(ReverbEngine& unit) {
    unit.setParameter(EngineParam::Mix, 1.0f);
    unit.setParameter(EngineParam::EarlyMix, 1.0f);
}

// The parameter names a host reads, from the edition's table.
void copyParameterNames(char (&names)[edition::kNumParameters][edition::kParameterNameLength]) {
    for (VstInt32 i = 0; i < edition::kNumParameters; ++i)
        std::strncpy(names[i], edition::kParameters[i].name, edition::kParameterNameLength);
}

}  // namespace

AudioEffect* newKvEffect(audioMasterCallback hostCallback) {
    // The units compute their first dimensions while they are constructed,
    // before the effect's own code runs.
    ScopedEffectFloatState floatState;
    return new (std::nothrow) KvEffect(hostCallback);
}

KvEffect::KvEffect(audioMasterCallback hostCallback)
    : AudioEffectX(hostCallback, edition::kNumPrograms, edition::kNumParameters) {
    setCanReplacing(true);
    setNumInputs(edition::kNumInputs);
    setNumOutputs(edition::kNumOutputs);
    setUniqueId(edition::kUniqueId);
    std::memset(programName, 0, sizeof programName);
    std::strncpy(programName, edition::kDefaultProgramName, kProgramNameLength);
    std::memset(parameterValues, 0, sizeof parameterValues);
    std::memset(parameterNames, 0, sizeof parameterNames);
    std::memset(dryCopy, 0, sizeof dryCopy);
    std::memset(unitInputCopy, 0, sizeof unitInputCopy);
#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK
    std::memset(unitScratch, 0, sizeof unitScratch);
#endif
    sampleRate = edition::kInitialSampleRate;
    initialise();
}

KvEffect::~KvEffect() {
    // A host that destroys the effect without effClose still gets its memory
    // back; after close this finds nothing left to free.
    freeHeapObjects();
}

#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK

void KvEffect::initialise() {
    ScopedEffectFloatState floatState;
    copyParameterNames(parameterNames);

    unitInputs = new (std::nothrow) float*[2]();
    unitOutputs = new (std::nothrow) float*[2]();
    highPassLeft1 = new (std::nothrow) OnePoleHighPass();
    highPassRight1 = new (std::nothrow) OnePoleHighPass();
    highPassLeft2 = new (std::nothrow) OnePoleHighPass();
    highPassRight2 = new (std::nothrow) OnePoleHighPass();

    resetEngines();
    wetGain = 1.0f;
    dryGain = 0.0f;

    auto setDefault = [this](VstInt32 index) {
        setParameter(index, edition::kParameters[index].defaultValue);
    };
    setDefault(edition::kFirstLevel);
    setDefault(edition::kHighPass1);
    applyFixedSettings(unit1);
    setDefault(edition::kLowPass1);
    setDefault(edition::kDecay1);
    setDefault(edition::kPreDelay1);
    applyFixedMixes(unit1);
    setDefault(edition::kSecondLevel);
    setDefault(edition::kHighPass2);
    applyFixedSettings(unit2);
    setDefault(edition::kLowPass2);
    setDefault(edition::kDecay2);
    setDefault(edition::kPreDelay2);
    applyFixedMixes(unit2);
    setDefault(edition::kPan1);
    setDefault(edition::kPan2);
    setDefault(edition::kStereo);
    setDefault(edition::kMix);
    createEditor();
}

void KvEffect::resetEngines() {
    ScopedEffectFloatState floatState;
    resetUnit(unit1, edition::kDecay1);
    resetUnit(unit2, edition::kDecay2);

    std::memset(dryCopy, 0, sizeof dryCopy);
    std::memset(unitScratch, 0, sizeof unitScratch);
    std::memset(unitInputCopy, 0, sizeof unitInputCopy);

    for (OnePoleHighPass* f : {highPassLeft1, highPassRight1, highPassLeft2, highPassRight2})
        if (f) f->setSampleRate(sampleRate);
}

void KvEffect::apply(VstInt32 index, float value) {
    const float v = applied::value(value);
    switch (index) {
        case edition::kFirstLevel: unit1.setParameter(EngineParam::Gain, v); break;
        case edition::kPreDelay1: unit1.setParameter(EngineParam::PreDelay, v); break;
        case edition::kDecay1: applyDecay(unit1, value); break;
        case edition::kLowPass1: applyLowPass(unit1, value); break;
        case edition::kHighPass1:
            applyHighPass(value, highPass1Enabled, highPassLeft1, highPassRight1);
            break;
        case edition::kSecondLevel:
            unit2Enabled = v > 1e-5f;
            unit2.setParameter(EngineParam::Gain, v);
            break;
        case edition::kPreDelay2: unit2.setParameter(EngineParam::PreDelay, v); break;
        case edition::kDecay2: applyDecay(unit2, value); break;
        case edition::kLowPass2: applyLowPass(unit2, value); break;
        case edition::kHighPass2:
            applyHighPass(value, highPass2Enabled, highPassLeft2, highPassRight2);
            break;
        case edition::kPan1:
            panLeft1 = 1.0f - v;
            panRight1 = v;
            break;
        case edition::kPan2:
            panLeft2 = 1.0f - v;
            panRight2 = v;
            break;
        case edition::kStereo: stereoSplit = v > 0.001f; break;
        case edition::kMix: applyMix(v); break;
        default: break;
    }
}

void KvEffect::freeHeapObjects() {
    delete[] unitInputs;
    delete[] unitOutputs;
    unitInputs = unitOutputs = nullptr;
    delete highPassLeft1;
    delete highPassRight1;
    delete highPassLeft2;
    delete highPassRight2;
    highPassLeft1 = highPassRight1 = highPassLeft2 = highPassRight2 = nullptr;
}

bool KvEffect::hasHeapObjects() const {
    return unitInputs && unitOutputs && highPassLeft1 && highPassRight1 && highPassLeft2 &&
           highPassRight2;
}

#else  // Brin

void KvEffect::initialise() {
    ScopedEffectFloatState floatState;
    copyParameterNames(parameterNames);

    highPassLeft = new (std::nothrow) OnePoleHighPass();
    highPassRight = new (std::nothrow) OnePoleHighPass();

    resetEngines();
    wetGain = 1.0f;
    dryGain = 0.0f;

    auto setDefault = [this](VstInt32 index) {
        setParameter(index, edition::kParameters[index].defaultValue);
    };
    setDefault(edition::kHighPass);
    applyFixedSettings(unit);
    setDefault(edition::kLowPass);
    setDefault(edition::kDecay);
    setDefault(edition::kPreDelay);
    applyFixedMixes(unit);
    setDefault(edition::kLevel);
    setDefault(edition::kMix);
    createEditor();
}

void KvEffect::resetEngines() {
    ScopedEffectFloatState floatState;
    resetUnit(unit, edition::kDecay);

    std::memset(dryCopy, 0, sizeof dryCopy);
    std::memset(unitInputCopy, 0, sizeof unitInputCopy);

    for (OnePoleHighPass* f : {highPassLeft, highPassRight})
        if (f) f->setSampleRate(sampleRate);
}

void KvEffect::apply(VstInt32 index, float value) {
    const float v = applied::value(value);
    switch (index) {
        case edition::kPreDelay: unit.setParameter(EngineParam::PreDelay, v); break;
        case edition::kDecay: applyDecay(unit, value); break;
        case edition::kLowPass: applyLowPass(unit, value); break;
        case edition::kHighPass:
            applyHighPass(value, highPassEnabled, highPassLeft, highPassRight);
            break;
        case edition::kLevel: unit.setParameter(EngineParam::Gain, v); break;
        case edition::kMix: applyMix(v); break;
        default: break;
    }
}

void KvEffect::freeHeapObjects() {
    delete highPassLeft;
    delete highPassRight;
    highPassLeft = highPassRight = nullptr;
}

bool KvEffect::hasHeapObjects() const { return highPassLeft && highPassRight; }

#endif

// Below 0.5 the wet part rises from 0 to full level with the dry part at
// full level; from 0.5 up the dry part falls to 0 with the wet at full level.
void KvEffect::applyMix(float v) {
    if (v < 0.5f) {
        wetGain = 2.0f * v;
        dryGain = 1.0f;
    } else {
        wetGain = 1.0f;
        dryGain = 2.0f * (1.0f - v);
    }
}

// Brings a unit to the current rate, clears it and gives it its Decay again,
// whose tank size depends on the rate.
void KvEffect::resetUnit(ReverbEngine& engine, VstInt32 decayIndex) {
    engine.setSampleRate(sampleRate);
    engine.reset();
    setParameter(decayIndex, parameterValues[decayIndex]);
}

void KvEffect::createEditor() {
#if TOVRA_WITH_EDITOR
    // Its construction attaches it (setEditor); without memory for it the
    // effect simply has no editor.
    new (std::nothrow) Editor(this);
#endif
}

void KvEffect::close() { freeHeapObjects(); }

void KvEffect::suspend() { resetEngines(); }

void KvEffect::setSampleRate(float rate) {
    if (!(rate > 0.0f) || rate - rate != 0.0f) return;  // zero, negative, NaN, infinite
    if (rate == sampleRate) return;
    ScopedEffectFloatState floatState;
    sampleRate = rate;
    resetEngines();
    for (VstInt32 i = 0; i < edition::kNumParameters; ++i) setParameter(i, parameterValues[i]);
}

void KvEffect::setParameter(VstInt32 index, float value) {
    if (!edition::isParameter(index)) return;
    ScopedEffectFloatState floatState;
    parameterValues[index] = value;
#if TOVRA_WITH_EDITOR
    if (editor) static_cast<AEffGUIEditor*>(editor)->setParameter(index, value);
#endif
    apply(index, value);
}

float KvEffect::getParameter(VstInt32 index) {
    return edition::isParameter(index) ? parameterValues[index] : 0.0f;
}

void KvEffect::getParameterDisplay(VstInt32 index, char* text) {
    if (!text) return;
    if (edition::isParameter(index))
        formatFloat(parameterValues[index], text, edition::kParameterNameLength);
    else
        copyText(text, "    ", edition::kParameterNameLength);
    text[edition::kParameterNameLength] = '\0';
}

void KvEffect::getParameterName(VstInt32 index, char* text) {
    if (!text) return;
    if (edition::isParameter(index)) {
        // The field is not terminated when the name fills all of it.
        std::memcpy(text, parameterNames[index], edition::kParameterNameLength);
        text[edition::kParameterNameLength] = '\0';
    } else {
        copyText(text, "    ", edition::kParameterNameLength);
    }
}

void KvEffect::setProgramName(char* name) {
    if (!name) return;
    // strncpy pads a shorter name with zeros, as the field is kept.
    std::strncpy(programName, name, kProgramNameLength);
    programName[kProgramNameLength] = '\0';
}

void KvEffect::getProgramName(char* name) { copyText(name, programName, kProgramNameLength); }

bool KvEffect::getEffectName(char* name) {
    copyText(name, edition::kEffectName, kEffectNameLength);
    return true;
}

bool KvEffect::getVendorString(char* text) {
    copyText(text, edition::kVendor, kVendorTextLength);
    return true;
}

bool KvEffect::getProductString(char* text) {
    copyText(text, edition::kEffectName, kVendorTextLength);
    return true;
}

VstInt32 KvEffect::getVendorVersion() { return edition::kVendorVersion; }

}  // inline namespace TOVRA_EDITION_NAMESPACE
