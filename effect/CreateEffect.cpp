// The plug-in's factory: the entry point asks it for the one effect object.
#include "effect/KvEffect.h"

AudioEffect* createEffect(audioMasterCallback hostCallback) {
    return TOVRA_EDITION_NAMESPACE::newKvEffect(hostCallback);
}
