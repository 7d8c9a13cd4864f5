#include "effect/KvEffect.h"

#include <cstring>
#include <new>

inline namespace TOVRA_EDITION_NAMESPACE {

namespace {
// Copies at most maxLen characters of source and puts a zero at text[maxLen].
void copyText(char* text, const char* source, int maxLen) {
    if (!text) return;
    std::strncpy(text, source, static_cast<size_t>(maxLen));
    text[maxLen] = '\0';
}
}  // namespace

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
    sampleRate = edition::kInitialSampleRate;
    initialise();
}

KvEffect::~KvEffect() = default;

void KvEffect::initialise() {
    for (VstInt32 i = 0; i < edition::kNumParameters; ++i)
        std::strncpy(parameterNames[i], edition::kParameters[i].name,
                     edition::kParameterNameLength);
    for (VstInt32 i = 0; i < edition::kNumParameters; ++i)
        setParameter(i, edition::kParameters[i].defaultValue);
}

void KvEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    for (int c = 0; c < 2; ++c)
        for (VstInt32 i = 0; i < sampleFrames; ++i) outputs[c][i] = inputs[c][i];
}

void KvEffect::setParameter(VstInt32 index, float value) {
    if (!edition::isParameter(index)) return;
    parameterValues[index] = value;
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
        std::memcpy(text, parameterNames[index], edition::kParameterNameLength);
        text[edition::kParameterNameLength] = '\0';
    } else {
        copyText(text, "    ", edition::kParameterNameLength);
    }
}

void KvEffect::setProgramName(char* name) {
    if (!name) return;
    std::strncpy(programName, name, kProgramNameLength);
    programName[kProgramNameLength] = '\0';
}

void KvEffect::getProgramName(char* name) { copyText(name, programName, kProgramNameLength); }

bool KvEffect::getEffectName(char* name) {
    copyText(name, edition::kEffectName, 32);
    return true;
}

bool KvEffect::getVendorString(char* text) {
    copyText(text, edition::kVendor, 64);
    return true;
}

bool KvEffect::getProductString(char* text) {
    copyText(text, edition::kEffectName, 64);
    return true;
}

VstInt32 KvEffect::getVendorVersion() { return edition::kVendorVersion; }

}  // inline namespace TOVRA_EDITION_NAMESPACE
