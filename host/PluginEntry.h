// What the exported entry point does, apart from the export itself, so that
// it can be driven with any factory.
//
// Asks the host for its VST version (null record, audioMasterVersion); no
// callback or a 0 answer gives null and creates nothing. Otherwise makes one
// effect with factory(hostCallback) and answers its record, or null when the
// factory makes none. Any non-zero version is accepted.
#pragma once

#include "host/AudioEffect.h"

using EffectFactory = AudioEffect* (*)(audioMasterCallback hostCallback);

AEffect* pluginEntry(audioMasterCallback hostCallback, EffectFactory factory);
