// The edition's identity and parameter table: one block of compile-time data
// per edition, chosen by the build setting TOVRA_EDITION_VESK=1 or
// TOVRA_EDITION_BRIN=1 (exactly one of them).
//
// Everything an edition defines lives in its own inline namespace
// (tovra_vesk or tovra_brin). Code inside an edition refers to the names
// unqualified (KvEffect, edition::kParameters); the namespaces keep the two
// editions apart when one program links both (the render tool does).
//
// Parameter values are 32-bit floats that hosts and the editor treat as
// normalised to 0..1; the defaults below are in that scale.
#pragma once

#include <cstdint>

#include "host/AEffect.h"

#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK && defined(TOVRA_EDITION_BRIN) && \
    TOVRA_EDITION_BRIN
#error "compile the effect for one edition: TOVRA_EDITION_VESK=1 or TOVRA_EDITION_BRIN=1"
#elif defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK
#define TOVRA_EDITION_NAMESPACE tovra_vesk
#elif defined(TOVRA_EDITION_BRIN) && TOVRA_EDITION_BRIN
#define TOVRA_EDITION_NAMESPACE tovra_brin
#else
#error "compile the effect with TOVRA_EDITION_VESK=1 or TOVRA_EDITION_BRIN=1"
#endif

inline namespace TOVRA_EDITION_NAMESPACE {
namespace edition {

// One parameter as hosts see it: its name (at most 8 characters, shown
// without label) and the value a new effect starts with.
struct ParameterInfo {
    const char* name;
    float defaultValue;
};

constexpr char kVendor[] = "Korvid Dot Com";
constexpr VstInt32 kVendorVersion = 1000;
constexpr VstInt32 kNumPrograms = 1;
constexpr VstInt32 kNumInputs = 2;
constexpr VstInt32 kNumOutputs = 2;
constexpr float kInitialSampleRate = 44100.0f;
constexpr char kDefaultProgramName[] = "Default";

#if defined(TOVRA_EDITION_VESK) && TOVRA_EDITION_VESK

constexpr char kEffectName[] = "Tovra Vesk";
constexpr VstInt32 kUniqueId = fourCharCode('K', '#', 'T', '3');
constexpr int kNumUnits = 2;

enum Parameter : VstInt32 {
    kFirstLevel = 0,
    kPreDelay1 = 1,
    kDecay1 = 2,
    kLowPass1 = 3,
    kHighPass1 = 4,
    kSecondLevel = 5,
    kPreDelay2 = 6,
    kDecay2 = 7,
    kLowPass2 = 8,
    kHighPass2 = 9,
    kPan1 = 10,
    kPan2 = 11,
    kStereo = 12,
    kMix = 13,
    kNumParameters = 14,
};

constexpr ParameterInfo kParameters[kNumParameters] = {
    {"First Lv", 1.0f}, {"PreDelay", 0.0f}, {"Decay", 0.5f},   {"LowPass", 1.0f},
    {"HighPass", 0.0f}, {"SecondLv", 1.0f}, {"PreDelay", 0.0f}, {"Decay", 0.5f},
    {"LowPass", 1.0f},  {"HighPass", 0.0f}, {"Pan 1", 0.5f},    {"Pan 2", 0.5f},
    {"Stereo", 0.0f},   {"Mix", 0.5f},
};

#else  // Brin

constexpr char kEffectName[] = "Tovra Brin";
constexpr VstInt32 kUniqueId = fourCharCode('K', '#', 'T', '2');
constexpr int kNumUnits = 1;

enum Parameter : VstInt32 {
    kPreDelay = 0,
    kDecay = 1,
    kLowPass = 2,
    kHighPass = 3,
    kLevel = 4,
    kMix = 5,
    kNumParameters = 6,
};

constexpr ParameterInfo kParameters[kNumParameters] = {
    {"PreDelay", 0.0f}, {"Decay", 0.5f}, {"LowPass", 1.0f},
    {"HighPass", 0.0f}, {"Level", 0.5f}, {"Mix", 0.5f},
};

#endif

// A parameter name fills at most this many characters; one of exactly this
// length has no terminating zero in its field.
constexpr int kParameterNameLength = 8;

constexpr bool namesFit() {
    for (const ParameterInfo& p : kParameters) {
        int n = 0;
        while (p.name[n] != '\0') ++n;
        if (n > kParameterNameLength) return false;
    }
    return true;
}
static_assert(namesFit(), "a parameter name is longer than its 8-character field");

constexpr bool isParameter(VstInt32 index) { return index >= 0 && index < kNumParameters; }

}  // namespace edition
}  // inline namespace TOVRA_EDITION_NAMESPACE
