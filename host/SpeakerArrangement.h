// The host's speaker descriptions, as effSetSpeakerArrangement and
// effGetSpeakerArrangement exchange them.
//
// An arrangement is a 32-bit type, a 32-bit channel count and then one
// 112-byte VstSpeakerProperties per channel; AudioEffectX's helpers make it
// one heap block of 8 + 112 * channels bytes (see speakerArrangementBytes).
#pragma once

#include <cstddef>

#include "host/AEffect.h"

constexpr VstInt32 kSpeakerNameLength = 64;

struct VstSpeakerProperties {
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[kSpeakerNameLength];  // zero-terminated, at most 63 characters
    VstInt32 type;
    char future[28];
};

struct VstSpeakerArrangement {
    VstInt32 type;
    VstInt32 numChannels;
    // numChannels entries follow; the declared two are the published minimum.
    VstSpeakerProperties speakers[2];
};

static_assert(sizeof(VstSpeakerProperties) == 112, "speaker entry is 112 bytes");
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8, "speakers follow type and count");

// Bytes of one arrangement block of `channels` speakers (channels >= 0).
constexpr size_t speakerArrangementBytes(VstInt32 channels) {
    return offsetof(VstSpeakerArrangement, speakers) +
           sizeof(VstSpeakerProperties) * static_cast<size_t>(channels);
}
