// KvEffect: the plug-in's effect class, one per edition (Edition.h).
//
// What a host sees of the effect: its identity, its parameter table with
// names and eight-character value displays, one program "Default" and no
// chunks; the parameter values are the effect's whole stored state. What it
// hears: processReplacing runs the reverb units (two in Vesk, one in Brin),
// their output high-pass filters, the pans and the dry/wet mix.
//
// Parameters: every value given is stored and shown as given; values inside
// 0..1 are applied as the edition's table says, values outside are limited
// on their way to the sound (AppliedValue.h). An index outside the table is
// ignored (reads 0, name and display "    ").
//
// Audio: two channels in, two out, any number of frames; outputs may be the
// input buffers. Blocks longer than kMaxBlock are processed in slices of
// kMaxBlock frames, with the same result as the host giving such blocks
// itself. NaN and infinite input samples never reach the reverb units (they
// would stay in its tank for ever); the dry part carries them as they came.
// The result does not depend on the floating-point control state of the
// calling thread.
//
// Threads: no locks. setParameter may run on any host thread while
// processReplacing runs on the audio thread; the fields it changes are plain
// 32-bit values that the signal path reads once per slice.
#pragma once

#include "dsp/OnePoleHighPass.h"
#include "dsp/Realtime.h"
#include "dsp/ReverbEngine.h"
#include "effect/Edition.h"
#include "host/AudioEffectX.h"

inline namespace TOVRA_EDITION_NAMESPACE {

class KvEffect : public AudioEffectX {
public:
    // Frames the internal buffers hold; longer blocks are sliced.
    static constexpr VstInt32 kMaxBlock = 2048;

    explicit KvEffect(audioMasterCallback hostCallback);
    ~KvEffect() override;

    void close() override;
    void suspend() override;
    // Ignores rates that are zero, negative or not finite.
    void setSampleRate(float rate) override;
    void reservedFloat(float) override {}

    TOVRA_REALTIME void processReplacing(float** inputs, float** outputs,
                                         VstInt32 sampleFrames) override;

    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;

    void setProgramName(char* name) override;
    void getProgramName(char* name) override;

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;

    // Called once, as the constructor's last step: names, heap objects,
    // resetEngines, the defaults, the editor.
    virtual void initialise();

    // Brings the units, buffers and high-pass filters to the current sample
    // rate and clears their history.
    void resetEngines();

private:
    static constexpr int kProgramNameLength = 24;

    // Applies a stored value to the units, filters and gains.
    void apply(VstInt32 index, float value);
    void applyMix(float value);
    void resetUnit(ReverbEngine& engine, VstInt32 decayIndex);
    // The edition's editor, where the build has one; initialise's last step.
    void createEditor();
    void freeHeapObjects();
    // True when initialise made every heap object; without them the effect
    // passes its input through unchanged.
    bool hasHeapObjects() const;

    TOVRA_REALTIME void processSlice(float** inputs, float** outputs, VstInt32 frames);

    char programName[kProgramNameLength + 1];
    float parameterValues[edition::kNumParameters];
    char parameterNames[edition::kNumParameters][edition::kParameterNameLength];

#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK
    float** unitInputs = nullptr;
    float** unitOutputs = nullptr;
    ReverbEngine unit1;
    ReverbEngine unit2;
    bool highPass1Enabled = false;
    OnePoleHighPass* highPassLeft1 = nullptr;
    OnePoleHighPass* highPassRight1 = nullptr;
    bool highPass2Enabled = false;
    OnePoleHighPass* highPassLeft2 = nullptr;
    OnePoleHighPass* highPassRight2 = nullptr;
    bool unit2Enabled = false;
    float panLeft1 = 0.0f;
    float panRight1 = 0.0f;
    float panLeft2 = 0.0f;
    float panRight2 = 0.0f;
    float dryCopy[2][kMaxBlock];
    float unitScratch[2][kMaxBlock];
    float wetGain = 0.0f;
    float dryGain = 0.0f;
    bool stereoSplit = false;
#else
    ReverbEngine unit;
    bool highPassEnabled = false;
    OnePoleHighPass* highPassLeft = nullptr;
    OnePoleHighPass* highPassRight = nullptr;
    float wetGain = 0.0f;
    float dryGain = 0.0f;
    float dryCopy[2][kMaxBlock];
#endif

    // The input as the units get it when the host's block holds samples
    // they must not see (NaN, infinity); see processSlice.
    float unitInputCopy[2][kMaxBlock];
};

// One new effect of this edition, or null when it cannot be made.
AudioEffect* newKvEffect(audioMasterCallback hostCallback);

}  // inline namespace TOVRA_EDITION_NAMESPACE
