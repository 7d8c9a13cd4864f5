// The host side shared by vsthost's subcommands: loads a VST 2.4 effect
// library (a Windows DLL, or a Linux shared object in the native build),
// calls its entry point with a host callback, and sends opcodes.
//
// The callback answers audioMasterVersion with the configured version (2400
// unless --host-version says otherwise), audioMasterGetSampleRate and
// audioMasterGetBlockSize with the values the host last told the effect, and
// everything else with 0. Every request it receives is printed as one line
//   request: opcode=O index=I value=V ptr=null|set opt=F
// unless logging is off.
#pragma once

#include <string>

#include "host/AEffect.h"
#include "tools/vsthost/PluginLibrary.h"

namespace vsthost {

struct HostSettings {
    VstIntPtr version = 2400;
    bool logRequests = true;
};

class PluginHost {
public:
    explicit PluginHost(const HostSettings& settings);
    ~PluginHost();  // closes the effect if still open, frees the library
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Loads the library and finds VSTPluginMain (or main). Prints an
    // "error: ..." line and answers false when either fails.
    bool load(const std::string& path);
    // Calls the entry point; prints "entry: ok" or "entry: null".
    AEffect* create();

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    // effClose; the record is gone afterwards. Answers the effect's result.
    VstIntPtr close();

    AEffect* effect() const { return effect_; }
    void setSampleRate(float rate);  // effSetSampleRate, remembered for requests
    void setBlockSize(VstInt32 size);  // effSetBlockSize, remembered for requests

private:
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);

    HostSettings settings_;
    PluginLibrary library_;
    AEffect* (VSTCALLBACK* entry_)(audioMasterCallback) = nullptr;
    AEffect* effect_ = nullptr;
    float sampleRate_ = 44100.0f;
    VstInt32 blockSize_ = 512;
};

// Shared text helpers: the text up to its zero with anything unprintable
// written as \xNN; a four-character code as 'ABCD'.
std::string printable(const char* text, size_t capacity);
std::string fourCharText(VstInt32 code);

}  // namespace vsthost
