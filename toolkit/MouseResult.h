// What a mouse operation answers. Only kMouseHandled makes the answering view
// the target of the following move and release events (and makes the window
// capture the mouse); every other value leaves the view without them.
// kMouseHandledNoTracking is for controls that act on the press alone.
#pragma once

#include <cstdint>

namespace toolkit {

using MouseResult = int32_t;

inline constexpr int32_t kMouseNotImplemented = 0;
inline constexpr int32_t kMouseHandled = 1;
inline constexpr int32_t kMouseNotHandled = 2;
inline constexpr int32_t kMouseHandledNoTracking = 3;

}  // namespace toolkit
