#include "host/AudioEffectX.h"

#include <cstdlib>
#include <cstring>

#include "editor/AEffEditor.h"

namespace {

VstIntPtr truth(bool b) { return b ? 1 : 0; }

// The key record of effEditKeyDown/effEditKeyUp: character = index, virtual
// key = low byte of value, modifiers = low byte of opt truncated toward zero.
// A float outside the integer range (or NaN) carries no modifiers.
toolkit::VstKeyCode keyCodeOf(VstInt32 index, VstIntPtr value, float opt) {
    toolkit::VstKeyCode key;
    key.character = index;
    key.virt = static_cast<uint8_t>(value & 0xff);
    const int modifiers = (opt > -2147483648.0f && opt < 2147483648.0f) ? static_cast<int>(opt) : 0;
    key.modifier = static_cast<uint8_t>(modifiers & 0xff);
    return key;
}

}  // namespace

AudioEffectX::AudioEffectX(audioMasterCallback hostCallback, VstInt32 numPrograms,
                           VstInt32 numParams)
    : AudioEffect(hostCallback, numPrograms, numParams) {}

VstIntPtr AudioEffectX::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    // As in the basic dispatcher, opcodes that read or write through ptr
    // answer 0 for a null ptr without reaching the effect.
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effProcessEvents:
        return ptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
    case effCanBeAutomated:
        return truth(canBeAutomated(index));
    case effString2Parameter:
        return ptr ? truth(stringToParameter(index, text)) : 0;
    case effGetProgramNameIndexed:
        return ptr ? truth(getProgramNameIndexed(static_cast<VstInt32>(value), index, text)) : 0;
    case effGetInputProperties:
        return ptr ? truth(getInputProperties(index, static_cast<VstPinProperties*>(ptr))) : 0;
    case effGetOutputProperties:
        return ptr ? truth(getOutputProperties(index, static_cast<VstPinProperties*>(ptr))) : 0;
    case effGetPlugCategory:
        return getPlugCategory();
    case effOfflineNotify:
        return truth(offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<VstInt32>(value),
                                   index != 0));
    case effOfflinePrepare:
        return truth(offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value)));
    case effOfflineRun:
        return truth(offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value)));
    case effProcessVarIo:
        return truth(processVarIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
        return truth(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                           static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBypass:
        return truth(setBypass(value != 0));
    case effGetEffectName:
        return ptr ? truth(getEffectName(text)) : 0;
    case effGetVendorString:
        return ptr ? truth(getVendorString(text)) : 0;
    case effGetProductString:
        return ptr ? truth(getProductString(text)) : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return ptr ? canDo(text) : 0;
    case effGetTailSize:
        return getTailSize();
    case effGetParameterProperties:
        return ptr ? truth(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)))
                   : 0;
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
        if (!editor) return 0;
        {
            toolkit::VstKeyCode key = keyCodeOf(index, value, opt);
            return truth(editor->onKeyDown(key));
        }
    case effEditKeyUp:
        if (!editor) return 0;
        {
            toolkit::VstKeyCode key = keyCodeOf(index, value, opt);
            return truth(editor->onKeyUp(key));
        }
    case effSetEditKnobMode:
        return editor ? truth(editor->setKnobMode(static_cast<VstInt32>(value))) : 0;
    case effGetMidiProgramName:
        return ptr ? getMidiProgramName(index, static_cast<MidiProgramName*>(ptr)) : 0;
    case effGetCurrentMidiProgram:
        return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
        return ptr ? getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr)) : 0;
    case effHasMidiProgramsChanged:
        return truth(hasMidiProgramsChanged(index));
    case effGetMidiKeyName:
        return ptr ? truth(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr))) : 0;
    case effBeginSetProgram:
        return truth(beginSetProgram());
    case effEndSetProgram:
        return truth(endSetProgram());
    case effGetSpeakerArrangement:
        return truth(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                           static_cast<VstSpeakerArrangement**>(ptr)));
    case effShellGetNextPlugin:
        return ptr ? shellGetNextPlugin(text) : 0;
    case effStartProcess:
        return startProcess();
    case effStopProcess:
        return stopProcess();
    case effSetTotalSampleToProcess:
        return setTotalSampleToProcess(static_cast<VstInt32>(value));
    case effSetPanLaw:
        return truth(setPanLaw(static_cast<VstInt32>(value), opt));
    case effBeginLoadBank:
        return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
        return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    case effSetProcessPrecision:
        return truth(setProcessPrecision(static_cast<VstInt32>(value)));
    case effGetNumMidiInputChannels:
        return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels:
        return getNumMidiOutputChannels();
    default:
        return AudioEffect::dispatch(opcode, index, value, ptr, opt);
    }
}

void AudioEffectX::resume() {
    char receiveMidi[] = "receiveVstMidiEvent";
    if ((effectRecord.flags & effFlagsIsSynth) || canDo(receiveMidi) == 1) hostWantMidi(1);
}

VstInt32 AudioEffectX::getPlugCategory() {
    return (effectRecord.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input,
                                         VstSpeakerArrangement** output) {
    if (input) *input = nullptr;
    if (output) *output = nullptr;
    return false;
}

// --- speaker-arrangement helpers ------------------------------------------

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** place, VstInt32 channels) {
    if (!place) return false;
    deallocateArrangement(place);
    if (channels < 0 || channels > kMaxArrangementChannels) return false;
    const size_t bytes = speakerArrangementBytes(channels);
    void* block = std::malloc(bytes);
    if (!block) return false;
    std::memset(block, 0, bytes);
    auto* arrangement = static_cast<VstSpeakerArrangement*>(block);
    arrangement->numChannels = channels;
    *place = arrangement;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** place) {
    if (place && *place) {
        std::free(*place);
        *place = nullptr;
    }
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
    if (!to || !from) return false;
    std::strncpy(to->name, from->name, kSpeakerNameLength - 1);
    to->name[kSpeakerNameLength - 1] = '\0';
    to->type = from->type;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::memcpy(to->future, from->future, sizeof to->future);
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** place, VstSpeakerArrangement* from) {
    if (!from) return false;
    // Matching an arrangement to itself: freeing the place would free the
    // source, and it already matches.
    if (place && *place == from) return true;
    if (!deallocateArrangement(place) || !allocateArrangement(place, from->numChannels))
        return false;
    (*place)->type = from->type;
    // The speakers run past the declared array: address them from its start.
    VstSpeakerProperties* to = (*place)->speakers;
    VstSpeakerProperties* source = from->speakers;
    for (VstInt32 i = 0; i < from->numChannels; ++i)
        if (!copySpeaker(to + i, source + i)) return false;
    return true;
}

// --- requests -------------------------------------------------------------

bool AudioEffectX::beginEdit(VstInt32 index) {
    return callHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(VstInt32 index) {
    return callHost(audioMasterEndEdit, index) != 0;
}

bool AudioEffectX::hostIoChanged() { return callHost(audioMasterIOChanged) != 0; }

float AudioEffectX::hostGetSampleRate() {
    const VstIntPtr answer = callHost(audioMasterGetSampleRate);
    if (answer > 0) sampleRate = static_cast<float>(answer);
    return sampleRate;
}

VstInt32 AudioEffectX::hostGetBlockSize() {
    const VstIntPtr answer = callHost(audioMasterGetBlockSize);
    if (answer > 0) blockSize = static_cast<VstInt32>(answer);
    return blockSize;
}

VstInt32 AudioEffectX::hostGetInputLatency() {
    return static_cast<VstInt32>(callHost(audioMasterGetInputLatency));
}

VstInt32 AudioEffectX::hostGetOutputLatency() {
    return static_cast<VstInt32>(callHost(audioMasterGetOutputLatency));
}

VstTimeInfo* AudioEffectX::hostGetTime(VstInt32 filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

VstInt32 AudioEffectX::hostGetCurrentProcessLevel() {
    return static_cast<VstInt32>(callHost(audioMasterGetCurrentProcessLevel));
}

VstInt32 AudioEffectX::hostGetAutomationState() {
    return static_cast<VstInt32>(callHost(audioMasterGetAutomationState));
}

bool AudioEffectX::hostGetVendorString(char* text) {
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool AudioEffectX::hostGetProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

VstInt32 AudioEffectX::hostGetVendorVersion() {
    return static_cast<VstInt32>(callHost(audioMasterGetVendorVersion));
}

VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return callHost(audioMasterVendorSpecific, index, value, ptr, opt);
}

bool AudioEffectX::hostCanDo(char* text) {
    return callHost(audioMasterCanDo, 0, 0, text) != 0;
}

VstInt32 AudioEffectX::hostGetLanguage() {
    return static_cast<VstInt32>(callHost(audioMasterGetLanguage));
}

void* AudioEffectX::hostGetDirectory() {
    return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}

bool AudioEffectX::hostUpdateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

bool AudioEffectX::hostSizeWindow(VstInt32 width, VstInt32 height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::hostOpenFileSelector(VstFileSelect* selector) {
    return selector && callHost(audioMasterOpenFileSelector, 0, 0, selector) != 0;
}

bool AudioEffectX::hostCloseFileSelector(VstFileSelect* selector) {
    return selector && callHost(audioMasterCloseFileSelector, 0, 0, selector) != 0;
}

bool AudioEffectX::hostOfflineRead(VstOfflineTask* task, VstInt32 option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}

bool AudioEffectX::hostOfflineWrite(VstOfflineTask* task, VstInt32 option) {
    return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
}

bool AudioEffectX::hostOfflineStart(VstAudioFile* files, VstInt32 numFiles, VstInt32 numNewFiles) {
    return callHost(audioMasterOfflineStart, numNewFiles, numFiles, files) != 0;
}

bool AudioEffectX::hostOfflineGetCurrentPass() {
    return callHost(audioMasterOfflineGetCurrentPass) != 0;
}

bool AudioEffectX::hostOfflineGetCurrentMetaPass() {
    return callHost(audioMasterOfflineGetCurrentMetaPass) != 0;
}

VstIntPtr AudioEffectX::hostWantMidi(VstInt32 filter) {
    return callHost(audioMasterWantMidi, 0, filter);
}

VstIntPtr AudioEffectX::hostTempoAt(VstInt32 position) {
    return callHost(audioMasterTempoAt, 0, position);
}

VstIntPtr AudioEffectX::hostGetNumAutomatableParameters() {
    return callHost(audioMasterGetNumAutomatableParameters);
}

VstIntPtr AudioEffectX::hostGetParameterQuantization() {
    return callHost(audioMasterGetParameterQuantization);
}

bool AudioEffectX::hostNeedIdle() { return callHost(audioMasterNeedIdle) != 0; }

AEffect* AudioEffectX::hostGetPreviousPlug(VstInt32) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* AudioEffectX::hostGetNextPlug(VstInt32) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

VstIntPtr AudioEffectX::hostWillReplaceOrAccumulate() {
    return callHost(audioMasterWillReplaceOrAccumulate);
}

VstIntPtr AudioEffectX::hostSetOutputSampleRate(float rate) {
    return callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate);
}

VstSpeakerArrangement* AudioEffectX::hostGetInputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::hostGetOutputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(
        callHost(audioMasterGetOutputSpeakerArrangement));
}

VstIntPtr AudioEffectX::hostOpenWindow(VstWindow* window) {
    return callHost(audioMasterOpenWindow, 0, 0, window);
}

bool AudioEffectX::hostCloseWindow(VstWindow* window) {
    return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

bool AudioEffectX::hostGetChunkFile(void* path) {
    return path && callHost(audioMasterGetChunkFile, 0, 0, path) != 0;
}
