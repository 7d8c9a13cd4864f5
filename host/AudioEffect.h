// AudioEffect: the host adapter base of every effect class.
//
// It owns the effect's AEffect record (embedded, so the record's address is
// stable for the object's whole life), fills it at construction, forwards the
// record's function entries to the virtual operations below, answers the
// basic dispatcher opcodes 0..24, makes the basic requests back to the host
// and offers value-to-text helpers.
//
// Every request tests first that there is a host callback: without one it
// answers the documented default and changes nothing. Text operations write
// into caller-owned buffers; a null buffer is never written.
//
// Threads: no locks. The dispatcher runs on the host's interface thread,
// processReplacing on its audio thread; the shared values are plain 32-bit
// fields.
#pragma once

#include "host/AEffect.h"
#include "host/Opcodes.h"

class AEffEditor;

class AudioEffect {
public:
    // numPrograms and numParams are written to the record as they are given.
    AudioEffect(audioMasterCallback hostCallback, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();  // deletes the editor, if any

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    // Answers opcodes 0..24; every other opcode answers 0 and changes nothing.
    virtual VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void reservedFloat(float) {}
    virtual void setBlockSize(VstInt32 size) { blockSize = size; }

    // real-time: replaces outputs with the processed inputs. inputs and
    // outputs are arrays of channel pointers; they may share buffers.
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/,
                                        VstInt32 /*sampleFrames*/) {}

    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
    virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }
    // Sets the parameter through this object's own setParameter, then tells
    // the host (audioMasterAutomate) that it changed.
    virtual void setParameterAutomated(VstInt32 index, float value);

    virtual VstInt32 getProgram() { return currentProgram; }
    virtual void setProgram(VstInt32 program) { currentProgram = program; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name);                       // empty text
    virtual void getParameterLabel(VstInt32 index, char* label);   // empty text
    virtual void getParameterDisplay(VstInt32 index, char* text);  // empty text
    virtual void getParameterName(VstInt32 index, char* text);     // empty text

    virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/ = false) { return 0; }
    virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/ = false) {
        return 0;
    }

    virtual void setUniqueId(VstInt32 id) { effectRecord.uniqueID = id; }
    virtual void setNumInputs(VstInt32 inputs) { effectRecord.numInputs = inputs; }
    virtual void setNumOutputs(VstInt32 outputs) { effectRecord.numOutputs = outputs; }
    virtual void setCanReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
    virtual void setCanDoubleReplacing(bool state) { setFlag(effFlagsCanDoubleReplacing, state); }
    virtual void setProgramChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
    virtual void setInitialDelay(VstInt32 delay) { effectRecord.initialDelay = delay; }

    virtual AEffEditor* getEditor() { return editor; }
    virtual AEffect* getEffectRecord() { return &effectRecord; }
    virtual float getSampleRate() { return sampleRate; }
    virtual VstInt32 getBlockSize() { return blockSize; }

    // audioMasterVersion: the host's answer, 1 when it answers 0 or there is
    // no callback.
    virtual VstInt32 hostVersion();
    // audioMasterCurrentId: the host's answer, 0 without callback.
    virtual VstInt32 hostCurrentId();
    // audioMasterIdle: the host's answer, 0 without callback.
    virtual VstInt32 hostIdle();

    // Value-to-text helpers. Each writes at most maxLen characters into text
    // and a terminating zero at text[maxLen] (so text holds maxLen + 1
    // characters). The digits are produced here, not by the C library, so
    // the text is the same in every build. A null text or a negative maxLen
    // writes nothing.
    //
    // value <= 0 gives "-oo"; otherwise formatFloat(20 * log10(value)).
    virtual void formatDecibels(float value, char* text, VstInt32 maxLen);
    // samples == 0 gives formatFloat(0); otherwise formatFloat(sampleRate / samples).
    virtual void formatHertz(float samples, char* text, VstInt32 maxLen);
    // formatFloat(samples * 1000 / sampleRate).
    virtual void formatMilliseconds(float samples, char* text, VstInt32 maxLen);
    // Eight characters: sign, integer digits, point, then fraction digits cut
    // (never rounded) to fill eight. Above 99,999,999 or below -9,999,999:
    // "Huge!". Integer parts too long for eight characters keep all their
    // digits and lose the point. NaN: "NaN".
    virtual void formatFloat(float value, char* text, VstInt32 maxLen);
    // Decimal digits with a leading "-" for negatives; 0 gives "0";
    // magnitudes of 100,000,000 and more give "Huge!".
    virtual void formatInteger(VstInt32 value, char* text, VstInt32 maxLen);

    // The accumulating form; the base leaves the host's buffers untouched.
    virtual void process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}

    virtual float getVu() { return 0.0f; }
    virtual void setHasVu(bool state) { setFlag(effFlagsHasVu, state); }
    virtual void setHasClip(bool state) { setFlag(effFlagsHasClip, state); }
    virtual void setCanMono(bool state) { setFlag(effFlagsCanMono, state); }
    virtual void setRealtimeQualities(VstInt32 qualities) { effectRecord.realQualities = qualities; }
    virtual void setOfflineQualities(VstInt32 qualities) { effectRecord.offQualities = qualities; }
    // audioMasterPinConnected: true when the host answers 0 or there is no
    // callback.
    virtual bool isInputConnected(VstInt32 input);
    virtual bool isOutputConnected(VstInt32 output);

    // Stores the editor (owned from now on) and, for a non-null editor, sets
    // effFlagsHasEditor. Called by the editor base from its constructor.
    void setEditor(AEffEditor* newEditor);

protected:
    // Calls the host with this effect's record, or answers 0 without callback.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    void setFlag(VstInt32 flag, bool state);

    audioMasterCallback hostCallback;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    VstInt32 blockSize = 1024;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 currentProgram = 0;
    AEffect effectRecord;

private:
    static VstIntPtr VSTCALLBACK dispatcherEntry(AEffect* e, VstInt32 opcode, VstInt32 index,
                                                 VstIntPtr value, void* ptr, float opt);
    static void VSTCALLBACK processEntry(AEffect* e, float** inputs, float** outputs,
                                         VstInt32 sampleFrames);
    static void VSTCALLBACK setParameterEntry(AEffect* e, VstInt32 index, float value);
    static float VSTCALLBACK getParameterEntry(AEffect* e, VstInt32 index);
    static void VSTCALLBACK processReplacingEntry(AEffect* e, float** inputs, float** outputs,
                                                  VstInt32 sampleFrames);
    static void VSTCALLBACK processDoubleReplacingEntry(AEffect* e, double** inputs,
                                                        double** outputs, VstInt32 sampleFrames);
};

// The edition's factory, defined by the effect library: one new effect
// object, or null when it cannot be made.
AudioEffect* createEffect(audioMasterCallback hostCallback);
