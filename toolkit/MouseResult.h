// What a mouse operation answers. Only kMouseHandled makes the answering view
// the target of the following move and release events (and makes the window
// capture the mouse); every other value leaves the view without them.
// kMouseHandledNoTracking is for controls that act on the press alone.
#pragma once

#include <cstdint>

namespace toolkit {

using MouseResult = int32_t;

enum : int32_t {
    kMouseNotImplemented = 0,
    kMouseHandled = 1,
    kMouseNotHandled = 2,
    kMouseHandledNoTracking = 3,
};

}  // namespace toolkit
