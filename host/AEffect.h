// The effect record that a VST 2.4 host holds for each effect object, and the
// basic types of the protocol.
//
// The host calls the effect through the six function pointers of `AEffect`
// and the effect calls the host through one callback. Every field keeps its
// published position: the Windows deliverables are 32-bit, where pointers and
// pointer-sized fields are 4 bytes and the record is 144 bytes; on a 64-bit
// target the same declaration gives the 192-byte layout with 8-byte pointers.
// Both layouts are pinned by the static_asserts at the end of this file.
//
// Four-character constants ('VstP') are 32-bit integers whose most
// significant byte is the first character.
#pragma once

#include <cstddef>
#include <cstdint>

// VST 2.4 prescribes the C calling convention for the entry point, the host
// callback and the record's functions. On 32-bit Windows it has to be named
// explicitly so that nothing (a -mrtd build, a different default) can change
// it; elsewhere there is only one convention.
#if defined(_WIN32) && !defined(_WIN64)
#define VSTCALLBACK __cdecl
#else
#define VSTCALLBACK
#endif

using VstInt16 = int16_t;
using VstInt32 = int32_t;
using VstInt64 = int64_t;
// Every host-facing answer is pointer sized: 4 bytes in the 32-bit
// deliverables.
using VstIntPtr = intptr_t;

struct AEffect;

// The host's callback: record (null while there is none yet), opcode, index,
// value, pointer, float. Answers a pointer-sized integer.
using audioMasterCallback = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                     VstInt32 index, VstIntPtr value,
                                                     void* ptr, float opt);

using AEffectDispatcherProc = VstIntPtr(VSTCALLBACK*)(AEffect* effect, VstInt32 opcode,
                                                       VstInt32 index, VstIntPtr value,
                                                       void* ptr, float opt);
using AEffectProcessProc = void(VSTCALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 sampleFrames);
using AEffectProcessDoubleProc = void(VSTCALLBACK*)(AEffect* effect, double** inputs,
                                                    double** outputs, VstInt32 sampleFrames);
using AEffectSetParameterProc = void(VSTCALLBACK*)(AEffect* effect, VstInt32 index,
                                                   float parameter);
using AEffectGetParameterProc = float(VSTCALLBACK*)(AEffect* effect, VstInt32 index);

constexpr VstInt32 fourCharCode(char a, char b, char c, char d) {
    return static_cast<VstInt32>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                 (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                 (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                 static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

// 'VstP': the record's magic number.
constexpr VstInt32 kEffectMagic = fourCharCode('V', 's', 't', 'P');

// Bits of AEffect::flags.
enum VstAEffectFlags : VstInt32 {
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,
    effFlagsHasVu = 1 << 2,
    effFlagsCanMono = 1 << 3,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsExtIsAsync = 1 << 10,
    effFlagsExtHasBuffer = 1 << 11,
    effFlagsCanDoubleReplacing = 1 << 12,
};

struct AEffect {
    VstInt32 magic;                                   // kEffectMagic
    AEffectDispatcherProc dispatcher;                 // host opcodes
    AEffectProcessProc process;                       // accumulating audio (unused by hosts today)
    AEffectSetParameterProc setParameter;             // index, value 0..1
    AEffectGetParameterProc getParameter;             // index -> value
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;                                   // VstAEffectFlags
    VstIntPtr resvd1;                                 // reserved for the host, zero
    VstIntPtr resvd2;                                 // reserved for the host, zero
    VstInt32 initialDelay;                            // latency in samples
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object;                                     // the AudioEffect behind the record
    void* user;                                       // free for the host
    VstInt32 uniqueID;                                // four-character identifier
    VstInt32 version;
    AEffectProcessProc processReplacing;              // replacing audio
    AEffectProcessDoubleProc processDoubleReplacing;  // 64-bit replacing audio
    char future[56];                                  // zero
};

#if INTPTR_MAX == INT32_MAX
// The layout every 32-bit host expects.
static_assert(sizeof(AEffect) == 144, "32-bit AEffect is 144 bytes");
static_assert(offsetof(AEffect, magic) == 0, "magic");
static_assert(offsetof(AEffect, dispatcher) == 4, "dispatcher");
static_assert(offsetof(AEffect, process) == 8, "process");
static_assert(offsetof(AEffect, setParameter) == 12, "setParameter");
static_assert(offsetof(AEffect, getParameter) == 16, "getParameter");
static_assert(offsetof(AEffect, numPrograms) == 20, "numPrograms");
static_assert(offsetof(AEffect, numParams) == 24, "numParams");
static_assert(offsetof(AEffect, numInputs) == 28, "numInputs");
static_assert(offsetof(AEffect, numOutputs) == 32, "numOutputs");
static_assert(offsetof(AEffect, flags) == 36, "flags");
static_assert(offsetof(AEffect, resvd1) == 40, "resvd1");
static_assert(offsetof(AEffect, resvd2) == 44, "resvd2");
static_assert(offsetof(AEffect, initialDelay) == 48, "initialDelay");
static_assert(offsetof(AEffect, realQualities) == 52, "realQualities");
static_assert(offsetof(AEffect, offQualities) == 56, "offQualities");
static_assert(offsetof(AEffect, ioRatio) == 60, "ioRatio");
static_assert(offsetof(AEffect, object) == 64, "object");
static_assert(offsetof(AEffect, user) == 68, "user");
static_assert(offsetof(AEffect, uniqueID) == 72, "uniqueID");
static_assert(offsetof(AEffect, version) == 76, "version");
static_assert(offsetof(AEffect, processReplacing) == 80, "processReplacing");
static_assert(offsetof(AEffect, processDoubleReplacing) == 84, "processDoubleReplacing");
static_assert(offsetof(AEffect, future) == 88, "future");
#elif INTPTR_MAX == INT64_MAX
// The same fields with 8-byte pointers and natural alignment.
static_assert(sizeof(AEffect) == 192, "64-bit AEffect is 192 bytes");
static_assert(offsetof(AEffect, dispatcher) == 8, "dispatcher");
static_assert(offsetof(AEffect, numPrograms) == 40, "numPrograms");
static_assert(offsetof(AEffect, flags) == 56, "flags");
static_assert(offsetof(AEffect, resvd1) == 64, "resvd1");
static_assert(offsetof(AEffect, resvd2) == 72, "resvd2");
static_assert(offsetof(AEffect, initialDelay) == 80, "initialDelay");
static_assert(offsetof(AEffect, ioRatio) == 92, "ioRatio");
static_assert(offsetof(AEffect, object) == 96, "object");
static_assert(offsetof(AEffect, user) == 104, "user");
static_assert(offsetof(AEffect, uniqueID) == 112, "uniqueID");
static_assert(offsetof(AEffect, version) == 116, "version");
static_assert(offsetof(AEffect, processReplacing) == 120, "processReplacing");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "processDoubleReplacing");
static_assert(offsetof(AEffect, future) == 136, "future");
#endif
