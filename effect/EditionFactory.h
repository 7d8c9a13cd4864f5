// The effect of each edition, for programs that link both editions' effect
// libraries (the render tool, the tests). Each function makes one new
// KvEffect of its edition, or answers null when it cannot be made; the
// plug-in itself uses createEffect instead.
//
// The editions' namespaces are the inline namespaces of Edition.h; this
// header can be included with or without an edition setting.
#pragma once

#include "host/AudioEffect.h"

inline namespace tovra_vesk {
AudioEffect* newKvEffect(audioMasterCallback hostCallback);
}
inline namespace tovra_brin {
AudioEffect* newKvEffect(audioMasterCallback hostCallback);
}
