#include "host/PluginEntry.h"

AEffect* pluginEntry(audioMasterCallback hostCallback, EffectFactory factory) {
    if (!hostCallback || !factory) return nullptr;
    if (hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = factory(hostCallback);
    return effect ? effect->getEffectRecord() : nullptr;
}
