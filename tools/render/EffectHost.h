// The render tool's host: one KvEffect of the chosen edition, driven through
// its AEffect record the way a VST 2.4 host drives the plug-in (dispatcher
// opcodes, the record's setParameter and processReplacing entries).
//
// Both editions are linked into the tool; each edition's effect lives in its
// own namespace (effect/EditionFactory.h), so one program can hold both.
#pragma once

#include <memory>
#include <string>

#include "host/AEffect.h"

class AudioEffect;

namespace render {

class EffectHost {
public:
    // "vesk" or "brin"; null (with error) for anything else or without memory.
    static std::unique_ptr<EffectHost> create(const std::string& edition, std::string& error);
    ~EffectHost();  // suspends and closes the effect (effClose destroys it)

    EffectHost(const EffectHost&) = delete;
    EffectHost& operator=(const EffectHost&) = delete;

    int parameterCount() const;
    std::string effectName() const;
    std::string parameterName(int index) const;     // as hosts show it
    std::string parameterDisplay(int index) const;  // as hosts show it
    float parameterValue(int index) const;

    // The --set key a user types for a parameter: its name, with a unit
    // suffix (".1", ".2") when two parameters share it.
    std::string parameterKey(int index) const;
    // A key to an index: a decimal index, or a name compared without regard
    // to case, spaces and underscores, with an optional ".N" for the N-th
    // parameter of that name. -1 (with error) when it names none or several.
    int resolveParameter(const std::string& key, std::string& error) const;

    // The host's start-up calls: sample rate, block size, then (after the
    // parameters) effMainsChanged on.
    void prepare(float rate, int blockSize);
    void setParameter(int index, float value);
    void resume();
    // One processReplacing call.
    void process(float** inputs, float** outputs, int frames);

private:
    explicit EffectHost(AEffect* record) : record(record) {}
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) const;

    AEffect* record;
    bool running = false;
};

}  // namespace render
