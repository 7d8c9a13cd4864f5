// KvEffect: the plug-in's effect class, one per edition (Edition.h).
//
// What a host sees of the effect: its identity, its parameter table with
// names and eight-character value displays, one program "Default" and no
// chunks. The parameter values are the effect's whole stored state.
#pragma once

#include "effect/Edition.h"
#include "host/AudioEffectX.h"

inline namespace TOVRA_EDITION_NAMESPACE {

class KvEffect : public AudioEffectX {
public:
    explicit KvEffect(audioMasterCallback hostCallback);
    ~KvEffect() override;

    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

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

    // Called once, as the constructor's last step.
    virtual void initialise();

private:
    static constexpr int kProgramNameLength = 24;

    char programName[kProgramNameLength + 1];
    float parameterValues[edition::kNumParameters];
    char parameterNames[edition::kNumParameters][edition::kParameterNameLength];
};

}  // inline namespace TOVRA_EDITION_NAMESPACE
