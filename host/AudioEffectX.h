// AudioEffectX: the extended VST 2.4 protocol on top of AudioEffect.
//
// It answers the dispatcher opcodes 25..79 (every other opcode goes to
// AudioEffect::dispatch unchanged), gives each extended operation a default
// an effect class may replace, wraps the extended requests to the host and
// offers helpers for the host's speaker-arrangement records.
//
// Requests: an "answer" is the host's result unchanged, a bool is true when
// the host answers anything but 0. Without a host callback every request
// answers 0, false or null (hostGetSampleRate and hostGetBlockSize answer the
// stored values) and changes nothing.
#pragma once

#include "host/AudioEffect.h"
#include "host/SpeakerArrangement.h"

// Records of the protocol that this system passes along but never reads.
struct VstEvents;
struct VstPinProperties;
struct VstParameterProperties;
struct VstTimeInfo;
struct VstVariableIo;
struct VstOfflineTask;
struct VstAudioFile;
struct VstPatchChunkInfo;
struct VstFileSelect;
struct VstWindow;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback hostCallback, VstInt32 numPrograms, VstInt32 numParams);
    ~AudioEffectX() override = default;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;

    // effMainsChanged with a value other than 0: asks the host for MIDI only
    // when the effect is a synth or can receive MIDI events.
    void resume() override;

    virtual bool canBeAutomated(VstInt32 /*index*/) { return true; }
    virtual bool stringToParameter(VstInt32 /*index*/, char* /*text*/) { return false; }
    virtual bool getParameterProperties(VstInt32 /*index*/, VstParameterProperties* /*p*/) {
        return false;
    }

    // Gesture brackets around a parameter change: audioMasterBeginEdit and
    // audioMasterEndEdit for the index.
    virtual bool beginEdit(VstInt32 index);
    virtual bool endEdit(VstInt32 index);

    virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char* /*text*/) {
        return false;
    }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual VstInt32 beginLoadBank(VstPatchChunkInfo* /*info*/) { return 0; }
    virtual VstInt32 beginLoadProgram(VstPatchChunkInfo* /*info*/) { return 0; }

    virtual bool hostIoChanged();
    // A positive answer becomes sampleRate; answers sampleRate.
    virtual float hostGetSampleRate();
    // A positive answer becomes blockSize; answers blockSize.
    virtual VstInt32 hostGetBlockSize();
    virtual VstInt32 hostGetInputLatency();
    virtual VstInt32 hostGetOutputLatency();

    virtual bool getInputProperties(VstInt32 /*index*/, VstPinProperties* /*p*/) { return false; }
    virtual bool getOutputProperties(VstInt32 /*index*/, VstPinProperties* /*p*/) { return false; }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*input*/,
                                       VstSpeakerArrangement* /*output*/) {
        return false;
    }
    // Writes null into each place that is not itself null; answers false.
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input,
                                       VstSpeakerArrangement** output);
    virtual bool setBypass(bool /*onOff*/) { return false; }
    virtual bool setPanLaw(VstInt32 /*type*/, float /*gain*/) { return false; }
    virtual bool setProcessPrecision(VstInt32 /*precision*/) { return false; }
    virtual VstInt32 getNumMidiInputChannels() { return 0; }
    virtual VstInt32 getNumMidiOutputChannels() { return 0; }

    virtual VstTimeInfo* hostGetTime(VstInt32 filter);
    virtual VstInt32 hostGetCurrentProcessLevel();
    virtual VstInt32 hostGetAutomationState();

    virtual VstInt32 processEvents(VstEvents* /*events*/) { return 0; }
    virtual VstInt32 startProcess() { return 0; }
    virtual VstInt32 stopProcess() { return 0; }
    virtual bool processVarIo(VstVariableIo* /*io*/) { return false; }
    virtual VstInt32 setTotalSampleToProcess(VstInt32 value) { return value; }

    virtual bool hostGetVendorString(char* text);
    virtual bool hostGetProductString(char* text);
    virtual VstInt32 hostGetVendorVersion();
    virtual VstIntPtr hostVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
    virtual bool hostCanDo(char* text);
    virtual VstInt32 hostGetLanguage();

    virtual void setIsSynth(bool state) { setFlag(effFlagsIsSynth, state); }
    virtual void setNoSoundInStop(bool state) { setFlag(effFlagsNoSoundInStop, state); }

    virtual VstInt32 getTailSize() { return 0; }
    virtual void* hostGetDirectory();

    // Identity. The edition's effect class answers these.
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstIntPtr vendorSpecific(VstInt32 /*index*/, VstIntPtr /*value*/, void* /*ptr*/,
                                     float /*opt*/) {
        return 0;
    }
    virtual VstInt32 canDo(char* /*text*/) { return 0; }
    virtual VstInt32 getVstVersion() { return 2400; }
    // kPlugCategSynth when effFlagsIsSynth is set, else kPlugCategUnknown.
    virtual VstInt32 getPlugCategory();

    virtual VstInt32 getMidiProgramName(VstInt32 /*channel*/, MidiProgramName* /*name*/) {
        return 0;
    }
    virtual VstInt32 getCurrentMidiProgram(VstInt32 /*channel*/, MidiProgramName* /*name*/) {
        return -1;
    }
    virtual VstInt32 getMidiProgramCategory(VstInt32 /*channel*/, MidiProgramCategory* /*c*/) {
        return 0;
    }
    virtual bool hasMidiProgramsChanged(VstInt32 /*channel*/) { return false; }
    virtual bool getMidiKeyName(VstInt32 /*channel*/, MidiKeyName* /*name*/) { return false; }

    virtual bool hostUpdateDisplay();
    virtual bool hostSizeWindow(VstInt32 width, VstInt32 height);
    // A null selector answers false without asking the host.
    virtual bool hostOpenFileSelector(VstFileSelect* selector);
    virtual bool hostCloseFileSelector(VstFileSelect* selector);
    virtual VstInt32 shellGetNextPlugin(char* /*name*/) { return 0; }

    // Speaker-arrangement helpers. An arrangement is one heap block that the
    // caller owns and frees with deallocateArrangement.
    //
    // Frees what *place holds, then stores a zeroed block for `channels`
    // speakers (0..kMaxArrangementChannels; others answer false and leave
    // the place null). Answers false when the block cannot be allocated.
    virtual bool allocateArrangement(VstSpeakerArrangement** place, VstInt32 channels);
    // Frees what *place holds and sets it to null; answers true.
    virtual bool deallocateArrangement(VstSpeakerArrangement** place);
    // Copies one speaker (name cut to 63 characters); false if either is null.
    virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
    // Replaces *place by a copy of `from`; false if from is null or a step fails.
    virtual bool matchArrangement(VstSpeakerArrangement** place, VstSpeakerArrangement* from);

    virtual bool hostOfflineRead(VstOfflineTask* task, VstInt32 option, bool readSource = true);
    virtual bool hostOfflineWrite(VstOfflineTask* task, VstInt32 option);
    virtual bool hostOfflineStart(VstAudioFile* files, VstInt32 numFiles, VstInt32 numNewFiles);
    virtual bool hostOfflineGetCurrentPass();
    virtual bool hostOfflineGetCurrentMetaPass();
    virtual bool offlineNotify(VstAudioFile* /*files*/, VstInt32 /*numFiles*/, bool /*start*/) {
        return false;
    }
    virtual bool offlinePrepare(VstOfflineTask* /*tasks*/, VstInt32 /*count*/) { return false; }
    virtual bool offlineRun(VstOfflineTask* /*tasks*/, VstInt32 /*count*/) { return false; }

    // Kept so that the operations after them keep their places; unused.
    virtual VstInt32 reservedNone1() { return 0; }
    virtual VstInt32 reservedNone2() { return 0; }

    virtual VstIntPtr hostWantMidi(VstInt32 filter);
    virtual VstIntPtr hostTempoAt(VstInt32 position);
    virtual VstIntPtr hostGetNumAutomatableParameters();
    virtual VstIntPtr hostGetParameterQuantization();

    virtual VstInt32 reservedOne() { return 1; }
    virtual bool reservedFlag(VstInt32 /*unused*/) { return false; }

    virtual bool hostNeedIdle();
    // The pin is not passed on: the host's request has no place for it.
    virtual AEffect* hostGetPreviousPlug(VstInt32 pin);
    virtual AEffect* hostGetNextPlug(VstInt32 pin);

    virtual void reservedPair1(VstInt32 /*a*/, VstInt32 /*b*/) {}
    virtual void reservedPair2(VstInt32 /*a*/, VstInt32 /*b*/) {}

    virtual VstIntPtr hostWillReplaceOrAccumulate();
    virtual void setExtIsAsync(bool state) { setFlag(effFlagsExtIsAsync, state); }
    virtual void setExtHasBuffer(bool state) { setFlag(effFlagsExtHasBuffer, state); }

    virtual VstInt32 reservedNone3() { return 0; }
    virtual VstInt32 reservedNone4() { return 0; }

    virtual VstIntPtr hostSetOutputSampleRate(float rate);
    virtual VstSpeakerArrangement* hostGetInputSpeakerArrangement();
    virtual VstSpeakerArrangement* hostGetOutputSpeakerArrangement();
    virtual VstIntPtr hostOpenWindow(VstWindow* window);
    virtual bool hostCloseWindow(VstWindow* window);

    virtual void setBlockSizeAndSampleRate(VstInt32 size, float rate) {
        blockSize = size;
        sampleRate = rate;
    }

    virtual bool reservedFalse1() { return false; }
    virtual bool reservedFalse2() { return false; }
    virtual bool reservedFalse3() { return false; }
    virtual VstInt32 reservedZero1() { return 0; }
    virtual VstInt32 reservedZero2() { return 0; }

    // A null path answers false without asking the host.
    virtual bool hostGetChunkFile(void* path);

    // The largest channel count allocateArrangement accepts; far more than
    // any speaker layout, small enough that the block size cannot overflow.
    static constexpr VstInt32 kMaxArrangementChannels = 4096;
};
