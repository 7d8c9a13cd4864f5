#include "tools/vsthost/PluginHost.h"

#include <cinttypes>
#include <cstdio>

#include "host/Opcodes.h"

namespace vsthost {
namespace {

PluginHost* current = nullptr;  // the callback is a plain function

}  // namespace

PluginHost::PluginHost(const HostSettings& settings) : settings_(settings) { current = this; }

PluginHost::~PluginHost() {
    if (effect_) close();
    library_.close();
    if (current == this) current = nullptr;
}

bool PluginHost::load(const std::string& path) {
    std::string reason;
    if (!library_.open(path, reason)) {
        std::printf("error: cannot load %s (%s)\n", path.c_str(), reason.c_str());
        return false;
    }
    void* proc = library_.symbol("VSTPluginMain");
    if (!proc) proc = library_.symbol("main");
    if (!proc) {
        std::printf("error: %s exports neither VSTPluginMain nor main\n", path.c_str());
        return false;
    }
    entry_ = reinterpret_cast<AEffect*(VSTCALLBACK*)(audioMasterCallback)>(proc);
    return true;
}

AEffect* PluginHost::create() {
    effect_ = entry_ ? entry_(callback) : nullptr;
    std::printf("entry: %s\n", effect_ ? "ok" : "null");
    return effect_;
}

VstIntPtr PluginHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
    if (!effect_) return 0;
    if (opcode == effClose) return close();
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

VstIntPtr PluginHost::close() {
    if (!effect_) return 0;
    AEffect* effect = effect_;
    effect_ = nullptr;
    return effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

void PluginHost::setSampleRate(float rate) {
    sampleRate_ = rate;
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}

void PluginHost::setBlockSize(VstInt32 size) {
    blockSize_ = size;
    dispatch(effSetBlockSize, 0, size);
}

VstIntPtr VSTCALLBACK PluginHost::callback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt) {
    PluginHost* host = current;
    if (!host) return 0;
    if (host->settings_.logRequests) {
        std::printf("request: opcode=%" PRId32 " index=%" PRId32 " value=%" PRIdPTR
                    " ptr=%s opt=%.9g\n",
                    opcode, index, value, ptr ? "set" : "null", static_cast<double>(opt));
        std::fflush(stdout);
    }
    switch (opcode) {
    case audioMasterVersion:
        return host->settings_.version;
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(host->sampleRate_);
    case audioMasterGetBlockSize:
        return host->blockSize_;
    default:
        return 0;
    }
}

std::string printable(const char* text, size_t capacity) {
    std::string out;
    for (size_t i = 0; i < capacity && text[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    return out;
}

std::string fourCharText(VstInt32 code) {
    const uint32_t u = static_cast<uint32_t>(code);
    const char chars[5] = {static_cast<char>(u >> 24), static_cast<char>(u >> 16),
                           static_cast<char>(u >> 8), static_cast<char>(u), '\0'};
    return "'" + printable(chars, 4) + "'";
}

}  // namespace vsthost
