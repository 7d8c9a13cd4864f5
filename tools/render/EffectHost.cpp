#include "tools/render/EffectHost.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "effect/EditionFactory.h"
#include "host/AudioEffect.h"
#include "host/Opcodes.h"

namespace render {

namespace {

// The tool answers as a VST 2.4 host of version 2400 and ignores the rest
// (automation never happens: there is no editor).
VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                   float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::string folded(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == ' ' || c == '_') continue;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

std::unique_ptr<EffectHost> EffectHost::create(const std::string& edition, std::string& error) {
    AudioEffect* effect = nullptr;
    if (edition == "vesk") {
        effect = tovra_vesk::newKvEffect(hostCallback);
    } else if (edition == "brin") {
        effect = tovra_brin::newKvEffect(hostCallback);
    } else {
        error = "unknown edition '" + edition + "' (use vesk or brin)";
        return nullptr;
    }
    if (!effect) {
        error = "not enough memory for the effect";
        return nullptr;
    }
    std::unique_ptr<EffectHost> host(new EffectHost(effect->getEffectRecord()));
    host->dispatch(effOpen);
    return host;
}

EffectHost::~EffectHost() {
    if (running) dispatch(effMainsChanged, 0, 0);
    // effClose closes and destroys the effect.
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

VstIntPtr EffectHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) const {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

int EffectHost::parameterCount() const { return record->numParams; }

std::string EffectHost::effectName() const {
    char text[64 + 1] = {};
    dispatch(effGetEffectName, 0, 0, text);
    return text;
}

std::string EffectHost::parameterName(int index) const {
    char text[64 + 1] = {};
    dispatch(effGetParamName, index, 0, text);
    return text;
}

std::string EffectHost::parameterDisplay(int index) const {
    char text[64 + 1] = {};
    dispatch(effGetParamDisplay, index, 0, text);
    return text;
}

float EffectHost::parameterValue(int index) const {
    return record->getParameter(record, index);
}

std::string EffectHost::parameterKey(int index) const {
    const std::string name = parameterName(index);
    int count = 0, position = 0;
    for (int i = 0; i < parameterCount(); ++i) {
        if (folded(parameterName(i)) != folded(name)) continue;
        ++count;
        if (i == index) position = count;
    }
    return count > 1 ? name + "." + std::to_string(position) : name;
}

int EffectHost::resolveParameter(const std::string& key, std::string& error) const {
    const int count = parameterCount();
    if (!key.empty() && std::isdigit(static_cast<unsigned char>(key[0]))) {
        char* end = nullptr;
        errno = 0;
        long n = std::strtol(key.c_str(), &end, 10);
        if (*end == '\0' && errno == 0) {
            if (n >= 0 && n < count) return static_cast<int>(n);
            error = "unknown parameter " + key + ": indices run from 0 to " +
                    std::to_string(count - 1);
            return -1;
        }
    }

    std::string name = key;
    int wanted = 0;  // 0: the only parameter of that name
    std::string::size_type dot = key.rfind('.');
    if (dot != std::string::npos && dot + 1 < key.size()) {
        bool digits = true;
        for (std::string::size_type i = dot + 1; i < key.size(); ++i)
            digits = digits && std::isdigit(static_cast<unsigned char>(key[i]));
        if (digits) {
            name = key.substr(0, dot);
            wanted = std::atoi(key.c_str() + dot + 1);
            if (wanted < 1) {
                error = "unknown parameter '" + key + "' (units count from 1)";
                return -1;
            }
        }
    }

    int found = -1, matches = 0;
    for (int i = 0; i < count; ++i) {
        if (folded(parameterName(i)) != folded(name)) continue;
        ++matches;
        if (wanted == 0 && matches == 1) found = i;
        if (wanted == matches) found = i;
    }
    if (matches == 0 || (wanted > 0 && (wanted > matches || found < 0))) {
        error = "unknown parameter '" + key + "' (see --list)";
        return -1;
    }
    if (wanted == 0 && matches > 1) {
        error = "parameter name '" + key + "' is shared by " + std::to_string(matches) +
                " parameters: add the unit, e.g. " + name + ".1 or " + name + ".2";
        return -1;
    }
    return found;
}

void EffectHost::prepare(float rate, int blockSize) {
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    dispatch(effSetBlockSize, 0, blockSize);
}

void EffectHost::setParameter(int index, float value) {
    record->setParameter(record, index, value);
}

void EffectHost::resume() {
    dispatch(effMainsChanged, 0, 1);
    running = true;
}

void EffectHost::process(float** inputs, float** outputs, int frames) {
    record->processReplacing(record, inputs, outputs, frames);
}

}  // namespace render
