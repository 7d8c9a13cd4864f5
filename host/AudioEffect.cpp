#include "host/AudioEffect.h"

#include <cstring>

#include "editor/AEffEditor.h"
#include "host/ValueText.h"

namespace {

// 'NoEf': the identifier of an effect that has not given its own yet.
constexpr VstInt32 kNoEffectId = fourCharCode('N', 'o', 'E', 'f');

AudioEffect* effectOf(AEffect* record) {
    return record ? static_cast<AudioEffect*>(record->object) : nullptr;
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback hostCallback, VstInt32 numPrograms,
                         VstInt32 numParams)
    : hostCallback(hostCallback), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&effectRecord, 0, sizeof effectRecord);
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatcher = dispatcherEntry;
    effectRecord.process = processEntry;
    effectRecord.setParameter = setParameterEntry;
    effectRecord.getParameter = getParameterEntry;
    effectRecord.numPrograms = numPrograms;
    effectRecord.numParams = numParams;
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.flags = effFlagsCanReplacing;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = this;
    effectRecord.uniqueID = kNoEffectId;
    effectRecord.version = 1;
    effectRecord.processReplacing = processReplacingEntry;
    effectRecord.processDoubleReplacing = processDoubleReplacingEntry;
}

AudioEffect::~AudioEffect() {
    delete editor;
    editor = nullptr;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    if (newEditor) effectRecord.flags |= effFlagsHasEditor;
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state)
        effectRecord.flags |= flag;
    else
        effectRecord.flags &= ~flag;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    if (!hostCallback) return 0;
    return hostCallback(&effectRecord, opcode, index, value, ptr, opt);
}

// --- dispatcher -----------------------------------------------------------

VstIntPtr AudioEffect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    // Opcodes that read or write through ptr answer 0 for a null ptr without
    // reaching the effect: a host that passes no buffer gets no text.
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (ptr) setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        if (ptr) getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        if (ptr) getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        if (ptr) getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        if (ptr) getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        if (!editor || !ptr) return 0;
        return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        if (!editor) return 0;
        return editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor) editor->close();
        return 0;
    case effEditIdle:
        if (editor) editor->idle();
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        if (!ptr) return 0;
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        if (!ptr) return 0;
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        return 0;
    }
}

// --- record entries -------------------------------------------------------

VstIntPtr VSTCALLBACK AudioEffect::dispatcherEntry(AEffect* e, VstInt32 opcode, VstInt32 index,
                                                   VstIntPtr value, void* ptr, float opt) {
    AudioEffect* self = effectOf(e);
    if (!self) return 0;
    if (opcode == effClose) {
        // The host gives the effect up: close it, destroy it (and with it
        // the editor) and confirm. The record is gone after this.
        self->dispatch(opcode, index, value, ptr, opt);
        delete self;
        return 1;
    }
    return self->dispatch(opcode, index, value, ptr, opt);
}

// Audio entries ignore blocks without buffers or frames: nothing to do, and
// nothing the effect should have to guard against.
void VSTCALLBACK AudioEffect::processEntry(AEffect* e, float** inputs, float** outputs,
                                           VstInt32 sampleFrames) {
    AudioEffect* self = effectOf(e);
    if (self && inputs && outputs && sampleFrames > 0)
        self->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::processReplacingEntry(AEffect* e, float** inputs, float** outputs,
                                                    VstInt32 sampleFrames) {
    AudioEffect* self = effectOf(e);
    if (self && inputs && outputs && sampleFrames > 0)
        self->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::processDoubleReplacingEntry(AEffect* e, double** inputs,
                                                          double** outputs,
                                                          VstInt32 sampleFrames) {
    AudioEffect* self = effectOf(e);
    if (self && inputs && outputs && sampleFrames > 0)
        self->processDoubleReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK AudioEffect::setParameterEntry(AEffect* e, VstInt32 index, float value) {
    if (AudioEffect* self = effectOf(e)) self->setParameter(index, value);
}

float VSTCALLBACK AudioEffect::getParameterEntry(AEffect* e, VstInt32 index) {
    AudioEffect* self = effectOf(e);
    return self ? self->getParameter(index) : 0.0f;
}

// --- parameters and programs ----------------------------------------------

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::getProgramName(char* name) {
    writeHostText(name, "", kVstMaxProgNameLen);
}

void AudioEffect::getParameterLabel(VstInt32, char* label) {
    writeHostText(label, "", kVstMaxParamStrLen);
}

void AudioEffect::getParameterDisplay(VstInt32, char* text) {
    writeHostText(text, "", kVstMaxParamStrLen);
}

void AudioEffect::getParameterName(VstInt32, char* text) {
    writeHostText(text, "", kVstMaxParamStrLen);
}

// --- requests -------------------------------------------------------------

VstInt32 AudioEffect::hostVersion() {
    const VstIntPtr answer = callHost(audioMasterVersion);
    return answer == 0 ? 1 : static_cast<VstInt32>(answer);
}

VstInt32 AudioEffect::hostCurrentId() {
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

VstInt32 AudioEffect::hostIdle() {
    return static_cast<VstInt32>(callHost(audioMasterIdle));
}

bool AudioEffect::isInputConnected(VstInt32 input) {
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

// --- value texts ----------------------------------------------------------

void AudioEffect::formatDecibels(float value, char* text, VstInt32 maxLen) {
    formatDecibelsText(value, text, maxLen);
}

void AudioEffect::formatHertz(float samples, char* text, VstInt32 maxLen) {
    formatFloatText(samples == 0.0f ? 0.0f : sampleRate / samples, text, maxLen);
}

void AudioEffect::formatMilliseconds(float samples, char* text, VstInt32 maxLen) {
    formatFloatText(samples * 1000.0f / sampleRate, text, maxLen);
}

void AudioEffect::formatFloat(float value, char* text, VstInt32 maxLen) {
    formatFloatText(value, text, maxLen);
}

void AudioEffect::formatInteger(VstInt32 value, char* text, VstInt32 maxLen) {
    formatIntegerText(value, text, maxLen);
}
