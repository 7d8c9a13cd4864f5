// The plug-in's factory: the entry point asks it for the one effect object.
#include <new>

#include "effect/KvEffect.h"

AudioEffect* createEffect(audioMasterCallback hostCallback) {
    return new (std::nothrow) KvEffect(hostCallback);
}
